#pragma once

#include <exception>
#include <thread>

namespace vxa {

// Runs `beside` on a second thread while this one runs `here`, or the two
// one after the other on a machine with one processor. A failure of either
// reaches the caller once both have ended, this thread's first.
template <class Beside, class Here>
void RunBeside(Beside&& beside, Here&& here) {
    if (std::thread::hardware_concurrency() < 2) {
        here();
        beside();
        return;
    }
    std::exception_ptr failure;
    {
        const std::jthread other([&] {
            try {
                beside();
            } catch (...) {
                failure = std::current_exception();
            }
        });
        here();
    }
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace vxa
