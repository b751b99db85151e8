#include <algorithm>
#include <cstring>

#include "core/ArchiveReader.h"
#include "core/EntryBytes.h"
#include "core/TwoThreads.h"
#include "core/WidestCells.h"
#include "support/Suite.h"

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

class LoaderTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    LoadOutcome load(const std::string& bytes, Harness& in) {
        in.view.log.clear();
        return LoadInWindow(in.ctx, dir.write("a.vxa", bytes), false);
    }
    LoadOutcome load(const std::string& bytes) { return load(bytes, h); }
};

TEST_F(LoaderTest, ThirtyByteExampleWhatIsNoArchiveAndArchivesOfNoRecords) {
    h.state.Grid.Count = 5;
    h.state.Grid.Texts.assign(5, {});
    h.state.Grid.Texts[1][0] = "+1";
    h.state.Grid.Texts[3][5] = "/r";
    h.state.Replacements.append(0, "/r");
    h.view.onProcessEvents = [&] {
        EXPECT_EQ(h.describe() + (h.view.stopVisible ? ", Stop" : ""),
                  "3 entries, 4 rows, loading, plan 1, Reading file..., Stop");
    };
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    h.view.onProcessEvents = nullptr;
    EXPECT_EQ(h.state.Table.Links, (std::vector<std::int32_t>{0, -1, 1, 0}));
    // Two groups whose later members come in the other order, records in
    // order and reversed: each member links to the first of its value.
    for (const bool reverse : {false, true}) {
        const auto e = {Owned("a"), Owned("bb"), Shared(1), Shared(0), Blank(), Shared(0)};
        ASSERT_EQ(load(BuildArchive(e, {.reverseRecords = reverse})), LoadOutcome::Complete);
        EXPECT_EQ(h.state.Table.Links, (std::vector<std::int32_t>{0, 0, 2, 1, -1, 1, 0}));
    }
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    EXPECT_EQ(h.view.row(1) + " " + h.view.row(2) + " " + h.view.row(3),
              "1|16|4|4|0/N| 2|BLANK|0|0|0/B|------ 3|16|0|0|0/R:1|");
    // The texts that may be widest in each column, from the table's maxima.
    auto widest = WidestEntryTexts(h.state.Table);
    EXPECT_EQ(std::pair(widest[1], widest[4]),
              std::pair(Lines{"16", "BLANK"}, Lines{"0/N", "0/B", "0/R:1"}));
    // Entry 3 reads the record it shares; a blank entry and one past the table have nothing.
    EXPECT_EQ(Bytes(h.state, 0) + Bytes(h.state, 1) + Bytes(h.state, 2) + Bytes(h.state, 3) +
                  Bytes(h.state, 0, 1, 2) + Bytes(h.state, 2, 4) + Bytes(h.state, -1),
              "ABCDABCDBC");
    // The cursor is busy while the table is read; entry index 1 is a progress point.
    EXPECT_EQ(h.view.log, (Lines{"busy", "idle", "progress 0/3 0", "progress Done 100", "beep"}));
    // No file there, or a folder: a box, and the archive loaded stays.
    h.view.log.clear();
    EXPECT_EQ(LoadInWindow(h.ctx, dir.file("nope.vxa"), false), LoadOutcome::FileMissing);
    EXPECT_EQ(LoadInWindow(h.ctx, dir.path(), false), LoadOutcome::FileMissing);  // a folder
    EXPECT_EQ(h.view.log, Lines(2, "box Error|error|File doesn't exist !!!"));
    EXPECT_EQ(h.state.InPath + " " + h.describe() + " " + Bytes(h.state, 0),
              dir.file("a.vxa") + " 3 entries, 4 rows, complete, open, plan 0 ABCD");
    // Blank entries read no header, so tables without records load.
    ASSERT_EQ(load(U32(0) + U32(0) + U32(12)), LoadOutcome::Complete);
    EXPECT_EQ(WidestEntryTexts(h.state.Table)[4], Lines{"0/B"});
    ASSERT_EQ(load(U32(0) + U32(8)), LoadOutcome::Complete);  // shorter than a header
    ASSERT_EQ(load(BuildArchive({Owned("x"), Owned("", 5, 9)})), LoadOutcome::Complete);
    EXPECT_EQ(h.view.row(2), "2|23|9|0|5/N|");  // a record of no bytes that ends the file
    widest = WidestEntryTexts(h.state.Table);
    // Each column's maximum from any entry: sizes from the second, packed from the first.
    EXPECT_EQ(std::vector(widest.begin() + 1, widest.end()),
              (std::vector<Lines>{{"23"}, {"9"}, {"1"}, {"5/N"}}));
    // A running program may be read, but not opened for writing, even by root.
    EXPECT_EQ(LoadInWindow(h.ctx, RunningProgram(), false), LoadOutcome::Failed);
    EXPECT_EQ(h.view.messages.back(), "Read beyond end of file.");
    ASSERT_EQ(load(U32(4)), LoadOutcome::Complete);  // only the heading row
    EXPECT_EQ(h.describe(), "0 entries, 1 rows, complete, open, plan 0");
    // The largest size a table can name, and a byte more, which no table can.
    const std::string big = dir.write("big.vxa", U32(0x7FFFFFFF));
    for (const std::uintmax_t size : {0x7FFFFFFFu, 0x80000000u}) {
        std::filesystem::resize_file(big, size);
        EXPECT_EQ(LoadInWindow(h.ctx, big, false),
                  size == 0x7FFFFFFF ? LoadOutcome::Complete : LoadOutcome::Failed);
    }
}

