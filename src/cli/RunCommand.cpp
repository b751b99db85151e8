#include <optional>
#include <ostream>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "core/io/IoError.h"
#include "script/ScriptFile.h"
#include "script/Summary.h"

namespace vxa::cli {

namespace {

const Syntax kRunSyntax{
    "run", "usage: vxa-tool run [--out OUTPUT] [--] SCRIPT\n", {{"--out", true}}, 1, 1};

// The summary's warning, one line per item whose file is missing, in the
// form its details use.
void ReportMissingFiles(const ReplRec& plan, FileSystem& fs, std::ostream& err) {
    for (const auto& line : SummaryDetails(plan, fs, false)) {
        if (line.starts_with("* "))
            err << line << '\n';
    }
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& err) {
    const auto parsed = ParseArgs(kRunSyntax, args, err);
    if (!parsed)
        return kUsage;
    const std::string& scriptPath = parsed->Operands[0];
    Session s(err);
    // A file that is there but cannot be read is damaged, as the window
    // takes it; only a missing one keeps its own message, for a mistyped
    // name.
    std::optional<Script> script;
    try {
        script = ParseScript(ReadScriptText(s.Fs, scriptPath));
    } catch (const IoError& e) {
        if (!s.Fs.fileExists(scriptPath)) {
            s.ioError(e.path().empty() ? scriptPath : e.path(), e.what());
            return kFailed;
        }
    }
    if (!script) {
        s.ioError(scriptPath, kScriptDamaged);
        return kFailed;
    }
    const std::string output = parsed->has("--out") ? parsed->Options.at("--out") : script->Out;
    if (output.empty()) {
        err << "Output file not chosen\n";
        return kUsage;
    }
    ReportMissingFiles(script->Items, s.Fs, err);
    // The window's own Proceed: load, plan, compile.
    if (!s.load(script->In))
        return kFailed;
    s.Plan = script->Items;
    return s.compile(output) ? kOk : kFailed;
}

}  // namespace vxa::cli
