#include <gtest/gtest.h>

#include "core/Compiler.h"
#include "core/Loader.h"
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

TEST_F(CompileButtonTest, NothingIsWrittenWithoutACompleteLoad) {
    h.state.OutPath = dir.file("out.vxa");
    SvahBtnClick(h.ctx);  // before any load
    EXPECT_FALSE(written());

    h.view.onProcessEvents = [&] { h.state.StopRequested = true; };
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("big.vxa", BuildArchive(ManyEntries(30))), false),
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

}  // namespace
}  // namespace vxa::test
