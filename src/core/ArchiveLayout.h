#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/EntryTable.h"
#include "core/ReplRec.h"
#include "core/io/FileSystem.h"
#include "core/io/IoError.h"

namespace vxa {

// The format can be read back only below 2 GiB: sizes and positions are
// signed 32-bit numbers for the reader, so no table value could ever equal
// the size of a larger file.
inline constexpr std::uint64_t kMaxArchiveBytes = 0x7FFFFFFFu;

inline constexpr const char* kArchiveTooLarge = "Output archive would be too large (2 GB or more)";

// A compile refused before anything is written, shown in a box of the
// program's own rather than the general error box.
class CompileRefused : public IoError {
  public:
    using IoError::IoError;
};

// The output would not fit the format.
class ArchiveTooLarge : public CompileRefused {
  public:
    ArchiveTooLarge() : CompileRefused(kArchiveTooLarge) {}
};

// An owned entry whose record the output takes from a replacement file: its
// header gets type 0 and the file's size as both sizes.
struct ReplacedRecord {
    std::int32_t Entry = 0;
    std::uint32_t Size = 0;
    std::int32_t PlanRecord = 0;  // the plan record that names the file
};

// What a compile writes, worked out before the output is touched. Kept
// records are not listed: the entry table says where they lie in the loaded
// archive, so the layout of an archive of many small entries stays as small
// as its table.
struct ArchiveLayout {
    std::vector<std::uint32_t> Values;     // the N + 1 table values; the last is the size
    std::vector<ReplacedRecord> Replaced;  // in entry order
};

// Lays out the archive of table `t` with `plan` in the canonical order:
// the table, then each owned record (Links 0) in entry order without gaps. An owned
// entry is replaced by the file of the last record naming it, if that file
// exists now; records naming blank, shared or unknown entries have no
// effect. Throws ArchiveTooLarge when the result would not fit the format.
ArchiveLayout LayOutArchive(FileSystem& fs, const EntryTable& t, const ReplRec& plan);

}  // namespace vxa
