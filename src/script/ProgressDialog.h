#pragma once

#include <QDialog>
#include <QString>

#include "core/AppState.h"

namespace vxa {

// The progress dialog "Please wait" of a script run; its Stop sets
// state.StopRequested. (Placeholder until the dialog itself lands.)
class TForm3 : public QDialog {
    Q_OBJECT
  public:
    TForm3(AppState& state, QWidget* mainWindow);

    void setGaugeMax(int max);
    void setGaugeProgress(int progress);
    void setStatus(const QString& text);
    // Shows the dialog without a modal loop and disables the main window.
    void showRun();
    // Hides the dialog and enables the main window again.
    void closeRun();

  private:
    AppState& state_;
    QWidget* mainWindow_;
};

}  // namespace vxa
