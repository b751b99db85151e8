#include <gtest/gtest.h>

#include <filesystem>

#include "script/ScriptFile.h"
#include "support/ArchiveBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

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

TEST_F(CliRun, WritesTheSameBytesAsCompileWithTheSamePlan) {
    const std::string g = dir.write("g.bin", "GROUP!");
    const std::string r = dir.write("r.bin", "NEW");
    ReplRec items;  // as the window records them: one item per group member
    items.append(0, g);
    items.append(2, g);
    items.append(3, r);
    const std::string s = script(input, dir.file("unused.vxa"), items);

    const RunResult byCompile = Tool({"compile", input, dir.file("c.vxa"), "1=" + g, "4=" + r});
    ASSERT_EQ(byCompile.exitCode, 0) << byCompile.err;
    const RunResult byRun = Tool({"run", s, "--out", output});
    EXPECT_EQ(byRun.exitCode, 0);
    EXPECT_EQ(byRun.err, "");
    EXPECT_EQ(byRun.out, "");
    EXPECT_EQ(ReadFile(output), ReadFile(dir.file("c.vxa")));
    EXPECT_EQ(ReadFile(output), BuildArchive({Owned("GROUP!"), Blank(), Shared(0), Owned("NEW")}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("unused.vxa")));

    // Without --out the script's own output is written.
    EXPECT_EQ(Tool({"run", s}).exitCode, 0);
    EXPECT_EQ(ReadFile(dir.file("unused.vxa")), ReadFile(output));
}

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
    const auto before = dir.names();
    const RunResult r = Tool({"run", s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Output file not chosen\n");
    EXPECT_EQ(dir.names(), before);
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
    // Their entries are kept as loaded.
    EXPECT_EQ(ReadFile(output),
              BuildArchive({Owned("abcd", 2, 10), Blank(), Shared(0), Owned("NEW")}));
}

TEST_F(CliRun, AFailedCompileIsReportedAndWritesNothing) {
    const RunResult r = Tool({"run", script(input, dir.file("no/such/dir.vxa"), oneItem())});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "File not found\n");
}

}  // namespace
}  // namespace vxa::test
