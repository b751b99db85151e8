#include "ui/CompileHandlers.h"

#include <new>
#include <optional>

#include "core/Compiler.h"
#include "ui/Dispatch.h"

namespace vxa {

void SvhBtnClick(Context& c) {
    if (c.State.Loading)
        return;
    if (auto path = c.Ui.runFileDialog(FileDialog::SaveDialog1))
        c.State.OutPath = *path;
}

void SvahBtnClick(Context& c) {
    // The table is being rebuilt while a load runs.
    if (c.State.Loading)
        return;
    if (c.State.OutPath.empty())
        SvhBtnClick(c);
    if (c.State.OutPath.empty())
        return;
    if (!c.State.ArchiveComplete)
        return;
    if (!ConfirmMissingFiles(c))
        return;
    CompileAndReport(c, c.State.OutPath);
}

bool ConfirmMissingFiles(Context& c) {
    const MissingFiles missing = CheckReplacementFiles(c.Fs, c.State.Replacements);
    if (missing.Count == 0)
        return true;
    const std::string text = MissingFilesText(missing, '\r') + "\r\rContinue?";
    return c.Ui.messageBox(text, "Error", MsgButtons::YesNo, MsgIcon::Warning) == MsgAnswer::Yes;
}

bool CompileAndReport(Context& c, const std::string& path) {
    c.Ui.setBusyCursor(true);
    std::optional<std::string> failure;
    bool refused = false;
    try {
        CompileArchive(c.Fs, c.State, c.State.Replacements, path);
    } catch (const CompileRefused& e) {
        failure = e.what();
        refused = true;
    } catch (const IoError& e) {
        failure = e.what();
    } catch (const std::bad_alloc&) {
        failure = kOutOfMemory;
    }
    c.Ui.setBusyCursor(false);
    if (!failure)
        return true;
    if (refused) {
        c.Ui.messageBox(*failure, "Error", MsgButtons::Ok, MsgIcon::Error);
    } else {
        ShowGeneralError(c, *failure);
    }
    return false;
}

}  // namespace vxa
