#pragma once

#include <functional>
#include <string>

#include "ui/Context.h"

namespace vxa {

// How a handler may run while a load started from the window hands events to
// the toolkit.
enum class HandlerKind {
    Command,  // refused during a load: it could act on a table being rebuilt
    Stop,     // the one command a running load listens to
};

// The application's general error handler's box for a runtime error text:
// the application's title, the error icon, the text with its full stop.
void ShowGeneralError(Context& c, const std::string& runtimeText);

// Runs every event handler of the main window and plays the part of the
// application's general error handler: a file or memory error that leaves a
// handler is shown in the error box, and the program goes on with the next
// event. Handlers nest when a load processes events; `afterOutermost` runs
// each time the outermost handler has returned.
class Dispatcher {
  public:
    Dispatcher(Context& c, std::function<void()> afterOutermost);

    // Runs `handler` unless a load is running and it is not Stop. Returns
    // false when it was refused.
    bool run(HandlerKind kind, const std::function<void()>& handler);

  private:
    Context& c_;
    std::function<void()> afterOutermost_;
    int depth_ = 0;
};

}  // namespace vxa
