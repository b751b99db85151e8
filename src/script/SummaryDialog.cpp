#include "SummaryDialog.h"

namespace vxa {

TForm2::TForm2(const AppState& state, FileSystem& fs, QWidget* parent)
    : QDialog(parent), state_(state), fs_(fs) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Summary"));
}

}  // namespace vxa
