#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <utility>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/EntryNumbers.h"
#include "cli/Session.h"
#include "core/Compiler.h"
#include "core/io/IoError.h"
#include "plan/FolderFiles.h"
#include "plan/Plan.h"

namespace vxa::cli {

namespace {

struct Replacement {
    std::uint64_t Nr = 0;  // as the grid's "Nr" shows it, from 1
    std::string File;
    std::string Arg;
};

struct Request {
    bool SkipMissing = false;
    std::string Archive;
    std::string Output;
    std::optional<std::string> From;  // the folder of --from
    std::vector<Replacement> Replacements;
};

// Parses NR=FILE; an error text when the argument is not of that form.
std::string ParseReplacement(const std::string& arg, Replacement& out) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos)
        return "expected NR=FILE, got \"" + arg + "\"";
    const std::string nr = arg.substr(0, eq);
    out.File = arg.substr(eq + 1);
    out.Arg = arg;
    if (nr.empty())
        return "no entry number before \"=\" in \"" + arg + "\"";
    const auto number = ParseEntryNumber(nr);
    if (!number)
        return "entry number \"" + nr + "\" is not a number, in \"" + arg + "\"";
    out.Nr = *number;
    if (out.File.empty())
        return "no file after \"=\" in \"" + arg + "\"";
    return {};
}

const Syntax kCompileSyntax{
    "compile",
    "usage: vxa-tool compile [--skip-missing] [--from DIR] [--] ARCHIVE OUTPUT [NR=FILE]...\n",
    {{"--skip-missing"}, {"--from", true}},
    2,
    std::nullopt};

// Reads the command line; an error text when a replacement is not NR=FILE.
std::string ReadRequest(const Args& args, Request& req) {
    req.SkipMissing = args.has("--skip-missing");
    req.Archive = args.Operands[0];
    req.Output = args.Operands[1];
    if (args.has("--from"))
        req.From = args.Options.at("--from");
    for (std::size_t k = 2; k < args.Operands.size(); ++k) {
        Replacement r;
        if (std::string e = ParseReplacement(args.Operands[k], r); !e.empty())
            return e;
        req.Replacements.push_back(std::move(r));
    }
    return {};
}

// Checks every NR against the loaded table; an error text for the first
// that names no entry or a blank one, which has no data to replace.
std::string CheckEntries(const Request& req, const EntryTable& t) {
    for (const Replacement& r : req.Replacements) {
        if (std::string e = CheckEntryNumber(t, r.Nr, r.Arg, "replace"); !e.empty())
            return e;
    }
    return {};
}

// Adds the edited files of the --from folder to the plan, leaving the groups
// that NR=FILE names to the command line. An exit code when that fails.
std::optional<int> ReplaceFromFolder(Session& s, const Request& req) {
    std::set<std::uint32_t> named;
    for (const Replacement& r : req.Replacements)
        named.insert(s.Archive.Table.Offsets[r.Nr - 1]);
    std::string dir = *req.From;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    std::vector<std::string> problems;
    try {
        for (const FolderPick& pick : PickFolderFiles(s.Archive, s.Fs, dir, named, problems))
            AddReplacement(s.Plan, s.Archive.Table, pick.Entry, pick.Path);
    } catch (const IoError& e) {
        s.ioError(e.path().empty() ? dir : e.path(), e.what());
        return kFailed;
    }
    if (problems.empty())
        return std::nullopt;
    for (const std::string& p : problems)
        s.Err << "vxa-tool compile: " << p << '\n';
    s.Err << "Nothing was written.\n";
    return kFailed;
}

}  // namespace

int Compile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto parsed = ParseArgs(kCompileSyntax, args, err);
    if (!parsed)
        return kUsage;
    Request req;
    if (std::string e = ReadRequest(*parsed, req); !e.empty()) {
        err << "vxa-tool compile: " << e << '\n' << kCompileSyntax.Usage;
        return kUsage;
    }
    Session s(err);
    if (!s.load(req.Archive))
        return kFailed;
    if (std::string e = CheckEntries(req, s.Archive.Table); !e.empty()) {
        err << "vxa-tool compile: " << e << '\n';
        return kUsage;
    }
    if (req.From) {
        if (const auto failed = ReplaceFromFolder(s, req))
            return *failed;
    }
    // The folder's records come first; NR=FILE's, later, win for their entries.
    const ReplRec fromFolder = s.Plan;
    for (const Replacement& r : req.Replacements)
        AddReplacement(s.Plan, s.Archive.Table, static_cast<std::int32_t>(r.Nr - 1), r.File);
    if (!req.SkipMissing) {
        const MissingFiles missing = CheckReplacementFiles(s.Fs, s.Plan);
        if (missing.Count > 0) {
            err << MissingFilesText(missing, '\n') << '\n'
                << "Nothing was written; --skip-missing keeps their entries as they are.\n";
            return kFailed;
        }
    }
    if (!s.compile(req.Output))
        return kFailed;
    std::vector<std::pair<std::int32_t, std::string>> lines;
    for (std::int32_t k = 0; k < fromFolder.Count; ++k)
        lines.emplace_back(fromFolder.Indices[k], fromFolder.Paths[k]);
    std::sort(lines.begin(), lines.end());
    for (const auto& [entry, path] : lines)
        out << entry + 1 << " <- " << path << '\n';
    return out.flush() ? kOk : kFailed;
}

}  // namespace vxa::cli
