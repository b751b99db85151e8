#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/ArchiveReader.h"
#include "core/AtomicFile.h"
#include "core/EntryBytes.h"
#include "core/Loader.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

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

std::vector<std::string> Row(FakeView& v, int row) {
    std::vector<std::string> out;
    for (int col = 0; col < 6; ++col)
        out.push_back(v.cell(col, row));
    return out;
}

class LoaderTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    LoadOutcome load(const std::string& bytes, bool scriptMode = false) {
        return LoadArchive(h.ctx, dir.write("a.vxa", bytes), scriptMode);
    }
};

TEST_F(LoaderTest, ThirtyByteExampleGivesThreeRowsAndOneDataBlock) {
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    const EntryTable& t = h.state.Table;
    EXPECT_EQ(t.EntryCount, 3);
    EXPECT_EQ(t.Offsets, (std::vector<std::uint32_t>{16, 0, 16, 30}));
    EXPECT_EQ(t.Links, (std::vector<std::int32_t>{0, -1, 1, 0}));
    EXPECT_EQ(h.view.rowCount(), 4);
    EXPECT_EQ(Row(h.view, 1), (std::vector<std::string>{"1", "16", "4", "4", "0/N", ""}));
    EXPECT_EQ(Row(h.view, 2), (std::vector<std::string>{"2", "BLANK", "0", "0", "0/B", "------"}));
    EXPECT_EQ(Row(h.view, 3), (std::vector<std::string>{"3", "16", "0", "0", "0/R:1", ""}));
    // Entry 3 reads the record it shares; the blank one has nothing.
    EXPECT_EQ(Bytes(h.state, 0) + Bytes(h.state, 1) + Bytes(h.state, 2), "ABCDABCD");
    EXPECT_EQ(Bytes(h.state, 0, 1, 2) + Bytes(h.state, 2, 4) + Bytes(h.state, 3), "BC");
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.InPath, dir.file("a.vxa"));
    // Entry index 1 is a progress point, drawn as 0 of 3.
    EXPECT_EQ(h.view.logged("progress"),
              (std::vector<std::string>{"progress 0/3 0", "progress Done 100"}));
    EXPECT_EQ(h.view.logged("beep").size(), 1u);
    EXPECT_FALSE(h.view.stopVisible);
    EXPECT_FALSE(h.view.busy);
    EXPECT_EQ(h.view.status, "");
}

TEST_F(LoaderTest, ALoadRewritesTheWholeGridAndEmptiesThePlan) {
    h.view.setRowCount(5);
    h.view.setCell(0, 0, "Nr");
    h.view.setCell(0, 1, "+1");
    h.view.setCell(5, 3, "the team");
    h.state.Replacements.append(0, "/x");
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    EXPECT_EQ(h.view.cell(0, 1), "1");
    EXPECT_EQ(h.view.cell(5, 3), "");
    EXPECT_EQ(h.state.Replacements, ReplRec{});

    // An empty archive keeps only the heading row.
    h.view.log.clear();
    ASSERT_EQ(load(U32(4)), LoadOutcome::Complete);
    EXPECT_EQ(h.state.Table.EntryCount, 0);
    EXPECT_EQ(h.view.rowCount(), 1);
    EXPECT_EQ(h.view.cell(0, 0), "Nr");
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.view.logged("progress"), (std::vector<std::string>{"progress Done 100"}));
}

TEST_F(LoaderTest, ProgressPointsOfANormalLoad) {
    ASSERT_EQ(load(BuildArchive(ManyEntries(25))), LoadOutcome::Complete);
    EXPECT_EQ(h.view.logged("progress"),
              (std::vector<std::string>{"progress 0/25 0", "progress 10/25 40", "progress 20/25 80",
                                        "progress Done 100"}));
    EXPECT_EQ(h.view.processEventsCalls, 3);
    EXPECT_EQ(h.view.offerEventsCalls, 0);  // a short table pass offers nothing
}

