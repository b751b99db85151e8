#pragma once

#include <QElapsedTimer>

namespace vxa {

// The loader offers to hand events to the toolkit every tenth entry; doing so
// each time would make a big load crawl. The pump says yes on the first offer
// after a handler started and then at most every 15 ms, which keeps the
// window answering without slowing the load.
class EventPump {
  public:
    static constexpr qint64 kIntervalMs = 15;

    // A new handler runs: its first offer is taken.
    void restart() { primed_ = false; }

    bool due() {
        if (primed_ && timer_.elapsed() < kIntervalMs)
            return false;
        primed_ = true;
        timer_.start();
        return true;
    }

  private:
    QElapsedTimer timer_;
    bool primed_ = false;
};

}  // namespace vxa
