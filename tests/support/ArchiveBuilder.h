#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace vxa::test {

// One entry of a test archive: a record of its own (an original size of -1
// is the data's), none, or the record of entry `owner` (0-based).
struct TestEntry {
    enum class Kind { Owned, Blank, Shared };
    Kind kind = Kind::Blank;
    std::string data;
    std::uint32_t origSize = 0;
    std::uint16_t compType = 0;
    int owner = -1;
};

inline TestEntry Owned(std::string data, std::uint16_t compType = 0, std::int64_t origSize = -1) {
    const auto orig = static_cast<std::uint32_t>(origSize < 0 ? data.size() : origSize);
    return {TestEntry::Kind::Owned, std::move(data), orig, compType};
}
inline TestEntry Blank() {
    return {};
}
inline TestEntry Shared(int owner) {
    return {TestEntry::Kind::Shared, {}, 0, 0, owner};
}
// `n` owned entries of 0 to 6 bytes each.
inline std::vector<TestEntry> ManyEntries(int n) {
    std::vector<TestEntry> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back(Owned(std::string(static_cast<std::size_t>(i % 7), 'x')));
    return entries;
}

inline std::string U32(std::uint32_t v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24)};
}
inline std::string U16(std::uint16_t v) {
    return {char(v & 0xFF), char(v >> 8)};
}

struct Layout {
    bool reverseRecords = false;  // records stored last entry first
    std::size_t gap = 0;          // junk bytes before each record
};

// The archive's bytes: canonical unless the layout says otherwise.
inline std::string BuildArchive(const std::vector<TestEntry>& entries, Layout layout = {}) {
    const std::size_t n = entries.size(), base = 4 * (n + 1);
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (layout.reverseRecords)
        std::reverse(order.begin(), order.end());
    std::vector<std::uint32_t> offsets(n, 0);
    std::string records, out;
    for (const std::size_t i : order) {
        if (entries[i].kind != TestEntry::Kind::Owned)
            continue;
        records += std::string(layout.gap, '\xEE');
        offsets[i] = static_cast<std::uint32_t>(base + records.size());
        records += U32(entries[i].origSize) + U32(std::uint32_t(entries[i].data.size())) +
                   U16(entries[i].compType) + entries[i].data;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const bool shared = entries[i].kind == TestEntry::Kind::Shared;
        out += U32(offsets[shared ? static_cast<std::size_t>(entries[i].owner) : i]);
    }
    return out + U32(static_cast<std::uint32_t>(base + records.size())) + records;
}

}  // namespace vxa::test
