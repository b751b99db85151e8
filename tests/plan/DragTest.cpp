#include "PlanFixture.h"

namespace vxa::test {
namespace {

// y of the pointer over the middle of grid row r (0 = heading) when the
// grid shows its first row at the top.
int YOfRow(int r) {
    return 4 + 18 * r + 9;
}

class DragTest : public PlanFixture {
  protected:
    const DragSource browser{DragSource::Kind::BrowserList, ""};
    bool over(const DragSource& source, int y) { return FileListDragOver(h.ctx, source, 7, y); }
    static DragSource desktop(const std::string& path) {
        return {DragSource::Kind::LocalFile, path};
    }
};

TEST_F(DragTest, TheFirstRowStartsAtY22WithTheGridAtTheTop) {
    h.view.browserSelection = "x.wav";
    h.view.selectRow(3);
    EXPECT_FALSE(over(browser, 21));
    EXPECT_EQ(h.view.selectedRow(), 3);
    EXPECT_FALSE(over(browser, 0));
    EXPECT_FALSE(over(browser, -40));
    EXPECT_EQ(h.view.selectedRow(), 3);

    EXPECT_TRUE(over(browser, 22));
    EXPECT_EQ(h.view.selectedRow(), 1);
    EXPECT_EQ(column(0), (std::vector<std::string>{"+1", "2", "3", "+4", "+5", "6"}));
    EXPECT_TRUE(over(browser, 39));
    EXPECT_EQ(h.view.selectedRow(), 1);
    EXPECT_TRUE(over(browser, 40));
    EXPECT_EQ(h.view.selectedRow(), 2);
}

TEST_F(DragTest, AScrolledGridCountsFromItsTopRow) {
    h.view.browserSelection = "x.wav";
    h.view.setTopRow(4);
    EXPECT_TRUE(over(browser, 22));
    EXPECT_EQ(h.view.selectedRow(), 4);
    EXPECT_TRUE(over(browser, YOfRow(3)));
    EXPECT_EQ(h.view.selectedRow(), 6);
    // Over the heading the row just above the view must not be picked.
    h.view.selectRow(5);
    EXPECT_FALSE(over(browser, 21));
    EXPECT_FALSE(over(browser, 3));
    EXPECT_EQ(h.view.selectedRow(), 5);
}

TEST_F(DragTest, BelowTheLastRowTheDropIsRefused) {
    h.view.browserSelection = "x.wav";
    h.view.selectRow(2);
    EXPECT_TRUE(over(browser, YOfRow(6)));
    EXPECT_FALSE(over(browser, YOfRow(7)));
    EXPECT_FALSE(over(browser, 400));
    EXPECT_EQ(h.view.selectedRow(), 6);
}

TEST_F(DragTest, ADirectoryMovesTheSelectionButIsRefused) {
    for (const char* caption : {"[sub]", "[..]", "gone.wav"}) {
        h.view.browserSelection = caption;
        h.view.selectRow(1);
        EXPECT_FALSE(over(browser, YOfRow(3))) << caption;
        EXPECT_EQ(h.view.selectedRow(), 3) << caption;
        FileListDragDrop(h.ctx, browser);
    }
    h.view.browserSelection.reset();
    EXPECT_FALSE(over(browser, YOfRow(4)));
    FileListDragDrop(h.ctx, browser);
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_EQ(h.view.cell(5, 3), "");
}

TEST_F(DragTest, ABrowserFileOnABlankRowIsAcceptedButRecordsNothing) {
    h.view.browserSelection = "x.wav";
    EXPECT_TRUE(over(browser, YOfRow(2)));
    FileListDragDrop(h.ctx, browser);
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_EQ(h.view.cell(5, 2), "------");
}

TEST_F(DragTest, ADropOnASharedRowReplacesTheWholeGroup) {
    h.view.browserSelection = "y.pal";
    ASSERT_TRUE(over(browser, YOfRow(4)));
    FileListDragDrop(h.ctx, browser);
    EXPECT_EQ(plan(), Records({0, 3, 4}, {y, y, y}));
    EXPECT_EQ(column(5), (std::vector<std::string>{y, "------", "", y, y, ""}));
}

TEST_F(DragTest, ABrowserFileThatWentBeforeTheDropIsNotRecorded) {
    h.view.browserSelection = "x.wav";
    ASSERT_TRUE(over(browser, YOfRow(1)));
    std::filesystem::remove(x);
    FileListDragDrop(h.ctx, browser);
    EXPECT_EQ(plan(), ReplRec{});
}

TEST_F(DragTest, ADesktopFileReplacesTheGroupUnderTheSameRules) {
    TempDir desk;
    const std::string file = desk.write("new.smk", "N");
    EXPECT_TRUE(over(desktop(file), YOfRow(5)));
    FileListDragDrop(h.ctx, desktop(file));
    EXPECT_EQ(plan(), Records({0, 3, 4}, {file, file, file}));
    EXPECT_EQ(h.view.cell(5, 1), file);
}

TEST_F(DragTest, ADesktopDragIsRefusedOnABlankRowAndForNoFile) {
    TempDir desk;
    const std::string file = desk.write("new.smk", "N");
    EXPECT_FALSE(over(desktop(file), YOfRow(2)));
    EXPECT_EQ(h.view.selectedRow(), 2);
    FileListDragDrop(h.ctx, desktop(file));

    for (const std::string& path : {desk.path(), desk.file("gone.smk"), std::string()}) {
        h.view.selectRow(1);
        EXPECT_FALSE(over(desktop(path), YOfRow(3))) << path;
        EXPECT_EQ(h.view.selectedRow(), 3) << path;
        FileListDragDrop(h.ctx, desktop(path));
    }
    h.state.ArchiveComplete = false;
    EXPECT_FALSE(over(desktop(file), YOfRow(1)));
    EXPECT_EQ(h.view.selectedRow(), 3);
    FileListDragDrop(h.ctx, desktop(file));
    EXPECT_EQ(plan(), ReplRec{});
    EXPECT_EQ(column(5), (std::vector<std::string>{"", "------", "", "", "", ""}));
}

TEST_F(DragTest, AnythingElseIsRefusedAndLeavesTheSelectionAlone) {
    const DragSource other{DragSource::Kind::Other, x};
    h.view.selectRow(3);
    FileListSelectCell(h.ctx, 3);
    EXPECT_FALSE(over(other, YOfRow(1)));
    FileListDragDrop(h.ctx, other);
    EXPECT_EQ(h.view.selectedRow(), 3);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "+3", "4", "5", "6"}));
    EXPECT_EQ(plan(), ReplRec{});
}

}  // namespace
}  // namespace vxa::test
