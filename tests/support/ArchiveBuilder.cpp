#include "ArchiveBuilder.h"

#include <algorithm>
#include <numeric>

namespace vxa::test {

TestEntry Owned(std::string data, std::uint16_t compType) {
    const auto size = static_cast<std::uint32_t>(data.size());
    return Owned(std::move(data), compType, size);
}

TestEntry Owned(std::string data, std::uint16_t compType, std::uint32_t origSize) {
    TestEntry e;
    e.kind = TestEntry::Kind::Owned;
    e.data = std::move(data);
    e.compType = compType;
    e.origSize = origSize;
    return e;
}

TestEntry Blank() {
    return {};
}

TestEntry Shared(int owner) {
    TestEntry e;
    e.kind = TestEntry::Kind::Shared;
    e.owner = owner;
    return e;
}

std::vector<TestEntry> ManyEntries(int n) {
    std::vector<TestEntry> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back(Owned(std::string(static_cast<std::size_t>(i % 7), 'x')));
    return entries;
}

std::string U32(std::uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

std::string U16(std::uint16_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string BuildArchive(const std::vector<TestEntry>& entries, Layout layout) {
    const std::size_t n = entries.size();
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (layout.reverseRecords)
        std::reverse(order.begin(), order.end());

    std::vector<std::uint32_t> offsets(n, 0);
    std::string records;
    const std::size_t base = 4 * (n + 1);
    for (std::size_t i : order) {
        const TestEntry& e = entries[i];
        if (e.kind != TestEntry::Kind::Owned)
            continue;
        records += std::string(layout.gap, '\xEE');
        offsets[i] = static_cast<std::uint32_t>(base + records.size());
        records += U32(e.origSize) + U32(static_cast<std::uint32_t>(e.data.size())) +
                   U16(e.compType) + e.data;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (entries[i].kind == TestEntry::Kind::Shared)
            offsets[i] = offsets[entries[i].owner];
    }
    std::string out;
    for (std::uint32_t v : offsets)
        out += U32(v);
    out += U32(static_cast<std::uint32_t>(base + records.size()));
    return out + records;
}

}  // namespace vxa::test
