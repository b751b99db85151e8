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

using Args = std::vector<std::string>;

class CliTest : public ::testing::Test {
  protected:
    TempDir dir;
    // Entry 3 shares entry 1's record; the records lie out of order.
    const std::vector<TestEntry> entries{Owned("aa", 4, 9), Blank(), Shared(0), Owned("bb", 1, 5)};
    std::string in = dir.write("in.vxa", BuildArchive(entries, {.reverseRecords = true, .gap = 2}));
    std::string out = dir.file("out.vxa");
    std::string file = dir.write("f.bin", "NEW");
    // What replacing entry 4 by f.bin gives.
    std::string withNew = BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("NEW")});

    ReplRec oneItem() const {
        ReplRec r;
        r.append(3, file);
        return r;
    }
    std::string script(const std::string& name, const std::string& input, const std::string& output,
                       const ReplRec& items) const {
        return dir.write(name, FormatScript(input, output, items));
    }
};

TEST_F(CliTest, ListPrintsTheGridColumnsOfEveryEntry) {
    RunResult r = Tool({"list", in});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "1\t36\t9\t2\t4/N\n2\tBLANK\t0\t0\t0/B\n3\t36\t0\t0\t4/R:1\n4\t22\t5\t2\t1/N\n");
    r = Tool({"list", dir.write("e.vxa", U32(4))});  // an empty archive
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out + r.err, "");
}

TEST_F(CliTest, CompileReplacesGroupsAsTheWindowDoesAndListsMissingFiles) {
    const std::string one = dir.write("one.bin", "1"), gone = dir.file("gone.bin");
    // Replacing entry 3 replaces its group; the last argument for an entry counts.
    RunResult r = Tool({"compile", in, out, "3=" + one, "4=" + one, "4=" + file});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err + r.out, "");
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("1"), Blank(), Shared(0), Owned("NEW")}));
    r = Tool({"compile", in, out, "1=" + gone, "3=" + gone, "4=" + file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "The following files don't exist:\n" + gone +
                  "\nNothing was written; --skip-missing keeps their entries as they are.\n");
    EXPECT_EQ(Tool({"compile", "--skip-missing", in, out, "1=" + gone, "4=" + file}).exitCode, 0);
    EXPECT_EQ(ReadFile(out), withNew);
    // No replacements: a canonical copy; over the input itself too.
    EXPECT_EQ(Tool({"compile", in, in}).exitCode, 0);
    EXPECT_EQ(ReadFile(in), BuildArchive(entries));
}

TEST_F(CliTest, RunWritesWhatCompileWritesForTheSamePlanAndNamesMissingFiles) {
    const std::string g = dir.write("g.bin", "GROUP!"), gone = dir.file("gone.wav");
    ReplRec items;  // as the window records them: one item per group member
    items.append(0, g);
    items.append(2, g);
    items.append(3, file);
    items.append(1, gone);
    const std::string s = script("plan.vxc", in, dir.file("own.vxa"), items);
    ASSERT_EQ(Tool({"compile", in, dir.file("c.vxa"), "1=" + g, "4=" + file}).exitCode, 0);
    const RunResult r = Tool({"run", s, "--out", out});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err + r.out, "* file 2 --> " + gone + "\n");
    EXPECT_EQ(ReadFile(out), ReadFile(dir.file("c.vxa")));
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("GROUP!"), Blank(), Shared(0), Owned("NEW")}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("own.vxa")));
    // Without --out the script's own output is written.
    EXPECT_EQ(Tool({"run", s}).exitCode, 0);
    EXPECT_EQ(ReadFile(dir.file("own.vxa")), ReadFile(out));
}