TEST_F(LoaderTest, ScriptModeMovesTheGaugeAndKeepsThePlan) {
    h.state.Replacements.append(3, "/r");
    ASSERT_EQ(load(BuildArchive(ManyEntries(25)), true), LoadOutcome::Complete);
    EXPECT_EQ(h.view.gaugeMax, 25);
    EXPECT_EQ(h.view.logged("gauge"),
              (std::vector<std::string>{"gauge 0", "gauge 10", "gauge 20"}));
    EXPECT_TRUE(h.view.logged("progress").empty());
    EXPECT_EQ(h.state.Replacements.Count, 1);
    EXPECT_EQ(h.view.logged("beep").size(), 1u);
}

TEST_F(LoaderTest, StopInNormalModeKeepsTheEntriesReadAndOneRowEach) {
    h.state.Replacements.append(0, "/r");
    h.view.onProcessEvents = [&] {
        EXPECT_TRUE(h.view.stopVisible);
        if (h.view.processEventsCalls == 2)
            StopBtnClick(h.ctx);
    };
    ASSERT_EQ(load(BuildArchive(ManyEntries(25))), LoadOutcome::Stopped);
    // Stopped at the progress point after entry 11: entries 0..11 were read.
    EXPECT_EQ(h.state.Table.EntryCount, 12);
    EXPECT_EQ(h.view.rowCount(), 13);
    EXPECT_EQ(h.view.cell(0, 12), "12");
    EXPECT_FALSE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.Replacements.Count, 0);
    EXPECT_EQ(h.view.status, "File list not complete");
    EXPECT_EQ(h.state.Archive, nullptr);
    EXPECT_FALSE(h.view.stopVisible);
    EXPECT_EQ(h.view.logged("box"),
              (std::vector<std::string>{"box Warning|warning|Incomplete file is not editable"}));
    EXPECT_TRUE(h.view.logged("beep").empty());
}

TEST_F(LoaderTest, StopInScriptModeKeepsThePlanAndAStopForClosingSaysNothing) {
    h.state.Replacements.append(0, "/r");
    h.view.onProcessEvents = [&] { h.state.StopRequested = true; };
    ASSERT_EQ(load(BuildArchive(ManyEntries(25)), true), LoadOutcome::Stopped);
    EXPECT_EQ(h.view.messages, (std::vector<std::string>{"Script execution interrupted by user"}));
    EXPECT_EQ(h.state.Replacements.Count, 1);
    EXPECT_EQ(h.state.Table.EntryCount, 2);
    EXPECT_EQ(h.view.rowCount(), 3);

    h.view.messages.clear();
    h.view.onProcessEvents = [&] { h.state.CloseRequested = h.state.StopRequested = true; };
    ASSERT_EQ(load(BuildArchive(ManyEntries(25))), LoadOutcome::Stopped);
    EXPECT_TRUE(h.view.messages.empty());
}

TEST_F(LoaderTest, MissingFileChangesNothing) {
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    h.view.log.clear();
    EXPECT_EQ(LoadArchive(h.ctx, dir.file("nope.vxa"), false), LoadOutcome::FileMissing);
    EXPECT_EQ(LoadArchive(h.ctx, dir.path(), false), LoadOutcome::FileMissing);  // a folder
    EXPECT_EQ(h.view.log, (std::vector<std::string>{"box Error|error|File doesn't exist !!!",
                                                    "box Error|error|File doesn't exist !!!"}));
    EXPECT_EQ(h.state.InPath, dir.file("a.vxa"));
    EXPECT_EQ(h.state.Table.EntryCount, 3);
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(Bytes(h.state, 0), "ABCD");  // still open
}

