#pragma once

#include <cstddef>
#include <cstdint>

#include "AppState.h"
#include "FileSystem.h"

namespace vxa {

// The one way to an entry's stored bytes for whoever takes entries out of
// the loaded archive.

// Reads up to `size` stored bytes of `entry` (its owner's for a shared entry), starting
// `from` bytes into its data; returns how many were read (fewer at the data's end).
std::size_t ReadEntryBytes(const AppState& s, std::int32_t entry, std::uint64_t from, void* buffer,
                           std::size_t size);
// Writes all stored bytes of `entry` (its owner's for a shared entry) to `out`.
void CopyEntryData(const AppState& s, std::int32_t entry, File& out);

}  // namespace vxa
