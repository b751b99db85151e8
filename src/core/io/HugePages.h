#pragma once

#include <cstddef>

namespace vxa {

// Asks the system to back the whole 2 MiB pages inside [data, data + bytes)
// with huge pages; call it before the memory is first touched. Arrays of
// millions of entries that are written at random then miss the address cache
// far less, and their first touches take a fault per 2 MiB instead of per
// 4 KiB. Only a hint: where the system has none to give, nothing changes.
void AdviseHugePages(void* data, std::size_t bytes);

}  // namespace vxa
