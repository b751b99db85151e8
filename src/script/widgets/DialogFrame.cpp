#include "script/widgets/DialogFrame.h"

#include <QDialog>
#include <QString>

namespace vxa {

void SetFixedDialogFrame(QDialog& dialog, QSize clientSize) {
    // CustomizeWindowHint drops what the platform would add on its own, such
    // as a context-help button; only the title and the close button remain.
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog.setFixedSize(clientSize);
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace vxa
