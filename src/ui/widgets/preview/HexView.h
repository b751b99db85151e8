#pragma once

#include <QAbstractScrollArea>
#include <cstdint>

#include "core/EntryKind.h"

namespace vxa {

// Offset, hex and text columns over stored data of any size. It reads only
// the lines in view, each time they are drawn, so a huge entry costs no
// more than a small one.
class HexView final : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int kBytesPerLine = 16;

    explicit HexView(QWidget* parent = nullptr);

    // Shows `size` bytes read through `read`, which reads only the lines on
    // screen and gives none once the archive may no longer be read.
    void setSource(ReadStored read, std::uint64_t size);
    void clear() { setSource({}, 0); }
    // The text of line `line` as drawn, for bytes `bytes` (up to 16).
    static QString lineText(std::uint64_t line, const unsigned char* bytes, int count);
    // The lines drawn last, so tests can read what the user sees.
    const QStringList& shownLines() const { return shown_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int visibleLines() const;
    void updateScrollRange();

    ReadStored read_;
    std::uint64_t size_ = 0;
    QStringList shown_;
};

}  // namespace vxa
