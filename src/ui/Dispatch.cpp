#include "ui/Dispatch.h"

#include <exception>
#include <new>
#include <utility>

#include "core/io/IoError.h"

namespace vxa {

Dispatcher::Dispatcher(Context& c, std::function<void()> afterOutermost)
    : c_(c), afterOutermost_(std::move(afterOutermost)) {}

bool Dispatcher::run(HandlerKind kind, const std::function<void()>& handler) {
    if (c_.State.Loading && kind != HandlerKind::Stop)
        return false;
    ++depth_;
    try {
        handler();
    } catch (const IoError& e) {
        c_.Ui.showIoError(e.what());
    } catch (const std::bad_alloc&) {
        c_.Ui.showIoError(kOutOfMemory);
    } catch (const std::exception& e) {
        // Nothing may cross the toolkit's event loop: an exception there ends
        // the program and drops the user's plan. Show it like any other.
        c_.Ui.showIoError(e.what());
    }
    --depth_;
    if (depth_ == 0 && afterOutermost_)
        afterOutermost_();
    return true;
}

}  // namespace vxa
