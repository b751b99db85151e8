#pragma once

#include <QWidget>
#include <memory>

#include "core/EntryKind.h"

class QAudioSink;
class QIODevice;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vxa {

// Play / Stop and a position bar for a WAV entry, played through the
// system's default audio output straight from the held archive: the sink
// pulls the samples as it needs them, so nothing is read ahead.
class WavPlayer final : public QWidget {
    Q_OBJECT
  public:
    explicit WavPlayer(QWidget* parent = nullptr);
    ~WavPlayer() override;

    // The entry to play from: its facts and its stored bytes. Stops what
    // was playing.
    void setSound(const WavFacts& wav, ReadStored read);
    void stop();

    bool playing() const;
    // Microseconds of sound played since Play.
    qint64 playedUSecs() const;
    QPushButton* button() const { return button_; }
    QLabel* note() const { return note_; }

  private:
    void toggle();
    void play();
    void showPosition();

    WavFacts wav_;
    ReadStored read_;
    QPushButton* button_;
    QProgressBar* position_;
    QLabel* note_;
    QTimer* timer_;
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QIODevice> samples_;
};

// The text for a sound that cannot be played: its format, or no output
// device at all; empty when it can.
QString CannotPlay(const WavFacts& wav);

}  // namespace vxa
