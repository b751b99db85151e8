#include <optional>
#include <ostream>

#include "Args.h"
#include "Commands.h"
#include "ConsoleView.h"
#include "core/IoError.h"
#include "script/ScriptRunner.h"
#include "script/Summary.h"

namespace vxa::cli {

namespace {

const Syntax kRunSyntax{
    "run", "usage: vxa-tool run [--out OUTPUT] [--] SCRIPT\n", {{"--out", true}}, 1, 1};

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
    const auto parsed = ParseArgs(kRunSyntax, args, err);
    if (!parsed)
        return kUsage;
    const std::string& scriptPath = parsed->operands[0];
    AppState state;
    ConsoleView view(state.Table, err);
    Context c{state, view, RealFileSystem()};
    try {
        // A file that is there but cannot be read is damaged, as the window
        // takes it; only a missing one keeps its own message, for a mistyped
        // name.
        std::optional<Script> script;
        try {
            script = ParseScript(ReadScriptText(c.Fs, scriptPath));
        } catch (const IoError&) {
            if (!c.Fs.fileExists(scriptPath))
                throw;
        }
        if (!script) {
            view.showFileError(scriptPath, kScriptDamaged);
            return kFailed;
        }
        InstallScript(state, *script);
        if (parsed->has("--out"))
            state.OutPath = parsed->options.at("--out");
        if (state.OutPath.empty()) {
            err << "Output file not chosen\n";
            return kUsage;
        }
        ReportMissingFiles(state, c.Fs, err);
        // The window's own Proceed: load in script mode, plan, compile.
        return ProceedWithScript(c) == ProceedOutcome::Compiled ? kOk : kFailed;
    } catch (const IoError& e) {
        view.showFileError(e.path().empty() ? scriptPath : e.path(), e.what());
        return kFailed;
    }
}

}  // namespace vxa::cli
