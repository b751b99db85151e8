#include <algorithm>
#include <charconv>
#include <cstdint>
#include <ostream>
#include <set>

#include "Args.h"
#include "Commands.h"
#include "ConsoleView.h"
#include "WriteArchive.h"
#include "core/Compiler.h"
#include "core/Loader.h"
#include "plan/Plan.h"

namespace vxa::cli {

namespace {

struct Replacement {
    std::uint64_t nr = 0;  // as the grid's "Nr" shows it, from 1
    std::string file;
    std::string arg;
};

struct Request {
    bool skipMissing = false;
    std::string archive;
    std::string output;
    std::vector<Replacement> replacements;
};

// Parses NR=FILE; an error text when the argument is not of that form.
std::string ParseReplacement(const std::string& arg, Replacement& out) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos)
        return "expected NR=FILE, got \"" + arg + "\"";
    const std::string nr = arg.substr(0, eq);
    out.file = arg.substr(eq + 1);
    out.arg = arg;
    if (nr.empty())
        return "no entry number before \"=\" in \"" + arg + "\"";
    const bool digits =
        std::all_of(nr.begin(), nr.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
    if (!digits)
        return "entry number \"" + nr + "\" is not a number, in \"" + arg + "\"";
    // A number too long for 64 bits names no entry either.
    if (std::from_chars(nr.data(), nr.data() + nr.size(), out.nr).ec != std::errc()) {
        out.nr = UINT64_MAX;
    }
    if (out.file.empty())
        return "no file after \"=\" in \"" + arg + "\"";
    return {};
}

const Syntax kCompileSyntax{
    "compile",
    "usage: vxa-tool compile [--skip-missing] [--] ARCHIVE OUTPUT [NR=FILE]...\n",
    {{"--skip-missing"}},
    2,
    std::nullopt};

// Reads the command line; an error text when a replacement is not NR=FILE.
std::string ReadRequest(const Args& args, Request& req) {
    req.skipMissing = args.has("--skip-missing");
    req.archive = args.operands[0];
    req.output = args.operands[1];
    for (std::size_t k = 2; k < args.operands.size(); ++k) {
        Replacement r;
        if (std::string e = ParseReplacement(args.operands[k], r); !e.empty())
            return e;
        req.replacements.push_back(std::move(r));
    }
    return {};
}

// Checks every NR against the loaded table; an error text for the first
// that names no entry or a blank one, which has no data to replace.
std::string CheckEntries(const Request& req, const EntryTable& t) {
    const auto n = static_cast<std::uint64_t>(t.EntryCount);
    for (const Replacement& r : req.replacements) {
        if (r.nr < 1 || r.nr > n) {
            return "entry " + std::to_string(r.nr) +
                   " does not exist; the archive has entries 1 to " + std::to_string(n) + " (\"" +
                   r.arg + "\")";
        }
        if (t.Links[r.nr - 1] == -1) {
            return "entry " + std::to_string(r.nr) + " is blank and has nothing to replace (\"" +
                   r.arg + "\")";
        }
    }
    return {};
}

}  // namespace

int Compile(const std::vector<std::string>& args, std::ostream& err) {
    const auto parsed = ParseArgs(kCompileSyntax, args, err);
    if (!parsed)
        return kUsage;
    Request req;
    if (std::string e = ReadRequest(*parsed, req); !e.empty()) {
        err << "vxa-tool compile: " << e << '\n' << kCompileSyntax.usage;
        return kUsage;
    }
    AppState state;
    ConsoleView view(state.Table, err);
    Context c{state, view, RealFileSystem()};
    if (LoadArchive(c, req.archive, false) != LoadOutcome::Complete)
        return kFailed;
    if (std::string e = CheckEntries(req, state.Table); !e.empty()) {
        err << "vxa-tool compile: " << e << '\n';
        return kUsage;
    }
    // The window's own Replace: select the row, record its sharing group.
    for (const Replacement& r : req.replacements) {
        view.selectRow(static_cast<int>(r.nr));
        AddReplacement(c, r.file);
    }
    if (!req.skipMissing) {
        const std::vector<std::string> missing = MissingReplacementFiles(c);
        if (!missing.empty()) {
            err << "The following files don't exist:\n";
            std::set<std::string> listed;
            for (const std::string& path : missing) {
                if (listed.insert(path).second)
                    err << path << '\n';
            }
            err << "Nothing was written; --skip-missing keeps their entries as they are.\n";
            return kFailed;
        }
    }
    return WriteArchive(c, req.output);
}

}  // namespace vxa::cli
