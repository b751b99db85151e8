// vxa-tool end to end: its outputs byte for byte, its messages and exit
// statuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "script/ScriptFile.h"
#include "support/ArchiveBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

class CliTest : public ::testing::Test {
  protected:
    TempDir dir;
    // Entry 3 shares entry 1's record; the records lie out of order.
    const std::vector<TestEntry> entries{Owned("aa", 4, 9), Blank(), Shared(0), Owned("bb", 1, 5)};
    std::string in = dir.write("in.vxa", BuildArchive(entries, {.reverseRecords = true, .gap = 2}));
    std::string out = dir.file("out.vxa");
    std::string file = dir.write("f.bin", "NEW");

    std::string script(const std::string& input, const std::string& output, const ReplRec& items) {
        return dir.write("plan.vxc", FormatScript(input, output, items));
    }
    ReplRec oneItem() const {
        ReplRec r;
        r.append(3, file);
        return r;
    }
};

// What is left after a command that must write nothing.
struct Failure {
    std::vector<std::string> args;
    int exitCode;
    std::string err;  // the whole of stderr, or its beginning when it ends in "..."
};

TEST_F(CliTest, ListPrintsTheGridColumnsOfEveryEntry) {
    const auto path = dir.write(
        "a.vxa", BuildArchive({Owned("abcd", 2, 10), Blank(), Shared(0), Owned(""), Shared(3)},
                              {.reverseRecords = true, .gap = 3}));
    RunResult r = Tool({"list", path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "1\t40\t10\t4\t2/N\n"
              "2\tBLANK\t0\t0\t0/B\n"
              "3\t40\t0\t0\t2/R:1\n"
              "4\t27\t0\t0\t0/N\n"
              "5\t27\t0\t0\t0/R:4\n");
    r = Tool({"list", dir.write("e.vxa", U32(4))});  // an empty archive
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
}

TEST_F(CliTest, CompileReplacesEachGroupAsTheWindowDoes) {
    const std::string one = dir.write("one.bin", "1");
    // Replacing entry 3 replaces its group; the last argument for an entry counts.
    RunResult r = Tool({"compile", in, out, "3=" + one, "4=" + one, "4=" + file});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err + r.out, "");
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("1"), Blank(), Shared(0), Owned("NEW")}));

    // No replacements: a canonical copy; over the input itself too.
    EXPECT_EQ(Tool({"compile", in, in}).exitCode, 0);
    EXPECT_EQ(ReadFile(in), BuildArchive(entries));
}

TEST_F(CliTest, CompileListsMissingFilesOrSkipsThem) {
    const std::string gone = dir.file("gone.bin");
    RunResult r = Tool({"compile", in, out, "1=" + gone, "4=" + file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("The following files don't exist:\n" + gone + "\n", 0), 0u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));

    r = Tool({"compile", "--skip-missing", in, out, "1=" + gone, "4=" + file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("NEW")}));
}

TEST_F(CliTest, RunWritesWhatCompileWritesForTheSamePlan) {
    const std::string g = dir.write("g.bin", "GROUP!");
    ReplRec items;  // as the window records them: one item per group member
    items.append(0, g);
    items.append(2, g);
    items.append(3, file);
    const std::string s = script(in, dir.file("unused.vxa"), items);
    ASSERT_EQ(Tool({"compile", in, dir.file("c.vxa"), "1=" + g, "4=" + file}).exitCode, 0);
    const RunResult r = Tool({"run", s, "--out", out});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err + r.out, "");
    EXPECT_EQ(ReadFile(out), ReadFile(dir.file("c.vxa")));
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("GROUP!"), Blank(), Shared(0), Owned("NEW")}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("unused.vxa")));

    // Without --out the script's own output is written.
    EXPECT_EQ(Tool({"run", s}).exitCode, 0);
    EXPECT_EQ(ReadFile(dir.file("unused.vxa")), ReadFile(out));
}

TEST_F(CliTest, RunNamesMissingReplacementFilesAndKeepsTheirEntries) {
    ReplRec items = oneItem();
    items.append(0, dir.file("gone.wav"));
    items.append(0, dir.file("gone.wav"));
    const RunResult r = Tool({"run", script(in, out, items)});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "* file 1 --> " + dir.file("gone.wav") + "\n* file 1 --> " +
                         dir.file("gone.wav") + "\n");
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("NEW")}));
}

