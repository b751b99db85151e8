#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/EntryTable.h"
#include "core/ReplRec.h"

namespace vxa {

// The table value of `entry`'s sharing group, the one every member has:
// none for a blank entry or a number that names no entry of `t`.
std::optional<std::uint32_t> GroupValue(const EntryTable& t, std::int32_t entry);

// Appends one record (member, `path`) for each member of `entry`'s sharing
// group, in ascending entry order, every record holding the same stored
// path. Does nothing, and says false, for a blank entry, a number that names
// no entry, or an empty path.
bool AddReplacement(ReplRec& plan, const EntryTable& t, std::int32_t entry,
                    const std::string& path);

// Removes every record of a member of `entry`'s sharing group; the others
// keep their order. Returns the members that had records, ascending.
std::vector<std::int32_t> RemoveReplacements(ReplRec& plan, const EntryTable& t,
                                             std::int32_t entry);

}  // namespace vxa
