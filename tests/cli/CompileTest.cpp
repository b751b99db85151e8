#include <gtest/gtest.h>

#include <filesystem>

#include "support/ArchiveBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

RunResult Compile(std::vector<std::string> args) {
    args.insert(args.begin(), "compile");
    return Tool(args);
}

class CliCompile : public ::testing::Test {
  protected:
    TempDir dir;
    const std::vector<TestEntry> entries{Owned("aa", 4, 9), Blank(), Shared(0), Owned("bb", 1, 5)};
    std::string in = dir.write("in.vxa", BuildArchive(entries, {.reverseRecords = true, .gap = 2}));
    std::string out = dir.file("out.vxa");
};

TEST_F(CliCompile, ReplacesEachGroupAsTheWindowDoes) {
    const std::string one = dir.write("one.bin", "1");
    const std::string two = dir.write("two.bin", "22");
    // Entry 3 shares entry 1's record: replacing it replaces the group. The
    // last argument for an entry counts.
    RunResult r = Compile({in, out, "3=" + one, "4=" + one, "4=" + two});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("1"), Blank(), Shared(0), Owned("22")}));

    // No replacements: a canonical copy; over the input itself too.
    r = Compile({in, in});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadFile(in), BuildArchive(entries));
}

TEST_F(CliCompile, WrongArgumentsWriteNothing) {
    const std::string file = dir.write("f.bin", "f");
    const std::vector<std::vector<std::string>> cases{
        {},
        {in},
        {"--frobnicate", in, out},
        {in, out, "1"},         // no "="
        {in, out, "=" + file},  // no number
        {in, out, "x=" + file},
        {in, out, "+1=" + file},
        {in, out, "1="},         // no file
        {in, out, "0=" + file},  // numbers count from 1
        {in, out, "5=" + file},  // past the last entry
        {in, out, "99999999999999999999999=" + file},
        {in, out, "2=" + file},  // a blank entry has no data
    };
    for (const auto& args : cases) {
        const RunResult r = Compile(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err, "");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST_F(CliCompile, MissingFilesAreListedOrSkipped) {
    const std::string gone = dir.file("gone.bin");
    const std::string here = dir.write("here.bin", "here");
    RunResult r = Compile({in, out, "1=" + gone, "4=" + here});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("The following files don't exist:\n" + gone + "\n", 0), 0u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));

    r = Compile({"--skip-missing", in, out, "1=" + gone, "4=" + here});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("here")}));
}

TEST_F(CliCompile, LoadAndWriteFailuresPrintTheProgramsMessage) {
    RunResult r = Compile({dir.file("nothing.vxa"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "File doesn't exist !!!\n");

    r = Compile({dir.write("junk.vxa", "junk"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Read beyond end of file\n");

    r = Compile({in, dir.file("no-folder/out.vxa")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "File not found\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace vxa::test
