#include "ui/widgets/preview/PreviewWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "core/EntryBytes.h"
#include "core/EntryKind.h"
#include "core/io/IoError.h"
#include "ui/widgets/preview/HexView.h"
#include "ui/widgets/preview/WavPlayer.h"

namespace vxa {

QString PreviewHeading(const AppState& s, std::int32_t entry) {
    const EntryTable& t = s.Table;
    const auto i = static_cast<std::size_t>(entry);
    const EntryKind kind = KindOf(s, entry);
    QString text = QStringLiteral("Entry %1: %2").arg(entry + 1).arg(kind.describe().c_str());
    if (kind.What == Content::Blank)
        return text;
    const auto owner = static_cast<std::size_t>(kind.Owner.value_or(entry));
    text += QStringLiteral("\nOrig. size %1, packed size %2, offset %3")
                .arg(t.OrigSizes[owner])
                .arg(t.PackedSizes[owner])
                .arg(t.Offsets[i]);
    if (kind.Owner)
        text += QStringLiteral("\nShares the data of entry %1").arg(*kind.Owner + 1);
    return text;
}

PreviewWindow::PreviewWindow(const AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      state_(state),
      heading_(new QLabel(this)),
      note_(new QLabel(this)),
      player_(new WavPlayer(this)),
      hex_(new HexView(this)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Preview"));
    heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->setWordWrap(true);
    auto* column = new QVBoxLayout(this);
    column->addWidget(heading_);
    column->addWidget(note_);
    column->addWidget(player_);
    column->addWidget(hex_, 1);
    resize(hex_->minimumWidth() + 24, 420);
    showEntry(-1);
}

std::size_t PreviewWindow::read(std::uint64_t from, void* buffer, std::size_t size) {
    try {
        if (archive_ && archive_ == state_.Archive.get() && mayRead())
            return ReadEntryBytes(state_, entry_, from, buffer, size);
        showNote(QString::fromLatin1(kChanged));
    } catch (const IoError& e) {
        showNote(QString::fromStdString(e.what()));
    }
    archive_ = nullptr;  // read nothing more until an entry is shown again
    return 0;
}

bool PreviewWindow::mayRead() const {
    return state_.ArchiveComplete && !state_.Loading && HeldArchiveCurrent(state_);
}

void PreviewWindow::showNote(const QString& text) {
    note_->setText(text);
    note_->setVisible(!text.isEmpty());
}

void PreviewWindow::showEntry(std::int32_t entry) {
    player_->stop();
    player_->hide();
    hex_->clear();
    showNote({});
    entry_ = entry;
    archive_ = nullptr;
    const bool inTable = entry >= 0 && entry < state_.Table.EntryCount;
    if (!inTable || !state_.Archive || state_.Loading) {
        heading_->setText(QStringLiteral("No entry"));
        return;
    }
    try {
        if (!mayRead()) {
            heading_->setText(QStringLiteral("Entry %1").arg(entry + 1));
            showNote(QString::fromLatin1(kChanged));
            return;
        }
        archive_ = state_.Archive.get();
        heading_->setText(PreviewHeading(state_, entry));
        const EntryKind kind = KindOf(state_, entry);
        const auto reader = [this](std::uint64_t from, void* buffer, std::size_t size) {
            return read(from, buffer, size);
        };
        if (kind.What == Content::Packed)
            showNote(QStringLiteral("Packed (type %1): the game unpacks it; shown as stored")
                         .arg(kind.CompType));
        if (kind.What == Content::Wav) {
            player_->setSound(kind.Wav, reader);
            player_->show();
        }
        hex_->setSource(reader, StoredSize(state_, entry));
    } catch (const IoError& e) {
        archive_ = nullptr;
        showNote(QString::fromStdString(e.what()));
    }
}

void PreviewWindow::forget() {
    showEntry(-1);
}

void PreviewWindow::hideEvent(QHideEvent* event) {
    player_->stop();
    QWidget::hideEvent(event);
}

}  // namespace vxa
