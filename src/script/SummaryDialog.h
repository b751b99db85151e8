#pragma once

#include <QDialog>

#include "core/AppState.h"
#include "core/FileSystem.h"

namespace vxa {

// The summary dialog "Summary" of a script run. exec() returns 6 Proceed,
// 7 Cancel, 5 Load only, or 2 when closed from the title bar.
// (Placeholder until the dialog itself lands.)
class TForm2 : public QDialog {
    Q_OBJECT
  public:
    TForm2(const AppState& state, FileSystem& fs, QWidget* parent);

  private:
    const AppState& state_;
    FileSystem& fs_;
};

}  // namespace vxa
