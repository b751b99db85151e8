#include "CountingView.h"
#include "PlanFixture.h"

namespace vxa::test {
namespace {

using MarksTest = PlanFixture;

TEST_F(MarksTest, SelectingARowMarksItsGroupAndMovingOnMovesTheMarks) {
    FileListSelectCell(h.ctx, 4);
    EXPECT_EQ(column(0), (std::vector<std::string>{"+1", "2", "3", "+4", "+5", "6"}));
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "+3", "4", "5", "6"}));
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "+3", "4", "5", "6"}));
    EXPECT_EQ(h.view.gridUpdateDepth, 0);
}

TEST_F(MarksTest, ABlankRowMarksEveryBlankRow) {
    ASSERT_EQ(
        LoadArchive(h.ctx, dir.write("b.vxa", BuildArchive({Blank(), Owned("a"), Blank()})), false),
        LoadOutcome::Complete);
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(h.view.cell(0, 1), "+1");
    EXPECT_EQ(h.view.cell(0, 2), "2");
    EXPECT_EQ(h.view.cell(0, 3), "+3");
}

TEST_F(MarksTest, MarksAreRefreshedAfterAReloadWipedThem) {
    FileListSelectCell(h.ctx, 1);
    ASSERT_EQ(LoadArchive(h.ctx, dir.file("a.vxa"), false), LoadOutcome::Complete);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    FileListSelectCell(h.ctx, 5);
    EXPECT_EQ(column(0), (std::vector<std::string>{"+1", "2", "3", "+4", "+5", "6"}));
}

TEST_F(MarksTest, ARowOutsideTheTableOnlyClearsTheMarks) {
    FileListSelectCell(h.ctx, 1);
    FileListSelectCell(h.ctx, 0);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    FileListSelectCell(h.ctx, 1);
    FileListSelectCell(h.ctx, 7);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST_F(MarksTest, MarksWorkAfterAStoppedLoad) {
    std::vector<TestEntry> many(30, Owned("z"));
    many[4] = Shared(2);
    int points = 0;
    h.view.onProcessEvents = [&] {
        if (++points == 2)
            StopBtnClick(h.ctx);
    };
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("big.vxa", BuildArchive(many)), false),
              LoadOutcome::Stopped);
    ASSERT_FALSE(h.state.ArchiveComplete);
    ASSERT_GE(h.state.Table.EntryCount, 5);
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(h.view.cell(0, 3), "+3");
    EXPECT_EQ(h.view.cell(0, 4), "4");
    EXPECT_EQ(h.view.cell(0, 5), "+5");
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
    CountingView counting(h.view);
    Context ctx{h.state, counting, h.ctx.Fs};

    FileListSelectCell(ctx, 11);
    EXPECT_EQ(counting.updates, 1);
    EXPECT_EQ(counting.cellReads, 3);
    EXPECT_EQ(counting.cellWrites, 3);
    EXPECT_EQ(h.view.cell(0, 500'001), "+500001");
    EXPECT_EQ(h.view.cell(0, kEntries), "+1000000");

    FileListSelectCell(ctx, 2);
    EXPECT_EQ(counting.updates, 2);
    EXPECT_EQ(counting.cellReads, 3 + 4);
    EXPECT_EQ(counting.cellWrites, 3 + 4);
    EXPECT_EQ(h.view.cell(0, 11), "11");
    EXPECT_EQ(h.view.cell(0, 2), "+2");

    // Replace and UnReplace of the group: one update each, three cells.
    TempDir files;
    h.state.BrowserDir = files.path();
    files.write("r.wav", "R");
    h.view.browserSelection = "r.wav";
    h.view.selectRow(500'001);
    RplBtnClick(ctx);
    EXPECT_EQ(counting.updates, 3);
    EXPECT_EQ(counting.cellWrites, 7 + 3);
    EXPECT_EQ(h.state.Replacements.Indices, (std::vector<std::int32_t>{10, 500'000, kEntries - 1}));
    UnBtnClick(ctx);
    EXPECT_EQ(counting.updates, 4);
    EXPECT_EQ(counting.cellWrites, 10 + 3);
    EXPECT_EQ(h.state.Replacements, ReplRec{});
}

}  // namespace
}  // namespace vxa::test
