#include "Compiler.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>
#include <span>

#include "AtomicFile.h"
#include "BlockWriter.h"

namespace vxa {

namespace {

using Bytes = std::span<const std::uint8_t>;

void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        p[k] = static_cast<std::uint8_t>(v >> (8 * k));
}

// The header of one output record.
struct Header {
    std::uint32_t OrigSize = 0;
    std::uint32_t PackedSize = 0;
    std::uint16_t CompType = 0;
};

std::array<std::uint8_t, 10> EncodeHeader(const Header& r) {
    std::array<std::uint8_t, 10> h{};
    PutU32(h.data(), r.OrigSize);
    PutU32(h.data() + 4, r.PackedSize);
    h[8] = static_cast<std::uint8_t>(r.CompType);
    h[9] = static_cast<std::uint8_t>(r.CompType >> 8);
    return h;
}

// The whole record of kept entry i, header and data, as it lies in the
// loaded archive's buffer, so that it can be written without copying. None
// when the buffer does not hold exactly the header to write.
std::optional<Bytes> LoadedRecord(const EntryTable& t, std::size_t i, const Header& h) {
    const std::uint64_t offset = t.Offsets[i];
    const std::uint64_t size = 10 + std::uint64_t{h.PackedSize};
    if (!t.Bytes || offset == 0 || offset + size > t.ByteCount)
        return std::nullopt;
    const std::uint8_t* start = t.Bytes.get() + offset;
    const auto header = EncodeHeader(h);
    if (std::memcmp(start, header.data(), header.size()) != 0)
        return std::nullopt;
    return Bytes(start, static_cast<std::size_t>(size));
}

// Writes the records in order. Kept records that follow one another in
// memory, as all of them do in a canonical archive, go out as one block.
class RecordWriter {
  public:
    RecordWriter(BlockWriter& out, Context& c) : out_(out), c_(c) {}

    void writeKept(std::size_t i) {
        const EntryTable& t = c_.State.Table;
        const Header h{t.OrigSizes[i], t.PackedSizes[i], t.CompTypes[i]};
        if (const auto record = LoadedRecord(t, i, h)) {
            if (!run_.empty() && run_.data() + run_.size() == record->data()) {
                run_ = Bytes(run_.data(), run_.size() + record->size());
            } else {
                endRun();
                run_ = *record;
            }
            return;
        }
        endRun();
        out_.write(EncodeHeader(h));
        out_.write(t.EntryData(i));
    }

    void writeReplaced(const ReplacedRecord& r) {
        endRun();
        out_.write(EncodeHeader({r.Size, r.Size, 0}));
        // Read only, so a file that may not be written still serves.
        const auto in = c_.Fs.openRead(c_.State.Replacements.Paths[r.PlanRecord]);
        out_.copyFrom(*in, r.Size);
    }

    void endRun() {
        out_.write(run_);
        run_ = {};
    }

  private:
    BlockWriter& out_;
    Context& c_;
    Bytes run_;
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

std::vector<std::string> MissingReplacementFiles(Context& c) {
    std::vector<std::string> missing;
    for (const std::string& path : c.State.Replacements.Paths) {
        if (!c.Fs.fileExists(path))
            missing.push_back(path);
    }
    return missing;
}

bool CheckReplacementFiles(Context& c) {
    const std::vector<std::string> missing = MissingReplacementFiles(c);
    if (missing.empty())
        return true;
    std::string text = "The following files don't exist:";
    for (const std::string& path : missing)
        text += "\r" + path;
    text += "\r\rContinue?";
    return c.Ui.messageBox(text, "Error", MsgButtons::YesNo, MsgIcon::Warning) == MsgAnswer::Yes;
}

void CompileArchive(Context& c, const std::string& path) {
    // Every length is taken, and the size guard passed, before the output
    // is touched.
    const ArchiveLayout layout = LayOutArchive(c);
    const std::uint32_t outputSize = layout.Values.back();
    AtomicFile file(c.Fs, path);
    // The buffer need not be larger than what it gathers.
    BlockWriter out(file.file(), std::min<std::size_t>(BlockWriter::kDefaultCapacity, outputSize));

    std::vector<std::uint8_t> table(layout.Values.size() * 4);
    for (std::size_t i = 0; i < layout.Values.size(); ++i)
        PutU32(&table[i * 4], layout.Values[i]);
    out.write(table);

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
    file.commit();
}

bool CompileAndReport(Context& c, const std::string& path) {
    c.Ui.setBusyCursor(true);
    std::optional<std::string> failure;
    std::string failedPath = path;  // the output, unless the error names another file
    bool tooLarge = false;
    try {
        CompileArchive(c, path);
    } catch (const ArchiveTooLarge& e) {
        failure = e.what();
        tooLarge = true;
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
    if (tooLarge) {
        c.Ui.messageBox(*failure, "Error", MsgButtons::Ok, MsgIcon::Error);
    } else {
        c.Ui.showFileError(failedPath, *failure);
    }
    return false;
}

}  // namespace vxa
