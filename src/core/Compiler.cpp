#include "core/Compiler.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_set>

#include "core/io/AtomicFile.h"
#include "core/io/BlockWriter.h"

namespace vxa {

namespace {

void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        p[k] = static_cast<std::uint8_t>(v >> (8 * k));
}

// The header of a record taken from a replacement file: type 0 and the
// file's length as both sizes.
std::array<std::uint8_t, kRecordHeaderBytes> ReplacedHeader(std::uint32_t size) {
    std::array<std::uint8_t, kRecordHeaderBytes> h{};
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
void CheckArchiveUnchanged(const LoadedArchive& s) {
    if (!s.Archive || s.Archive->stamp() != s.ArchiveStamp)
        throw ArchiveChanged();
}

// Writes the records in order. A kept record is copied, header and all,
// from the loaded archive; kept records that follow one another there, as
// all of them do in a canonical archive, go out as one range.
class RecordWriter {
  public:
    RecordWriter(BlockWriter& out, FileSystem& fs, const LoadedArchive& loaded, const ReplRec& plan)
        : out_(out), fs_(fs), loaded_(loaded), plan_(plan) {}

    void writeKept(std::size_t i) {
        const EntryTable& t = loaded_.Table;
        const std::uint64_t start = t.Offsets[i];
        const std::uint64_t length = kRecordHeaderBytes + std::uint64_t{t.PackedSizes[i]};
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
        const auto in = fs_.openRead(plan_.Paths[r.PlanRecord]);
        out_.copyFrom(*in, 0, r.Size);
    }

    void endRun() {
        if (runLength_ > 0)
            out_.copyFrom(*loaded_.Archive, runStart_, runLength_);
        runLength_ = 0;
    }

  private:
    BlockWriter& out_;
    FileSystem& fs_;
    const LoadedArchive& loaded_;
    const ReplRec& plan_;
    std::uint64_t runStart_ = 0;
    std::uint64_t runLength_ = 0;
};

}  // namespace

MissingFiles CheckReplacementFiles(FileSystem& fs, const ReplRec& plan) {
    MissingFiles missing;
    // Each file is looked up once: the records of a sharing group follow
    // one another and name one file, and a file named again further on is
    // found among those seen.
    std::unordered_set<std::string_view> seen;
    const std::vector<SharedPath>& paths = plan.Paths;
    for (auto first = paths.begin(); first != paths.end();) {
        const auto end =
            std::find_if(first, paths.end(), [&](const SharedPath& p) { return !(p == *first); });
        const std::string& path = *first;
        if (seen.insert(path).second && !fs.fileExists(path)) {
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

void CompileArchive(FileSystem& fs, const LoadedArchive& loaded, const ReplRec& plan,
                    const std::string& path) {
    CheckArchiveUnchanged(loaded);
    // Every length is taken, and the size guard passed, before the output
    // is touched.
    const ArchiveLayout layout = LayOutArchive(fs, loaded.Table, plan);
    const std::uint32_t outputSize = layout.Values.back();
    AtomicFile file(fs, path);
    // The buffer need not be larger than what it gathers.
    BlockWriter out(file.file(), std::min<std::size_t>(BlockWriter::kDefaultCapacity, outputSize));
    WriteTable(out, layout.Values);

    const EntryTable& t = loaded.Table;
    RecordWriter records(out, fs, loaded, plan);
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
    CheckArchiveUnchanged(loaded);
    file.commit();
}

}  // namespace vxa
