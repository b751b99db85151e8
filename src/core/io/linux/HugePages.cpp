#include "core/io/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace vxa {

void AdviseHugePages(void* data, std::size_t bytes) {
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (begin + kHuge - 1) / kHuge * kHuge;
    const std::uintptr_t to = (begin + bytes) / kHuge * kHuge;
    // A kernel without transparent huge pages refuses, which changes nothing.
    if (from < to)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace vxa
