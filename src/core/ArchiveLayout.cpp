#include "core/ArchiveLayout.h"

namespace vxa {

ArchiveLayout LayOutArchive(FileSystem& fs, const EntryTable& t, const ReplRec& plan) {
    const std::int32_t n = t.EntryCount;

    ArchiveLayout out;
    out.Values.resize(static_cast<std::size_t>(n) + 1);
    // First, for each entry, the plan record that counts, the last one
    // naming it, plus one (0: none). Each is read just before the entry's
    // own value replaces it, so a plan of millions of records needs no
    // array of its own here.
    for (std::int32_t j = 0; j < plan.Count; ++j) {
        const std::int32_t index = plan.Indices[j];
        if (index >= 0 && index < n)
            out.Values[index] = static_cast<std::uint32_t>(j) + 1;
    }
    std::uint64_t p = 4 * (std::uint64_t{static_cast<std::uint32_t>(n)} + 1);
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t deciding = static_cast<std::int32_t>(out.Values[i]) - 1;
        const std::int32_t link = t.Links[i];
        if (link < 0) {
            out.Values[i] = 0;
            continue;
        }
        if (link > 0) {
            // The loader names the first earlier entry with the same value,
            // so its new position is known already.
            out.Values[i] = out.Values[link - 1];
            continue;
        }
        std::uint64_t packed = t.PackedSizes[i];
        if (deciding >= 0) {
            // A file that is gone by now leaves the entry as it was loaded.
            if (const auto size = fs.fileSize(plan.Paths[deciding])) {
                packed = *size;  // one too large for its header fails the guard below
                out.Replaced.push_back({i, static_cast<std::uint32_t>(packed), deciding});
            }
        }
        out.Values[i] = static_cast<std::uint32_t>(p);
        // The one guard: the table alone fitted the loaded archive, and a
        // file too large for its header's size fields is too large for the
        // archive as well.
        p += kRecordHeaderBytes + packed;
        if (p > kMaxArchiveBytes)
            throw ArchiveTooLarge();
    }
    out.Values[n] = static_cast<std::uint32_t>(p);
    return out;
}

}  // namespace vxa
