#include "core/EntryBytes.h"

#include <algorithm>

namespace vxa {

namespace {

struct StoredRange {
    std::uint64_t Start = 0;  // in the archive
    std::uint64_t Size = 0;
};

// Where `entry`'s stored bytes lie in the open archive; none for an entry
// without them.
StoredRange EntryRange(const LoadedArchive& s, std::int32_t entry) {
    const EntryTable& t = s.Table;
    if (!s.Archive || entry < 0 || entry >= t.EntryCount)
        return {};
    const std::int32_t link = t.Links[static_cast<std::size_t>(entry)];
    if (link < 0)
        return {};
    const auto owner = static_cast<std::size_t>(link > 0 ? link - 1 : entry);
    return {std::uint64_t{t.Offsets[owner]} + kRecordHeaderBytes, t.PackedSizes[owner]};
}

}  // namespace

std::size_t ReadEntryBytes(const LoadedArchive& s, std::int32_t entry, std::uint64_t from,
                           void* buffer, std::size_t size) {
    const StoredRange r = EntryRange(s, entry);
    if (from >= r.Size)
        return 0;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size, r.Size - from));
    return s.Archive->readAt(buffer, n, r.Start + from);
}

std::uint64_t StoredSize(const LoadedArchive& s, std::int32_t entry) {
    return EntryRange(s, entry).Size;
}

bool HeldArchiveCurrent(const LoadedArchive& s) {
    return s.Archive && s.Archive->stamp() == s.ArchiveStamp;
}

void CopyEntryData(const LoadedArchive& s, std::int32_t entry, File& out) {
    const StoredRange r = EntryRange(s, entry);
    if (r.Size > 0)
        s.Archive->copyTo(out, r.Start, r.Size);
}

}  // namespace vxa
