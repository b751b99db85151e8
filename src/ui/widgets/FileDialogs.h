#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>

#include "ui/View.h"

class QFileDialog;
class QWidget;

namespace vxa {

// What sets each of the window's four file dialogs apart.
struct FileDialogSpec {
    QString Title;   // empty: the toolkit's own title
    QString Filter;  // "Text (*.pattern)"
    QString DefaultSuffix;
    bool Save = false;
    bool MustExist = false;          // open dialogs: the file must exist
    bool PathMustExist = false;      // save dialogs: the folder must exist
    bool ShowFilterDetails = false;  // false when the text has no pattern of its own
    bool Folder = false;             // picks a directory, not a file
};

const FileDialogSpec& SpecOf(FileDialog dialog);

// The window's dialogs. Each one starts where its last pick was made and
// offers that name again, or the name it is given; before the first pick it
// starts in the current directory. (The process's current directory is never
// changed by a dialog here.)
class FileDialogs {
  public:
    explicit FileDialogs(QWidget* parent) : parent_(parent) {}

    // Runs a dialog modally; nullopt when cancelled.
    std::optional<std::string> run(FileDialog dialog, const std::string& suggestedName = {});
    // Gives `dlg` everything `dialog` needs before it runs.
    void configure(QFileDialog& dlg, FileDialog dialog,
                   const std::string& suggestedName = {}) const;
    // What the dialog will offer again.
    QString lastPick(FileDialog dialog) const { return last_[static_cast<int>(dialog)]; }

  private:
    QWidget* parent_;
    std::array<QString, 6> last_;
};

}  // namespace vxa
