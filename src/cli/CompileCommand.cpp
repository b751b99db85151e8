#include <algorithm>
#include <charconv>
#include <cstdint>
#include <ostream>
#include <set>

#include "Commands.h"
#include "ConsoleView.h"
#include "WriteArchive.h"
#include "core/Compiler.h"
#include "core/Loader.h"
#include "plan/Plan.h"

namespace vxa::cli {

namespace {

constexpr const char* kCompileUsage =
    "usage: vxa-tool compile [--skip-missing] ARCHIVE OUTPUT [NR=FILE]...\n";

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

// Reads the command line; an error text when it is wrong.
std::string ParseArgs(const std::vector<std::string>& args, Request& req) {
    std::vector<std::string> positional;
    bool options = true;
    for (const std::string& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--skip-missing") {
            req.skipMissing = true;
        } else if (options && a.size() > 1 && a[0] == '-' && a.find('=') == std::string::npos) {
            return "unknown option \"" + a + "\"";
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() < 2)
        return "ARCHIVE and OUTPUT are needed";
    req.archive = positional[0];
    req.output = positional[1];
    for (std::size_t k = 2; k < positional.size(); ++k) {
        Replacement r;
        if (std::string e = ParseReplacement(positional[k], r); !e.empty())
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
    Request req;
    if (std::string e = ParseArgs(args, req); !e.empty()) {
        err << "vxa-tool compile: " << e << '\n' << kCompileUsage;
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
