#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/Compiler.h"
#include "core/Loader.h"
#include "plan/Plan.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

// The "Choose output VXA" and "--== COMPILE ==--" buttons.
class CompileButtonTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    const std::string archive = BuildArchive({Owned("aa", 1, 5), Shared(0), Owned("bb", 2, 6)});

    void load() {
        ASSERT_EQ(LoadArchive(h.ctx, dir.write("in.vxa", archive), false), LoadOutcome::Complete);
        h.view.log.clear();
    }
    void replace(int entry, const std::string& path) {
        h.view.selectRow(entry + 1);
        AddReplacement(h.ctx, path);
    }
    bool written() const { return h.ctx.Fs.fileExists(dir.file("out.vxa")); }
};

TEST_F(CompileButtonTest, CancellingTheDialogWritesNothingAndAsksAgainNextTime) {
    load();
    SvahBtnClick(h.ctx);
    EXPECT_EQ(h.view.log, (std::vector<std::string>{"dialog SaveDialog1"}));
    EXPECT_EQ(h.state.OutPath, "");
    SvahBtnClick(h.ctx);
    EXPECT_EQ(h.view.logged("dialog").size(), 2u);

    h.view.dialogAnswers.push_back(dir.file("out.vxa"));
    SvahBtnClick(h.ctx);
    EXPECT_EQ(h.state.OutPath, dir.file("out.vxa"));
    EXPECT_EQ(ReadFile(dir.file("out.vxa")), archive);
}

TEST_F(CompileButtonTest, ChoosingTheOutputOnly) {
    h.state.OutPath = "/old.vxa";
    SvhBtnClick(h.ctx);  // cancelled: the former path stays
    EXPECT_EQ(h.state.OutPath, "/old.vxa");
    h.view.dialogAnswers.push_back("/new.vxa");
    SvhBtnClick(h.ctx);
    EXPECT_EQ(h.state.OutPath, "/new.vxa");
    EXPECT_FALSE(h.ctx.Fs.fileExists("/new.vxa"));
}

TEST_F(CompileButtonTest, AChosenOutputIsWrittenWithoutAskingAndNothingIsShown) {
    load();
    replace(1, dir.write("r.bin", "xyz"));
    h.state.OutPath = dir.file("out.vxa");  // as a script run leaves it
    const AppState& s = h.state;
    const ReplRec plan = s.Replacements;
    const std::vector<std::uint32_t> offsets = s.Table.Offsets;
    const std::string cell = h.view.cell(5, 1);

    SvahBtnClick(h.ctx);
    EXPECT_EQ(ReadFile(dir.file("out.vxa")),
              BuildArchive({Owned("xyz"), Shared(0), Owned("bb", 2, 6)}));
    EXPECT_TRUE(h.view.log.empty());
    EXPECT_FALSE(h.view.busy);
    // A compile changes no state: the same plan can be compiled again.
    EXPECT_EQ(s.Replacements, plan);
    EXPECT_EQ(s.Table.Offsets, offsets);
    EXPECT_EQ(s.OutPath, dir.file("out.vxa"));
    EXPECT_TRUE(s.ArchiveComplete);
    EXPECT_EQ(h.view.cell(5, 1), cell);
    EXPECT_EQ(h.view.cell(1, 3), "28");
}

TEST_F(CompileButtonTest, NothingIsWrittenWithoutACompleteLoad) {
    h.state.OutPath = dir.file("out.vxa");
    SvahBtnClick(h.ctx);  // before any load
    EXPECT_FALSE(written());

    std::vector<TestEntry> many(30, Owned("e"));
    h.view.onProcessEvents = [&] { h.state.StopRequested = true; };
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("big.vxa", BuildArchive(many)), false),
              LoadOutcome::Stopped);
    h.view.log.clear();
    SvahBtnClick(h.ctx);
    EXPECT_FALSE(written());
    EXPECT_TRUE(h.view.log.empty());

    // Nor while a load runs, even if an earlier one completed.
    h.view.onProcessEvents = nullptr;
    load();
    h.state.Loading = true;
    SvahBtnClick(h.ctx);
    EXPECT_FALSE(written());
}

TEST_F(CompileButtonTest, MissingFilesAreListedOncePerRecord) {
    load();
    const std::string gone = dir.file("gone.bin");
    const std::string alsoGone = dir.file("sub");  // a folder is not a file
    ASSERT_EQ(mkdir(alsoGone.c_str(), 0755), 0);
    replace(0, gone);  // the group of entries 1 and 2
    replace(2, alsoGone);
    h.state.OutPath = dir.file("out.vxa");

    SvahBtnClick(h.ctx);  // answered No
    const std::string question = "The following files don't exist:\r" + gone + "\r" + gone + "\r" +
                                 alsoGone + "\r\rContinue?";
    EXPECT_EQ(h.view.log, (std::vector<std::string>{"box Error|warning|" + question}));
    EXPECT_FALSE(written());

    // Yes: the entries are written as they were loaded.
    h.view.answers.push_back(MsgAnswer::Yes);
    SvahBtnClick(h.ctx);
    EXPECT_EQ(ReadFile(dir.file("out.vxa")), archive);
    EXPECT_EQ(h.view.messages.size(), 2u);
}

}  // namespace
}  // namespace vxa::test
