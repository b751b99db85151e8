#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vxa::test {

// Runs `dialog` modally and does `act` once it shows; returns exec()'s result,
// or -1 when `act` left the dialog open (so that a fault fails, never hangs).
inline int ExecWith(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        act();
        if (dialog.isVisible())
            dialog.done(-1);
    });
    return dialog.exec();
}

// Presses Esc on the control that has the window's focus, as a user would.
inline void PressEscape(QWidget& window) {
    QWidget* target = window.focusWidget();
    QTest::keyClick(target != nullptr ? target : &window, Qt::Key_Escape);
}

// The main window stand-in: the dialogs only need a window to sit on.
inline void PlaceMainWindow(QWidget& main) {
    main.setGeometry(100, 50, 626, 441);
    main.show();
}

// The names of the controls that carry a tooltip.
inline QStringList Tooltips(const QWidget& dialog) {
    QStringList names;
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->toolTip().isEmpty())
            names << w->objectName();
    }
    return names;
}

inline bool HasFixedDialogFrame(const QWidget& w, QSize client) {
    const Qt::WindowFlags f = w.windowFlags();
    return w.minimumSize() == client && w.maximumSize() == client && w.size() == client &&
           !(f & Qt::WindowMinimizeButtonHint) && !(f & Qt::WindowMaximizeButtonHint) &&
           (f & Qt::WindowCloseButtonHint) && (f & Qt::WindowTitleHint);
}

}  // namespace vxa::test
