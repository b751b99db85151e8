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

// Headers at most this far apart are read in one block: copying a few KiB
// more costs less than another read from the system.
constexpr std::uint64_t kGap = 4096;
// The work of the header pass in units of about what one header costs: a
// read costs as much as a few dozen, each KiB it copies about one.
constexpr std::uint64_t kReadWork = 32;
constexpr std::uint64_t kBytesPerWork = 1024;
// Units of that work between two offers of events: headers of records that
// lie out of order are written at random, which costs a few milliseconds.
constexpr std::uint64_t kHeaderSlice = std::uint64_t{1} << 14;

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
    const auto block = Buffer(size_);
    // The records whose headers one block holds, gathered while its extent is
    // found, so that each is taken from the order once: at most a block's
    // worth of headers, 800 KiB.
    std::vector<Record> batch;
    std::uint64_t work = 0;
    RecordOrder order(t.Offsets, static_cast<std::size_t>(t.EntryCount), outOfOrder);
    std::optional<Record> next = order.next();
    // In file order, so once a header lies past the end every later one does.
    while (next && next->value + kRecordHeaderBytes <= size_) {
        // The block runs from this header over every following one that is
        // close enough and fits.
        const std::uint64_t at = next->value;
        const std::uint64_t limit = std::min(size_, at + kBlock);
        std::uint64_t end = at;
        batch.clear();
        do {
            batch.push_back(*next);
            end = std::max(end, next->value + kRecordHeaderBytes);
            next = order.next();
        } while (next && next->value <= end + kGap && next->value + kRecordHeaderBytes <= limit);
        file_.readExactAt(block.get(), static_cast<std::size_t>(end - at), at);
        work += kReadWork + (end - at) / kBytesPerWork;
        std::uint32_t* orig = t.OrigSizes.data();
        std::uint32_t* packed = t.PackedSizes.data();
        std::uint16_t* types = t.CompTypes.data();
        for (std::size_t k = 0; k < batch.size(); ++k) {
            // Records out of entry order write at random: ask for the lines
            // of a few records ahead, so that their misses overlap.
            if (k + kAhead < batch.size()) {
                const std::uint32_t ahead = batch[k + kAhead].entry;
                __builtin_prefetch(orig + ahead, 1);
                __builtin_prefetch(packed + ahead, 1);
                __builtin_prefetch(types + ahead, 1);
            }
            const Record& r = batch[k];
            const std::uint8_t* header = block.get() + (r.value - at);
            orig[r.entry] = LoadU32(header);
            packed[r.entry] = LoadU32(header + 4);
            types[r.entry] = static_cast<std::uint16_t>(header[8] | header[9] << 8);
            if (++work >= kHeaderSlice && pause) {
                pause();
                work = 0;
            }
        }
    }
}

}  // namespace vxa
