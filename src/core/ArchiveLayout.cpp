#include "ArchiveLayout.h"

namespace vxa {

namespace {

constexpr std::uint64_t kHeaderBytes = 10;

// For each entry, the plan record that counts: the last one naming it.
std::vector<std::int32_t> DecidingRecords(const ReplRec& plan, std::int32_t entryCount) {
    std::vector<std::int32_t> last(static_cast<std::size_t>(entryCount), -1);
    for (std::int32_t j = 0; j < plan.Count; ++j) {
        const std::int32_t index = plan.Indices[j];
        if (index >= 0 && index < entryCount)
            last[index] = j;
    }
    return last;
}

}  // namespace

ArchiveLayout LayOutArchive(Context& c) {
    const EntryTable& t = c.State.Table;
    const ReplRec& plan = c.State.Replacements;
    const std::int32_t n = t.EntryCount;
    const std::vector<std::int32_t> deciding = DecidingRecords(plan, n);

    ArchiveLayout out;
    out.Values.resize(static_cast<std::size_t>(n) + 1);
    std::uint64_t p = 4 * (std::uint64_t{static_cast<std::uint32_t>(n)} + 1);
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t link = t.Links[i];
        if (link < 0) {
            out.Values[i] = 0;
            continue;
        }
        if (link > 0) {
            // The loader names the first earlier entry with the same value,
            // so its new position is known already.
            out.Values[i] = link - 1 < i ? out.Values[link - 1] : 0;
            continue;
        }
        std::uint64_t packed = t.PackedSizes[i];
        if (const std::int32_t j = deciding[i]; j >= 0) {
            // A file that is gone by now leaves the entry as it was loaded.
            if (const auto size = c.Fs.fileSize(plan.Paths[j])) {
                if (*size > kMaxEntryBytes)
                    throw ArchiveTooLarge();
                packed = *size;
                out.Replaced.push_back({i, static_cast<std::uint32_t>(packed), j});
            }
        }
        out.Values[i] = static_cast<std::uint32_t>(p);
        p += kHeaderBytes + packed;
        if (p > kMaxArchiveBytes)
            throw ArchiveTooLarge();
    }
    if (p > kMaxArchiveBytes)
        throw ArchiveTooLarge();
    out.Values[n] = static_cast<std::uint32_t>(p);
    return out;
}

}  // namespace vxa
