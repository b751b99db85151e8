#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "EntryTable.h"
#include "FileSystem.h"

namespace vxa {

// Little-endian 32-bit value at `p`.
inline std::uint32_t LoadU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// Reads an archive file into the entry table's buffer, block by block, as the
// loader asks for byte ranges. A block is read when something in it is first
// needed, so that no request reads much more than it needs, even when the
// records lie in another order than the entries: a load keeps handing events
// to the toolkit between the reads of a big archive.
class ArchiveReader {
  public:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    // Allocates the buffer for the whole file. Throws IoError: "Read beyond
    // end of file" for a file too large to be an archive, "Out of memory".
    ArchiveReader(File& file, EntryTable& table);

    std::size_t size() const { return size_; }

    // Makes bytes [begin, end) of the file available in the buffer, which it
    // returns, or fails as a read past the end does.
    const std::uint8_t* need(std::uint64_t begin, std::uint64_t end) {
        // Once the front of the file is read, as it soon is, one comparison.
        if (end <= prefix_)
            return table_.Bytes.get();
        return readBlocks(begin, end);
    }
    // The end of the block that holds byte `at`: how far a need() of `at`
    // makes the bytes available.
    std::size_t blockEnd(std::uint64_t at) const;

  private:
    const std::uint8_t* readBlocks(std::uint64_t begin, std::uint64_t end);

    File& file_;
    EntryTable& table_;
    std::size_t size_ = 0;
    std::size_t position_ = 0;  // of the file
    std::vector<bool> read_;    // per block
    std::size_t prefix_ = 0;    // bytes [0, prefix_) are read
};

}  // namespace vxa
