#include "core/ArchiveReader.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <memory>

#include "core/TwoThreads.h"
#include "core/io/IoError.h"

namespace vxa {

// The table is read straight into the offsets as the file stores it,
// little-endian, as every processor the program is built for is.
static_assert(std::endian::native == std::endian::little);

namespace {

// Largest size the format can be read back at: sizes and positions are
// signed 32-bit numbers, so no table value can ever equal a larger size.
constexpr std::uint64_t kMaxArchiveSize = 0x7FFFFFFFu;

// Values per slice of the table pass, and units of work per slice of the
// header pass, between two offers of events. For a million entries either
// pass takes tens of milliseconds.
constexpr std::uint64_t kSlice = std::uint64_t{1} << 16;

// The header pass reads the file a region at a time, the headers of each
// region's entries from one read when they are dense; regions are the unit
// of work that two threads share.
constexpr int kRegionBits = 18;
constexpr std::uint64_t kRegion = std::uint64_t{1} << kRegionBits;

// A region with fewer headers than pages has them read one by one: reading
// it whole would copy pages no header is on.
constexpr std::uint64_t kPage = 4096;

// Regions between two offers of events: about a millisecond.
constexpr std::size_t kRegionsPerPause = 8;

// How far ahead of the entry it writes the header pass asks for the lines of
// the table it will write, so that the misses of a shuffled archive overlap.
constexpr std::size_t kAhead = 16;

// The fewest entries whose headers a second thread helps to read, once it
// has linked the shared entries: below, starting it costs more than it saves.
constexpr std::size_t kSplitAt = std::size_t{1} << 14;

// The entries whose header lies inside the file, with their values, grouped
// by the region the header starts in, in entry order within a region: region
// r's are Records[First[r]] up to Records[First[r + 1]].
struct RegionIndex {
    std::vector<std::uint32_t> First;
    std::unique_ptr<Record[]> Records;
};

RegionIndex GroupByRegion(const std::vector<std::uint32_t>& values, std::size_t count,
                          std::uint64_t size) {
    const auto inside = [size](std::uint32_t v) {
        return v != 0 && v + kRecordHeaderBytes <= size;
    };
    const auto regions = static_cast<std::size_t>(size >> kRegionBits) + 1;
    RegionIndex g;
    g.First.assign(regions + 1, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (inside(values[i]))
            ++g.First[(values[i] >> kRegionBits) + 1];
    }
    for (std::size_t r = 1; r <= regions; ++r)
        g.First[r] += g.First[r - 1];
    // Every record is written below: no pass to clear them first.
    const std::size_t kept = g.First[regions];
    g.Records = std::make_unique_for_overwrite<Record[]>(kept);
    AdviseHugePages(g.Records.get(), kept * sizeof(Record));
    std::vector<std::uint32_t> at(g.First.begin(), g.First.end() - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t v = values[i];
        if (inside(v))
            g.Records[at[v >> kRegionBits]++] = {v, static_cast<std::uint32_t>(i)};
    }
    return g;
}

// A buffer for reads of at most `most` bytes of a file of `size` bytes.
std::unique_ptr<std::uint8_t[]> Buffer(std::uint64_t size, std::uint64_t most) {
    return std::make_unique_for_overwrite<std::uint8_t[]>(
        static_cast<std::size_t>(std::clamp<std::uint64_t>(size, 1, most)));
}

// Sets a flag and wakes its waiter when it goes out of scope, however.
struct Publish {
    std::atomic<bool>& Flag;
    ~Publish() {
        Flag.store(true, std::memory_order_release);
        Flag.notify_one();
    }
};

// Reads the headers of region r's entries into their sizes and types.
void ReadRegion(File& file, std::uint64_t size, const RegionIndex& g, std::size_t r, EntryTable& t,
                std::uint8_t* buffer) {
    const Record* records = g.Records.get() + g.First[r];
    const std::size_t n = g.First[r + 1] - g.First[r];
    if (n == 0)
        return;
    const std::uint64_t start = std::uint64_t{r} << kRegionBits;
    const std::uint64_t bytes = std::min(size - start, kRegion + kRecordHeaderBytes - 1);
    const bool whole = n * kPage >= bytes;
    if (whole)
        file.readExactAt(buffer, static_cast<std::size_t>(bytes), start);
    std::uint32_t* orig = t.OrigSizes.data();
    std::uint32_t* packed = t.PackedSizes.data();
    std::uint16_t* types = t.CompTypes.data();
    for (std::size_t k = 0; k < n; ++k) {
        if (k + kAhead < n) {
            const std::uint32_t ahead = records[k + kAhead].Entry;
            __builtin_prefetch(orig + ahead, 1);
            __builtin_prefetch(packed + ahead, 1);
            __builtin_prefetch(types + ahead, 1);
        }
        const Record record = records[k];
        const std::uint8_t* header = buffer + (record.Value - start);
        if (!whole) {
            file.readExactAt(buffer, kRecordHeaderBytes, record.Value);
            header = buffer;
        }
        orig[record.Entry] = LoadU32(header);
        packed[record.Entry] = LoadU32(header + 4);
        types[record.Entry] = static_cast<std::uint16_t>(header[8] | header[9] << 8);
    }
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
    const auto block = Buffer(size_, kBlock);
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
    if (longTable)
        offer();
    t.EntryCount = static_cast<std::int32_t>(n);
    return longTable;
}

// Linking the entries that share a record and reading the headers need
// nothing of each other: with many entries a second thread links while this
// one groups the headers by region and reads, then takes its share of the
// regions left. Only this thread offers events.
void ArchiveReader::readHeaders(EntryTable& t, const Pause& pause) {
    const auto count = static_cast<std::size_t>(t.EntryCount);
    RegionIndex regions;
    std::atomic<std::size_t> next{0};
    const auto readRegions = [&](const Pause& offer) {
        const auto buffer = Buffer(size_, kRegion + kRecordHeaderBytes - 1);
        for (std::size_t done = 1;; ++done) {
            const std::size_t r = next.fetch_add(1, std::memory_order_relaxed);
            if (r + 1 >= regions.First.size())
                return;
            ReadRegion(file_, size_, regions, r, t, buffer.get());
            if (offer && done % kRegionsPerPause == 0)
                offer();
        }
    };
    // Linked apart from the table: events offered meanwhile may repaint
    // from it, while the second thread writes.
    std::vector<std::int32_t> links;
    if (count < kSplitAt) {
        ComputeLinks(t.Offsets, links, pause);
        regions = GroupByRegion(t.Offsets, count, size_);
        readRegions(pause);
    } else {
        // The helper waits for the grouping only once it has linked, which
        // takes longer. A grouping that fails leaves no region to read.
        std::atomic<bool> grouped{false};
        RunBeside(
            [&] {
                ComputeLinks(t.Offsets, links, Pause());
                grouped.wait(false, std::memory_order_acquire);
                readRegions(Pause());
            },
            [&] {
                {
                    const Publish done{grouped};
                    regions = GroupByRegion(t.Offsets, count, size_);
                }
                readRegions(pause);
            });
    }
    t.Links = std::move(links);
}

}  // namespace vxa
