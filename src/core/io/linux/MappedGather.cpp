#include "core/io/linux/MappedGather.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <exception>
#include <thread>

#include "core/io/IoError.h"

namespace vxa {

namespace {

// The most mapped at once.
constexpr std::uint64_t kWindow = std::uint64_t{4} << 20;

// The fewest positions a thread of a gather split in two reads: fewer are
// over before a thread has started.
constexpr std::size_t kSplitAt = 1024;

// Where a bus error during a copy from a mapping returns to, for the thread
// copying; null outside such a copy. A signal handler can reach nothing but
// globals, and this one is set only while a copy runs.
thread_local sigjmp_buf* tCopyGuard = nullptr;

void OnBusError(int) {
    if (sigjmp_buf* guard = tCopyGuard)
        siglongjmp(*guard, 1);
    // Not from a copy: the access repeats on return and meets the default.
    std::signal(SIGBUS, SIG_DFL);
}

// A copy of a fixed width compiles to a few moves instead of a call each.
template <std::size_t Width>
void CopyOutFixed(const std::uint8_t* window, std::uint64_t start, const std::uint64_t* positions,
                  std::size_t count, std::uint8_t* out) {
    for (std::size_t k = 0; k < count; ++k)
        std::memcpy(out + k * Width, window + (positions[k] - start), Width);
}

[[gnu::noinline]] void CopyOut(const std::uint8_t* window, std::uint64_t start,
                               const std::uint64_t* positions, std::size_t count, std::size_t width,
                               std::uint8_t* out) {
    if (width == 10) {  // a record's header
        CopyOutFixed<10>(window, start, positions, count, out);
        return;
    }
    if (width == 24) {  // what telling an entry's kind reads first
        CopyOutFixed<24>(window, start, positions, count, out);
        return;
    }
    for (std::size_t k = 0; k < count; ++k)
        std::memcpy(out + k * width, window + (positions[k] - start), width);
}

// CopyOut, or false when the mapping ended under it: a page past the end of
// a file that shrank after it was mapped raises SIGBUS. Nothing here has a
// destructor for the jump to skip.
bool GuardedCopyOut(const std::uint8_t* window, std::uint64_t start, const std::uint64_t* positions,
                    std::size_t count, std::size_t width, std::uint8_t* out) {
    sigjmp_buf guard;
    if (sigsetjmp(guard, 0) != 0) {
        tCopyGuard = nullptr;
        return false;
    }
    tCopyGuard = &guard;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    CopyOut(window, start, positions, count, width, out);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    tCopyGuard = nullptr;
    return true;
}

// Catches SIGBUS while it lives, and puts back what was there before. A
// process loads one archive at a time, so no two of these overlap.
struct BusErrorCatcher {
    struct sigaction Old {};
    BusErrorCatcher() {
        struct sigaction mine {};
        mine.sa_handler = OnBusError;
        sigemptyset(&mine.sa_mask);
        sigaction(SIGBUS, &mine, &Old);
    }
    ~BusErrorCatcher() { sigaction(SIGBUS, &Old, nullptr); }
    BusErrorCatcher(const BusErrorCatcher&) = delete;
    BusErrorCatcher& operator=(const BusErrorCatcher&) = delete;
};

// MappedGather over one stretch of the positions, without the final check.
void GatherPart(int fd, const std::string& path, std::span<const std::uint64_t> positions,
                std::size_t width, std::uint8_t* out, const GatherRun& readRun) {
    static const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    for (std::size_t k = 0; k < positions.size();) {
        // The window runs from the page of this position over every later
        // one that ends inside kWindow.
        const std::uint64_t start = positions[k] / page * page;
        const std::uint64_t limit = std::max(start + kWindow, positions[k] + width);
        std::size_t stop = k + 1;
        while (stop < positions.size() && positions[stop] + width <= limit)
            ++stop;
        const auto length = static_cast<std::size_t>(positions[stop - 1] + width - start);
        const std::span<const std::uint64_t> run = positions.subspan(k, stop - k);
        // Mapping a page costs about what reading one position does, and the
        // system maps a fault's neighbours along: fewer positions than pages
        // are read one by one.
        if (run.size() * page < length) {
            readRun(run, out + k * width);
            k = stop;
            continue;
        }
        // Dense, so every page is wanted: mapped in one go rather than a
        // fault for each 16 of them.
        void* map = ::mmap(nullptr, length, PROT_READ, MAP_SHARED | MAP_POPULATE, fd,
                           static_cast<off_t>(start));
        if (map == MAP_FAILED) {
            // What a file that cannot be mapped (a device, a pipe) answers.
            if (errno != ENODEV && errno != EACCES && errno != EINVAL)
                ThrowErrno(errno, path);
            readRun(positions.subspan(k), out + k * width);
            return;
        }
        const bool copied = GuardedCopyOut(static_cast<const std::uint8_t*>(map), start,
                                           positions.data() + k, stop - k, width, out + k * width);
        ::munmap(map, length);
        if (!copied) {
            // The handler ran with SIGBUS blocked and jumped out of it.
            sigset_t bus;
            sigemptyset(&bus);
            sigaddset(&bus, SIGBUS);
            pthread_sigmask(SIG_UNBLOCK, &bus, nullptr);
            throw IoError(kReadBeyondEnd, path);
        }
        k = stop;
    }
}

}  // namespace

void MappedGather(int fd, const std::string& path, std::span<const std::uint64_t> positions,
                  std::size_t width, std::uint8_t* out, const GatherRun& readRun) {
    if (positions.empty())
        return;
    const BusErrorCatcher catcher;
    // Positions scattered over more pages than there are of them cost a trip
    // to memory each, for the page cache's index and for the page, and one
    // thread waits for them one at a time: a second thread reading the upper
    // half waits beside it. (Dense positions are mapped, and two threads
    // mapping at once only queue for the process's memory map.)
    static const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t half = positions.size() / 2;
    const bool sparse = positions.back() - positions.front() > positions.size() * page;
    if (sparse && half >= kSplitAt && std::thread::hardware_concurrency() > 1) {
        std::exception_ptr failure;
        std::jthread upper([&] {
            try {
                GatherPart(fd, path, positions.subspan(half), width, out + half * width, readRun);
            } catch (...) {
                failure = std::current_exception();
            }
        });
        GatherPart(fd, path, positions.first(half), width, out, readRun);
        upper.join();
        if (failure)
            std::rethrow_exception(failure);
    } else {
        GatherPart(fd, path, positions, width, out, readRun);
    }
    // A file that shrank into the last page of a window reads as zeros there
    // instead of faulting: its size now tells.
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        ThrowErrno(errno, path);
    if (positions.back() + width > static_cast<std::uint64_t>(st.st_size))
        throw IoError(kReadBeyondEnd, path);
}

}  // namespace vxa
