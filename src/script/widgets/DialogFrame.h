#pragma once

#include <QSize>
#include <string>

class QDialog;
class QString;
class QWidget;

namespace vxa {

// The script dialogs are laid out in fixed pixels, like the main window: a
// fixed-size dialog frame without minimise or maximise buttons and a client
// area of `clientSize`. They take the application's font, as the main window
// does. QDialog itself centres each showing on the window that owns the dialog.
void SetFixedDialogFrame(QDialog& dialog, QSize clientSize);

// Program strings are UTF-8 (paths as the file system gives them).
QString ToQString(const std::string& text);

}  // namespace vxa
