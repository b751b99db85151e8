#include "MainWindow.h"

namespace vxa {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("ORN VXA manager"));
}

}  // namespace vxa
