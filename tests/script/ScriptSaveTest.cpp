#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "script/ScriptFile.h"
#include "script/ScriptHandlers.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"

namespace vxa::test {
namespace {

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
    std::string expected() const {
        return FormatScript(h.state.InPath, h.state.OutPath, h.state.Replacements);
    }
};

TEST_F(ScriptSaveTest, WritesThePlanAndBeeps) {
    const ReplRec plan = h.state.Replacements;
    h.view.dialogAnswers.push_back(target);
    SvsBtnClick(h.ctx);
    EXPECT_EQ(h.view.log, (std::vector<std::string>{"dialog SaveDialog2", "beep"}));
    EXPECT_EQ(ReadFile(target), expected());
    EXPECT_EQ(h.state.Replacements, plan);
    EXPECT_EQ(h.state.InPath, "/games/orn/data.vxa");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"plan.vxc"});
}

TEST_F(ScriptSaveTest, NoOutputChosenAsksFirst) {
    h.state.OutPath.clear();
    WriteFile(target, "old");
    h.view.answers.push_back(MsgAnswer::No);
    SvsBtnClick(h.ctx);
    EXPECT_EQ(
        h.view.log,
        (std::vector<std::string>{"box Hmmm?|question|Output file not chosen. Save anyway?"}));
    EXPECT_EQ(ReadFile(target), "old");

    h.view.log.clear();
    h.view.answers.push_back(MsgAnswer::Yes);
    h.view.dialogAnswers.push_back(target);
    SvsBtnClick(h.ctx);
    EXPECT_EQ(h.view.logged("dialog").size(), 1u);
    EXPECT_EQ(h.view.logged("beep").size(), 1u);
    const std::string text = ReadFile(target);
    EXPECT_NE(text.find("\r\nOut=\r\nCount=2\r\n"), std::string::npos);
}

TEST_F(ScriptSaveTest, CancelledDialogWritesNothing) {
    SvsBtnClick(h.ctx);
    EXPECT_EQ(h.view.log, std::vector<std::string>{"dialog SaveDialog2"});
    EXPECT_TRUE(dir.names().empty());
}

TEST_F(ScriptSaveTest, OverwritingLeavesNothingOfTheOldScript) {
    ReplRec longer;
    for (int i = 0; i < 5; ++i)
        longer.append(i, "/old/" + std::to_string(i));
    WriteFile(target, FormatScript("/old.vxa", "/old-out.vxa", longer) + "[Extra]\r\nKey=1\r\n");
    ::chmod(target.c_str(), 0640);
    h.view.dialogAnswers.push_back(target);
    SvsBtnClick(h.ctx);
    EXPECT_EQ(ReadFile(target), expected());
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(ScriptSaveTest, AFailedSaveKeepsTheOldScriptWhole) {
    TestFileSystem fs;
    Context ctx{h.state, h.view, fs};
    WriteFile(target, "old script");
    h.view.dialogAnswers.push_back(target);
    SvsBtnClick(ctx);
    EXPECT_EQ(fs.trace(), (std::vector<std::string>{"inspect", "create", "write", "flush", "chown",
                                                    "chmod", "link", "close", "rename"}));
    // Each step of the save fails once, the way a full disk would.
    for (int step = 1; step <= 9; ++step) {
        WriteFile(target, "old script");
        fs.reset();
        fs.failStep(step, ENOSPC);
        h.view.log.clear();
        h.view.dialogAnswers.push_back(target);
        SvsBtnClick(ctx);
        EXPECT_EQ(h.view.log,
                  (std::vector<std::string>{"dialog SaveDialog2",
                                            "box Error|error|Unable to write to " + target}))
            << fs.trace().back();
        EXPECT_EQ(ReadFile(target), "old script");
        EXPECT_EQ(dir.names(), std::vector<std::string>{"plan.vxc"});
    }
}

TEST_F(ScriptSaveTest, PathsThatWouldReadBackDifferentlyAreRefused) {
    h.state.Replacements.append(1, "/mods/evil\r\n[0]\r\nIndex=9");
    h.view.dialogAnswers.push_back(target);
    SvsBtnClick(h.ctx);
    EXPECT_EQ(h.view.messages, std::vector<std::string>{"Unable to write to " + target});
    EXPECT_TRUE(dir.names().empty());
}

}  // namespace
}  // namespace vxa::test
