#include <cstring>
#include <string>

#include "FuzzTargets.h"
#include "MemoryFileSystem.h"
#include "core/ArchiveReader.h"
#include "core/EntryBytes.h"
#include "support/FakeView.h"
#include "ui/LoadHandlers.h"

namespace vxa::fuzz {

namespace {

// What a load leaves in the table when it read the whole archive: the
// headers as they lie in the file, and the archive open, giving the bytes.
void CheckCompleteTable(const AppState& s, const test::FakeView& view, const std::uint8_t* data,
                        std::size_t size) {
    const EntryTable& t = s.Table;
    FUZZ_CHECK(s.Archive != nullptr);
    FUZZ_CHECK(t.Offsets.size() == static_cast<std::size_t>(t.EntryCount) + 1);
    FUZZ_CHECK(t.Offsets.back() == size);
    for (std::int32_t i = 0; i < t.EntryCount; ++i) {
        const std::int32_t link = t.Links[i];
        FUZZ_CHECK((link == -1) == (t.Offsets[i] == 0));
        if (link > 0) {
            FUZZ_CHECK(link <= i && t.Links[link - 1] == 0 && t.Offsets[link - 1] == t.Offsets[i]);
        }
        if (link == -1)
            continue;
        const std::uint8_t* header = data + t.Offsets[i];
        FUZZ_CHECK(t.CompTypes[i] == (header[8] | header[9] << 8));
        if (link == 0) {
            FUZZ_CHECK(t.OrigSizes[i] == LoadU32(header) &&
                       t.PackedSizes[i] == LoadU32(header + 4));
            FUZZ_CHECK(t.Offsets[i] + 10ull + t.PackedSizes[i] <= size);
        } else {
            FUZZ_CHECK(t.OrigSizes[i] == 0 && t.PackedSizes[i] == 0);
        }
    }
    // Rows are formatted from the table on demand: the first, the middle and
    // the last show every column but "Replace with" filled in, and give
    // their record's bytes.
    if (t.EntryCount == 0)
        return;
    for (const std::int32_t i : {0, t.EntryCount / 2, t.EntryCount - 1}) {
        for (int col = 0; col < 5; ++col)
            FUZZ_CHECK(!view.cell(col, i + 1).empty());
        const std::int32_t owner = t.Links[i] > 0 ? t.Links[i] - 1 : i;
        const std::size_t length = t.Links[i] < 0 ? 0 : t.PackedSizes[owner];
        std::string bytes(length + 1, '\0');
        FUZZ_CHECK(ReadEntryBytes(s, i, 0, bytes.data(), bytes.size()) == length);
        FUZZ_CHECK(length == 0 || std::memcmp(bytes.data(), data + t.Offsets[i] + 10, length) == 0);
    }
}

}  // namespace

// Loads the bytes as an archive in place of an earlier one and checks what a
// load must always leave behind. The input's last byte picks the mode (bit 1)
// and whether Stop is pressed at the first progress point (bit 0): one load
// per input, so that the fuzzer spends its time on new inputs.
int LoaderTarget(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem fs;
    fs.put("/a.vxa", std::string(reinterpret_cast<const char*>(data), size));
    const std::uint8_t last = size > 0 ? data[size - 1] : 0;
    const bool stop = (last & 1) != 0;
    const bool scriptMode = (last & 2) != 0;
    AppState state;
    test::FakeView view(state);
    Context c{state, view, fs};
    // As after an earlier load, which this one replaces.
    state.ArchiveComplete = true;
    state.Replacements.append(0, "/r.bin");
    if (stop)
        view.onProcessEvents = [&c] { StopBtnClick(c); };

    const LoadOutcome outcome = LoadInWindow(c, "/a.vxa", scriptMode);
    const EntryTable& t = state.Table;
    FUZZ_CHECK(!state.Loading && !view.busy && !view.stopVisible);
    FUZZ_CHECK(view.rowCount() == t.EntryCount + 1);
    FUZZ_CHECK(view.messages.size() == (outcome == LoadOutcome::Complete ? 0u : 1u));
    FUZZ_CHECK(state.ArchiveComplete == (outcome == LoadOutcome::Complete));
    FUZZ_CHECK((state.Archive != nullptr) == (outcome == LoadOutcome::Complete));
    // Only a load that ran to its end in normal mode empties the plan.
    const bool emptied = !scriptMode && outcome != LoadOutcome::Failed;
    FUZZ_CHECK(state.Replacements.Count == (emptied ? 0 : 1));
    if (scriptMode && outcome != LoadOutcome::Failed)
        FUZZ_CHECK(view.gaugeMax == static_cast<int>(t.Offsets.size()) - 1);
    switch (outcome) {
        case LoadOutcome::Complete:
            FUZZ_CHECK(view.status.empty() && view.logged("beep").size() == 1);
            CheckCompleteTable(state, view, data, size);
            break;
        case LoadOutcome::Stopped:
            FUZZ_CHECK(stop && view.processEventsCalls == 1 && t.EntryCount <= 2);
            FUZZ_CHECK(view.status == "File list not complete");
            FUZZ_CHECK(view.messages[0] == (scriptMode ? "Script execution interrupted by user"
                                                       : "Incomplete file is not editable"));
            break;
        case LoadOutcome::Failed:
            FUZZ_CHECK(view.messages[0] == "Read beyond end of file.");
            FUZZ_CHECK(view.status.empty() && view.logged("beep").empty());
            break;
        case LoadOutcome::FileMissing:
        case LoadOutcome::NotOpened:
            FUZZ_CHECK(false);
    }
    return 0;
}

}  // namespace vxa::fuzz
