// Loads of archives bigger than one read block or one slice of the table
// pass: records out of order across blocks, and events offered during a long
// table pass without changing the progress points of the entries.
#include <gtest/gtest.h>

#include "core/ArchiveReader.h"
#include "core/Loader.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

std::vector<TestEntry> SmallEntries(int n) {
    std::vector<TestEntry> e;
    for (int i = 0; i < n; ++i)
        e.push_back(i % 9 == 4 ? Shared(i - 1) : Owned(std::string(i % 3, 'x')));
    return e;
}

class BigLoadTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    LoadOutcome load(const std::string& bytes) {
        return LoadArchive(h.ctx, dir.write("a.vxa", bytes), false);
    }
};

TEST_F(BigLoadTest, RecordsInReverseOrderAcrossReadBlocks) {
    const std::size_t big = ArchiveReader::kBlock * 3 / 4;
    std::vector<TestEntry> entries;
    for (char c : std::string("abcde"))
        entries.push_back(Owned(std::string(big, c), 1));
    entries.insert(entries.begin() + 2, Shared(1));
    ASSERT_EQ(load(BuildArchive(entries, {.reverseRecords = true, .gap = 3})),
              LoadOutcome::Complete);
    const EntryTable& t = h.state.Table;
    ASSERT_EQ(t.EntryCount, 6);
    for (int i : {0, 1, 3, 4, 5}) {
        const auto data = t.EntryData(i);
        const char c = "ab?cde"[i];
        ASSERT_EQ(data.size(), big) << i;
        EXPECT_EQ(data.front(), c) << i;
        EXPECT_EQ(data.back(), c) << i;
    }
    EXPECT_EQ(t.Links[2], 2);
    EXPECT_EQ(h.view.cell(4, 3), "1/R:2");
}

TEST_F(BigLoadTest, ALongTablePassOffersEventsButKeepsTheProgressPoints) {
    const int n = 70000;
    ASSERT_EQ(load(BuildArchive(SmallEntries(n))), LoadOutcome::Complete);
    EXPECT_GT(h.view.offerEventsCalls, 0);
    // Progress points after entries 1, 11, ..., 69991, and nowhere else.
    EXPECT_EQ(h.view.processEventsCalls, (n - 2) / 10 + 1);
    EXPECT_EQ(h.view.logged("progress").front(), "progress 0/70000 0");
    EXPECT_EQ(h.view.cell(4, 5), "0/R:4");
}

TEST_F(BigLoadTest, AShortTablePassOffersNothing) {
    ASSERT_EQ(load(BuildArchive(SmallEntries(25))), LoadOutcome::Complete);
    EXPECT_EQ(h.view.offerEventsCalls, 0);
    EXPECT_EQ(h.view.processEventsCalls, 3);
}

TEST_F(BigLoadTest, StopDuringTheTablePassStopsAtTheFirstProgressPoint) {
    h.view.onOfferEvents = [&] { StopBtnClick(h.ctx); };
    h.view.onProcessEvents = [&] { EXPECT_EQ(h.view.processEventsCalls, 1); };
    ASSERT_EQ(load(BuildArchive(SmallEntries(70000))), LoadOutcome::Stopped);
    EXPECT_EQ(h.state.Table.EntryCount, 2);
    EXPECT_EQ(h.view.rowCount(), 3);
    EXPECT_EQ(h.view.messages, (std::vector<std::string>{"Incomplete file is not editable"}));
}

}  // namespace
}  // namespace vxa::test
