#include "plan/Plan.h"

#include <algorithm>

namespace vxa {

std::optional<std::uint32_t> GroupValue(const EntryTable& t, std::int32_t entry) {
    if (entry < 0 || entry >= t.EntryCount || t.Links[entry] == -1)
        return std::nullopt;
    return t.Offsets[entry];
}

bool AddReplacement(ReplRec& plan, const EntryTable& t, std::int32_t entry,
                    const std::string& path) {
    const auto group = GroupValue(t, entry);
    if (!group || path.empty())
        return false;
    // The sharing group is every entry with the same table value; it is
    // counted first, so that the plan grows once.
    const std::uint32_t value = *group;
    const auto first = t.Offsets.begin(), end = first + t.EntryCount;
    plan.reserve(static_cast<std::size_t>(std::count(first, end, value)));
    const SharedPath shared(path);
    for (std::int32_t i = 0; i < t.EntryCount; ++i) {
        if (t.Offsets[i] == value)
            plan.append(i, shared);
    }
    return true;
}

std::vector<std::int32_t> RemoveReplacements(ReplRec& plan, const EntryTable& t,
                                             std::int32_t entry) {
    std::vector<std::int32_t> removed;
    const auto group = GroupValue(t, entry);
    if (!group)
        return removed;
    const std::uint32_t value = *group;
    const auto inGroup = [&](std::int32_t i) {
        return i >= 0 && i < t.EntryCount && t.Offsets[i] == value;
    };
    // One stable compaction of both arrays, rather than moving the tail
    // down once per removed record: the others keep their order either way.
    std::size_t kept = 0;
    for (std::size_t j = 0; j < plan.Indices.size(); ++j) {
        if (inGroup(plan.Indices[j])) {
            removed.push_back(plan.Indices[j]);
            continue;
        }
        if (kept != j) {
            plan.Indices[kept] = plan.Indices[j];
            plan.Paths[kept] = std::move(plan.Paths[j]);
        }
        ++kept;
    }
    plan.Indices.resize(kept);
    plan.Paths.resize(kept);
    plan.Count = static_cast<std::int32_t>(kept);
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    return removed;
}

}  // namespace vxa
