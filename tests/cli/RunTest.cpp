#include <gtest/gtest.h>

#include <filesystem>

#include "script/ScriptFile.h"
#include "support/ArchiveBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

RunResult Tool(std::vector<std::string> args) {
    args.insert(args.begin(), VXA_TOOL_PATH);
    return Run(args);
}

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        out.push_back(e.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

class CliRun : public ::testing::Test {
  protected:
    TempDir dir;
    std::string input = dir.write(
        "game.vxa", BuildArchive({Owned("abcd", 2, 10), Blank(), Shared(0), Owned("xyz")}));
    std::string output = dir.file("new.vxa");

    std::string script(const std::string& in, const std::string& out, const ReplRec& items) {
        return dir.write("plan.vxc", FormatScript(in, out, items));
    }
    ReplRec oneItem() {
        ReplRec r;
        r.append(3, dir.write("r.bin", "NEW"));
        return r;
    }
};

TEST_F(CliRun, DamagedOrUnreadableScriptsAreRefused) {
    RunResult r = Tool({"run", script(input, output, {})});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Script file is incorrect or damaged\n");
    EXPECT_EQ(r.out, "");

    r = Tool({"run", dir.file("none.vxc")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "File not found\n");

    r = Tool({"run", dir.path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "File not found\n");
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(CliRun, MissingInputArchiveFails) {
    const RunResult r = Tool({"run", script(dir.file("gone.vxa"), output, oneItem())});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "File doesn't exist !!!\n");
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(CliRun, WithoutAnyOutputNothingIsWritten) {
    const std::string s = script(input, "", oneItem());
    const auto before = Names(dir.path());
    const RunResult r = Tool({"run", s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Output file not chosen\n");
    EXPECT_EQ(Names(dir.path()), before);
}

TEST_F(CliRun, CommandLineMistakesAreUsageErrors) {
    const std::string s = script(input, output, oneItem());
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"run"},
                                               {"run", s, "--out"},
                                               {"run", s, s},
                                               {"run", "--out", output},
                                               {"run", s, "--out", output, "--out", output},
                                               {"run", s, "--out", ""},
                                               {"run", s, "--verbose"}}) {
        const RunResult r = Tool(args);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        EXPECT_EQ(r.err, "usage: vxa-tool run SCRIPT [--out OUTPUT]\n");
    }
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(CliRun, MissingReplacementFilesAreNamedOnStderr) {
    ReplRec items = oneItem();
    items.append(0, dir.file("gone.wav"));
    items.append(0, dir.file("gone.wav"));
    const RunResult r = Tool({"run", script(input, output, items)});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "* file 1 --> " + dir.file("gone.wav") + "\n* file 1 --> " +
                         dir.file("gone.wav") + "\n");
}

}  // namespace
}  // namespace vxa::test
