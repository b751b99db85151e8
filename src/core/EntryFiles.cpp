#include "core/EntryFiles.h"

#include <algorithm>
#include <vector>

#include "core/EntryBytes.h"
#include "core/EntryKind.h"
#include "core/io/AtomicFile.h"

namespace vxa {

bool HasStoredBytes(const EntryTable& t, std::int32_t entry) {
    return t.Links[entry] >= 0;
}

std::string EntryFileName(const LoadedArchive& s, std::int32_t entry) {
    const EntryTable& t = s.Table;
    std::string number = std::to_string(entry + 1);
    const std::size_t digits = std::to_string(t.EntryCount).size();
    if (number.size() < digits)
        number.insert(0, digits - number.size(), '0');

    return number + "." + KindOf(s, entry).extension();
}

void WriteEntryFile(const LoadedArchive& s, FileSystem& fs, std::int32_t entry,
                    const std::string& path) {
    AtomicFile out(fs, path);
    CopyEntryData(s, entry, out.file());
    out.commit();
}

EntryFile EntryFileIn(const LoadedArchive& s, const std::string& dir, std::int32_t entry) {
    return {entry, dir + "/" + EntryFileName(s, entry)};
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