// The modding loop: take every entry out, edit some files, put the folder
// back. Only edited files count, so the result is byte for byte what NR=FILE
// for the edited entries gives.
TEST_F(CliTest, ExtractThenCompileFromGivesWhatNrEqualsFileGives) {
    const std::string x = dir.file("x");
    ASSERT_EQ(Tool({"extract", in, dir.file("new/only4"), "4", "4"}).exitCode, 0);
    EXPECT_EQ(dir.names(), (Args{"f.bin", "in.vxa", "new"}));
    EXPECT_EQ(ReadFile(dir.file("new/only4/4.bin")), "bb");
    struct Case {
        std::vector<std::pair<std::string, std::string>> edits;  // file, new bytes
        Args args, sameAs;                                       // NR=FILE with --from, without
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
        EXPECT_EQ(ReadFile(x + "/1.bin") + ReadFile(x + "/3.bin") + ReadFile(x + "/4.bin"),
                  "aaaabb");
        for (const auto& [name, bytes] : c.edits)
            WriteFile(x + "/" + name, bytes);
        Args args{"compile", in, out, "--from", x + "/"};
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
    const std::string junk = dir.write("junk.vxa", "junk"), noFolder = dir.file("no/out.vxa");
    const std::string s = script("s.vxc", in, out, oneItem());
    for (const char* sub : {"/c", "/b", "/b/3.bin"})  // folders that cannot say what to replace
        std::filesystem::create_directory(dir.path() + sub);
    for (const auto& [name, bytes] : {std::pair{"c/1.bin", "P"},
                                      {"c/3.bin", "Q"},
                                      {"b/2.bin", ""},
                                      {"b/4.bin", "bb"},
                                      {"b/04.bin.bak", "bb"}})
        dir.write(name, bytes);
    const std::string compileUsage = "vxa-tool compile: ...", runUsage = "vxa-tool run: ...";
    const std::vector<std::tuple<Args, int, std::string>> failures{
        {{"list", dir.file("missing.vxa")}, 1, "File doesn't exist !!!\n"},
        {{"list", junk}, 1, "vxa-tool: " + junk + ": Read beyond end of file\n"},
        {{"compile", in, noFolder}, 1, "vxa-tool: " + noFolder + ": File not found\n"},
        {{"compile", in, dir.path()}, 1, "vxa-tool: " + dir.path() + ": I/O error 21\n"},
        {{"run", script("p0.vxc", in, out, {})}, 1, "Script file is incorrect or damaged\n"},
        {{"run", dir.path()}, 1, "vxa-tool: " + dir.path() + ": File not found\n"},
        {{"run", script("p1.vxc", dir.file("gone.vxa"), out, oneItem())},
         1,
         "File doesn't exist !!!\n"},
        {{"run", script("p2.vxc", in, noFolder, oneItem())},
         1,
         "vxa-tool: " + noFolder + ": File not found\n"},
        {{"run", script("p3.vxc", in, "", oneItem())}, 2, "Output file not chosen\n"},
        {{}, 2, "usage: vxa-tool..."},
        {{"frobnicate"}, 2, "vxa-tool: unknown command 'frobnicate'\n\nusage: vxa-tool..."},
        {{"list"}, 2, "vxa-tool list: too few arguments\nusage: vxa-tool list [--] ARCHIVE\n"},
        {{"list", "-in.vxa"}, 2, "vxa-tool list: unknown option \"-in.vxa\"\n..."},
        {{"compile", "--skip-missing", "--skip-missing", in, out}, 2, compileUsage},
        {{"compile", in}, 2, compileUsage},
        {{"compile", in, out, "1"}, 2, compileUsage},         // no "="
        {{"compile", in, out, "=" + file}, 2, compileUsage},  // no number
        {{"compile", in, out, "+1=" + file}, 2, compileUsage},
        {{"compile", in, out, "1="}, 2, compileUsage},         // no file
        {{"compile", in, out, "0=" + file}, 2, compileUsage},  // numbers count from 1
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
        {{"extract", in}, 2, "vxa-tool extract: ..."},
        {{"extract", in, dir.file("e"), "x"}, 2, "vxa-tool extract: ..."},
        {{"extract", junk, dir.file("e")}, 1, "vxa-tool: " + junk + ": Read beyond end of file\n"},
        {{"extract", in, dir.file("e"), "2"},
         2,
         "vxa-tool extract: entry 2 is blank and has nothing to extract (\"2\")\n"},
        {{"extract", in, dir.file("e"), "5"}, 2, "vxa-tool extract: ..."},
        {{"extract", in, file + "/e"}, 1, "vxa-tool: " + file + "/e: I/O error 20\n"},
        {{"run", s, s}, 2, runUsage},
        {{"run", "--out", out}, 2, runUsage},
        {{"run", s, "--out", ""}, 2, runUsage},
    };
    const auto before = dir.names();
    for (const auto& [args, exitCode, err] : failures) {
        const RunResult r = Tool(args);
        const std::string what = ::testing::PrintToString(args);
        EXPECT_EQ(r.exitCode, exitCode) << what;
        EXPECT_EQ(r.out, "") << what;
        const bool prefix = err.ends_with("...");
        EXPECT_EQ(prefix ? r.err.substr(0, err.size() - 3) : r.err,
                  prefix ? err.substr(0, err.size() - 3) : err)
            << what;
    }
    EXPECT_EQ(dir.names(), before);
}

TEST_F(CliTest, EveryCommandTakesPathsBeginningWithADashAfterDoubleDash) {
    std::filesystem::copy_file(in, dir.file("-in.vxa"));
    script("-plan.vxc", "-in.vxa", "unused.vxa", oneItem());
    for (const Args& args :
         {Args{"list", "--", "-in.vxa"}, Args{"compile", "--", "-in.vxa", "-c.vxa", "4=" + file},
          Args{"extract", "--", "-in.vxa", "-x"},
          Args{"run", "--out", "-r.vxa", "--", "-plan.vxc"}})
        EXPECT_EQ(Tool(args, dir.path()).exitCode, 0) << args[0];
    EXPECT_EQ(ReadFile(dir.file("-c.vxa")), withNew);
    EXPECT_EQ(ReadFile(dir.file("-r.vxa")), withNew);
    EXPECT_EQ(ReadFile(dir.file("-x/4.bin")), "bb");
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
        mode_t mode;                       // 0: no file there
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
            ASSERT_EQ(chown(target.c_str(), c.owner, c.owner) | chmod(target.c_str(), c.mode), 0);
        }
        const RunResult r =
            test::Run({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                 VXA_TOOL_PATH, "compile", in, target, "4=" + c.replacement});
        if (c.refused.empty()) {
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(ReadFile(target), withNew);
        } else {
            EXPECT_EQ(r.err, "vxa-tool: " + dir.file(c.refused) + ": File access denied\n");
            EXPECT_TRUE(c.mode == 0 ? !std::filesystem::exists(target) : ReadFile(target) == "old")
                << c.target;
        }
    }
    EXPECT_EQ(dir.names(), (Args{"f.bin", "in.vxa", "mine.vxa", "readonly.vxa", "roots.vxa",
                                 "secret.bin", "shared.vxa"}));
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
    const RunResult help = Tool({"--help"}), version = Tool({"--version"});
    EXPECT_EQ(help.exitCode + version.exitCode, 0);
    for (const char* text :
         {"vxa-tool list -- -old.vxa", "example: vxa-tool compile", "example: vxa-tool extract"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
    EXPECT_TRUE(version.out.starts_with("vxa-tool 1."));
}

}  // namespace
}  // namespace vxa::test