// Open... puts the chosen path in the path bar after a load, not after one
// that failed or could not open the file.
TEST_F(LoaderTest, OpenShowsThePathOnlyAfterALoad) {
    const std::string good = dir.write("good.vxa", kThirtyBytes), junk = dir.write("junk.vxa", "j");
    TestFileSystem faulty;
    faulty.failStep(1, kDeniedError);
    Context fc{h.state, h.view, faulty};
    for (const auto& [c, path, shown] : {std::tuple{&fc, good, std::string("before")},
                                         {&h.ctx, junk, std::string("before")},
                                         {&h.ctx, good, good}}) {
        h.view.openEdit = "before";
        h.view.dialogAnswers = {path};
        OpenBtnClick(*c);
        EXPECT_EQ(h.view.openEdit, shown) << path;
    }
}

// 80 entries: progress points after entries 1, 11, ..., 71, in the status
// bar (whole percentages, halves to even) or in script mode on the gauge; a
// Stop at the second keeps 12 entries, and says why.
TEST_F(LoaderTest, ProgressPointsShowProgressAndTakeAStop) {
    const Lines bar{"progress 0/80 0",   "progress 10/80 12", "progress 20/80 25",
                    "progress 30/80 38", "progress 40/80 50", "progress 50/80 62",
                    "progress 60/80 75", "progress 70/80 88", "progress Done 100"};
    const Lines gauge{"gauge 0",  "gauge 10", "gauge 20", "gauge 30",
                      "gauge 40", "gauge 50", "gauge 60", "gauge 70"};
    const Lines shown[] = {
        bar,
        gauge,
        {bar[0], bar[1], "box Warning|warning|Incomplete file is not editable"},
        {gauge[0], gauge[1], "box Warning|warning|Script execution interrupted by user"}};
    for (int k = 0; k < 4; ++k) {
        const bool scriptMode = k % 2 == 1, stop = k >= 2;
        Harness s;
        s.state.Replacements.append(3, "/r");
        s.view.onProcessEvents = [&] {
            s.state.StopRequested = stop && s.view.processEventsCalls == 2;
        };
        EXPECT_EQ(
            LoadInWindow(s.ctx, dir.write("m.vxa", BuildArchive(ManyEntries(80))), scriptMode),
            stop ? LoadOutcome::Stopped : LoadOutcome::Complete);
        Lines lines;
        std::copy_if(
            s.view.log.begin(), s.view.log.end(), std::back_inserter(lines),
            [](const std::string& l) { return l[0] == 'p' || l[0] == 'g' || l.starts_with("bo"); });
        EXPECT_EQ(lines, shown[k]);
        EXPECT_EQ(
            s.describe() + (s.view.logged("beep").empty() ? "" : ", beep"),
            std::string(stop ? "12 entries, 13 rows" : "80 entries, 81 rows, complete, open") +
                (scriptMode ? ", plan 1" : ", plan 0") +
                (stop ? ", File list not complete" : ", beep"));
        EXPECT_EQ(s.view.cell(0, stop ? 12 : 80), stop ? "12" : "80");
        EXPECT_EQ(s.view.gaugeMax, scriptMode ? 80 : 100);
        EXPECT_EQ(s.view.offerEventsCalls, 0);  // a short table pass offers nothing
    }
}

