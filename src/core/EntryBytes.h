#pragma once

#include <cstddef>
#include <cstdint>

#include "core/LoadedArchive.h"
#include "core/io/FileSystem.h"

namespace vxa {

// The stored bytes of the loaded archive's entries, read from the open
// archive. A shared entry's bytes are those of the entry whose record it
// shares; a blank entry, an entry number outside the table and a state
// without an open archive have none. Throw IoError.

// Reads up to `size` stored bytes of `entry` (its owner's for a shared entry), starting
// `from` bytes into its data; returns how many were read (fewer at the data's end).
std::size_t ReadEntryBytes(const LoadedArchive& s, std::int32_t entry, std::uint64_t from,
                           void* buffer, std::size_t size);
// How many stored bytes `entry` has (its owner's for a shared entry).
std::uint64_t StoredSize(const LoadedArchive& s, std::int32_t entry);
// Whether the held archive is still as the load found it: no other program
// has written to it. Reading it otherwise would show bytes the table does
// not describe.
bool HeldArchiveCurrent(const LoadedArchive& s);
// Writes all stored bytes of `entry` (its owner's for a shared entry) to `out`.
void CopyEntryData(const LoadedArchive& s, std::int32_t entry, File& out);

}  // namespace vxa
