#include <gtest/gtest.h>

#include "support/ArchiveBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

TEST(CliList, PrintsTheGridColumnsOfEveryEntry) {
    TempDir dir;
    const auto path = dir.write(
        "a.vxa", BuildArchive({Owned("abcd", 2, 10), Blank(), Shared(0), Owned(""), Shared(3)},
                              {.reverseRecords = true, .gap = 3}));
    const RunResult r = Tool({"list", path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "1\t40\t10\t4\t2/N\n"
              "2\tBLANK\t0\t0\t0/B\n"
              "3\t40\t0\t0\t2/R:1\n"
              "4\t27\t0\t0\t0/N\n"
              "5\t27\t0\t0\t0/R:4\n");
}

TEST(CliList, AnEmptyArchivePrintsNothing) {
    TempDir dir;
    const RunResult r = Tool({"list", dir.write("e.vxa", U32(4))});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
}

TEST(CliList, FailuresPrintTheProgramsMessage) {
    TempDir dir;
    RunResult r = Tool({"list", dir.file("missing.vxa")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "File doesn't exist !!!\n");
    EXPECT_EQ(r.out, "");

    r = Tool({"list", dir.write("junk.vxa", "not an archive")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Read beyond end of file\n");
    EXPECT_EQ(r.out, "");

    r = Tool({"list"});
    EXPECT_EQ(r.exitCode, 2);
    r = Tool({"frobnicate"});
    EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
}  // namespace vxa::test

namespace vxa::test {
namespace {

TEST(CliUsage, HelpVersionAndBadCommandLines) {
    RunResult r = Tool({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("list ARCHIVE"), std::string::npos);
    EXPECT_NE(r.out.find("example: vxa-tool compile"), std::string::npos);
    r = Tool({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("vxa-tool 1.", 0), 0u);
    r = Tool({});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("usage: vxa-tool"), std::string::npos);
    r = Tool({"frobnicate"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace vxa::test
