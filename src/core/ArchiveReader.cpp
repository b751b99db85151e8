#include "core/ArchiveReader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <optional>

#include "core/io/IoError.h"

namespace vxa {

namespace {

// Largest size the format can be read back at: sizes and positions are
// signed 32-bit numbers, so no table value can ever equal a larger size.
constexpr std::uint64_t kMaxArchiveSize = 0x7FFFFFFFu;

// Values per slice of the table pass, and units of work per slice of the
// header pass, between two offers of events. For a million entries either
// pass takes tens of milliseconds.
constexpr std::uint64_t kSlice = std::uint64_t{1} << 16;

// Headers per read of the header pass, and so between two offers of events:
// for a million entries the pass takes tens of milliseconds.
constexpr std::size_t kBatch = 8192;

constexpr std::size_t kAhead = 16;

std::unique_ptr<std::uint8_t[]> Buffer(std::uint64_t size) {
    return std::make_unique_for_overwrite<std::uint8_t[]>(
        static_cast<std::size_t>(std::clamp<std::uint64_t>(size, 1, ArchiveReader::kBlock)));
}

}  // namespace

ArchiveReader::ArchiveReader(File& file, std::uint64_t size) : file_(file), size_(size) {
    // A larger file cannot be an archive: its table would be read to the
    // end without a match. Fail at once.
    if (size_ > kMaxArchiveSize)
        throw IoError(kReadBeyondEnd);
}

// The table's length is found first, block by block, so that its array is
// allocated once at its final size and a file that is no archive costs no
// more than one block; the table is then read again straight into it.
bool ArchiveReader::readTable(EntryTable& t, const Pause& pause) {
    const auto block = Buffer(size_);
    std::uint64_t n = 0;                  // values compared so far
    std::uint64_t held = 0, heldEnd = 0;  // the values in the block
    for (;;) {
        if (n == heldEnd) {
            if (n * 4 + 4 > size_)
                throw IoError(kReadBeyondEnd);
            const std::uint64_t bytes = std::min<std::uint64_t>(kBlock, size_ - n * 4) / 4 * 4;
            file_.readExactAt(block.get(), static_cast<std::size_t>(bytes), n * 4);
            held = n;
            heldEnd = n + bytes / 4;
        }
        const std::uint64_t stop = std::min(heldEnd, n + kSlice);
        while (n < stop && LoadU32(block.get() + (n - held) * 4) != size_)
            ++n;
        if (n < stop)
            break;
        if (pause)
            pause();  // a whole slice was compared, so the table is long
    }
    const bool longTable = n >= kSlice;
    const Pause offer = longTable ? pause : Pause();
    ResizeInSlices(t.Offsets, n + 1, 0u, offer);
    auto* values = reinterpret_cast<std::uint8_t*>(t.Offsets.data());
    if (held == 0) {
        std::memcpy(values, block.get(), (n + 1) * 4);
    } else {
        for (std::uint64_t from = 0; from <= n; from += kSlice) {
            if (from > 0)
                offer();
            const std::uint64_t to = std::min(n + 1, from + kSlice);
            file_.readExactAt(values + from * 4, (to - from) * 4, from * 4);
        }
    }
    if constexpr (std::endian::native != std::endian::little) {
        for (std::uint32_t& v : t.Offsets)
            v = LoadU32(reinterpret_cast<const std::uint8_t*>(&v));
    }
    if (longTable)
        offer();
    outOfOrder_ = ComputeLinks(t.Offsets, t.Links, offer);
    if (longTable)
        offer();
    t.EntryCount = static_cast<std::int32_t>(n);
    return longTable;
}

void ArchiveReader::readHeaders(EntryTable& t, const Pause& pause) {
    const std::vector<Record> outOfOrder = std::move(outOfOrder_);
    RecordOrder order(t.Offsets, static_cast<std::size_t>(t.EntryCount), outOfOrder);
    std::vector<std::uint64_t> positions;
    std::vector<std::uint32_t> entries;
    positions.reserve(kBatch);
    entries.reserve(kBatch);
    const auto headers =
        std::make_unique_for_overwrite<std::uint8_t[]>(kBatch * kRecordHeaderBytes);
    std::uint32_t* orig = t.OrigSizes.data();
    std::uint32_t* packed = t.PackedSizes.data();
    std::uint16_t* types = t.CompTypes.data();
    std::optional<Record> next = order.next();
    // In file order, so once a header lies past the end every later one does.
    while (next && next->Value + kRecordHeaderBytes <= size_) {
        positions.clear();
        entries.clear();
        do {
            positions.push_back(next->Value);
            entries.push_back(next->Entry);
            next = order.next();
        } while (positions.size() < kBatch && next && next->Value + kRecordHeaderBytes <= size_);
        file_.readGather(positions, kRecordHeaderBytes, headers.get());
        for (std::size_t k = 0; k < entries.size(); ++k) {
            // Records out of entry order write at random: ask for the lines
            // of a few records ahead, so that their misses overlap.
            if (k + kAhead < entries.size()) {
                const std::uint32_t ahead = entries[k + kAhead];
                __builtin_prefetch(orig + ahead, 1);
                __builtin_prefetch(packed + ahead, 1);
                __builtin_prefetch(types + ahead, 1);
            }
            const std::uint32_t e = entries[k];
            const std::uint8_t* header = headers.get() + k * kRecordHeaderBytes;
            orig[e] = LoadU32(header);
            packed[e] = LoadU32(header + 4);
            types[e] = static_cast<std::uint16_t>(header[8] | header[9] << 8);
        }
        if (pause && next)
            pause();
    }
}

}  // namespace vxa
