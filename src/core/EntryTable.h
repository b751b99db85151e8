#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vxa {

// The in-memory image of the archive that is open. Field names follow the
// format's own vocabulary; entry i (0-based) is shown as number i + 1.
struct EntryTable {
    std::int32_t EntryCount = 0;
    std::vector<std::uint32_t> Offsets;      // N + 1 table values; 0 = blank
    std::vector<std::uint32_t> OrigSizes;    // 0 for blank and shared entries
    std::vector<std::uint32_t> PackedSizes;  // 0 for blank and shared entries
    std::vector<std::uint16_t> CompTypes;
    std::vector<std::int32_t> Links;  // 0 owns its record, -1 blank, k > 0 shares entry k's

    // The archive's bytes, held once. Entries that own their record point
    // into it (see EntryData), so a loaded archive costs one allocation.
    std::unique_ptr<std::uint8_t[]> Bytes;
    std::size_t ByteCount = 0;

    // Stored bytes of entry i; empty for blank and shared entries.
    std::span<const std::uint8_t> EntryData(std::size_t i) const {
        if (i >= Links.size() || Links[i] != 0 || Offsets[i] == 0 || !Bytes)
            return {};
        return {Bytes.get() + Offsets[i] + 10, PackedSizes[i]};
    }

    void clear() { *this = EntryTable{}; }
};

inline constexpr int kGridColumns = 6;

// Text of grid column `col` for entry `i` as a load writes it: "Nr",
// "Offset", "Orig. size", "Packed size", "C/T", "Replace with".
std::string EntryCellText(const EntryTable& table, int col, std::size_t i);

// The link marker of the "C/T" column: "N", "B" or "R:<k>".
std::string LinkMarker(std::int32_t link);

}  // namespace vxa
