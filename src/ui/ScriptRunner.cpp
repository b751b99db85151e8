#include "ui/ScriptRunner.h"

#include "ui/CompileHandlers.h"
#include "ui/LoadHandlers.h"

namespace vxa {

void ScriptError(Context& c) {
    c.Ui.messageBox(kScriptDamaged, "Error", MsgButtons::Ok, MsgIcon::Error);
}

void ShowListInGrid(Context& c) {
    ShowPlan(c.State.Grid, c.State.Table, c.State.Replacements);
    c.Ui.gridChanged();
}

std::optional<Script> OpenScript(Context& c, const std::string& path) {
    auto script = ParseScript(ReadScriptText(c.Fs, path));
    if (!script)
        ScriptError(c);
    return script;
}

PlanSnapshot InstallScript(AppState& s, const Script& script) {
    PlanSnapshot saved{s.InPath, s.OutPath, s.Replacements};
    s.InPath = script.In;
    s.OutPath = script.Out;
    s.ScriptList = script.Items;
    s.Replacements = script.Items;
    return saved;
}

void RestorePlan(AppState& s, PlanSnapshot saved) {
    s.InPath = std::move(saved.InPath);
    s.OutPath = std::move(saved.OutPath);
    s.Replacements = std::move(saved.Replacements);
}

ProceedOutcome ProceedWithScript(Context& c) {
    View& ui = c.Ui;
    ui.progressDialog({ProgressStep::Action::GaugePosition, 0, {}});
    ui.progressDialog({ProgressStep::Action::Status, 0, "Loading file..."});
    ui.progressDialog({ProgressStep::Action::Show, 0, {}});
    // The dialog disables the main window: it must close however the run
    // ends, an unexpected exception included.
    struct CloseProgressDialog {
        View& Ui;
        ~CloseProgressDialog() { Ui.progressDialog({ProgressStep::Action::Close, 0, {}}); }
    } closer{ui};

    // The outcome, not ArchiveComplete, decides: after a load that did not
    // take place the flag still describes the archive loaded before, which
    // must not be compiled under this script's plan.
    switch (LoadInWindow(c, c.State.InPath, true)) {
        case LoadOutcome::Complete:
            break;
        case LoadOutcome::FileMissing:
        case LoadOutcome::NotOpened:
            return ProceedOutcome::InputMissing;
        case LoadOutcome::Stopped:
        case LoadOutcome::Failed:
            return ProceedOutcome::NotLoaded;
    }
    ShowListInGrid(c);
    if (c.State.OutPath.empty())
        SvhBtnClick(c);
    if (c.State.OutPath.empty())
        return ProceedOutcome::NoOutput;
    ui.progressDialog({ProgressStep::Action::Status, 0, "Saving file..."});
    // Reported as the compile button reports it; the output is then as it
    // was, and the dialog still closes.
    if (!CompileAndReport(c, c.State.OutPath))
        return ProceedOutcome::CompileFailed;
    return ProceedOutcome::Compiled;
}

void RunScript(Context& c, const Script& script) {
    AppState& s = c.State;
    PlanSnapshot saved = InstallScript(s, script);
    switch (c.Ui.showSummaryDialog()) {
        case SummaryResult::Proceed:
            if (ProceedWithScript(c) == ProceedOutcome::InputMissing) {
                RestorePlan(s, std::move(saved));
            }
            return;
        case SummaryResult::LoadOnly:
            switch (LoadInWindow(c, s.InPath, false)) {
                case LoadOutcome::FileMissing:
                case LoadOutcome::NotOpened:
                    // Nothing was loaded: the archive open before stays with
                    // its own plan, as after Cancel.
                    RestorePlan(s, std::move(saved));
                    return;
                case LoadOutcome::Failed:
                    return;  // the run ends at the error, as the load did
                case LoadOutcome::Complete:
                case LoadOutcome::Stopped:
                    break;
            }
            // The normal-mode load emptied the plan; the script's comes back
            // for review, also after a stopped load (it then stays locked).
            s.Replacements = s.ScriptList;
            ShowListInGrid(c);
            return;
        case SummaryResult::Cancel:
        case SummaryResult::Closed:
            break;
    }
    // Cancelled: without this the next compile would apply the script's plan
    // to the archive that is open.
    RestorePlan(s, std::move(saved));
}

}  // namespace vxa
