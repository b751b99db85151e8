// vxa-tool end to end: its outputs byte for byte, its messages and exit
// statuses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
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

// The modding loop: take every entry out, edit some files, put the folder
// back. Only edited files count, so the result is byte for byte what NR=FILE
// for the edited entries gives.
TEST_F(CliTest, ExtractThenCompileFromGivesWhatNrEqualsFileGives) {
    const std::string x = dir.file("x");
    std::filesystem::create_directory(x);
    WriteFile(x + "/4.bin", "old");  // replaced without a question
    ASSERT_EQ(Tool({"extract", in, x}).exitCode, 0);
    EXPECT_EQ(ReadFile(x + "/1.bin") + ReadFile(x + "/3.bin") + ReadFile(x + "/4.bin"), "aaaabb");
    ASSERT_EQ(Tool({"extract", in, dir.file("new/only4"), "4", "4"}).exitCode, 0);
    EXPECT_EQ(ReadFile(dir.file("new/only4/4.bin")), "bb");
    struct Case {
        std::vector<std::pair<std::string, std::string>> edits;  // file, new bytes
        std::vector<std::string> args, sameAs;                   // NR=FILE with --from, without
        std::string out;
    };
    const std::vector<Case> cases{
        {{}, {}, {}, ""},
        {{{"3.bin", "XYZ"}, {"4.bin", "cc"}, {"notes.txt", "n"}, {"04", "n"}, {"7.bin", "n"}},
         {},
         {"3=" + x + "/3.bin", "4=" + x + "/4.bin"},
         "1 <- " + x + "/3.bin\n3 <- " + x + "/3.bin\n4 <- " + x + "/4.bin\n"},
        {{{"1.bin", "XY"}, {"3.bin", "XY"}},
         {"4=" + file},
         {"1=" + x + "/1.bin", "4=" + file},
         "1 <- " + x + "/1.bin\n3 <- " + x + "/1.bin\n"},
        {{{"1.bin", "P"}, {"3.bin", "Q"}, {"4.bin", "aab"}},
         {"3=" + file},
         {"3=" + file, "4=" + x + "/4.bin"},
         "4 <- " + x + "/4.bin\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(x);
        ASSERT_EQ(Tool({"extract", in, x}).exitCode, 0);
        for (const auto& [name, bytes] : c.edits)
            WriteFile(x + "/" + name, bytes);
        std::vector<std::string> args{"compile", in, out, "--from", x + "/"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult r = Tool(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
        args = {"compile", in, dir.file("ref.vxa")};
        args.insert(args.end(), c.sameAs.begin(), c.sameAs.end());
        ASSERT_EQ(Tool(args).exitCode, 0);
        EXPECT_EQ(ReadFile(out), ReadFile(dir.file("ref.vxa"))) << c.out;
    }
}

TEST_F(CliTest, FailuresPrintTheProgramsMessageAndWriteNothing) {
    const std::string junk = dir.write("junk.vxa", "junk");
    const std::string noFolder = dir.file("no-folder/out.vxa");
    const std::string runUsage = "vxa-tool run: ...";
    const std::string compileUsage = "vxa-tool compile: ...";
    const std::string s = script(in, out, oneItem());
    // Folders to put back that cannot say what to replace.
    for (const char* sub : {"/c", "/b", "/b/3.bin"})
        std::filesystem::create_directory(dir.path() + sub);
    for (const auto& [name, bytes] : {std::pair{"c/1.bin", "P"},
                                      {"c/3.bin", "Q"},
                                      {"b/2.bin", ""},
                                      {"b/4.bin", "bb"},
                                      {"b/04.bin.bak", "bb"}})
        dir.write(name, bytes);
    const std::string extractUsage = "vxa-tool extract: ...";
    const std::vector<Failure> failures{
        {{"list", dir.file("missing.vxa")}, 1, "File doesn't exist !!!\n"},
        {{"list", junk}, 1, "vxa-tool: " + junk + ": Read beyond end of file\n"},
        {{"compile", dir.file("missing.vxa"), out}, 1, "File doesn't exist !!!\n"},
        {{"compile", junk, out}, 1, "vxa-tool: " + junk + ": Read beyond end of file\n"},
        {{"compile", in, noFolder}, 1, "vxa-tool: " + noFolder + ": File not found\n"},
        {{"compile", in, dir.path()}, 1, "vxa-tool: " + dir.path() + ": I/O error 21\n"},
        {{"run", dir.write("p0.vxc", FormatScript(in, out, {}))},
         1,
         "Script file is incorrect or damaged\n"},
        {{"run", dir.file("none.vxc")},
         1,
         "vxa-tool: " + dir.file("none.vxc") + ": File not found\n"},
        {{"run", dir.path()}, 1, "vxa-tool: " + dir.path() + ": File not found\n"},
        {{"run", dir.write("p1.vxc", FormatScript(dir.file("gone.vxa"), out, oneItem()))},
         1,
         "File doesn't exist !!!\n"},
        {{"run", dir.write("p2.vxc", FormatScript(in, noFolder, oneItem()))},
         1,
         "vxa-tool: " + noFolder + ": File not found\n"},
        {{"run", dir.write("p3.vxc", FormatScript(in, "", oneItem()))},
         2,
         "Output file not chosen\n"},
        {{}, 2, "usage: vxa-tool..."},
        {{"frobnicate"}, 2, "vxa-tool: unknown command 'frobnicate'\n\nusage: vxa-tool..."},
        {{"list"}, 2, "vxa-tool list: too few arguments\nusage: vxa-tool list [--] ARCHIVE\n"},
        {{"list", "-in.vxa"}, 2, "vxa-tool list: unknown option \"-in.vxa\"\n..."},
        {{"compile", "--skip-missing", "--skip-missing", in, out}, 2, compileUsage},
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
        {{"compile", in, out, "--from", dir.file("c")},
         1,
         "vxa-tool compile: entries 1 and 3 share their data, but their edited files differ: " +
             dir.file("c/1.bin") + ", " + dir.file("c/3.bin") + "\nNothing was written.\n"},
        {{"compile", in, out, "--from", dir.file("b")},
         1,
         "vxa-tool compile: entry 2 is blank and has nothing to replace: " + dir.file("b/2.bin") +
             "\nvxa-tool compile: entry 4 has more than one file: " + dir.file("b/04.bin.bak") +
             ", " + dir.file("b/4.bin") + "\nNothing was written.\n"},
        {{"compile", in, out, "--from", noFolder},
         1,
         "vxa-tool: " + noFolder + ": File not found\n"},
        {{"compile", in, out, "--from"}, 2, compileUsage},
        {{"extract", in}, 2, extractUsage},
        {{"extract", in, dir.file("e"), "x"}, 2, extractUsage},
        {{"extract", junk, dir.file("e")}, 1, "vxa-tool: " + junk + ": Read beyond end of file\n"},
        {{"extract", in, dir.file("e"), "2"},
         2,
         "vxa-tool extract: entry 2 is blank and has nothing to extract (\"2\")\n"},
        {{"extract", in, dir.file("e"), "5"}, 2, extractUsage},
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

TEST_F(CliTest, EveryCommandTakesPathsBeginningWithADashAfterDoubleDash) {
    std::filesystem::copy_file(in, dir.file("-in.vxa"));
    dir.write("-plan.vxc", FormatScript("-in.vxa", "unused.vxa", oneItem()));
    const std::vector<std::vector<std::string>> commands{
        {"list", "--", "-in.vxa"},
        {"compile", "--", "-in.vxa", "-c.vxa", "4=" + file},
        {"extract", "--", "-in.vxa", "-x"},
        {"run", "--out", "-r.vxa", "--", "-plan.vxc"}};
    for (const auto& args : commands) {
        const RunResult r = Tool(args, dir.path());
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
    const std::string expected =
        BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("NEW")});
    EXPECT_EQ(ReadFile(dir.file("-c.vxa")), expected);
    EXPECT_EQ(ReadFile(dir.file("-r.vxa")), expected);
}

// vxa-tool run as another user: what that user may not write, or may not
// keep the owner of, is refused and kept; the error names the file.
TEST_F(CliTest, AnotherUsersFilesAreRefusedAndKept) {
    if (getuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to run vxa-tool as another user";
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const std::string secret = dir.write("secret.bin", "S");
    ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
    struct Case {
        std::string target;
        uid_t owner;
        mode_t mode;
        std::string replacement, refused;  // the file named in the error, if any
    };
    for (const Case& c : std::vector<Case>{{"mine.vxa", 65534, 0644, file, ""},
                                           {"readonly.vxa", 65534, 0444, file, "readonly.vxa"},
                                           {"roots.vxa", 0, 0644, file, "roots.vxa"},
                                           {"shared.vxa", 0, 0666, file, "shared.vxa"},
                                           {"new.vxa", 0, 0, secret, "secret.bin"}}) {
        const std::string target = dir.file(c.target);
        if (c.mode != 0) {
            WriteFile(target, "old");
            ASSERT_EQ(chown(target.c_str(), c.owner, c.owner), 0);
            ASSERT_EQ(chmod(target.c_str(), c.mode), 0);
        }
        const RunResult r =
            test::Run({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                       VXA_TOOL_PATH, "compile", in, target, "4=" + c.replacement});
        if (c.refused.empty()) {
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(ReadFile(target),
                      BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("NEW")}));
        } else {
            EXPECT_EQ(r.err, "vxa-tool: " + dir.file(c.refused) + ": File access denied\n");
            EXPECT_EQ(c.mode == 0 ? !std::filesystem::exists(target) : ReadFile(target) == "old",
                      true)
                << c.target;
        }
    }
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"f.bin", "in.vxa", "mine.vxa", "readonly.vxa",
                                                     "roots.vxa", "secret.bin", "shared.vxa"}));
}

