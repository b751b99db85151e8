#include "ui/ExtractHandlers.h"

#include <algorithm>

namespace vxa {

bool CanExtractAll(const AppState& s) {
    return s.ArchiveComplete && !s.Loading;
}

bool CanExtractEntry(const AppState& s, int row) {
    // Below the heading, every row of a complete load is an entry's.
    return CanExtractAll(s) && row >= 1 && HasStoredBytes(s.Table, row - 1);
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
