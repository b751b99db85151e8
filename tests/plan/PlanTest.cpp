// The replacement plan's operations through the fake view: Replace,
// UnReplace, Cancel changes, the group marks and drag-and-drop.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/Loader.h"
#include "plan/Plan.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

ReplRec Records(std::vector<std::int32_t> indices, std::vector<std::string> paths) {
    ReplRec r;
    r.Count = static_cast<std::int32_t>(indices.size());
    r.Indices = std::move(indices);
    r.Paths.assign(paths.begin(), paths.end());
    return r;
}

using Column = std::vector<std::string>;

// A loaded six-entry archive and a browser folder beside it:
//   entry 0 owns "a", 1 is blank, 2 owns "b", 3 and 4 share entry 0's
//   record, 5 owns "c". The group of entry 0 is therefore {0, 3, 4}.
// The browser lists the folder, which holds x.wav, y.pal and [sub].
class PlanTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    std::string x, y;

    void SetUp() override {
        const std::string archive = dir.write(
            "a.vxa",
            BuildArchive({Owned("a"), Blank(), Owned("b"), Shared(0), Shared(0), Owned("c")}));
        ASSERT_EQ(LoadArchive(h.ctx, archive, false), LoadOutcome::Complete);
        x = dir.write("x.wav", "X");
        y = dir.write("y.pal", "Y");
        std::filesystem::create_directory(dir.file("sub"));
        h.state.BrowserDir = dir.path();
        h.view.log.clear();
    }
    void replace(int row, const std::string& caption) {
        h.view.selectRow(row);
        h.view.browserSelection = caption;
        RplBtnClick(h.ctx);
    }
    void unreplace(int row) {
        h.view.selectRow(row);
        UnBtnClick(h.ctx);
    }
    // One column of the entry rows 1..6.
    Column column(int col) const {
        Column out;
        for (int row = 1; row <= 6; ++row)
            out.push_back(h.view.cell(col, row));
        return out;
    }
    const ReplRec& plan() const { return h.state.Replacements; }
    // A load of 30 entries stopped at its second progress point, after 12
    // entries; entry 4 shares entry 2's record.
    void stoppedLoad() {
        std::vector<TestEntry> many = ManyEntries(30);
        many[4] = Shared(2);
        int points = 0;
        h.view.onProcessEvents = [&] {
            if (++points == 2)
                StopBtnClick(h.ctx);
        };
        ASSERT_EQ(LoadArchive(h.ctx, dir.write("big.vxa", BuildArchive(many)), false),
                  LoadOutcome::Stopped);
        h.view.onProcessEvents = nullptr;
        h.view.log.clear();
    }
};

TEST_F(PlanTest, ReplaceOnAGroupMemberRecordsEveryMemberInAscendingOrder) {
    replace(5, "x.wav");  // entry 4, shares entry 0's record
    EXPECT_EQ(plan(), Records({0, 3, 4}, {x, x, x}));
    EXPECT_EQ(column(5), (Column{x, "------", "", x, x, ""}));
    EXPECT_EQ(h.view.gridUpdateDepth, 0);
    EXPECT_TRUE(h.view.log.empty());
}

TEST_F(PlanTest, UnReplaceRemovesEveryRecordOfTheGroupAndKeepsTheOthersInOrder) {
    replace(6, "x.wav");
    replace(3, "x.wav");
    replace(1, "y.pal");
    replace(3, "y.pal");  // a second record of entry 2: the later one is shown
    EXPECT_EQ(h.view.cell(5, 3), y);
    unreplace(3);
    EXPECT_EQ(plan(), Records({5, 0, 3, 4}, {x, y, y, y}));
    unreplace(4);  // entry 3: its whole group goes
    EXPECT_EQ(plan(), Records({5}, {x}));
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", x}));
    // A row without records and a blank row change nothing.
    unreplace(3);
    unreplace(2);
    EXPECT_EQ(plan(), Records({5}, {x}));
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", x}));
}

TEST_F(PlanTest, ReplaceIsRefusedForEverythingButAnExistingFileOnAnEntryRow) {
    replace(1, "[sub]");
    replace(1, "[..]");
    replace(1, "gone.wav");
    h.view.browserSelection.reset();
    RplBtnClick(h.ctx);
    replace(2, "x.wav");  // blank row
    replace(0, "x.wav");  // heading
    replace(7, "x.wav");  // past the last entry
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", ""}));
    EXPECT_TRUE(h.view.log.empty());
}

