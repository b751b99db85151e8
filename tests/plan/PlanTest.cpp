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

using Column = std::vector<std::string>;

ReplRec Records(std::vector<std::int32_t> indices, const std::string& path) {
    ReplRec r;
    for (const std::int32_t i : indices)
        r.append(i, path);
    return r;
}

// A loaded six-entry archive: entry 0 owns "a", 1 is blank, 2 owns "b", 3 and
// 4 share entry 0's record, 5 owns "c"; the group of entry 0 is {0, 3, 4}.
// The browser lists the folder beside it, with x.wav, y.pal and [sub].
class PlanTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    std::string x = dir.write("x.wav", "X"), y = dir.write("y.pal", "Y");
    const ReplRec& plan = h.state.Replacements;

    void SetUp() override {
        load(BuildArchive({Owned("a"), Blank(), Owned("b"), Shared(0), Shared(0), Owned("c")}));
        std::filesystem::create_directory(dir.file("sub"));
        h.state.BrowserDir = dir.path();
    }
    LoadOutcome load(const std::string& bytes) {
        const LoadOutcome outcome = LoadArchive(h.ctx, dir.write("a.vxa", bytes), false);
        h.view.log.clear();
        return outcome;
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
    // Column `col` of the entry rows 1..6.
    Column column(int col) const {
        Column out;
        for (int row = 1; row <= 6; ++row)
            out.push_back(h.view.cell(col, row));
        return out;
    }
};

TEST_F(PlanTest, ReplaceUnReplaceAndCancelActOnWholeGroups) {
    replace(5, "x.wav");  // entry 4, in entry 0's group
    EXPECT_EQ(plan, Records({0, 3, 4}, x));
    replace(6, "x.wav");
    replace(3, "x.wav");
    replace(3, "y.pal");  // a second record of entry 2: the later one is shown
    EXPECT_EQ(column(5), (Column{x, "------", y, x, x, x}));
    unreplace(3);
    EXPECT_EQ(plan, Records({0, 3, 4, 5}, x));  // the others keep their order
    unreplace(4);                               // entry 3: its whole group goes
    unreplace(3);  // a row without records and a blank row change nothing
    unreplace(2);
    // Only an existing file on an entry row is recorded.
    for (const auto& [row, caption] : std::vector<std::pair<int, std::string>>{
             {1, "[sub]"}, {1, "[..]"}, {1, "gone.wav"}, {2, "x.wav"}, {0, "x.wav"}, {7, "x.wav"}})
        replace(row, caption);
    h.view.browserSelection.reset();
    RplBtnClick(h.ctx);
    EXPECT_EQ(plan, Records({5}, x));
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", x}));
    EXPECT_EQ(h.view.gridUpdates, 6);  // one for each change
    EXPECT_EQ(h.view.log, Column{});

    // Cancel asks; No keeps the plan. Records a script may hold (past the
    // table, negative, a blank entry) have no cell, or get "------" back.
    h.state.Replacements.append(-3, "/s/a");
    h.state.Replacements.append(1, "/s/b");
    h.state.Replacements.append(99, "/s/d");
    h.view.setCell(5, 2, "/s/b");
    const ReplRec before = plan;
    h.view.answers = {MsgAnswer::No, MsgAnswer::Yes};
    CanBtnClick(h.ctx);
    EXPECT_EQ(plan, before);
    CanBtnClick(h.ctx);
    CanBtnClick(h.ctx);  // no plan: no question
    EXPECT_EQ(h.view.log, Column(2, "box Simple question|question|Cancel all changes?"));
    EXPECT_TRUE(plan.Count == 0 && plan.Indices.empty() && plan.Paths.empty());
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", ""}));
    EXPECT_EQ(h.view.rowCount(), 7);
}

TEST_F(PlanTest, NothingIsEditableBeforeALoadDuringOneOrAfterAStoppedOne) {
    const auto tryEverything = [&](Context& c) {
        c.Ui.selectRow(1);
        RplBtnClick(c);
        UnBtnClick(c);
        CanBtnClick(c);
        EXPECT_FALSE(FileListDragOver(c, {DragSource::Kind::BrowserList, ""}, 10, 30));
        FileListDragDrop(c, {DragSource::Kind::LocalFile, x});
    };
    // During a load: edits and marks of the table it is rebuilding.
    h.view.browserSelection = "x.wav";
    h.view.onProcessEvents = [&] {
        tryEverything(h.ctx);
        FileListSelectCell(h.ctx, 1);
    };
    load(BuildArchive(ManyEntries(25)));
    EXPECT_EQ(h.view.cell(0, 1) + h.view.cell(5, 1), "1");
    // After a stopped load marks work, but a script's plan stays as it is.
    std::vector<TestEntry> many = ManyEntries(30);
    many[4] = Shared(2);
    h.view.processEventsCalls = 0;
    h.view.onProcessEvents = [&] { h.state.StopRequested = h.view.processEventsCalls == 2; };
    ASSERT_EQ(load(BuildArchive(many)), LoadOutcome::Stopped);
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(column(0), (Column{"1", "2", "+3", "4", "+5", "6"}));
    h.state.Replacements = Records({0}, x);
    tryEverything(h.ctx);
    EXPECT_EQ(plan, Records({0}, x));
    EXPECT_EQ(h.view.log, Column{});
    // Before any load.
    Harness fresh;
    fresh.state.BrowserDir = dir.path();
    fresh.state.Replacements = Records({0}, x);
    fresh.view.browserSelection = "x.wav";
    tryEverything(fresh.ctx);
    EXPECT_EQ(fresh.state.Replacements, Records({0}, x));
    EXPECT_EQ(fresh.view.log, Column{});
}

