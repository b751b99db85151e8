#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/EntryTable.h"
#include "core/Links.h"
#include "core/io/FileSystem.h"

namespace vxa {

// Little-endian 32-bit value at `p`.
inline std::uint32_t LoadU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// The two passes of a load that read the archive: the offset table, and the
// header of every record. Neither reads stored bytes, and neither holds more
// of the file than a block or a region at a time per thread, so what a load
// costs does not grow with what the archive stores.
class ArchiveReader {
  public:
    // The most the table pass reads at once.
    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    // Throws "Read beyond end of file" for a file too large to be an archive.
    ArchiveReader(File& file, std::uint64_t size);

    // Reads the offset table, the values up to the first that equals the
    // file size, into t.Offsets, and sets t.EntryCount. Calls
    // `pause` between slices of a long table. Returns whether the table was
    // long enough for that.
    bool readTable(EntryTable& t, const Pause& pause);

    // Links the entries (t.Links) and reads the header at every entry's
    // value that lies inside the file into its sizes and types, a region
    // of the file at a time, however the records are ordered; the entry
    // pass then clears the sizes of shared entries. Headers outside the file
    // are left to the entry pass, which fails when it reaches the first of
    // them. Calls `pause` between slices of the work.
    void readHeaders(EntryTable& t, const Pause& pause);

  private:
    File& file_;
    std::uint64_t size_;
};

}  // namespace vxa
