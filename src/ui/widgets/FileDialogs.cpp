#include "ui/widgets/FileDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace vxa {

namespace {

// A save dialog that refuses a name in a folder that does not exist, as the
// toolkit's own dialog does not: it would hand the name on, and the write
// would fail only later.
class SaveInExistingFolder final : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;
    bool PathMustExist = false;

    void accept() override {
        const QStringList files = selectedFiles();
        const QString folder =
            files.isEmpty() ? QString() : QFileInfo(files.front()).absolutePath();
        if (PathMustExist && !folder.isEmpty() && !QFileInfo(folder).isDir()) {
            // The toolkit's own words for a missing folder, translated with it.
            QMessageBox::warning(
                this, windowTitle(),
                QFileDialog::tr("%1\nDirectory not found.\nPlease verify the correct directory "
                                "name was given.")
                    .arg(folder));
            return;
        }
        QFileDialog::accept();
    }
};

}  // namespace

const FileDialogSpec& SpecOf(FileDialog dialog) {
    static const std::array<FileDialogSpec, 6> specs = {{
        // OpenDialog1: open an archive.
        {QString(), QStringLiteral(" ORN archive (*.vxa)"), QStringLiteral("vxa"), false, true,
         false, false},
        // SaveDialog1: the output archive.
        {QStringLiteral("Choose output VXA file"), QStringLiteral("VXA files (*.vxa)"),
         QStringLiteral("vxa"), true, false, true, false},
        // SaveDialog2: save a script.
        {QStringLiteral("Save script file"), QStringLiteral("VXA Manager script file (*.vxc)"),
         QStringLiteral("vxc"), true, false, false, true},
        // OpenDialog2: run a script.
        {QStringLiteral("Run script file"), QStringLiteral("VXA Manager script file (*.vxc)"),
         QStringLiteral("vxc"), false, true, false, true},
        // ExtractEntryDialog: where one entry's bytes go.
        {QStringLiteral("Extract entry to file"), QStringLiteral("All files (*)"), QString(), true,
         false, true, true},
        // ExtractFolderDialog: the folder every entry goes to.
        {QStringLiteral("Extract all entries to folder"), QString(), QString(), false, true, false,
         false, true},
    }};
    return specs[static_cast<int>(dialog)];
}

void FileDialogs::configure(QFileDialog& dlg, FileDialog dialog,
                            const std::string& suggestedName) const {
    const FileDialogSpec& spec = SpecOf(dialog);
    if (!spec.Title.isEmpty())
        dlg.setWindowTitle(spec.Title);
    if (!spec.Filter.isEmpty())
        dlg.setNameFilter(spec.Filter);
    dlg.setDefaultSuffix(spec.DefaultSuffix);
    dlg.setOption(QFileDialog::HideNameFilterDetails, !spec.ShowFilterDetails);
    if (spec.Folder) {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly, true);
    } else if (spec.Save) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, false);  // ask before overwriting
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(spec.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    const QString& last = last_[static_cast<int>(dialog)];
    if (last.isEmpty()) {
        dlg.setDirectory(QDir::currentPath());
    } else {
        dlg.setDirectory(QFileInfo(last).absolutePath());
        dlg.selectFile(QFileInfo(last).fileName());
    }
    if (!suggestedName.empty())
        dlg.selectFile(QFile::decodeName(QByteArray::fromStdString(suggestedName)));
}

std::optional<std::string> FileDialogs::run(FileDialog dialog, const std::string& suggestedName) {
    SaveInExistingFolder dlg(parent_);
    dlg.PathMustExist = SpecOf(dialog).PathMustExist;
    configure(dlg, dialog, suggestedName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    const QString picked = dlg.selectedFiles().front();
    last_[static_cast<int>(dialog)] = picked;
    // Qt's dialogs answer with "/"; the program shows the system's own form.
    return QFile::encodeName(QDir::toNativeSeparators(picked)).toStdString();
}

}  // namespace vxa
