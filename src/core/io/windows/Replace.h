#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace vxa {

// Puts the file at `from` in the place of `to`, replacing it atomically;
// throws IoError naming `to`.
void ReplaceByRename(const std::string& from, const std::string& to);

// Block cloning, where both files lie on one volume that shares extents
// (ReFS, a Dev Drive): the cluster size, whose multiples alone are shared,
// else 0. Wine's volumes never do, so there only the copy through memory
// runs.
std::uint64_t CloneCluster(HANDLE from, HANDLE to);
// Shares bytes [position, position + size) of `from` into `to` at `target`,
// all multiples of the cluster size. Returns how many bytes it shared, from
// the start of the range; the rest goes through memory.
std::uint64_t CloneRange(HANDLE from, HANDLE to, std::uint64_t position, std::uint64_t target,
                         std::uint64_t size);

}  // namespace vxa
