#include "cli/Args.h"

#include <algorithm>
#include <ostream>

namespace vxa::cli {

namespace {

// An error text when the command line is wrong.
std::string Parse(const Syntax& syntax, const std::vector<std::string>& args, Args& out) {
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!options || a.size() < 2 || a[0] != '-') {
            out.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            options = false;
            continue;
        }
        const auto spec = std::find_if(syntax.options.begin(), syntax.options.end(),
                                       [&](const Option& o) { return o.name == a; });
        if (spec == syntax.options.end())
            return "unknown option \"" + a + "\"";
        if (out.has(a))
            return "option " + a + " given twice";
        std::string value;
        if (spec->takesValue) {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return "option " + a + " needs a value";
            value = args[++i];
        }
        out.options[a] = value;
    }
    if (out.operands.size() < syntax.minOperands)
        return "too few arguments";
    if (syntax.maxOperands && out.operands.size() > *syntax.maxOperands)
        return "unexpected argument \"" + out.operands[*syntax.maxOperands] + "\"";
    return {};
}

}  // namespace

std::optional<Args> ParseArgs(const Syntax& syntax, const std::vector<std::string>& args,
                              std::ostream& err) {
    Args out;
    if (const std::string e = Parse(syntax, args, out); !e.empty()) {
        err << "vxa-tool " << syntax.command << ": " << e << '\n' << syntax.usage;
        return std::nullopt;
    }
    return out;
}

}  // namespace vxa::cli
