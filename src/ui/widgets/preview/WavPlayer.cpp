#include "ui/widgets/preview/WavPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace vxa {

namespace {

// The samples of one entry as a device the sink pulls from.
class StoredSamples final : public QIODevice {
  public:
    StoredSamples(ReadStored read, std::uint64_t start, std::uint64_t size)
        : read_(std::move(read)), start_(start), size_(size) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return static_cast<qint64>(size_ - at_) + QIODevice::bytesAvailable();
    }

  protected:
    qint64 readData(char* data, qint64 max) override {
        const auto want = std::min<std::uint64_t>(static_cast<std::uint64_t>(max), size_ - at_);
        const std::size_t n = read_(start_ + at_, data, static_cast<std::size_t>(want));
        at_ += n;
        if (n < want)
            at_ = size_;  // the archive may not be read any more: the sound ends here
        return static_cast<qint64>(n);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    ReadStored read_;
    std::uint64_t start_, size_, at_ = 0;
};

std::optional<QAudioFormat> FormatOf(const WavFacts& w) {
    QAudioFormat f;
    f.setSampleRate(static_cast<int>(std::min<std::uint32_t>(w.SampleRate, 1'000'000)));
    f.setChannelCount(w.Channels);
    if (w.Format == 1 && w.Bits == 8)
        f.setSampleFormat(QAudioFormat::UInt8);
    else if (w.Format == 1 && w.Bits == 16)
        f.setSampleFormat(QAudioFormat::Int16);
    else if (w.Format == 1 && w.Bits == 32)
        f.setSampleFormat(QAudioFormat::Int32);
    else if (w.Format == 3 && w.Bits == 32)
        f.setSampleFormat(QAudioFormat::Float);
    const bool framed = w.BlockAlign == w.Channels * (w.Bits / 8);
    if (f.sampleFormat() == QAudioFormat::Unknown || !framed || w.Channels < 1 || w.Channels > 8 ||
        w.SampleRate < 1000 || w.SampleRate > 384000)
        return std::nullopt;
    return f;
}

}  // namespace

QString CannotPlay(const WavFacts& wav) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return QStringLiteral("No audio output device: sounds cannot be played here");
    const auto format = FormatOf(wav);
    if (!format || !device.isFormatSupported(*format))
        return QStringLiteral("This WAV format cannot be played here");
    return {};
}

WavPlayer::WavPlayer(QWidget* parent)
    : QWidget(parent),
      button_(new QPushButton(QStringLiteral("Play"), this)),
      position_(new QProgressBar(this)),
      note_(new QLabel(this)),
      timer_(new QTimer(this)) {
    button_->setObjectName(QStringLiteral("PlayBtn"));
    position_->setTextVisible(false);
    note_->setWordWrap(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(button_);
    row->addWidget(position_, 1);
    row->addWidget(note_, 1);
    timer_->setInterval(50);
    connect(timer_, &QTimer::timeout, this, &WavPlayer::showPosition);
    connect(button_, &QPushButton::clicked, this, &WavPlayer::toggle);
}

WavPlayer::~WavPlayer() {
    stop();
}

void WavPlayer::setSound(const WavFacts& wav, ReadStored read) {
    stop();
    wav_ = wav;
    read_ = std::move(read);
    const QString problem = CannotPlay(wav);
    note_->setText(problem);
    note_->setVisible(!problem.isEmpty());
    button_->setEnabled(problem.isEmpty());
    position_->setVisible(problem.isEmpty());
    position_->setRange(0, std::max(1, static_cast<int>(wav.seconds() * 1000)));
    position_->setValue(0);
}

bool WavPlayer::playing() const {
    return sink_ != nullptr;
}

qint64 WavPlayer::playedUSecs() const {
    return sink_ ? sink_->processedUSecs() : 0;
}

void WavPlayer::toggle() {
    playing() ? stop() : play();
}

void WavPlayer::play() {
    const auto format = FormatOf(wav_);
    if (!format || !read_)
        return;
    samples_ = std::make_unique<StoredSamples>(read_, wav_.DataStart, wav_.DataSize);
    sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), *format);
    connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // Idle: every sample has been played. Stopped by itself: the device
        // failed (it was unplugged, the server went away).
        if (state == QAudio::IdleState ||
            (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError)) {
            QTimer::singleShot(0, this, &WavPlayer::stop);
        }
    });
    sink_->start(samples_.get());
    button_->setText(QStringLiteral("Stop"));
    timer_->start();
}

void WavPlayer::stop() {
    timer_->stop();
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
    }
    sink_.reset();
    samples_.reset();
    button_->setText(QStringLiteral("Play"));
    position_->setValue(0);
}

void WavPlayer::showPosition() {
    position_->setValue(
        static_cast<int>(std::min<qint64>(playedUSecs() / 1000, position_->maximum())));
}

}  // namespace vxa
