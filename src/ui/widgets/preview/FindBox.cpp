#include "ui/widgets/preview/FindBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vxa {

FindBox::FindBox(QWidget* parent)
    : QWidget(parent, Qt::Tool),
      field_(new QLineEdit(this)),
      next_(new QPushButton(QStringLiteral("Next"), this)),
      previous_(new QPushButton(QStringLiteral("Previous"), this)),
      message_(new QLabel(this)) {
    setObjectName(QStringLiteral("FindBox"));
    setWindowTitle(QStringLiteral("Find"));
    field_->setPlaceholderText(QStringLiteral("250, 100-200, wav, replaced, > 1M"));
    message_->setWordWrap(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(field_, 0, 0, 1, 2);
    grid->addWidget(previous_, 1, 0);
    grid->addWidget(next_, 1, 1);
    grid->addWidget(message_, 2, 0, 1, 2);
    next_->setDefault(true);
    connect(next_, &QPushButton::clicked, this, [this] { find(false); });
    connect(previous_, &QPushButton::clicked, this, [this] { find(true); });
    connect(field_, &QLineEdit::returnPressed, this, [this] { find(false); });
    setFixedWidth(320);
}

void FindBox::open() {
    show();
    raise();
    activateWindow();
    field_->setFocus();
    field_->selectAll();
}

void FindBox::find(bool back) {
    if (OnFind)
        message_->setText(QString::fromStdString(OnFind(field_->text().toStdString(), back)));
}

}  // namespace vxa