TEST_F(PlanTest, CancelAsksOnlyWhenThereIsAPlan) {
    CanBtnClick(h.ctx);
    EXPECT_TRUE(h.view.log.empty());

    replace(1, "x.wav");
    replace(3, "y.pal");
    const ReplRec before = plan();
    h.view.answers = {MsgAnswer::No};
    CanBtnClick(h.ctx);
    EXPECT_EQ(h.view.log,
              (std::vector<std::string>{"box Simple question|question|Cancel all changes?"}));
    EXPECT_EQ(plan(), before);
    EXPECT_EQ(column(5), (Column{x, "------", y, x, x, ""}));

    h.view.answers = {MsgAnswer::Yes};
    CanBtnClick(h.ctx);
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_TRUE(plan().Indices.empty() && plan().Paths.empty());
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", ""}));

    // Only a script can name entries past the table, negative ones or a
    // blank one; Cancel clears the cells of the entries that exist.
    h.state.Replacements = Records({-3, 1, 2, 99}, {"/s/a", "/s/b", "/s/c", "/s/d"});
    h.view.setCell(5, 2, "/s/b");
    h.view.setCell(5, 3, "/s/c");
    h.view.answers = {MsgAnswer::Yes};
    CanBtnClick(h.ctx);
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", ""}));
    EXPECT_EQ(h.view.rowCount(), 7);
}

TEST(PlanRefusals, NothingIsEditableBeforeALoad) {
    Harness h;
    TempDir dir;
    dir.write("x.wav", "X");
    h.state.BrowserDir = dir.path();
    h.view.browserSelection = "x.wav";
    h.state.Replacements = Records({0}, {"/s/a"});  // a script's plan
    RplBtnClick(h.ctx);
    UnBtnClick(h.ctx);
    CanBtnClick(h.ctx);
    const DragSource drag{DragSource::Kind::BrowserList, ""};
    EXPECT_FALSE(FileListDragOver(h.ctx, drag, 10, 30));
    FileListDragDrop(h.ctx, drag);
    EXPECT_EQ(h.state.Replacements, Records({0}, {"/s/a"}));
    EXPECT_TRUE(h.view.log.empty());
    EXPECT_EQ(h.view.selectedRow(), 1);
}

TEST_F(PlanTest, AfterAStoppedLoadMarksWorkButNothingIsEditable) {
    stoppedLoad();
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(column(0), (Column{"1", "2", "+3", "4", "+5", "6"}));
    // "Load only" of a script puts its plan back after a stopped load.
    h.state.Replacements = Records({0}, {x});
    h.view.setCell(5, 1, x);
    replace(1, "y.pal");
    unreplace(1);
    h.view.answers = {MsgAnswer::Yes};
    CanBtnClick(h.ctx);
    EXPECT_EQ(plan(), Records({0}, {x}));
    EXPECT_EQ(h.view.cell(5, 1), x);
    EXPECT_TRUE(h.view.log.empty());
}

TEST_F(PlanTest, ALoadInProgressBlocksEditsOfTheTableItIsRebuilding) {
    int tries = 0;
    h.view.onProcessEvents = [&] {
        ++tries;
        replace(1, "x.wav");
        FileListSelectCell(h.ctx, 1);
        EXPECT_FALSE(FileListDragOver(h.ctx, {DragSource::Kind::BrowserList, ""}, 0, 30));
    };
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("b.vxa", BuildArchive(ManyEntries(25))), false),
              LoadOutcome::Complete);
    EXPECT_GT(tries, 0);
    EXPECT_EQ(plan(), ReplRec{});
    for (int row = 1; row <= 25; ++row) {
        EXPECT_EQ(h.view.cell(0, row), std::to_string(row));
        EXPECT_EQ(h.view.cell(5, row), "");
    }
}