// Every way a file can fail to be an archive: the error text, and a window
// left as after a finished load with nothing editable.
TEST_F(LoaderTest, BrokenArchivesFailWithReadBeyondEndAndRestoreTheWindow) {
    const std::string good = BuildArchive({Owned("abcdef"), Owned("gh")});
    std::string pastEnd = good;
    pastEnd[4 * 3 + 4] = 100;  // first record's packed size reaches past the end
    std::string headerPastEnd = U32(12) + U32(200) + U32(12) + "xx";
    const std::vector<std::string> broken{
        "",                            // empty file
        "abc",                         // shorter than one value
        std::string(8 << 20, '\x01'),  // 8 MB, no value equals the size
        pastEnd,
        headerPastEnd,
        U32(0xFFFFFFF0u) + U32(8),  // a huge packed size is not allocated
    };
    for (const std::string& bytes : broken) {
        SCOPED_TRACE(bytes.size());
        Harness fresh;
        fresh.state.ArchiveComplete = true;
        EXPECT_EQ(LoadArchive(fresh.ctx, dir.write("b.vxa", bytes), false), LoadOutcome::Failed);
        EXPECT_EQ(fresh.view.messages, (std::vector<std::string>{"Read beyond end of file"}));
        EXPECT_FALSE(fresh.state.ArchiveComplete);
        EXPECT_EQ(fresh.state.Archive, nullptr);
        EXPECT_FALSE(fresh.view.stopVisible);
        EXPECT_FALSE(fresh.view.busy);
        EXPECT_EQ(fresh.view.status, "");
        EXPECT_FALSE(fresh.state.Loading);
        EXPECT_EQ(fresh.view.rowCount(), fresh.state.Table.EntryCount + 1);
        EXPECT_TRUE(fresh.view.logged("beep").empty());
    }
}

// A record outside the file fails the load when the entry pass reaches its
// entry, however the records are ordered; the rows before it stay, and the
// archive is not kept open.
TEST_F(LoaderTest, ErrorInTheEntryPassKeepsTheRowsRead) {
    const std::vector<TestEntry> three{Owned("aaaa"), Owned("bbbb"), Owned("cccc")};
    // Entry 3's record is cut off by the end of the file.
    std::string cut = BuildArchive(three);
    cut = cut.substr(0, cut.size() - 14) + U32(0) + U32(50) + U16(0) + "cccc";
    // Entry 2's value lies past the end, entry 3's record is first in the file.
    std::string past = BuildArchive(three, {.reverseRecords = true});
    past.replace(4, 4, U32(0x7FFFFF00));
    for (const auto& [bytes, read] : {std::pair{cut, 2}, std::pair{past, 1}}) {
        ASSERT_EQ(load(bytes), LoadOutcome::Failed);
        EXPECT_EQ(h.state.Table.EntryCount, read);
        EXPECT_EQ(h.view.rowCount(), read + 1);
        EXPECT_EQ(h.view.cell(0, read), std::to_string(read));
        EXPECT_EQ(h.state.Archive, nullptr);
    }
}

TEST_F(LoaderTest, BlankEntriesReadNoHeaderSoTinyArchivesLoad) {
    // Two blank entries and the end marker: 12 bytes, no records at all.
    ASSERT_EQ(load(U32(0) + U32(0) + U32(12)), LoadOutcome::Complete);
    EXPECT_EQ(h.state.Table.EntryCount, 2);
    EXPECT_EQ(h.view.cell(4, 2), "0/B");
    // Blank entries in an archive shorter than a header.
    ASSERT_EQ(load(U32(0) + U32(8)), LoadOutcome::Complete);
    EXPECT_EQ(h.state.Table.EntryCount, 1);
    EXPECT_EQ(h.view.logged("progress").back(), "progress Done 100");
}

TEST_F(LoaderTest, ReadOnlyArchiveLoadsAndUnreadableOneIsDenied) {
    const std::string path = dir.write("ro.vxa", kThirtyBytes);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(LoadArchive(h.ctx, path, false), LoadOutcome::Complete);
    if (::geteuid() != 0) {  // root reads everything
        ASSERT_EQ(::chmod(path.c_str(), 0), 0);
        EXPECT_EQ(LoadArchive(h.ctx, path, false), LoadOutcome::Failed);
        EXPECT_EQ(h.view.messages.back(), "File access denied");
    }
}

