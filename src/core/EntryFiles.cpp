#include "EntryFiles.h"

#include <algorithm>
#include <vector>

#include "AtomicFile.h"
#include "EntryBytes.h"
#include "EntryKind.h"

namespace vxa {

bool HasStoredBytes(const EntryTable& t, std::int32_t entry) {
    return t.Links[entry] >= 0;
}

std::string EntryFileName(const AppState& s, std::int32_t entry) {
    const EntryTable& t = s.Table;
    std::string number = std::to_string(entry + 1);
    const std::size_t digits = std::to_string(t.EntryCount).size();
    if (number.size() < digits)
        number.insert(0, digits - number.size(), '0');

    return number + "." + KindOf(s, entry).extension();
}

void WriteEntryFile(const AppState& s, FileSystem& fs, std::int32_t entry,
                    const std::string& path) {
    AtomicFile out(fs, path);
    CopyEntryData(s, entry, out.file());
    out.commit();
}

bool CanExtractAll(const AppState& s) {
    return s.ArchiveComplete && !s.Loading;
}

bool CanExtractEntry(const AppState& s, int row) {
    // Below the heading, every row of a complete load is an entry's.
    return CanExtractAll(s) && row >= 1 && HasStoredBytes(s.Table, row - 1);
}

EntryFile EntryFileIn(const AppState& s, const std::string& dir, std::int32_t entry) {
    return {entry, dir + "/" + EntryFileName(s, entry)};
}

std::vector<EntryFile> AllEntryFiles(const AppState& s, const std::string& dir) {
    std::vector<EntryFile> files;
    for (std::int32_t i = 0; i < s.Table.EntryCount; ++i) {
        if (HasStoredBytes(s.Table, i))
            files.push_back(EntryFileIn(s, dir, i));
    }
    return files;
}

ExtractOutcome WriteEntryFiles(const AppState& s, FileSystem& fs,
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

ExtractOutcome ExtractAll(Context& c, const std::string& dir, const ExtractProgress& progress) {
    const std::vector<EntryFile> files = AllEntryFiles(c.State, dir);
    const auto existing = std::count_if(
        files.begin(), files.end(), [&](const EntryFile& f) { return c.Fs.fileExists(f.Path); });
    if (existing > 0 &&
        c.Ui.messageBox(
            std::to_string(existing) + " files in this folder will be replaced. Replace them?",
            "Simple question", MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) {
        return ExtractOutcome::Declined;
    }
    return WriteEntryFiles(c.State, c.Fs, files, progress);
}

}  // namespace vxa