TEST_F(PlanTest, SelectingARowMarksItsGroupAndMovingOnMovesTheMarks) {
    FileListSelectCell(h.ctx, 4);
    EXPECT_EQ(column(0), (Column{"+1", "2", "3", "+4", "+5", "6"}));
    FileListSelectCell(h.ctx, 3);
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(column(0), (Column{"1", "2", "+3", "4", "5", "6"}));
    EXPECT_EQ(h.view.gridUpdateDepth, 0);
    // A row outside the table only clears the marks.
    FileListSelectCell(h.ctx, 0);
    EXPECT_EQ(column(0), (Column{"1", "2", "3", "4", "5", "6"}));
    FileListSelectCell(h.ctx, 1);
    FileListSelectCell(h.ctx, 7);
    EXPECT_EQ(column(0), (Column{"1", "2", "3", "4", "5", "6"}));
    // A reload wipes the marks; the next selection marks again.
    FileListSelectCell(h.ctx, 1);
    ASSERT_EQ(LoadArchive(h.ctx, dir.file("a.vxa"), false), LoadOutcome::Complete);
    EXPECT_EQ(column(0), (Column{"1", "2", "3", "4", "5", "6"}));
    FileListSelectCell(h.ctx, 5);
    EXPECT_EQ(column(0), (Column{"+1", "2", "3", "+4", "+5", "6"}));
    // A blank row marks every blank row.
    ASSERT_EQ(
        LoadArchive(h.ctx, dir.write("b.vxa", BuildArchive({Blank(), Owned("a"), Blank()})), false),
        LoadOutcome::Complete);
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(column(0), (Column{"+1", "2", "+3", "", "", ""}));
}

