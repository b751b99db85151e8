#include "core/EntryFiles.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/EntryBytes.h"
#include "core/io/AtomicFile.h"
#include "core/io/WritePaths.h"

namespace vxa {

namespace {

// Kinds of content the game keeps in its archives, known by the bytes they
// start with: "RIFF", four bytes of size, "WAVE" and the like.
struct Signature {
    const char* head;  // at byte 0
    const char* tail;  // at byte 8; nullptr when only the head counts
    const char* extension;
};

constexpr Signature kSignatures[] = {
    {"RIFF", "WAVE", "wav"},
    {"SMK2", nullptr, "smk"},
    {"SMK4", nullptr, "smk"},
    {"FORM", "XDIR", "xmi"},
};

const char* ExtensionOf(const char* bytes, std::size_t size) {
    for (const Signature& sig : kSignatures) {
        const bool head = size >= 4 && std::memcmp(bytes, sig.head, 4) == 0;
        const bool tail = !sig.tail || (size >= 12 && std::memcmp(bytes + 8, sig.tail, 4) == 0);
        if (head && tail)
            return sig.extension;
    }
    return "bin";
}

}  // namespace

bool HasStoredBytes(const EntryTable& t, std::int32_t entry) {
    return t.Links[entry] >= 0;
}

std::string EntryFileName(const LoadedArchive& s, std::int32_t entry) {
    const EntryTable& t = s.Table;
    std::string number = std::to_string(entry + 1);
    const std::size_t digits = std::to_string(t.EntryCount).size();
    if (number.size() < digits)
        number.insert(0, digits - number.size(), '0');

    // A shared entry's type is its owner's: both are read from the one
    // record's header. A blank entry's is 0, but it has no bytes to look at.
    const char* extension = "bin";
    if (t.CompTypes[entry] == 0) {
        char head[16];  // more than any signature spans
        extension = ExtensionOf(head, ReadEntryBytes(s, entry, 0, head, sizeof head));
    }
    return number + "." + extension;
}

void WriteEntryFile(const LoadedArchive& s, FileSystem& fs, std::int32_t entry,
                    const std::string& path) {
    AtomicFile out(fs, path);
    CopyEntryData(s, entry, out.file());
    out.commit();
}

EntryFile EntryFileIn(const LoadedArchive& s, const std::string& dir, std::int32_t entry) {
    return {entry, JoinPath(dir, EntryFileName(s, entry))};
}

std::vector<EntryFile> AllEntryFiles(const LoadedArchive& s, const std::string& dir) {
    std::vector<EntryFile> files;
    for (std::int32_t i = 0; i < s.Table.EntryCount; ++i) {
        if (HasStoredBytes(s.Table, i))
            files.push_back(EntryFileIn(s, dir, i));
    }
    return files;
}

ExtractOutcome WriteEntryFiles(const LoadedArchive& s, FileSystem& fs,
                               const std::vector<EntryFile>& files,
                               const ExtractProgress& progress) {
    const int total = static_cast<int>(files.size());
    for (int done = 0; done < total; ++done) {
        if (progress && !progress(done, total))
            return ExtractOutcome::Cancelled;
        WriteEntryFile(s, fs, files[done].Entry, files[done].Path);
    }
    return ExtractOutcome::Done;
}

}  // namespace vxa
