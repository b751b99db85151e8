#include "ui/widgets/MessageBoxes.h"

#include <QMessageBox>

namespace vxa {

namespace {

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::Warning:
            return QMessageBox::Warning;
        case MsgIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString MessageText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

MsgAnswer ShowMessageBox(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(IconOf(request.Icon), QString::fromStdString(request.Title),
                    MessageText(request.Text), QMessageBox::NoButton, parent);
    // Paths may hold "<" or "&"; never read them as markup.
    box.setTextFormat(Qt::PlainText);
    if (request.Buttons == MsgButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MsgAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

}  // namespace vxa
