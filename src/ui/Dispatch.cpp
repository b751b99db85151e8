#include "ui/Dispatch.h"

#include <exception>
#include <new>
#include <utility>

#include "core/io/IoError.h"

namespace vxa {

void ShowGeneralError(Context& c, const std::string& runtimeText) {
    c.Ui.messageBox(ErrorBoxText(runtimeText), c.AppTitle, MsgButtons::Ok, MsgIcon::Error);
}

Dispatcher::Dispatcher(Context& c, std::function<void()> afterOutermost)
    : c_(c), afterOutermost_(std::move(afterOutermost)) {}

bool Dispatcher::run(HandlerKind kind, const std::function<void()>& handler) {
    if (c_.State.Loading && kind != HandlerKind::Stop)
        return false;
    ++depth_;
    try {
        handler();
    } catch (const IoError& e) {
        ShowGeneralError(c_, e.what());
    } catch (const std::bad_alloc&) {
        ShowGeneralError(c_, kOutOfMemory);
    } catch (const std::exception& e) {
        // Nothing may cross the toolkit's event loop: an exception there ends
        // the program and drops the user's plan. Show it like any other.
        ShowGeneralError(c_, e.what());
    }
    --depth_;
    if (depth_ == 0 && afterOutermost_)
        afterOutermost_();
    return true;
}

}  // namespace vxa