TEST_F(CliTest, FailuresPrintTheProgramsMessageAndWriteNothing) {
    const std::string junk = dir.write("junk.vxa", "junk");
    const std::string noFolder = dir.file("no-folder/out.vxa");
    const std::string runUsage = "usage: vxa-tool run SCRIPT [--out OUTPUT]\n";
    const std::string compileUsage = "vxa-tool compile: ...";
    const std::string s = script(in, out, oneItem());
    const std::vector<Failure> failures{
        {{"list", dir.file("missing.vxa")}, 1, "File doesn't exist !!!\n"},
        {{"list", junk}, 1, "Read beyond end of file\n"},
        {{"compile", dir.file("missing.vxa"), out}, 1, "File doesn't exist !!!\n"},
        {{"compile", junk, out}, 1, "Read beyond end of file\n"},
        {{"compile", in, noFolder}, 1, "File not found\n"},
        {{"run", dir.write("p0.vxc", FormatScript(in, out, {}))},
         1,
         "Script file is incorrect or damaged\n"},
        {{"run", dir.file("none.vxc")}, 1, "File not found\n"},
        {{"run", dir.path()}, 1, "File not found\n"},
        {{"run", dir.write("p1.vxc", FormatScript(dir.file("gone.vxa"), out, oneItem()))},
         1,
         "File doesn't exist !!!\n"},
        {{"run", dir.write("p2.vxc", FormatScript(in, noFolder, oneItem()))},
         1,
         "File not found\n"},
        {{"run", dir.write("p3.vxc", FormatScript(in, "", oneItem()))},
         2,
         "Output file not chosen\n"},
        {{}, 2, "usage: vxa-tool..."},
        {{"frobnicate"}, 2, "vxa-tool: unknown command 'frobnicate'\n\nusage: vxa-tool..."},
        {{"list"}, 2, "..."},
        {{"compile"}, 2, compileUsage},
        {{"compile", in}, 2, compileUsage},
        {{"compile", "--frobnicate", in, out}, 2, compileUsage},
        {{"compile", in, out, "1"}, 2, compileUsage},         // no "="
        {{"compile", in, out, "=" + file}, 2, compileUsage},  // no number
        {{"compile", in, out, "x=" + file}, 2, compileUsage},
        {{"compile", in, out, "+1=" + file}, 2, compileUsage},
        {{"compile", in, out, "1="}, 2, compileUsage},         // no file
        {{"compile", in, out, "0=" + file}, 2, compileUsage},  // numbers count from 1
        {{"compile", in, out, "5=" + file}, 2, compileUsage},  // past the last entry
        {{"compile", in, out, "99999999999999999999999=" + file}, 2, compileUsage},
        {{"compile", in, out, "2=" + file}, 2, compileUsage},  // a blank entry has no data
        {{"run"}, 2, runUsage},
        {{"run", s, "--out"}, 2, runUsage},
        {{"run", s, s}, 2, runUsage},
        {{"run", "--out", out}, 2, runUsage},
        {{"run", s, "--out", out, "--out", out}, 2, runUsage},
        {{"run", s, "--out", ""}, 2, runUsage},
        {{"run", s, "--verbose"}, 2, runUsage},
    };
    const auto before = dir.names();
    for (const Failure& f : failures) {
        const RunResult r = Tool(f.args);
        const std::string what = ::testing::PrintToString(f.args);
        EXPECT_EQ(r.exitCode, f.exitCode) << what;
        EXPECT_EQ(r.out, "") << what;
        if (f.err.ends_with("...")) {
            EXPECT_EQ(r.err.substr(0, f.err.size() - 3), f.err.substr(0, f.err.size() - 3)) << what;
            EXPECT_NE(r.err, "") << what;
        } else {
            EXPECT_EQ(r.err, f.err) << what;
        }
    }
    EXPECT_EQ(dir.names(), before);
}

TEST(CliUsage, HelpAndVersion) {
    RunResult r = Tool({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("list ARCHIVE"), std::string::npos);
    EXPECT_NE(r.out.find("example: vxa-tool compile"), std::string::npos);
    r = Tool({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("vxa-tool 1.", 0), 0u);
}

}  // namespace
}  // namespace vxa::test
