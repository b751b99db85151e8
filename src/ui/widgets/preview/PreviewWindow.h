#pragma once

#include <QWidget>
#include <cstdint>

#include "ui/AppState.h"

class QLabel;

namespace vxa {

class HexView;
class WavPlayer;

// A tool window beside the main window that shows one entry: a heading with
// its number, kind, sizes and offset, the stored bytes in a hex view, and
// for a sound, Play / Stop. It reads the held archive only while that is
// still the archive the table describes.
class PreviewWindow final : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kChanged =
        "The archive has changed on disk since it was loaded. Open it again.";

    PreviewWindow(const AppState& state, QWidget* parent);

    // Shows entry `entry` (0-based) of the loaded archive; none for an
    // entry outside the table.
    void showEntry(std::int32_t entry);
    // Stops reading the archive: a load is starting.
    void forget();

    std::int32_t entry() const { return entry_; }
    // Whether it shows an entry of the archive held now and may read it.
    bool reading() const { return archive_ && archive_ == state_.Archive.get(); }
    QLabel* heading() const { return heading_; }
    QLabel* note() const { return note_; }
    HexView* hex() const { return hex_; }
    WavPlayer* player() const { return player_; }

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    std::size_t read(std::uint64_t from, void* buffer, std::size_t size);
    void showNote(const QString& text);
    // No load has started since and no other program has written to it.
    bool mayRead() const;

    const AppState& state_;
    const File* archive_ = nullptr;  // the archive entry_ belongs to
    std::int32_t entry_ = -1;
    QLabel* heading_;
    QLabel* note_;
    WavPlayer* player_;
    HexView* hex_;
};

// The heading's text for `entry`: number, kind and facts, sizes and offset,
// and the owner of a shared entry. Throws IoError.
QString PreviewHeading(const AppState& s, std::int32_t entry);

}  // namespace vxa
