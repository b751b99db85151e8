#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "core/ArchiveReader.h"
#include "core/AtomicFile.h"
#include "core/EntryBytes.h"
#include "core/Loader.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"

namespace vxa::test {
namespace {

using Lines = std::vector<std::string>;

// The three-entry example: table 16, 0, 16, 30; entry 1 owns "ABCD".
const std::string kThirtyBytes =
    U32(16) + U32(0) + U32(16) + U32(30) + U32(4) + U32(4) + U16(0) + "ABCD";

// Entry i's stored bytes from `from` on, at most `size`, as the open archive gives them.
std::string Bytes(const AppState& s, std::int32_t i, std::uint64_t from = 0,
                  std::size_t size = 1 << 20) {
    std::string out(size, '\0');
    out.resize(ReadEntryBytes(s, i, from, out.data(), size));
    return out;
}

Lines Row(const FakeView& v, int row) {
    Lines out;
    for (int col = 0; col < 6; ++col)
        out.push_back(v.cell(col, row));
    return out;
}

class LoaderTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    LoadOutcome load(const std::string& bytes, bool scriptMode = false) {
        h.view.log.clear();
        return LoadArchive(h.ctx, dir.write("a.vxa", bytes), scriptMode);
    }
};

TEST_F(LoaderTest, ThirtyByteExampleGivesThreeRowsInAGridOfItsOwn) {
    h.view.setRowCount(5);
    h.view.setCell(0, 1, "+1");
    h.view.setCell(5, 3, "/r");
    h.state.Replacements.append(0, "/r");
    h.view.onProcessEvents = [&] {
        EXPECT_TRUE(h.view.stopVisible && h.state.Loading);
        EXPECT_EQ(h.view.status, "Reading file...");
    };
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    EXPECT_EQ(h.state.Table.Offsets, (std::vector<std::uint32_t>{16, 0, 16, 30}));
    EXPECT_EQ(h.state.Table.Links, (std::vector<std::int32_t>{0, -1, 1, 0}));
    EXPECT_EQ(h.view.rowCount(), 4);
    EXPECT_EQ(Row(h.view, 1), (Lines{"1", "16", "4", "4", "0/N", ""}));
    EXPECT_EQ(Row(h.view, 2), (Lines{"2", "BLANK", "0", "0", "0/B", "------"}));
    EXPECT_EQ(Row(h.view, 3), (Lines{"3", "16", "0", "0", "0/R:1", ""}));
    // Entry 3 reads the record it shares; a blank entry and one past the table have nothing.
    EXPECT_EQ(Bytes(h.state, 0) + Bytes(h.state, 1) + Bytes(h.state, 2) + Bytes(h.state, 3),
              "ABCDABCD");
    EXPECT_EQ(Bytes(h.state, 0, 1, 2) + Bytes(h.state, 2, 4) + Bytes(h.state, -1), "BC");
    EXPECT_TRUE(h.state.ArchiveComplete && !h.state.Loading);
    EXPECT_EQ(h.state.Replacements, ReplRec{});
    EXPECT_EQ(h.state.InPath, dir.file("a.vxa"));
    // The cursor is busy while the table is read; entry index 1 is a progress point.
    EXPECT_EQ(h.view.log, (Lines{"busy", "idle", "progress 0/3 0", "progress Done 100", "beep"}));
    EXPECT_EQ(h.view.status, "");
    // An empty archive keeps only the heading row.
    ASSERT_EQ(load(U32(4)), LoadOutcome::Complete);
    EXPECT_EQ(h.view.rowCount() + h.state.Table.EntryCount, 1);
}

// 80 entries: progress points after entries 1, 11, ..., 71, in the status
// bar (whole percentages, halves to even) or in script mode on the gauge; a
// Stop at the second keeps 12 entries.
TEST_F(LoaderTest, ProgressPointsShowProgressAndTakeAStop) {
    struct Case {
        bool scriptMode, stop, closing;
        Lines shown;  // progress, gauge and message box lines
    };
    const Lines bar{"progress 0/80 0",   "progress 10/80 12", "progress 20/80 25",
                    "progress 30/80 38", "progress 40/80 50", "progress 50/80 62",
                    "progress 60/80 75", "progress 70/80 88", "progress Done 100"};
    const Lines gauge{"gauge 0",  "gauge 10", "gauge 20", "gauge 30",
                      "gauge 40", "gauge 50", "gauge 60", "gauge 70"};
    for (const Case& c : std::vector<Case>{
             {false, false, false, bar},
             {true, false, false, gauge},
             {false,
              true,
              false,
              {bar[0], bar[1], "box Warning|warning|Incomplete file is not editable"}},
             {true,
              true,
              false,
              {"gauge 0", "gauge 10", "box Warning|warning|Script execution interrupted by user"}},
             {false, true, true, {bar[0], bar[1]}}}) {
        Harness s;
        s.state.Replacements.append(3, "/r");
        s.view.onProcessEvents = [&] {
            s.state.CloseRequested = c.closing;
            s.state.StopRequested = c.stop && s.view.processEventsCalls == 2;
        };
        EXPECT_EQ(
            LoadArchive(s.ctx, dir.write("m.vxa", BuildArchive(ManyEntries(80))), c.scriptMode),
            c.stop ? LoadOutcome::Stopped : LoadOutcome::Complete);
        Lines shown;
        for (const auto& line : s.view.log) {
            if (line.starts_with("progress") || line.starts_with("gauge") ||
                line.starts_with("box"))
                shown.push_back(line);
        }
        EXPECT_EQ(shown, c.shown);
        const int entries = c.stop ? 12 : 80;
        EXPECT_EQ(s.view.gaugeMax, c.scriptMode ? 80 : 100);
        EXPECT_EQ(s.state.Table.EntryCount, entries);
        EXPECT_EQ(s.view.rowCount(), entries + 1);
        EXPECT_EQ(s.view.cell(0, entries), std::to_string(entries));
        EXPECT_EQ(s.state.ArchiveComplete, !c.stop);
        EXPECT_EQ(s.state.Archive != nullptr, !c.stop);
        EXPECT_EQ(s.state.Replacements.Count, c.scriptMode ? 1 : 0);
        EXPECT_EQ(s.view.status, c.stop ? "File list not complete" : "");
        EXPECT_EQ(s.view.logged("beep").size(), c.stop ? 0u : 1u);
        EXPECT_EQ(s.view.offerEventsCalls, 0);  // a short table pass offers nothing
    }
}

// Every way a file can fail to be an archive: "Read beyond end of file", the
// rows of the entries read before the failing one, and a window left as after
// a finished load with nothing editable.
TEST_F(LoaderTest, BrokenArchivesKeepTheEntriesBeforeTheFailingOne) {
    const std::vector<TestEntry> three{Owned("aaaa"), Owned("bbbb"), Owned("cccc")};
    std::string cut = BuildArchive(three);  // entry 3's record runs past the end
    cut.replace(cut.size() - 10, 4, U32(50));
    std::string past = BuildArchive(three, {.reverseRecords = true});
    past.replace(4, 4, U32(0x7FFFFF00));  // entry 2 lies past the end
    std::string first = BuildArchive(three);
    first.replace(20, 4, U32(100));  // the first record's size reaches past the end
    for (const auto& [bytes, read] : std::vector<std::pair<std::string, int>>{
             {"", 0},
             {"abc", 0},                         // shorter than one value
             {std::string(8 << 20, '\x01'), 0},  // 8 MB, no value equals the size
             {first, 0},
             {U32(12) + U32(200) + U32(12) + "xx", 0},  // a header past the end
             {U32(0xFFFFFFF0u) + U32(8), 0},            // a huge size is not allocated
             {past, 1},
             {cut, 2}}) {
        Harness s;
        s.state.ArchiveComplete = true;
        EXPECT_EQ(LoadArchive(s.ctx, dir.write("b.vxa", bytes), false), LoadOutcome::Failed);
        EXPECT_EQ(s.view.messages, Lines{"Read beyond end of file"});
        EXPECT_EQ(s.state.Table.EntryCount, read);
        EXPECT_EQ(s.view.rowCount(), read + 1);
        EXPECT_EQ(s.view.cell(0, read), read ? std::to_string(read) : "");
        EXPECT_FALSE(s.state.ArchiveComplete || s.state.Loading || s.state.Archive);
        EXPECT_TRUE(s.view.status.empty() && s.view.logged("beep").empty());
    }
    // Opening fails: the table loaded before stays as it was, but not editable.
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    TestFileSystem faulty;
    faulty.failStep(1, EACCES);
    Context fc{h.state, h.view, faulty};
    EXPECT_EQ(LoadArchive(fc, dir.file("a.vxa"), false), LoadOutcome::Failed);
    EXPECT_EQ(h.view.log.back(), "ioerror File access denied");
    EXPECT_EQ(std::pair(h.state.Table.EntryCount, h.view.rowCount()), std::pair(3, 4));
    EXPECT_FALSE(h.state.ArchiveComplete || h.state.Archive);
}

TEST_F(LoaderTest, WhatIsNoArchiveAndArchivesOfNoRecordsOrAnEmptyLastOne) {
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    h.view.log.clear();
    EXPECT_EQ(LoadArchive(h.ctx, dir.file("nope.vxa"), false), LoadOutcome::FileMissing);
    EXPECT_EQ(LoadArchive(h.ctx, dir.path(), false), LoadOutcome::FileMissing);  // a folder
    EXPECT_EQ(h.view.log, (Lines{"box Error|error|File doesn't exist !!!",
                                 "box Error|error|File doesn't exist !!!"}));
    EXPECT_EQ(h.state.InPath, dir.file("a.vxa"));
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(Bytes(h.state, 0), "ABCD");  // still open
    // Blank entries read no header, so tables without records load.
    ASSERT_EQ(load(U32(0) + U32(0) + U32(12)), LoadOutcome::Complete);
    ASSERT_EQ(load(U32(0) + U32(8)), LoadOutcome::Complete);  // shorter than a header
    EXPECT_EQ(h.view.cell(4, 1), "0/B");
    // A record of no bytes that ends the file.
    ASSERT_EQ(load(BuildArchive({Owned("x"), Owned("", 5, 9)})), LoadOutcome::Complete);
    EXPECT_EQ(Row(h.view, 2), (Lines{"2", "23", "9", "0", "5/N", ""}));
    // A running program may be read, but not opened for writing, even by root.
    EXPECT_EQ(LoadArchive(h.ctx, "/proc/self/exe", false), LoadOutcome::Failed);
    EXPECT_EQ(h.view.messages.back(), "Read beyond end of file");
}

TEST_F(LoaderTest, OpenPutsThePathInTheEditAfterALoadAndReopenLoadsTheEdit) {
    const std::string path = dir.write("a.vxa", kThirtyBytes), bad = dir.write("bad.vxa", "junk");
    for (const auto& answer : {std::optional<std::string>(), std::optional(path),
                               std::optional(bad) /* fails: the edit stays */}) {
        h.view.dialogAnswers.push_back(answer);
        OpenBtnClick(h.ctx);
        EXPECT_EQ(h.view.openEdit, answer ? path : "Open VXA file");
        EXPECT_EQ(h.state.ArchiveComplete, answer == path);
    }
    h.view.openEdit = dir.file("missing.vxa");
    ReloadBtnClick(h.ctx);  // says nothing
    EXPECT_EQ(h.view.messages.size(), 1u);
    h.view.openEdit = path;
    ReloadBtnClick(h.ctx);
    EXPECT_TRUE(h.state.ArchiveComplete);
}

// Bigger than one read block, records out of order across blocks, some
// headers far apart and some close together.
TEST_F(LoaderTest, RecordsInReverseOrderWithGapsAcrossReadBlocks) {
    const std::size_t big = ArchiveReader::kBlock * 3 / 4;
    std::vector<TestEntry> entries;
    for (char c : std::string("abcde"))
        entries.push_back(Owned(std::string(c < 'd' ? big : 5, c), 1, 7));
    entries.insert(entries.begin() + 2, Shared(1));
    ASSERT_EQ(load(BuildArchive(entries, {.reverseRecords = true, .gap = 3})),
              LoadOutcome::Complete);
    for (int i : {0, 1, 2, 3, 4, 5}) {
        const char c = "abbcde"[i];
        EXPECT_EQ(Bytes(h.state, i), std::string(c < 'd' ? big : 5, c)) << i;
        EXPECT_EQ(h.view.cell(3, i + 1) + " " + h.view.cell(4, i + 1),
                  i == 2 ? "0 1/R:2" : std::to_string(c < 'd' ? big : 5) + " 1/N")
            << i;
    }
    EXPECT_EQ(Bytes(h.state, 3, big - 2, 10), "cc");
    AtomicFile out(h.ctx.Fs, dir.file("entry.bin"));  // as an extraction copies
    CopyEntryData(h.state, 2, out.file());
    out.commit();
    EXPECT_TRUE(ReadFile(dir.file("entry.bin")) == std::string(big, 'b'));
}

// The table pass reads a block at a time: a table that ends on the block's
// last value, and one whose end marker is the next block's first.
TEST_F(LoaderTest, TablesEndingOnAndJustPastAReadBlock) {
    for (const std::size_t values : {ArchiveReader::kBlock / 4, ArchiveReader::kBlock / 4 + 1}) {
        std::vector<TestEntry> entries(values - 1, Blank());
        entries[0] = Owned("first");
        entries[values / 2] = Shared(0);
        entries.back() = Owned("last", 2);
        const std::string bytes = BuildArchive(entries);
        ASSERT_EQ(load(bytes), LoadOutcome::Complete) << values;
        std::vector<std::uint32_t> table(values);
        std::memcpy(table.data(), bytes.data(), values * 4);
        EXPECT_TRUE(h.state.Table.Offsets == table);
        EXPECT_EQ(h.view.cell(4, static_cast<int>(values / 2) + 1), "0/R:1");
        EXPECT_EQ(Bytes(h.state, 0) + Bytes(h.state, static_cast<int>(values) - 2), "firstlast");
    }
}

// Past one slice of the table pass (65,536 values) events are offered
// between slices, a Stop then ends the load at the first progress point.
TEST_F(LoaderTest, ALongTablePassOffersEventsAndAStopThenEndsAtTheFirstProgressPoint) {
    std::vector<TestEntry> e = ManyEntries(70000);
    for (std::size_t i = 4; i < e.size(); i += 9)
        e[i] = Shared(static_cast<int>(i) - 1);
    ASSERT_EQ(load(BuildArchive(e)), LoadOutcome::Complete);
    EXPECT_GT(h.view.offerEventsCalls, 0);
    EXPECT_EQ(h.view.processEventsCalls, (70000 - 2) / 10 + 1);
    EXPECT_EQ(h.view.cell(4, 5), "0/R:4");
    Harness s;
    s.view.onOfferEvents = [&] { StopBtnClick(s.ctx); };
    s.view.onProcessEvents = [&] { EXPECT_EQ(s.view.processEventsCalls, 1); };
    ASSERT_EQ(LoadArchive(s.ctx, dir.file("a.vxa"), false), LoadOutcome::Stopped);
    EXPECT_EQ(s.state.Table.EntryCount, 2);
    // Below a slice no events are offered, however many headers.
    h.view.offerEventsCalls = 0;
    ASSERT_EQ(load(BuildArchive(ManyEntries(30000))), LoadOutcome::Complete);
    EXPECT_EQ(h.view.offerEventsCalls, 0);
}

}  // namespace
}  // namespace vxa::test