// A file that is no archive fails with "Read beyond end of file" and keeps
// the rows of the entries read before the failing one, nothing editable.
TEST_F(LoaderTest, BrokenArchivesKeepTheEntriesBeforeTheFailingOne) {
    const std::vector<TestEntry> three{Owned("aaaa"), Owned("bbbb"), Owned("cccc")};
    std::string cut = BuildArchive(three), past = BuildArchive(three, {.reverseRecords = true});
    std::string first = cut;
    cut.replace(cut.size() - 10, 4, U32(50));  // entry 3's record runs past the end
    past.replace(4, 4, U32(0x7FFFFF00));       // entry 2 lies past the end
    first.replace(20, 4, U32(100));            // the first record's size reaches past the end
    for (const auto& [bytes, read] : std::vector<std::pair<std::string, int>>{
             {"abc", 0},                         // shorter than one value
             {std::string(8 << 20, '\x01'), 0},  // 8 MB, no value equals the size
             {first, 0},
             {U32(12) + U32(200) + U32(12) + "xx", 0},  // a header past the end
             {U32(0xFFFFFFF0u) + U32(8), 0},            // a huge size is not allocated
             {past, 1},
             {cut, 2}}) {
        Harness s;
        s.state.ArchiveComplete = true;
        EXPECT_EQ(load(bytes, s), LoadOutcome::Failed);
        EXPECT_EQ(s.view.log.back(), GeneralError(kReadBeyondEnd));
        EXPECT_EQ(s.describe(),
                  std::to_string(read) + " entries, " + std::to_string(read + 1) + " rows, plan 0");
        EXPECT_EQ(s.view.cell(0, read), read ? std::to_string(read) : "");
    }
    // Opening fails: the archive loaded before stays loaded, plan and all.
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    h.state.Replacements.append(0, "r.bin");
    TestFileSystem faulty;
    faulty.failStep(1, kDeniedError);
    Context fc{h.state, h.view, faulty};
    EXPECT_EQ(LoadInWindow(fc, dir.write("b.vxa", "b"), false), LoadOutcome::NotOpened);
    EXPECT_EQ(h.view.log.back() + ", " + h.describe() + ", " + h.state.InPath,
              GeneralError(kAccessDenied) + ", 3 entries, 4 rows, complete, open, plan 1, " +
                  dir.file("a.vxa"));
    // Opened, but its size unknown: the table is not touched yet, so no rows go.
    faulty.reset();
    faulty.failStep(2, kDeviceError);
    EXPECT_EQ(LoadInWindow(fc, dir.file("b.vxa"), false), LoadOutcome::Failed);
    EXPECT_EQ(
        h.view.log.back() + ", " + h.describe(),
        GeneralError("I/O error " + std::to_string(kDeviceError)) + ", 3 entries, 4 rows, plan 1");
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

// With many entries a second thread links them and then helps to read the
// headers: each lands at its own entry in either order of the records, and a
// read failing anywhere among the records fails the load.
TEST_F(LoaderTest, HeadersOfManyRecordsLandAtTheirEntriesAndAFailureAnywhereTells) {
    // Either thread's failure reaches the caller once both have ended.
    for (const bool besideFails : {false, true}) {
        bool hereEnded = false;
        const auto beside = [&] {
            if (besideFails)
                throw IoError("beside");
        };
        const auto here = [&] {
            if (!besideFails)
                throw IoError("here");
            hereEnded = true;
        };
        EXPECT_EQ(Failure([&] { RunBeside(beside, here); }), besideFails ? ": beside" : ": here");
        EXPECT_EQ(hereEnded, besideFails);
    }
    std::vector<TestEntry> e;
    std::vector<std::uint32_t> orig, packed;
    std::vector<std::uint16_t> types;
    std::vector<std::int32_t> links;
    int owner = -1;
    for (int i = 0; i < 40000; ++i) {
        const bool blank = i % 13 == 12, shared = !blank && i % 9 == 8;
        const auto type = static_cast<std::uint16_t>(blank || shared ? 0 : i % 5);
        if (blank)
            e.push_back(Blank());
        else if (shared)
            e.push_back(Shared(owner));
        else
            e.push_back(Owned(std::string(static_cast<std::size_t>(i % 3), 'x'), type, 3 * i + 1));
        const bool owns = !blank && !shared;
        orig.push_back(owns ? static_cast<std::uint32_t>(3 * i + 1) : 0);
        packed.push_back(owns ? static_cast<std::uint32_t>(i % 3) : 0);
        types.push_back(shared ? static_cast<std::uint16_t>(owner % 5) : type);
        links.push_back(blank ? -1 : shared ? owner + 1 : 0);
        owner = owns ? i : owner;
    }
    for (const bool reverse : {false, true}) {
        SCOPED_TRACE(reverse ? "records last entry first" : "records in entry order");
        const std::string bytes = BuildArchive(e, {.reverseRecords = reverse});
        ASSERT_EQ(load(bytes), LoadOutcome::Complete);
        const EntryTable& t = h.state.Table;
        EXPECT_TRUE(t.OrigSizes == orig && t.PackedSizes == packed && t.CompTypes == types &&
                    std::equal(links.begin(), links.end(), t.Links.begin()));
        const std::size_t table = 4 * (e.size() + 1), records = bytes.size() - table;
        for (const std::size_t bad : {table + records / 4, table + records * 3 / 4}) {
            Harness s;
            TestFileSystem faulty;
            faulty.failReadsFrom(bad, kDeviceError);
            Context fc{s.state, s.view, faulty};
            EXPECT_EQ(LoadInWindow(fc, dir.file("a.vxa"), false), LoadOutcome::Failed);
            EXPECT_EQ(s.view.log.back(), GeneralError("I/O error " + std::to_string(kDeviceError)));
        }
    }
}

// Past one slice of the table pass (65,536 values) events are offered
// between slices; a Stop then ends the load at the first progress point.
TEST_F(LoaderTest, ALongTablePassOffersEventsAndAStopThenEndsAtTheFirstProgressPoint) {
    ASSERT_EQ(load(kThirtyBytes), LoadOutcome::Complete);
    h.view.processEventsCalls = 0;
    // Until its arrays are made the new load's rows show nothing, not the last load's.
    h.view.onOfferEvents = [&] {
        if (h.state.Table.CompTypes.empty()) {
            EXPECT_EQ(h.view.row(1), "|||||");
        }
    };
    std::vector<TestEntry> e = ManyEntries(70000);
    for (std::size_t i = 4; i < e.size(); i += 9)
        e[i] = Shared(static_cast<int>(i) - 1);
    ASSERT_EQ(load(BuildArchive(e, {.reverseRecords = true})), LoadOutcome::Complete);
    EXPECT_GT(h.view.offerEventsCalls, 0);
    EXPECT_EQ(h.view.processEventsCalls, (70000 - 2) / 10 + 1);
    EXPECT_EQ(h.view.cell(4, 5), "0/R:4");
    Harness s;
    s.view.onOfferEvents = [&] { StopBtnClick(s.ctx); };
    ASSERT_EQ(LoadInWindow(s.ctx, dir.file("a.vxa"), false), LoadOutcome::Stopped);
    EXPECT_EQ(std::pair(s.view.processEventsCalls, s.state.Table.EntryCount), std::pair(1, 2));
    // Searching a table longer than a read block for its end offers events
    // before the next block is read.
    TestFileSystem counted;
    Context cc{s.state, s.view, counted};
    long readsAtFirstOffer = -1;
    s.view.onOfferEvents = [&] {
        if (readsAtFirstOffer < 0)
            readsAtFirstOffer = std::ranges::count(counted.trace(), std::string("read"));
    };
    const std::string blanks = std::string(4 * 300000, '\0') + U32(4 * 300001);
    ASSERT_EQ(LoadInWindow(cc, dir.write("b.vxa", blanks), false), LoadOutcome::Complete);
    EXPECT_EQ(readsAtFirstOffer, 1);
    // Below a slice no events are offered, however many headers.
    h.view.offerEventsCalls = 0;
    ASSERT_EQ(load(BuildArchive(ManyEntries(30000))), LoadOutcome::Complete);
    EXPECT_EQ(h.view.offerEventsCalls, 0);
}

}  // namespace
}  // namespace vxa::test
