#include "ScriptHandlers.h"

#include "ScriptFile.h"
#include "ScriptRunner.h"
#include "core/AtomicFile.h"
#include "core/IoError.h"

namespace vxa {

namespace {

// The first path of the plan that a script cannot hold. A value that would
// read back differently (a line break in a file name, for one) would make a
// script that quietly does something else when run.
const std::string* PathScriptCannotHold(const AppState& s) {
    for (const std::string* path : {&s.InPath, &s.OutPath}) {
        if (!ScriptValueRoundTrips(*path))
            return path;
    }
    for (const auto& path : s.Replacements.Paths) {
        if (!ScriptValueRoundTrips(path))
            return &path.str();
    }
    return nullptr;
}

// Writes the plan as a script at `path`; false when it could not be written.
// The file is written beside and renamed over the old script, so a failed
// save leaves that whole and nothing of it mixes into the new one.
bool WriteScript(Context& c, const std::string& path) {
    const AppState& s = c.State;
    try {
        const std::string text = FormatScript(s.InPath, s.OutPath, s.Replacements);
        AtomicFile out(c.Fs, path);
        out.file().write(text.data(), text.size());
        out.commit();
    } catch (const IoError&) {
        return false;
    }
    return true;
}

}  // namespace

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
    if (const std::string* bad = PathScriptCannotHold(s)) {
        c.Ui.messageBox("A script cannot hold this path: " + *bad, "Error", MsgButtons::Ok,
                        MsgIcon::Error);
        return;
    }
    if (!WriteScript(c, *path)) {
        c.Ui.showIoError("Unable to write to " + *path);
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
