#include "ProgressDialog.h"

namespace vxa {

TForm3::TForm3(AppState& state, QWidget* mainWindow)
    : QDialog(mainWindow), state_(state), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Please wait"));
}

void TForm3::setGaugeMax(int) {}
void TForm3::setGaugeProgress(int) {}
void TForm3::setStatus(const QString&) {}

void TForm3::showRun() {
    show();
    if (mainWindow_)
        mainWindow_->setEnabled(false);
}

void TForm3::closeRun() {
    hide();
    if (mainWindow_)
        mainWindow_->setEnabled(true);
}

}  // namespace vxa