TEST_F(LoaderTest, OpenButtonPutsThePathInTheEditAfterTheLoad) {
    const std::string path = dir.write("a.vxa", kThirtyBytes);
    h.view.dialogAnswers.push_back(std::nullopt);
    OpenBtnClick(h.ctx);
    EXPECT_EQ(h.view.openEdit, "Open VXA file");
    EXPECT_FALSE(h.state.ArchiveComplete);

    h.view.dialogAnswers.push_back(path);
    OpenBtnClick(h.ctx);
    EXPECT_EQ(h.view.openEdit, path);
    EXPECT_TRUE(h.state.ArchiveComplete);

    // A failed load leaves the edit as it was.
    const std::string bad = dir.write("bad.vxa", "junk");
    h.view.dialogAnswers.push_back(bad);
    OpenBtnClick(h.ctx);
    EXPECT_EQ(h.view.openEdit, path);
}

TEST_F(LoaderTest, ReopenLoadsThePathInTheEditOrDoesNothing) {
    h.view.openEdit = dir.file("missing.vxa");
    ReloadBtnClick(h.ctx);
    EXPECT_TRUE(h.view.log.empty());
    h.view.openEdit = dir.write("a.vxa", kThirtyBytes);
    ReloadBtnClick(h.ctx);
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.view.rowCount(), 4);
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
    ASSERT_EQ(h.state.Table.EntryCount, 6);
    for (int i : {0, 1, 2, 3, 4, 5}) {
        const std::string data = Bytes(h.state, i);
        const char c = "abbcde"[i];
        EXPECT_EQ(data, std::string(c < 'd' ? big : 5, c)) << i;
        EXPECT_EQ(Row(h.view, i + 1)[3], i == 2 ? "0" : std::to_string(data.size())) << i;
    }
    EXPECT_EQ(h.view.cell(4, 3), "1/R:2");
    EXPECT_EQ(Bytes(h.state, 3, big - 2, 10), "cc");
    // Copied from the open archive, as an extraction does.
    AtomicFile out(h.ctx.Fs, dir.file("entry.bin"));
    CopyEntryData(h.state, 2, out.file());
    out.commit();
    EXPECT_EQ(ReadFile(dir.file("entry.bin")), std::string(big, 'b'));
}

// A table longer than one slice of the table pass.
std::vector<TestEntry> LongTable() {
    std::vector<TestEntry> e = ManyEntries(70000);
    for (std::size_t i = 4; i < e.size(); i += 9)
        e[i] = Shared(static_cast<int>(i) - 1);
    return e;
}

TEST_F(LoaderTest, ALongTablePassOffersEventsButKeepsTheProgressPoints) {
    ASSERT_EQ(load(BuildArchive(LongTable())), LoadOutcome::Complete);
    EXPECT_GT(h.view.offerEventsCalls, 0);
    // Progress points after entries 1, 11, ..., 69991, and nowhere else.
    EXPECT_EQ(h.view.processEventsCalls, (70000 - 2) / 10 + 1);
    EXPECT_EQ(h.view.logged("progress").front(), "progress 0/70000 0");
    EXPECT_EQ(h.view.cell(4, 5), "0/R:4");
}

TEST_F(LoaderTest, StopDuringTheTablePassStopsAtTheFirstProgressPoint) {
    h.view.onOfferEvents = [&] { StopBtnClick(h.ctx); };
    h.view.onProcessEvents = [&] { EXPECT_EQ(h.view.processEventsCalls, 1); };
    ASSERT_EQ(load(BuildArchive(LongTable())), LoadOutcome::Stopped);
    EXPECT_EQ(h.state.Table.EntryCount, 2);
    EXPECT_EQ(h.view.rowCount(), 3);
    EXPECT_EQ(h.view.messages, (std::vector<std::string>{"Incomplete file is not editable"}));
}

}  // namespace
}  // namespace vxa::test
