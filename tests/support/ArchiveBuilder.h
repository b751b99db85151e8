#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxa::test {

// One entry of a test archive.
struct TestEntry {
    enum class Kind { Owned, Blank, Shared };
    Kind kind = Kind::Blank;
    std::string data;            // Owned: the stored bytes
    std::uint32_t origSize = 0;  // Owned: the header's original size
    std::uint16_t compType = 0;
    int owner = -1;  // Shared: 0-based index of the entry it shares with
};

TestEntry Owned(std::string data, std::uint16_t compType = 0);
TestEntry Owned(std::string data, std::uint16_t compType, std::uint32_t origSize);
TestEntry Blank();
TestEntry Shared(int owner);
// `n` owned entries of 0 to 6 bytes each.
std::vector<TestEntry> ManyEntries(int n);

struct Layout {
    bool reverseRecords = false;  // records stored last entry first
    std::size_t gap = 0;          // junk bytes before each record
};

// The archive's bytes: canonical unless the layout says otherwise.
std::string BuildArchive(const std::vector<TestEntry>& entries, Layout layout = {});

std::string U32(std::uint32_t v);
std::string U16(std::uint16_t v);

}  // namespace vxa::test
