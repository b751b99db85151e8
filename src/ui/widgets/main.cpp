#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <iostream>
#include <string>
#include <vector>

#include "core/io/FileSystem.h"
#include "core/io/TempFiles.h"
#include "ui/AppState.h"
#include "ui/widgets/MainWindow.h"

int main(int argc, char** argv) {
    vxa::InstallTempFileCleanup();  // Qt installs no handlers of its own for these signals
    QApplication app(argc, argv);
    // The PNG renderings, not the SVG: Qt's SVG plugin is an optional package.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/vxa/icons/hicolor/%1/vxa-manager.png").arg(size));
    }
    QApplication::setWindowIcon(icon);

    // The program's state lives as long as its windows.
    vxa::AppState state;
    vxa::ProgramWindows windows(state, vxa::RealFileSystem());
    vxa::MainWindow& form1 = windows.Form1;

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        form1.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, form1.size(),
                                              screen->availableGeometry()));
    }
    form1.show();
    // The toolkit has taken its own options out of argv; what is left is ours.
    const std::vector<std::string> args(argv + 1, argv + argc);
    QTimer::singleShot(0, &form1, [&] { vxa::OpenFromArguments(form1, args, std::cerr); });
    return QApplication::exec();
}
