#include "Compiler.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_set>

#include "AtomicFile.h"
#include "BlockWriter.h"

namespace vxa {

namespace {

void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        p[k] = static_cast<std::uint8_t>(v >> (8 * k));
}

// The header of a record taken from a replacement file: type 0 and the
// file's length as both sizes.
std::array<std::uint8_t, 10> ReplacedHeader(std::uint32_t size) {
    std::array<std::uint8_t, 10> h{};
    PutU32(h.data(), size);
    PutU32(h.data() + 4, size);
    return h;
}

// The table values, little-endian, a few thousand at a time.
void WriteTable(BlockWriter& out, const std::vector<std::uint32_t>& values) {
    std::array<std::uint8_t, 4096> chunk{};
    std::size_t used = 0;
    for (const std::uint32_t v : values) {
        if (used == chunk.size()) {
            out.write(chunk);
            used = 0;
        }
        PutU32(chunk.data() + used, v);
        used += 4;
    }
    out.write(std::span(chunk.data(), used));
}

// Throws ArchiveChanged unless the loaded archive is open and still as the
// load found it: the records that are kept are copied from it, so they must
// be the ones the table describes. Judged from the open file itself: what
// becomes of its name (moved, linked, replaced by another file) leaves the
// bytes it reads as they were.
void CheckArchiveUnchanged(const AppState& s) {
    if (!s.Archive || s.Archive->stamp() != s.ArchiveStamp)
        throw ArchiveChanged();
}

// Writes the records in order. A kept record is copied, header and all,
// from the loaded archive; kept records that follow one another there, as
// all of them do in a canonical archive, go out as one range.
class RecordWriter {
  public:
    RecordWriter(BlockWriter& out, Context& c) : out_(out), c_(c) {}

    void writeKept(std::size_t i) {
        const EntryTable& t = c_.State.Table;
        const std::uint64_t start = t.Offsets[i];
        const std::uint64_t length = 10 + std::uint64_t{t.PackedSizes[i]};
        if (runLength_ > 0 && runStart_ + runLength_ == start) {
            runLength_ += length;
            return;
        }
        endRun();
        runStart_ = start;
        runLength_ = length;
    }

    void writeReplaced(const ReplacedRecord& r) {
        endRun();
        out_.write(ReplacedHeader(r.Size));
        // Read only, so a file that may not be written still serves.
        const auto in = c_.Fs.openRead(c_.State.Replacements.Paths[r.PlanRecord]);
        out_.copyFrom(*in, 0, r.Size);
    }

    void endRun() {
        if (runLength_ > 0)
            out_.copyFrom(*c_.State.Archive, runStart_, runLength_);
        runLength_ = 0;
    }

  private:
    BlockWriter& out_;
    Context& c_;
    std::uint64_t runStart_ = 0;
    std::uint64_t runLength_ = 0;
};

}  // namespace

void SvhBtnClick(Context& c) {
    if (c.State.Loading)
        return;
    if (auto path = c.Ui.runFileDialog(FileDialog::SaveDialog1))
        c.State.OutPath = *path;
}

void SvahBtnClick(Context& c) {
    // The table is being rebuilt while a load runs.
    if (c.State.Loading)
        return;
    if (c.State.OutPath.empty())
        SvhBtnClick(c);
    if (c.State.OutPath.empty())
        return;
    if (!c.State.ArchiveComplete)
        return;
    if (!CheckReplacementFiles(c))
        return;
    CompileAndReport(c, c.State.OutPath);
}

MissingFiles MissingReplacementFiles(Context& c) {
    MissingFiles missing;
    // Each file is looked up once: the records of a sharing group follow
    // one another and name one file, and a file named again further on is
    // found among those seen.
    std::unordered_set<std::string_view> seen;
    const std::vector<SharedPath>& paths = c.State.Replacements.Paths;
    for (auto first = paths.begin(); first != paths.end();) {
        const auto end =
            std::find_if(first, paths.end(), [&](const SharedPath& p) { return !(p == *first); });
        const std::string& path = *first;
        if (seen.insert(path).second && !c.Fs.fileExists(path)) {
            if (missing.Listed.size() < kMissingFilesListed)
                missing.Listed.push_back(path);
            ++missing.Count;
        }
        first = end;
    }
    return missing;
}

std::string MissingFilesText(const MissingFiles& missing, char lineBreak) {
    std::string text = "The following files don't exist:";
    for (const std::string& path : missing.Listed) {
        text += lineBreak;
        text += path;
    }
    // N counts the missing files left out, not the records naming them.
    if (missing.Count > missing.Listed.size()) {
        text += lineBreak;
        text += "... and ";
        text += std::to_string(missing.Count - missing.Listed.size());
        text += " more";
    }
    return text;
}

bool CheckReplacementFiles(Context& c) {
    const MissingFiles missing = MissingReplacementFiles(c);
    if (missing.Count == 0)
        return true;
    const std::string text = MissingFilesText(missing, '\r') + "\r\rContinue?";
    return c.Ui.messageBox(text, "Error", MsgButtons::YesNo, MsgIcon::Warning) == MsgAnswer::Yes;
}

void CompileArchive(Context& c, const std::string& path) {
    CheckArchiveUnchanged(c.State);
    // Every length is taken, and the size guard passed, before the output
    // is touched.
    const ArchiveLayout layout = LayOutArchive(c);
    const std::uint32_t outputSize = layout.Values.back();
    AtomicFile file(c.Fs, path);
    // The buffer need not be larger than what it gathers.
    BlockWriter out(file.file(), std::min<std::size_t>(BlockWriter::kDefaultCapacity, outputSize));
    WriteTable(out, layout.Values);

    const EntryTable& t = c.State.Table;
    RecordWriter records(out, c);
    auto replaced = layout.Replaced.begin();
    for (std::int32_t i = 0; i < t.EntryCount; ++i) {
        if (t.Links[i] != 0)
            continue;  // blank and shared entries have no record of their own
        if (replaced != layout.Replaced.end() && replaced->Entry == i) {
            records.writeReplaced(*replaced++);
        } else {
            records.writeKept(static_cast<std::size_t>(i));
        }
    }
    records.endRun();
    out.finish();
    // A rewrite while the records were copied would have mixed old and new.
    CheckArchiveUnchanged(c.State);
    file.commit();
}

bool CompileAndReport(Context& c, const std::string& path) {
    c.Ui.setBusyCursor(true);
    std::optional<std::string> failure;
    std::string failedPath = path;  // the output, unless the error names another file
    bool refused = false;
    try {
        CompileArchive(c, path);
    } catch (const CompileRefused& e) {
        failure = e.what();
        refused = true;
    } catch (const IoError& e) {
        failure = e.what();
        if (!e.path().empty())
            failedPath = e.path();
    } catch (const std::bad_alloc&) {
        failure = kOutOfMemory;
    }
    c.Ui.setBusyCursor(false);
    if (!failure)
        return true;
    if (refused) {
        c.Ui.messageBox(*failure, "Error", MsgButtons::Ok, MsgIcon::Error);
    } else {
        c.Ui.showFileError(failedPath, *failure);
    }
    return false;
}

}  // namespace vxa
