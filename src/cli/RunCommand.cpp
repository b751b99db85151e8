#include <ostream>

#include "Commands.h"
#include "ConsoleView.h"
#include "core/IoError.h"
#include "script/ScriptRunner.h"
#include "script/Summary.h"

namespace vxa::cli {

namespace {

constexpr const char* kRunUsage = "usage: vxa-tool run SCRIPT [--out OUTPUT]\n";

struct RunArgs {
    std::string script;
    std::string out;  // empty: the script's own "Out"
};

std::optional<RunArgs> ParseRunArgs(const std::vector<std::string>& args) {
    RunArgs r;
    bool haveScript = false;
    bool haveOut = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out") {
            if (haveOut || i + 1 >= args.size() || args[i + 1].empty())
                return std::nullopt;
            r.out = args[++i];
            haveOut = true;
        } else if (!haveScript && !args[i].empty() && !args[i].starts_with("--")) {
            r.script = args[i];
            haveScript = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveScript)
        return std::nullopt;
    return r;
}

// The summary's warning, one line per item whose file is missing, in the
// form its details use.
void ReportMissingFiles(const AppState& state, FileSystem& fs, std::ostream& err) {
    for (const auto& line : SummaryDetails(state, fs, false)) {
        if (line.starts_with("* "))
            err << line << '\n';
    }
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& err) {
    const auto parsed = ParseRunArgs(args);
    if (!parsed) {
        err << kRunUsage;
        return kUsage;
    }
    AppState state;
    ConsoleView view(state.Table, err);
    Context c{state, view, RealFileSystem()};
    try {
        const auto script = OpenScript(c, parsed->script);
        if (!script)
            return kFailed;
        InstallScript(state, *script);
        if (!parsed->out.empty())
            state.OutPath = parsed->out;
        if (state.OutPath.empty()) {
            err << "Output file not chosen\n";
            return kUsage;
        }
        ReportMissingFiles(state, c.Fs, err);
        // The window's own Proceed: load in script mode, plan, compile.
        return ProceedWithScript(c) == ProceedOutcome::Compiled ? kOk : kFailed;
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return kFailed;
    }
}

}  // namespace vxa::cli
