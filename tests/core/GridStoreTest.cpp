#include <gtest/gtest.h>

#include "core/GridStore.h"
#include "core/IoError.h"

namespace vxa {
namespace {

TEST(GridStore, StoredCellsOverrideEntryRowsUntilTheNextLoadWritesThem) {
    EntryTable t;
    t.Offsets = {0, 4};
    t.Links = {-1, 0};
    t.OrigSizes = {0};
    t.PackedSizes = {0};
    t.CompTypes = {0};
    t.EntryCount = 1;
    GridStore g(t);
    g.setRowCount(5);
    g.setCell(0, 3, "ORN");
    g.setCell(9, 1, "ignored");
    g.setCell(0, 7, "ignored");
    EXPECT_EQ(g.cell(0, 3), "ORN");
    EXPECT_EQ(g.cell(0, 1), "");
    g.setRowCount(2);
    g.writeEntryRow(1);
    EXPECT_EQ(g.cell(1, 1), "BLANK");
    g.setCell(5, 1, "/new");
    EXPECT_EQ(g.cell(5, 1), "/new");
    g.setRowCount(5);
    EXPECT_EQ(g.cell(0, 3), "");  // shrinking dropped it
    g.writeEntryRow(1);           // a new load
    EXPECT_EQ(g.cell(5, 1), "------");
}

TEST(ErrorBoxText, AppendsAFullStopAfterLettersAndDigitsOnly) {
    EXPECT_EQ(ErrorBoxText("Disk full"), "Disk full.");
    EXPECT_EQ(ErrorBoxText("I/O error 5"), "I/O error 5.");
    EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(IoErrorText(2), "File not found");
    EXPECT_EQ(IoErrorText(13), "File access denied");
    EXPECT_EQ(IoErrorText(28), "Disk full");
    EXPECT_EQ(IoErrorText(5), "I/O error 5");
}

}  // namespace
}  // namespace vxa
