#include "EntryBytes.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <span>

namespace vxa {

namespace {

// The bytes of the record `entry` denotes: its own, or its owner's.
std::span<const std::uint8_t> StoredBytes(const EntryTable& t, std::int32_t entry) {
    assert(entry >= 0 && entry < t.EntryCount);
    const std::int32_t link = t.Links[entry];
    return t.EntryData(static_cast<std::size_t>(link > 0 ? link - 1 : entry));
}

}  // namespace

std::size_t ReadEntryBytes(const AppState& s, std::int32_t entry, std::uint64_t from, void* buffer,
                           std::size_t size) {
    const auto bytes = StoredBytes(s.Table, entry);
    if (from >= bytes.size())
        return 0;
    const std::size_t n = std::min<std::uint64_t>(size, bytes.size() - from);
    std::memcpy(buffer, bytes.data() + from, n);
    return n;
}

void CopyEntryData(const AppState& s, std::int32_t entry, File& out) {
    const auto bytes = StoredBytes(s.Table, entry);
    if (!bytes.empty())
        out.write(bytes.data(), bytes.size());
}

}  // namespace vxa
