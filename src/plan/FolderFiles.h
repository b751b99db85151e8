#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/LoadedArchive.h"

namespace vxa {

// Putting entry files back: a folder that extraction filled, some of its
// files edited since, read as a list of replacements (`vxa-tool compile
// --from` and the window's "Replace from folder...").

// An entry number as it is read on the command line or at the start of a
// file name: decimal digits only, counting from 1. nullopt when `text` is
// anything else; a number too long for 64 bits gives UINT64_MAX, which
// names no entry either.
std::optional<std::uint64_t> ParseEntryNumber(std::string_view text);

// A file of the folder that replaces the sharing group of `Entry`.
struct FolderPick {
    std::int32_t Entry = 0;
    std::string Path;
};

// The edited files of folder `dir`. A file counts for entry NR when its name
// is NR in decimal, with or without leading zeros, then "." and anything
// ("00012.wav", "12.bin" and "12.wav.bak" are all entry 12's); other files,
// folders and numbers the archive has no entry for are passed over. It is
// edited when its bytes differ from the entry's stored bytes (a shared
// entry's are its owner's). Sharing groups whose table value is in `skip`
// are left alone, and so are their files.
//
// Returns one pick for each sharing group with edited files, in entry order.
// `problems` gets a line for each file that cannot say what to replace: two
// files for one entry, a file for a blank entry, edited files of one group
// that differ from each other. Throws IoError.
std::vector<FolderPick> PickFolderFiles(const LoadedArchive& a, FileSystem& fs,
                                        const std::string& dir, const std::set<std::uint32_t>& skip,
                                        std::vector<std::string>& problems);

}  // namespace vxa
