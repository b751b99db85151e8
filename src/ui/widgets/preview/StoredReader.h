#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace vxa {

// Reads up to `size` bytes of one entry's stored data from position `from`
// into `buffer`; returns how many it read: fewer at the data's end, and
// none once the archive may no longer be read.
using StoredReader = std::function<std::size_t(std::uint64_t from, void* buffer, std::size_t size)>;

}  // namespace vxa
