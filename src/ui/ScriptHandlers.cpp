#include "ui/ScriptHandlers.h"

#include "core/io/IoError.h"
#include "script/ScriptFile.h"
#include "ui/Dispatch.h"
#include "ui/ScriptRunner.h"

namespace vxa {

void SvsBtnClick(Context& c) {
    const AppState& s = c.State;
    if (s.Loading)
        return;  // the paths and plan are being replaced
    if (s.OutPath.empty() &&
        c.Ui.messageBox("Output file not chosen. Save anyway?", "Hmmm?", MsgButtons::YesNo,
                        MsgIcon::Question) != MsgAnswer::Yes) {
        return;
    }
    const auto path = c.Ui.runFileDialog(FileDialog::SaveDialog2);
    if (!path)
        return;
    if (const std::string* bad = PathScriptCannotHold(s.InPath, s.OutPath, s.Replacements)) {
        c.Ui.messageBox("A script cannot hold this path: " + *bad, "Error", MsgButtons::Ok,
                        MsgIcon::Error);
        return;
    }
    if (!WriteScript(c.Fs, *path, s.InPath, s.OutPath, s.Replacements)) {
        ShowGeneralError(c, "Unable to write to " + *path);
        return;
    }
    c.Ui.beep();
}

void RsBtnClick(Context& c) {
    if (c.State.Loading)
        return;  // the entry table is being rebuilt
    const auto path = c.Ui.runFileDialog(FileDialog::OpenDialog2);
    if (!path)
        return;
    std::optional<Script> script;
    try {
        script = OpenScript(c, *path);
    } catch (const IoError&) {
        // A file that cannot be read (gone since the dialog, no access, not
        // a regular file) reads as an empty script, which is damaged.
        ScriptError(c);
        return;
    }
    if (script)
        RunScript(c, *script);
}

}  // namespace vxa
