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
            out.Operands.push_back(a);
            continue;
        }
        if (a == "--") {
            options = false;
            continue;
        }
        const auto spec = std::find_if(syntax.Options.begin(), syntax.Options.end(),
                                       [&](const Option& o) { return o.Name == a; });
        if (spec == syntax.Options.end())
            return "unknown option \"" + a + "\"";
        if (out.has(a))
            return "option " + a + " given twice";
        std::string value;
        if (spec->TakesValue) {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return "option " + a + " needs a value";
            value = args[++i];
        }
        out.Options[a] = value;
    }
    if (out.Operands.size() < syntax.MinOperands)
        return "too few arguments";
    if (syntax.MaxOperands && out.Operands.size() > *syntax.MaxOperands)
        return "unexpected argument \"" + out.Operands[*syntax.MaxOperands] + "\"";
    return {};
}

}  // namespace

std::optional<Args> ParseArgs(const Syntax& syntax, const std::vector<std::string>& args,
                              std::ostream& err) {
    Args out;
    if (const std::string e = Parse(syntax, args, out); !e.empty()) {
        err << "vxa-tool " << syntax.Command << ": " << e << '\n' << syntax.Usage;
        return std::nullopt;
    }
    return out;
}

}  // namespace vxa::cli