// A compile killed at any moment leaves the old output or the whole new one,
// and nothing else beside it.
TEST_F(CliTest, AKilledCompileLeavesNothingBehind) {
    if (const int probe = open(dir.path().c_str(), O_RDWR | O_TMPFILE, 0600); probe < 0)
        GTEST_SKIP() << "no unnamed files here: a kill -9 leaves a named one";
    else
        close(probe);
    const std::string big = dir.write("big.bin", std::string(48 << 20, 'B'));
    WriteFile(out, "old");
    const auto names = dir.names();
    const std::size_t newSize = 4 * 5 + 10 + 2 + 10 + (48 << 20);
    for (const useconds_t wait : {0, 2000, 5000, 10000, 20000, 40000}) {
        const pid_t child = Start({VXA_TOOL_PATH, "compile", in, out, "4=" + big});
        usleep(wait);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        EXPECT_EQ(dir.names(), names) << wait;
        EXPECT_TRUE(ReadFile(out) == "old" || std::filesystem::file_size(out) == newSize) << wait;
    }
}

TEST(CliUsage, HelpAndVersion) {
    RunResult r = Tool({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("vxa-tool list -- -old.vxa"), std::string::npos);
    EXPECT_NE(r.out.find("example: vxa-tool compile"), std::string::npos);
    EXPECT_NE(r.out.find("example: vxa-tool extract"), std::string::npos);
    r = Tool({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("vxa-tool 1.", 0), 0u);
}

}  // namespace
}  // namespace vxa::test
