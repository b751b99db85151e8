#include "PlanFixture.h"

namespace vxa::test {
namespace {

using PlanTest = PlanFixture;

TEST_F(PlanTest, ReplaceOnAGroupMemberRecordsEveryMemberInAscendingOrder) {
    replace(5, "x.wav");  // entry 4, shares entry 0's record
    EXPECT_EQ(plan(), Records({0, 3, 4}, {x, x, x}));
    EXPECT_EQ(column(5), (std::vector<std::string>{x, "------", "", x, x, ""}));
    EXPECT_EQ(h.view.gridUpdateDepth, 0);
    EXPECT_TRUE(h.view.messages.empty());
}

TEST_F(PlanTest, AnEntryReplacedTwiceKeepsBothRecordsAndShowsTheLater) {
    replace(3, "x.wav");
    replace(3, "y.pal");
    EXPECT_EQ(plan(), Records({2, 2}, {x, y}));
    EXPECT_EQ(h.view.cell(5, 3), y);
}

TEST_F(PlanTest, UnReplaceRemovesEveryRecordOfTheEntryAndKeepsTheOthersInOrder) {
    replace(6, "x.wav");
    replace(3, "x.wav");
    replace(1, "y.pal");
    replace(3, "y.pal");
    replace(6, "y.pal");
    unreplace(3);
    EXPECT_EQ(plan(), Records({5, 0, 3, 4, 5}, {x, y, y, y, y}));
    EXPECT_EQ(column(5), (std::vector<std::string>{y, "------", "", y, y, y}));
}

TEST_F(PlanTest, UnReplaceOnOneMemberClearsTheWholeGroup) {
    replace(3, "x.wav");
    replace(1, "y.pal");
    unreplace(4);  // entry 3
    EXPECT_EQ(plan(), Records({2}, {x}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"", "------", x, "", "", ""}));
}

TEST_F(PlanTest, UnReplaceOnARowWithoutRecordsChangesNothing) {
    replace(1, "x.wav");
    replace(3, "y.pal");
    const ReplRec before = plan();
    unreplace(6);
    unreplace(2);  // blank
    EXPECT_EQ(plan(), before);
    EXPECT_EQ(column(5), (std::vector<std::string>{x, "------", y, x, x, ""}));
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
    EXPECT_EQ(column(5), (std::vector<std::string>{"", "------", "", "", "", ""}));
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
    EXPECT_EQ(column(5), (std::vector<std::string>{x, "------", y, x, x, ""}));

    h.view.answers = {MsgAnswer::Yes};
    CanBtnClick(h.ctx);
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_TRUE(plan().Indices.empty() && plan().Paths.empty());
    EXPECT_EQ(column(5), (std::vector<std::string>{"", "------", "", "", "", ""}));
}

TEST_F(PlanTest, CancelOfAScriptPlanTouchesOnlyCellsOfEntriesThatExist) {
    // Only a script can name entries past the table, negative ones or a
    // blank one; its paths are shown in the cells of the entries that exist.
    h.state.Replacements = Records({-3, 1, 2, 99}, {"/s/a", "/s/b", "/s/c", "/s/d"});
    h.view.setCell(5, 2, "/s/b");
    h.view.setCell(5, 3, "/s/c");
    h.view.answers = {MsgAnswer::Yes};
    CanBtnClick(h.ctx);
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_EQ(column(5), (std::vector<std::string>{"", "------", "", "", "", ""}));
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

TEST_F(PlanTest, NothingIsEditableAfterAStoppedLoad) {
    std::vector<TestEntry> many;
    for (int i = 0; i < 30; ++i)
        many.push_back(Owned("z"));
    h.view.onProcessEvents = [&] { StopBtnClick(h.ctx); };
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("big.vxa", BuildArchive(many)), false),
              LoadOutcome::Stopped);
    h.view.onProcessEvents = nullptr;
    // "Load only" of a script puts its plan back after a stopped load.
    h.state.Replacements = Records({0}, {x});
    h.view.setCell(5, 1, x);
    h.view.log.clear();
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
    std::vector<TestEntry> many(25, Owned("q"));
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("b.vxa", BuildArchive(many)), false),
              LoadOutcome::Complete);
    EXPECT_GT(tries, 0);
    EXPECT_EQ(plan(), ReplRec{});
    for (int row = 1; row <= 25; ++row) {
        EXPECT_EQ(h.view.cell(0, row), std::to_string(row));
        EXPECT_EQ(h.view.cell(5, row), "");
    }
}

}  // namespace
}  // namespace vxa::test
