#include "core/io/TempFiles.h"

#include <unistd.h>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

namespace vxa {

namespace {

// A fixed table of plain buffers, so the handler needs no allocation and no
// lock: it reads only lock-free atomics and calls only unlink(), sigaction()
// and raise(), which are async-signal-safe.
struct Slot {
    std::atomic<bool> Used{false};
    char Path[PATH_MAX] = {};
};
static_assert(std::atomic<bool>::is_always_lock_free);

Slot gSlots[8];
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTempFilesAndDie(int sig) {
    for (Slot& slot : gSlots) {
        if (slot.Used.load())
            ::unlink(slot.Path);
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigaction(sig, &fallback, nullptr);
    // Blocked while this handler runs; it ends the process on return.
    ::raise(sig);
}

// `path` made absolute, so that a change of the working folder does not
// matter; false when it does not fit.
bool Absolute(const std::string& path, char (&out)[PATH_MAX]) {
    std::size_t used = 0;
    if (!path.starts_with('/')) {
        if (!::getcwd(out, sizeof out))
            return false;
        used = std::strlen(out);
        out[used++] = '/';
    }
    if (used + path.size() >= sizeof out)
        return false;
    std::memcpy(out + used, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

void InstallTempFileCleanup() {
    struct sigaction action {};
    action.sa_handler = RemoveTempFilesAndDie;
    sigemptyset(&action.sa_mask);
    for (const int sig : kSignals)
        sigaddset(&action.sa_mask, sig);
    for (const int sig : kSignals) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler != SIG_IGN)
            ::sigaction(sig, &action, nullptr);
    }
}

void RegisterTempFile(const std::string& path) noexcept {
    char full[PATH_MAX];
    if (!Absolute(path, full))
        return;
    for (Slot& slot : gSlots) {
        if (slot.Used.load())
            continue;
        std::memcpy(slot.Path, full, sizeof full);
        slot.Used.store(true);
        return;
    }
}

void ForgetTempFile(const std::string& path) noexcept {
    char full[PATH_MAX];
    if (!Absolute(path, full))
        return;
    for (Slot& slot : gSlots) {
        if (slot.Used.load() && std::strcmp(slot.Path, full) == 0) {
            slot.Used.store(false);
            return;
        }
    }
}

}  // namespace vxa
