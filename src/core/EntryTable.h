#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vxa {

// The in-memory image of the archive that is open: its table and headers,
// 18 bytes an entry; the stored bytes stay in the file (see AppState).
// Field names follow the format's own vocabulary; entry i (0-based) is
// shown as number i + 1.
struct EntryTable {
    std::int32_t EntryCount = 0;
    std::vector<std::uint32_t> Offsets;      // N + 1 table values; 0 = blank
    std::vector<std::uint32_t> OrigSizes;    // 0 for blank and shared entries
    std::vector<std::uint32_t> PackedSizes;  // 0 for blank and shared entries
    std::vector<std::uint16_t> CompTypes;
    std::vector<std::int32_t> Links;  // 0 owns its record, -1 blank, k > 0 shares entry k's

    void clear() { *this = EntryTable{}; }
};

// Every record starts with a header of 10 bytes: the original size and the
// packed size (the length of the stored bytes that follow), 4 bytes each,
// then the compression type, 2 bytes, all little-endian.
inline constexpr std::uint64_t kRecordHeaderBytes = 10;

inline constexpr int kGridColumns = 6;

// Text of grid column `col` for entry `i` as a load writes it: "Nr",
// "Offset", "Orig. size", "Packed size", "C/T", "Replace with".
std::string EntryCellText(const EntryTable& table, int col, std::size_t i);

// The link marker of the "C/T" column: "N", "B" or "R:<k>".
std::string LinkMarker(std::int32_t link);

}  // namespace vxa
