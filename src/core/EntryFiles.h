#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/LoadedArchive.h"

namespace vxa {

// Taking entries of the loaded archive out into files of their own, so that
// a modder can look at them, edit them and put them back. The names carry
// only the entry number that matters for putting a file back, plus an
// extension that lets other programs open what they can.

// Whether `entry` (an entry of the table) has stored bytes to take out: it
// owns a record or shares one. A blank entry has none.
bool HasStoredBytes(const EntryTable& t, std::int32_t entry);

// The file name `entry` is taken out under: its number (1-based), padded
// with zeros to as many digits as the entry count has, then ".wav", ".smk"
// or ".xmi" when the stored bytes are of a kind the game uses and stored
// unpacked (type 0), else ".bin". A shared entry goes by its owner's bytes.
std::string EntryFileName(const LoadedArchive& s, std::int32_t entry);

// Writes the stored bytes of `entry` (its owner's for a shared entry) to
// `path`. A file there is replaced only once everything is written. Throws
// IoError.
void WriteEntryFile(const LoadedArchive& s, FileSystem& fs, std::int32_t entry,
                    const std::string& path);

// Told before each file how far "Extract all" has come (files written,
// files in all); returning false stops it there. May be empty.
using ExtractProgress = std::function<bool(int done, int total)>;

// One file to take out: `Entry`'s stored bytes go to `Path`.
struct EntryFile {
    std::int32_t Entry = 0;
    std::string Path;
};

// The file `entry` is taken out to in folder `dir`: dir + "/" + its
// EntryFileName.
EntryFile EntryFileIn(const LoadedArchive& s, const std::string& dir, std::int32_t entry);
// The file of every entry with stored bytes in `dir`, in entry order.
std::vector<EntryFile> AllEntryFiles(const LoadedArchive& s, const std::string& dir);

enum class ExtractOutcome {
    Done,       // every file written
    Declined,   // the user would not replace existing files: nothing written
    Cancelled,  // stopped between two files; those written are complete
};

// Writes each of `files` in order, replacing a file of that name without a
// question. Gives Done or Cancelled. Throws IoError; the files written until
// then stay, each complete.
ExtractOutcome WriteEntryFiles(const LoadedArchive& s, FileSystem& fs,
                               const std::vector<EntryFile>& files,
                               const ExtractProgress& progress);

}  // namespace vxa
