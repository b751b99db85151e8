#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Context.h"
#include "IoError.h"

namespace vxa {

// The format can be read back only below 2 GiB: sizes and positions are
// signed 32-bit numbers for the reader, so no table value could ever equal
// the size of a larger file.
inline constexpr std::uint64_t kMaxArchiveBytes = 0x7FFFFFFFu;
// A replacement file must fit the 32-bit size fields of its header.
inline constexpr std::uint64_t kMaxEntryBytes = 0xFFFFFFFFu;

inline constexpr const char* kArchiveTooLarge = "Output archive would be too large (2 GB or more)";

// The output would not fit the format; raised before anything is written.
class ArchiveTooLarge : public IoError {
  public:
    ArchiveTooLarge() : IoError(kArchiveTooLarge) {}
};

// One record of the output: the header to write and where its data comes
// from, the loaded entry or a replacement file.
struct LaidOutRecord {
    std::int32_t Entry = 0;  // the entry that owns the record
    std::uint32_t OrigSize = 0;
    std::uint32_t PackedSize = 0;
    std::uint16_t CompType = 0;
    bool Replaced = false;
    std::string Path;  // the replacement file, when Replaced
};

// What a compile writes, worked out before the output is touched.
struct ArchiveLayout {
    std::vector<std::uint32_t> Values;   // the N + 1 table values; the last is the size
    std::vector<LaidOutRecord> Records;  // owned records, in entry order
};

// Lays out the loaded archive with the current plan in the canonical order:
// the table, then each owned record in entry order without gaps. An owned
// entry is replaced by the file of the last record naming it, if that file
// exists now; records naming blank, shared or unknown entries have no
// effect. Throws ArchiveTooLarge when the result would not fit the format.
ArchiveLayout LayOutArchive(Context& c);

}  // namespace vxa
