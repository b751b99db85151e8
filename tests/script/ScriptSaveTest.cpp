// "Save to script", and the summary a script run shows first.
#include <gtest/gtest.h>

#include <cerrno>

#include "script/ScriptFile.h"
#include "script/ScriptHandlers.h"
#include "script/Summary.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"

namespace vxa::test {
namespace {

using Lines = std::vector<std::string>;

class ScriptSaveTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    std::string target = dir.file("plan.vxc");

    void SetUp() override {
        h.state.InPath = "/games/orn/data.vxa";
        h.state.OutPath = "/games/orn/new.vxa";
        h.state.Replacements.append(2, "/mods/x.wav");
        h.state.Replacements.append(0, "/mods/y.pal");
    }
    // Saves with the dialog answered by `target`; returns what was shown.
    Lines save(Context& c) {
        h.view.log.clear();
        h.view.dialogAnswers = {target};
        SvsBtnClick(c);
        return h.view.log;
    }
};

TEST_F(ScriptSaveTest, WritesThePlanOverAnOldScriptAndBeeps) {
    WriteFile(target, FormatScript("/old.vxa", "", h.state.Replacements) + "[Extra]\r\nKey=1\r\n");
    const ReplRec plan = h.state.Replacements;
    EXPECT_EQ(save(h.ctx), (Lines{"dialog SaveDialog2", "beep"}));
    EXPECT_EQ(ReadFile(target), FormatScript(h.state.InPath, h.state.OutPath, plan));
    EXPECT_EQ(h.state.Replacements, plan);
    EXPECT_EQ(dir.names(), Lines{"plan.vxc"});
    // Cancelled: nothing.
    h.view.log.clear();
    SvsBtnClick(h.ctx);
    EXPECT_EQ(h.view.log, Lines{"dialog SaveDialog2"});
    // Without an output it asks first; No saves nothing.
    h.state.OutPath.clear();
    h.view.answers = {MsgAnswer::No};
    const std::string question = "box Hmmm?|question|Output file not chosen. Save anyway?";
    EXPECT_EQ(save(h.ctx), Lines{question});
    h.view.answers = {MsgAnswer::Yes};
    EXPECT_EQ(save(h.ctx), (Lines{question, "dialog SaveDialog2", "beep"}));
    EXPECT_EQ(ReadFile(target), FormatScript(h.state.InPath, "", plan));
    // Not while a load rebuilds the plan; nor may a script run start then.
    h.state.Loading = true;
    h.view.log.clear();
    SvsBtnClick(h.ctx);
    RsBtnClick(h.ctx);
    EXPECT_EQ(h.view.log, Lines{});
}

TEST_F(ScriptSaveTest, AFailedSaveKeepsTheOldScriptWhole) {
    TestFileSystem fs;
    Context ctx{h.state, h.view, fs};
    WriteFile(target, "old script");
    save(ctx);
    EXPECT_EQ(fs.trace(), (Lines{"inspect", "create", "write", "flush", "chown", "chmod", "link",
                                 "close", "rename"}));
    for (int step = 1; step <= 9; ++step) {  // each step fails once, as on a full disk
        WriteFile(target, "old script");
        fs.reset();
        fs.failStep(step, ENOSPC);
        EXPECT_EQ(save(ctx),
                  (Lines{"dialog SaveDialog2", "box Error|error|Unable to write to " + target}));
        EXPECT_EQ(ReadFile(target), "old script");
        EXPECT_EQ(dir.names(), Lines{"plan.vxc"});
    }
}

// A value that would read back differently would make a script that does
// something else when run: a line break injects keys.
TEST_F(ScriptSaveTest, PathsThatWouldReadBackDifferentlyAreRefused) {
    const std::string evil = "/mods/evil\r\n[0]\r\nIndex=9";
    const std::string refused = "box Error|error|Unable to write to " + target;
    h.state.Replacements.append(1, evil);
    EXPECT_EQ(save(h.ctx).back(), refused);
    h.state.Replacements.clear();
    for (std::string AppState::*path : {&AppState::InPath, &AppState::OutPath}) {
        const std::string kept = h.state.*path;
        h.state.*path = evil;
        EXPECT_EQ(save(h.ctx).back(), refused);
        h.state.*path = kept;
    }
    EXPECT_EQ(dir.names(), Lines{});
}

TEST(Summary, StatusAndDetailsFromTheInstalledScript) {
    TempDir dir;
    AppState state;
    FileSystem& fs = RealFileSystem();
    const std::string present = dir.write("a.wav", "a"), gone = dir.file("gone.wav");
    state.InPath = dir.file("gone.vxa");
    state.Replacements.append(0, present);
    state.Replacements.append(41, gone);
    state.Replacements.append(-5, dir.path());  // a folder is no file; any index is listed
    state.Replacements.append(2147483647, present);
    SummaryStatus st = SummaryOnShow(state, fs);
    EXPECT_EQ(st.lines, (Lines{"Status:", "",
                               "Fatal error: Input file doesn't exist. This script can't be ran"}));
    EXPECT_FALSE(st.proceedEnabled || st.allFilesExist);
    state.InPath = dir.path();  // a folder is no archive
    EXPECT_FALSE(SummaryOnShow(state, fs).proceedEnabled);

    state.InPath = present;
    st = SummaryOnShow(state, fs);
    EXPECT_EQ(st.lines,
              (Lines{"Status:", "", "Input file OK", "",
                     "Output file not chosen. If you click <Proceed>, you will be asked to choose "
                     "it.",
                     "",
                     "Some of files that are to be replaced are missing.\r\n"
                     "Click <Show details> to see details.\r\n"
                     "If you click <Proceed>, missing files will be skipped.",
                     "", "Click <Show details> to see details"}));
    EXPECT_TRUE(st.proceedEnabled);
    EXPECT_EQ(
        SummaryDetails(state, fs, false),
        (Lines{"Files that are to be replaced:", "", "Missing files are marked with asterisks", "",
               "file 1 --> " + present, "* file 42 --> " + gone, "* file -4 --> " + dir.path(),
               "file 2147483648 --> " + present}));

    state.OutPath = "/o.vxa";
    state.Replacements.clear();
    state.Replacements.append(0, present);
    st = SummaryOnShow(state, fs);
    EXPECT_EQ(st.lines[4] + st.lines[6], "Ouput file OKFiles OK");
    EXPECT_TRUE(st.allFilesExist);
    EXPECT_EQ(SummaryDetails(state, fs, true),
              (Lines{"Files that are to be replaced:", "", "file 1 --> " + present}));
}

}  // namespace
}  // namespace vxa::test
