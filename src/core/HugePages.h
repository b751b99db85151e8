#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vxa {

// Asks the system to back the whole 2 MiB pages inside [data, data + bytes)
// with huge pages, before the memory is first touched. Arrays of millions of
// entries that are written at random then miss the address cache far less,
// and their first touches take a fault per 2 MiB instead of per 4 KiB. Only
// a hint: where the system has none to give, or no such call, nothing
// changes.
inline void AdviseHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (begin + kHuge - 1) / kHuge * kHuge;
    const std::uintptr_t to = (begin + bytes) / kHuge * kHuge;
    if (from < to)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
}

}  // namespace vxa