// A million entries, one group of three: a selection reads and writes only
// the rows whose marks change, inside one grid update.
TEST(MarksOnABigArchive, OnlyTheRowsOfTheGroupsAreTouched) {
    constexpr int kEntries = 1'000'000;
    std::vector<TestEntry> entries(kEntries, Owned(""));
    entries[500'000] = Shared(10);
    entries[kEntries - 1] = Shared(10);
    TempDir dir;
    Harness h;
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("big.vxa", BuildArchive(entries)), false),
              LoadOutcome::Complete);
    FakeView& v = h.view;
    // Updates, cell reads and cell writes since the last call.
    const auto traffic = [&v] {
        const std::vector<int> counts{v.gridUpdates, v.cellReads, v.cellWrites};
        v.gridUpdates = v.cellReads = v.cellWrites = 0;
        return counts;
    };
    traffic();

    FileListSelectCell(h.ctx, 11);
    EXPECT_EQ(traffic(), (std::vector<int>{1, 3, 3}));
    EXPECT_EQ(v.cell(0, 500'001), "+500001");
    EXPECT_EQ(v.cell(0, kEntries), "+1000000");
    traffic();
    FileListSelectCell(h.ctx, 2);
    EXPECT_EQ(traffic(), (std::vector<int>{1, 4, 4}));
    EXPECT_EQ(v.cell(0, 11), "11");
    EXPECT_EQ(v.cell(0, 2), "+2");

    // Replace and UnReplace of the group: one update each, three cells.
    TempDir files;
    h.state.BrowserDir = files.path();
    files.write("r.wav", "R");
    v.browserSelection = "r.wav";
    v.selectRow(500'001);
    traffic();
    RplBtnClick(h.ctx);
    EXPECT_EQ(traffic(), (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(h.state.Replacements.Indices, (std::vector<std::int32_t>{10, 500'000, kEntries - 1}));
    UnBtnClick(h.ctx);
    EXPECT_EQ(traffic(), (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(h.state.Replacements, ReplRec{});
}

// Drag-over and drop on the grid. The pointer's y counts from the grid's
// client top: a 4-pixel border, the 18-pixel heading, then 18-pixel rows.
class DragTest : public PlanTest {
  protected:
    const DragSource browser{DragSource::Kind::BrowserList, ""};
    bool over(const DragSource& source, int y) { return FileListDragOver(h.ctx, source, 7, y); }
    static DragSource desktop(const std::string& path) {
        return {DragSource::Kind::LocalFile, path};
    }
    // y over the middle of grid row r when the grid shows row 1 at the top.
    static int yOfRow(int r) { return 4 + 18 * r + 9; }
};

TEST_F(DragTest, ThePointerPicksTheRowUnderItCountedFromTheTopRow) {
    h.view.browserSelection = "x.wav";
    struct Case {
        int topRow, y;
        bool accepted;
        int selected;  // row 3 was selected before
    };
    for (const Case c : {Case{1, -40, false, 3}, Case{1, 0, false, 3}, Case{1, 21, false, 3},
                         Case{1, 22, true, 1}, Case{1, 39, true, 1}, Case{1, 40, true, 2},
                         Case{1, yOfRow(6), true, 6}, Case{1, yOfRow(7), false, 3},
                         Case{1, 400, false, 3}, Case{4, 22, true, 4}, Case{4, yOfRow(3), true, 6},
                         // Over a scrolled grid's heading the row above the view is not picked.
                         Case{4, 21, false, 3}, Case{4, 3, false, 3}}) {
        SCOPED_TRACE("top row " + std::to_string(c.topRow) + ", y " + std::to_string(c.y));
        h.view.setTopRow(c.topRow);
        h.view.selectRow(3);
        EXPECT_EQ(over(browser, c.y), c.accepted);
        EXPECT_EQ(h.view.selectedRow(), c.selected);
    }
    // The picked row's group is marked.
    h.view.setTopRow(1);
    ASSERT_TRUE(over(browser, 22));
    EXPECT_EQ(column(0), (Column{"+1", "2", "3", "+4", "+5", "6"}));
}

TEST_F(DragTest, AFileDroppedOnASharedRowReplacesTheWholeGroup) {
    h.view.browserSelection = "y.pal";
    ASSERT_TRUE(over(browser, yOfRow(4)));
    FileListDragDrop(h.ctx, browser);
    EXPECT_EQ(plan(), Records({0, 3, 4}, {y, y, y}));
    EXPECT_EQ(column(5), (Column{y, "------", "", y, y, ""}));

    TempDir desk;
    const std::string file = desk.write("new.smk", "N");
    EXPECT_TRUE(over(desktop(file), yOfRow(3)));
    FileListDragDrop(h.ctx, desktop(file));
    EXPECT_EQ(plan(), Records({0, 3, 4, 2}, {y, y, y, file}));
}

TEST_F(DragTest, WhatIsNoFileIsRefusedWhereTheSelectionMovesAndDropsNothing) {
    TempDir desk;
    const DragSource refused[] = {desktop(desk.path()), desktop(desk.file("gone.smk")), desktop(""),
                                  browser};
    for (const DragSource& source : refused) {
        for (const char* caption : {"[sub]", "[..]", "gone.wav"}) {
            h.view.browserSelection = caption;
            h.view.selectRow(1);
            EXPECT_FALSE(over(source, yOfRow(3))) << source.path << caption;
            EXPECT_EQ(h.view.selectedRow(), 3) << source.path << caption;
            FileListDragDrop(h.ctx, source);
        }
    }
    h.view.browserSelection.reset();
    EXPECT_FALSE(over(browser, yOfRow(4)));
    FileListDragDrop(h.ctx, browser);
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", ""}));
}

TEST_F(DragTest, OnABlankRowADesktopFileIsRefusedAndABrowserFileRecordsNothing) {
    TempDir desk;
    const std::string file = desk.write("new.smk", "N");
    EXPECT_FALSE(over(desktop(file), yOfRow(2)));
    EXPECT_EQ(h.view.selectedRow(), 2);
    FileListDragDrop(h.ctx, desktop(file));
    h.view.browserSelection = "x.wav";
    EXPECT_TRUE(over(browser, yOfRow(2)));
    FileListDragDrop(h.ctx, browser);
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_EQ(h.view.cell(5, 2), "------");
}

TEST_F(DragTest, AFileThatWentBeforeTheDropIsNotRecorded) {
    h.view.browserSelection = "x.wav";
    ASSERT_TRUE(over(browser, yOfRow(1)));
    std::filesystem::remove(x);
    FileListDragDrop(h.ctx, browser);
    EXPECT_EQ(plan(), ReplRec{});
}

TEST_F(DragTest, OtherDragsAndAStoppedLoadLeaveTheSelectionAlone) {
    const DragSource other{DragSource::Kind::Other, x};
    h.view.selectRow(3);
    FileListSelectCell(h.ctx, 3);
    EXPECT_FALSE(over(other, yOfRow(1)));
    FileListDragDrop(h.ctx, other);
    EXPECT_EQ(h.view.selectedRow(), 3);
    EXPECT_EQ(column(0), (Column{"1", "2", "+3", "4", "5", "6"}));

    stoppedLoad();
    h.view.selectRow(2);
    EXPECT_FALSE(over(desktop(x), yOfRow(1)));
    FileListDragDrop(h.ctx, desktop(x));
    EXPECT_EQ(h.view.selectedRow(), 2);
    EXPECT_EQ(plan(), ReplRec{});
}

}  // namespace
}  // namespace vxa::test
