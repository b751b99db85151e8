#include "ArchiveReader.h"

#include <algorithm>
#include <memory>
#include <new>

#include "IoError.h"

namespace vxa {

namespace {

// Largest size the format can be read back at: sizes and positions are
// signed 32-bit numbers, so no table value can ever equal a larger size.
constexpr std::uint64_t kMaxArchiveSize = 0x7FFFFFFFu;

}  // namespace

ArchiveReader::ArchiveReader(File& file, EntryTable& table) : file_(file), table_(table) {
    const std::uint64_t size = file_.size();
    // A larger file cannot be an archive: its table would be read to the
    // end without a match. Fail at once instead of holding it in memory.
    if (size > kMaxArchiveSize)
        throw IoError(kReadBeyondEnd);
    size_ = static_cast<std::size_t>(size);
    try {
        table_.Bytes =
            std::make_unique_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(size_, 1));
    } catch (const std::bad_alloc&) {
        throw IoError(kOutOfMemory);
    }
    table_.ByteCount = size_;
    read_.assign((size_ + kBlock - 1) / kBlock, false);
}

const std::uint8_t* ArchiveReader::readBlocks(std::uint64_t begin, std::uint64_t end) {
    if (end > size_)
        throw IoError(kReadBeyondEnd);
    for (std::size_t b = begin / kBlock; begin < end && b * kBlock < end; ++b) {
        if (read_[b])
            continue;
        const std::size_t from = b * kBlock;
        const std::size_t length = std::min(kBlock, size_ - from);
        if (from != position_)
            file_.seek(from);
        position_ = from;
        const std::size_t got = file_.read(table_.Bytes.get() + from, length);
        position_ += got;
        if (got < length)
            throw IoError(kReadBeyondEnd);  // the file shrank
        read_[b] = true;
    }
    while (prefix_ < size_ && read_[prefix_ / kBlock])
        prefix_ = std::min(size_, prefix_ + kBlock);
    return table_.Bytes.get();
}

std::size_t ArchiveReader::blockEnd(std::uint64_t at) const {
    return std::min(size_, static_cast<std::size_t>(at / kBlock + 1) * kBlock);
}

}  // namespace vxa
