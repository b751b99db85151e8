#pragma once

#include <QMainWindow>

namespace vxa {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace vxa