TEST_F(PlanTest, SelectingARowMarksItsGroupAndMovingOnMovesTheMarks) {
    const Column group{"+1", "2", "3", "+4", "+5", "6"}, none{"1", "2", "3", "4", "5", "6"};
    for (const auto& [row, marks] :
         std::vector<std::pair<int, Column>>{{4, group},
                                             {3, {"1", "2", "+3", "4", "5", "6"}},
                                             {3, {"1", "2", "+3", "4", "5", "6"}},
                                             {0, none},
                                             {1, group},
                                             {7, none},
                                             {5, group}}) {
        FileListSelectCell(h.ctx, row);
        EXPECT_EQ(column(0), marks) << row;
    }
    // A load wipes the marks; a blank row marks every blank row.
    load(BuildArchive({Blank(), Owned("a"), Blank()}));
    EXPECT_EQ(column(0), (Column{"1", "2", "3", "", "", ""}));
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(column(0), (Column{"+1", "2", "+3", "", "", ""}));
}

// The pointer's y counts from the grid's client top: a 4-pixel border, the
// 18-pixel heading, then 18-pixel rows from the top row in view.
TEST_F(PlanTest, ADragPicksTheRowUnderThePointerAndADropReplacesItsGroup) {
    const DragSource browser{DragSource::Kind::BrowserList, ""};
    h.view.browserSelection = "x.wav";
    struct Case {
        int top, y;
        bool accepted;
        int selected;  // row 3 was selected before
    };
    for (const Case c : {Case{1, -40, false, 3}, Case{1, 21, false, 3}, Case{1, 22, true, 1},
                         Case{1, 39, true, 1}, Case{1, 40, true, 2}, Case{1, 121, true, 6},
                         Case{1, 139, false, 3}, Case{4, 22, true, 4}, Case{4, 67, true, 6},
                         // Over a scrolled grid's heading the row above the view is not picked.
                         Case{4, 21, false, 3}, Case{4, 3, false, 3}}) {
        h.view.top = c.top;
        h.view.selectRow(3);
        EXPECT_EQ(FileListDragOver(h.ctx, browser, 7, c.y), c.accepted) << c.top << " " << c.y;
        EXPECT_EQ(h.view.selectedRow(), c.selected) << c.top << " " << c.y;
    }
    h.view.top = 1;
    ASSERT_TRUE(FileListDragOver(h.ctx, browser, 7, 85));  // row 4, in entry 0's group
    EXPECT_EQ(column(0), (Column{"+1", "2", "3", "+4", "+5", "6"}));
    FileListDragDrop(h.ctx, browser);
    TempDir desk;
    const DragSource file{DragSource::Kind::LocalFile, desk.write("new.smk", "N")};
    EXPECT_TRUE(FileListDragOver(h.ctx, file, 7, 67));  // row 3
    FileListDragDrop(h.ctx, file);
    EXPECT_EQ(column(5), (Column{x, "------", file.path, x, x, ""}));
}

// Refused where the selection still moves, and a drop then records nothing:
// what is no file, a file that went before the drop, a desktop file on a
// blank row; any other kind of drag leaves the selection alone.
TEST_F(PlanTest, WhatIsNoFileIsRefusedAndDropsNothing) {
    TempDir desk;
    const std::string file = desk.write("new.smk", "N");
    const DragSource browser{DragSource::Kind::BrowserList, ""};
    const auto desktop = [](const std::string& path) {
        return DragSource{DragSource::Kind::LocalFile, path};
    };
    for (const DragSource& source :
         {desktop(desk.path()), desktop(desk.file("gone.smk")), desktop(""), browser}) {
        for (const char* caption : {"[sub]", "[..]", "gone.wav"}) {
            h.view.browserSelection = caption;
            h.view.selectRow(1);
            EXPECT_FALSE(FileListDragOver(h.ctx, source, 7, 67)) << source.path << caption;
            EXPECT_EQ(h.view.selectedRow(), 3) << source.path << caption;
            FileListDragDrop(h.ctx, source);
        }
    }
    EXPECT_FALSE(FileListDragOver(h.ctx, desktop(file), 7, 49));  // row 2, blank
    EXPECT_EQ(h.view.selectedRow(), 2);
    FileListDragDrop(h.ctx, desktop(file));
    h.view.browserSelection = "x.wav";
    EXPECT_TRUE(FileListDragOver(h.ctx, browser, 7, 49));  // Replace refuses it then
    FileListDragDrop(h.ctx, browser);
    ASSERT_TRUE(FileListDragOver(h.ctx, browser, 7, 31));
    std::filesystem::remove(x);
    FileListDragDrop(h.ctx, browser);
    const DragSource other{DragSource::Kind::Other, file};
    h.view.selectRow(6);
    EXPECT_FALSE(FileListDragOver(h.ctx, other, 7, 67));
    FileListDragDrop(h.ctx, other);
    EXPECT_EQ(h.view.selectedRow(), 6);
    EXPECT_EQ(column(0), (Column{"+1", "2", "3", "+4", "+5", "6"}));
    EXPECT_EQ(plan, ReplRec{});
    EXPECT_EQ(column(5), (Column{"", "------", "", "", "", ""}));
}

}  // namespace
}  // namespace vxa::test
