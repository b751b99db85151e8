// vxa-bench-window ARCHIVE: loads ARCHIVE into the real main window the way a
// user does (path typed into the path field, "Reopen" clicked) and prints
// "<seconds to Done> <longest gap between event processing, seconds>".
// With --trace MS, every gap longer than MS milliseconds is listed on stderr.
// Exits 1 when the load did not complete. Meant to run off screen:
//   QT_QPA_PLATFORM=offscreen vxa-bench-window big.vxa
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#include "core/io/FileSystem.h"
#include "ui/AppState.h"
#include "ui/widgets/Form1Controls.h"
#include "ui/widgets/MainWindow.h"

namespace {

using Clock = std::chrono::steady_clock;

double Secs(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Notes each moment the event loop gets to run timers, and the longest
// stretch without one, while armed.
class GapMeter {
  public:
    GapMeter() {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }

    // Also lists every gap longer than `ms` on stderr.
    void traceGapsOver(double ms) { traceMs_ = ms; }

    void arm() {
        start_ = last_ = Clock::now();
        longest_ = {};
        armed_ = true;
    }
    // Ends the measurement at `end`, which counts as a last moment.
    double disarm(Clock::time_point end) {
        armed_ = false;
        longest_ = std::max(longest_, end - last_);
        return Secs(longest_);
    }
    int ticks() const { return ticks_; }

  private:
    void tick() {
        if (!armed_)
            return;
        const auto now = Clock::now();
        if (traceMs_ > 0 && Secs(now - last_) * 1000 > traceMs_) {
            std::fprintf(stderr, "gap %7.2f ms ending at %8.2f ms\n", Secs(now - last_) * 1000,
                         Secs(now - start_) * 1000);
        }
        longest_ = std::max(longest_, now - last_);
        last_ = now;
        ++ticks_;
    }

    QTimer timer_;
    bool armed_ = false;
    int ticks_ = 0;
    double traceMs_ = 0;
    Clock::time_point start_, last_;
    Clock::duration longest_{};
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QStringLiteral("--trace"))) {
        std::cerr << "usage: vxa-bench-window ARCHIVE [--trace MS]\n";
        return 2;
    }
    const std::string path = argv[1];

    // Built as the program builds its windows.
    vxa::AppState state;
    vxa::ProgramWindows windows(state, vxa::RealFileSystem());
    vxa::MainWindow& form1 = windows.Form1;
    // A box would wait for an answer nobody gives off screen: note it instead.
    std::string message;
    form1.MessageBoxHook = [&](const vxa::MessageRequest& r) {
        message = r.Text;
        return r.Buttons == vxa::MsgButtons::YesNo ? vxa::MsgAnswer::No : vxa::MsgAnswer::Ok;
    };
    form1.show();

    GapMeter gaps;
    if (args.size() == 4)
        gaps.traceGapsOver(args[3].toDouble());
    double seconds = 0, longestGap = 0;
    int code = 1;
    // Give the window a moment to lay out and paint, then load from inside the
    // event loop, as a click does.
    QTimer::singleShot(200, &form1, [&] {
        const vxa::Form1Controls& ui = form1.controls();
        ui.OpenEdit->setText(QFile::decodeName(QByteArray::fromStdString(path)));
        gaps.arm();
        const auto start = Clock::now();
        ui.ReloadBtn->click();
        const auto end = Clock::now();
        longestGap = gaps.disarm(end);
        seconds = Secs(end - start);
        const bool done = state.ArchiveComplete && state.InPath == path && message.empty();
        if (!done) {
            std::cerr << "the load did not complete" << (message.empty() ? "" : ": ") << message
                      << "\n";
        } else {
            std::cerr << state.Table.EntryCount << " entries, " << gaps.ticks()
                      << " event loop passes\n";
            code = 0;
        }
        QApplication::exit(code);
    });
    if (QApplication::exec() != 0 || code != 0)
        return 1;
    std::printf("%.6f %.6f\n", seconds, longestGap);
    return 0;
}
