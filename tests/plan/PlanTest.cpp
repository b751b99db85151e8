// The replacement plan's operations through the fake view: Replace,
// UnReplace, Cancel changes, the group marks and drag-and-drop.

#include "support/Suite.h"
#include "ui/PlanHandlers.h"

namespace vxa::test {
namespace {

// A loaded six-entry archive: entry 0 owns "a", 1 is blank, 2 owns "b", 3 and
// 4 share entry 0's record, 5 owns "c"; the group of entry 0 is {0, 3, 4}.
// The browser lists the folder beside it, with x.wav, y.pal and [sub].
class PlanTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    std::string x = dir.write("x.wav", "X"), y = dir.write("y.pal", "Y");
    const DragSource browser{DragSource::From::BrowserList, ""};

    void SetUp() override {
        load(BuildArchive({Owned("a"), Blank(), Owned("b"), Shared(0), Shared(0), Owned("c")}));
        std::filesystem::create_directory(dir.file("sub"));
        h.state.BrowserDir = dir.path();
    }
    LoadOutcome load(const std::string& bytes) {
        const LoadOutcome outcome = LoadInWindow(h.ctx, dir.write("a.vxa", bytes), false);
        h.view.log.clear();
        h.view.gridUpdates = 0;
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
    // Drags over grid row `row`, then drops there.
    bool over(const DragSource& source, int row) { return FileListDragOver(h.ctx, source, row); }
    void drop(const DragSource& source) { FileListDragDrop(h.ctx, source, h.view.selectedRow()); }
    // Column `col` of the rows 1..6 (past the last: ""), files by their names.
    std::string column(int col) const {
        std::string out;
        for (int row = 1; row <= 6; ++row)
            out += (row > 1 ? "|" : "") +
                   std::filesystem::path(h.view.cell(col, row)).filename().string();
        return out;
    }
    // The plan as "index:name" items.
    std::string plan() const {
        std::string out;
        for (std::size_t j = 0; j < h.state.Replacements.Indices.size(); ++j)
            out += std::to_string(h.state.Replacements.Indices[j]) + ":" +
                   std::filesystem::path(h.state.Replacements.Paths[j].str()).filename().string() +
                   " ";
        return out;
    }
};

TEST_F(PlanTest, ReplaceUnReplaceAndCancelActOnWholeGroups) {
    replace(5, "x.wav");  // entry 4, in entry 0's group
    EXPECT_EQ(plan(), "0:x.wav 3:x.wav 4:x.wav ");
    replace(6, "x.wav");
    replace(3, "x.wav");
    replace(3, "y.pal");  // a second record of entry 2: the later one is shown
    EXPECT_EQ(column(5), "x.wav|------|y.pal|x.wav|x.wav|x.wav");
    unreplace(3);
    EXPECT_EQ(plan(), "0:x.wav 3:x.wav 4:x.wav 5:x.wav ");  // the others keep their order
    unreplace(4);                                           // entry 3: its whole group goes
    unreplace(3);  // a row without records and a blank row change nothing
    unreplace(2);
    // Only an existing file on an entry row is recorded.
    for (const auto& [row, caption] : std::vector<std::pair<int, std::string>>{
             {1, "[sub]"}, {1, "[..]"}, {1, "gone.wav"}, {2, "x.wav"}, {0, "x.wav"}, {7, "x.wav"}})
        replace(row, caption);
    EXPECT_EQ(plan() + column(5), "5:x.wav |------||||x.wav");
    EXPECT_EQ(h.view.gridUpdates, 6);  // one for each change, none for what was refused
    // Cancel asks; No keeps the plan. Records a script may hold (past the
    // table, negative, a blank entry) have no cell, or get "------" back.
    for (const int index : {-3, 1, 6})
        h.state.Replacements.append(index, "/s");
    h.view.answers = {MsgAnswer::No, MsgAnswer::Yes};
    CanBtnClick(h.ctx);
    EXPECT_EQ(plan(), "5:x.wav -3:s 1:s 6:s ");
    CanBtnClick(h.ctx);
    CanBtnClick(h.ctx);  // no plan: no question
    EXPECT_EQ(h.view.log,
              std::vector<std::string>(2, "box Simple question|question|Cancel all changes?"));
    EXPECT_EQ(h.state.Replacements, ReplRec{});
    EXPECT_EQ(column(5), "|------||||");
}

TEST_F(PlanTest, NothingIsEditableDuringALoadOrAfterAStoppedOne) {
    const auto tryEverything = [&](Context& c) {
        c.Ui.selectRow(1);
        RplBtnClick(c);
        UnBtnClick(c);
        CanBtnClick(c);
        EXPECT_FALSE(FileListDragOver(c, browser, 1));
        FileListDragDrop(c, {DragSource::From::LocalFile, x}, 1);
    };
    h.view.browserSelection = "x.wav";
    h.view.onProcessEvents = [&] {  // during a load, nor marks
        tryEverything(h.ctx);
        FileListSelectCell(h.ctx, 1);
    };
    load(BuildArchive(ManyEntries(25)));
    EXPECT_EQ(column(0) + column(5), "1|2|3|4|5|6|||||");
    // After a stopped load marks work, but a script's plan stays as it is.
    std::vector<TestEntry> many = ManyEntries(30);
    many[4] = Shared(2);
    h.view.processEventsCalls = 0;
    h.view.onProcessEvents = [&] { h.state.StopRequested = h.view.processEventsCalls == 2; };
    ASSERT_EQ(load(BuildArchive(many)), LoadOutcome::Stopped);
    FileListSelectCell(h.ctx, 3);
    EXPECT_EQ(column(0), "1|2|+3|4|+5|6");
    h.state.Replacements.append(0, x);
    tryEverything(h.ctx);
    EXPECT_EQ(h.state.Replacements.Count + h.view.log.size(), 1u);
}

// The grid's hit test gives the row; over the heading or past the last row
// there is none. What is no file, and
// a desktop file over a blank row, are refused though the selection moves, and
// a drop then records nothing, nor one of a file gone since; any other kind of
// drag leaves the selection alone.
TEST_F(PlanTest, ADragPicksTheRowUnderThePointerAndADropReplacesItsGroup) {
    h.view.browserSelection = "x.wav";
    for (const int row : {-1, 0, 1, 6, 7}) {  // the heading and past the last row: refused
        SCOPED_TRACE(row);
        h.view.selectRow(3);
        const bool entryRow = row >= 1 && row <= 6;
        EXPECT_EQ(over(browser, row), entryRow);
        EXPECT_EQ(h.view.selectedRow(), entryRow ? row : 3);
    }
    ASSERT_TRUE(over(browser, 4));
    EXPECT_EQ(column(0), "+1|2|3|+4|+5|6");
    drop(browser);
    const DragSource file{DragSource::From::LocalFile, dir.write("new.smk", "N")};
    EXPECT_TRUE(over(file, 3));
    drop(file);
    const auto desktop = [](const std::string& path) {
        return DragSource{DragSource::From::LocalFile, path};
    };
    for (const auto& [source, caption] :
         std::vector<std::pair<DragSource, std::string>>{{desktop(dir.file("sub")), "x.wav"},
                                                         {desktop(dir.file("gone")), "x.wav"},
                                                         {desktop(""), "x.wav"},
                                                         {browser, "[sub]"},
                                                         {browser, "[..]"},
                                                         {browser, "gone"}}) {
        h.view.browserSelection = caption;
        EXPECT_FALSE(over(source, 6)) << source.Path << caption;
        EXPECT_EQ(h.view.selectedRow(), 6);
        drop(source);
    }
    EXPECT_FALSE(over(file, 2));  // blank
    drop(file);
    h.view.browserSelection = "y.pal";
    ASSERT_TRUE(over(browser, 6));
    std::filesystem::remove(y);
    drop(browser);
    const DragSource other{DragSource::From::Other, file.Path};
    h.view.selectRow(1);
    EXPECT_FALSE(over(other, 3));
    drop(other);
    EXPECT_EQ(h.view.selectedRow(), 1);
    EXPECT_EQ(column(5), "x.wav|------|new.smk|x.wav|x.wav|");
}

}  // namespace
}  // namespace vxa::test
