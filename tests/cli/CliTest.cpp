// vxa-tool end to end: its outputs byte for byte, its messages and exit
// statuses.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

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
    std::string in =
        dir.write("in.vxa", BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("bb", 1, 5)},
                                         {.reverseRecords = true, .gap = 2}));
    std::string out = dir.file("out.vxa"), file = dir.write("f.bin", "NEW");
    std::string withNew = BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("NEW")});

    std::string script(const std::string& name, const std::string& input, const std::string& output,
                       const std::vector<std::pair<int, std::string>>& items) {
        ReplRec r;
        for (const auto& [index, path] : items)
            r.append(index, path);
        return dir.write(name, FormatScript(input, output, r));
    }
    // stderr and the exit status, after checking that nothing went to stdout.
    std::string run(const Args& args) {
        const RunResult r = Tool(args);
        EXPECT_EQ(r.out, "") << ::testing::PrintToString(args);
        return std::to_string(r.exitCode) + " " + r.err;
    }
};

TEST_F(CliTest, ListCompileAndRunWriteWhatTheWindowWould) {
    // With its input closed, the archive gets descriptor 0. Byte for byte:
    // on Windows too, no "\r" before each "\n".
#ifdef _WIN32
    const std::string listed = Tool({"list", "--", in}).out;
#else
    const std::string listed =
        test::Run({"/bin/sh", "-c", "\"$0\" list -- \"$1\" <&-", VXA_TOOL_PATH, in}).out;
#endif
    EXPECT_EQ(listed,
              "1\t36\t9\t2\t4/N\n2\tBLANK\t0\t0\t0/B\n3\t36\t0\t0\t4/R:1\n4\t22\t5\t2\t1/N\n");
    // Replacing entry 3 replaces its group; the last argument for an entry counts.
    const std::string one = dir.write("one.bin", "1"), gone = dir.file("gone.bin");
    EXPECT_EQ(run({"compile", in, out, "3=" + one, "4=" + one, "4=" + file}), "0 ");
    const std::string withOne = BuildArchive({Owned("1"), Blank(), Shared(0), Owned("NEW")});
    EXPECT_EQ(ReadFile(out), withOne);
    EXPECT_EQ(run({"compile", in, out, "1=" + gone, "3=" + gone}),
              "1 The following files don't exist:\n" + gone +
                  "\nNothing was written; --skip-missing keeps their entries as they are.\n");
    // Forty missing files at most are named, then how many others there are.
    Args many{"compile", dir.write("many.vxa", BuildArchive(ManyEntries(42))), out};
    for (int nr = 1; nr <= 42; ++nr)
        many.push_back(std::to_string(nr) + "=" + gone + std::to_string(nr));
    EXPECT_NE(run(many).find("\n" + gone + "40\n... and 2 more\nNothing"), std::string::npos);
    EXPECT_EQ(run({"compile", "--skip-missing", "--", in, out, "1=" + gone, "4=" + file}), "0 ");
    EXPECT_EQ(ReadFile(out), withNew);
    // A script as the window records it, one item per group member: run
    // writes what compile writes, and names the files it skips.
    const std::string s =
        script("-p.vxc", in, dir.file("own.vxa"), {{0, one}, {2, one}, {3, file}, {1, gone}});
    EXPECT_EQ(run({"run", "--out", out, "--", s}), "0 * file 2 --> " + gone + "\n");
    EXPECT_EQ(ReadFile(out), withOne);
    EXPECT_EQ(Tool({"run", s}).exitCode, 0);  // to the script's own output
    EXPECT_EQ(ReadFile(dir.file("own.vxa")), withOne);
    EXPECT_EQ(run({"compile", in, in}), "0 ");  // a canonical copy over the input itself
    EXPECT_EQ(ReadFile(in),
              BuildArchive({Owned("aa", 4, 9), Blank(), Shared(0), Owned("bb", 1, 5)}));
    EXPECT_NE(Tool({"--help"}).out.find("example: vxa-tool list -- -old.vxa"), std::string::npos);
}

// The modding loop: take every entry out, edit some files, put the folder
// back. Only edited files count and NR=FILE wins for its group, so the
// result is what NR=FILE for the edited entries gives.
TEST_F(CliTest, ExtractThenCompileFromGivesWhatNrEqualsFileGives) {
    const std::string x = dir.file("x");
    EXPECT_EQ(run({"extract", "--", in, dir.file("new/only4"), "4", "4"}), "0 ");
    EXPECT_EQ(ReadFile(dir.file("new/only4/4.bin")), "bb");
    EXPECT_EQ(run({"extract", in, x}), "0 ");
    EXPECT_EQ(ReadFile(x + "/1.bin") + ReadFile(x + "/3.bin") + ReadFile(x + "/4.bin"), "aaaabb");
    // Entries 1 and 3 share a record and their files differ, but NR=FILE names them.
    for (const auto& [name, bytes] : {std::pair{"1.bin", "P"},
                                      {"3.bin", "Q"},
                                      {"notes.txt", "n"},
                                      {"04", "n"},
                                      {"0.bin", "n"},
                                      {"7.bin", "n"}})
        WriteFile(x + "/" + name, bytes);
    EXPECT_EQ(run({"compile", in, out, "--from", x + "/", "1=" + file}), "0 ");
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("NEW"), Blank(), Shared(0), Owned("bb", 1, 5)}));
    WriteFile(x + "/3.bin", "P");
    WriteFile(x + "/4.bin", "cc");
    const RunResult r = Tool({"compile", in, out, "--from", x});
    EXPECT_EQ(r.out + r.err, "1 <- " + x + kSep + "1.bin\n3 <- " + x + kSep + "1.bin\n4 <- " + x +
                                 kSep + "4.bin\n");
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("P"), Blank(), Shared(0), Owned("cc")}));
    EXPECT_EQ(run({"extract", "--", out, dir.file("y"), "1", "1"}), "0 ");  // one byte
    EXPECT_EQ(ReadFile(dir.file("y/1.bin")), "P");
}

// What the system says of a folder as the output, and of a file where a
// folder should be.
#ifdef _WIN32
constexpr const char* kFolderAsOutput = "File access denied";
constexpr const char* kFileAsFolder = "File not found";
#else
constexpr const char* kFolderAsOutput = "I/O error 21";
constexpr const char* kFileAsFolder = "I/O error 20";
#endif

TEST_F(CliTest, FailuresPrintTheProgramsMessageAndWriteNothing) {
    const auto inFolder = [&](const char* folder, const char* name) {
        return dir.file(folder) + kSep + name;
    };
    const std::string junk = dir.write("junk.vxa", "junk"), noFolder = dir.file("no/out.vxa");
    for (const char* sub : {"/c", "/b", "/b/3.bin"})  // folders that cannot say what to replace
        std::filesystem::create_directory(dir.path() + sub);
    for (const auto& [name, bytes] : {std::pair{"c/1.bin", "P"},
                                      {"c/3.bin", "Q"},
                                      {"b/2.bin", ""},
                                      {"b/4.bin", "bb"},
                                      {"b/04.bin.bak", "bb"}})
        dir.write(name, bytes);
    const std::vector<std::pair<Args, std::string>> failures{
        {{"list", dir.file("missing.vxa")}, "1 File doesn't exist !!!\n"},
        {{"compile", junk, out}, "1 vxa-tool: " + junk + ": Read beyond end of file\n"},
        {{"compile", in, dir.path()}, "1 vxa-tool: " + dir.path() + ": " + kFolderAsOutput + "\n"},
        {{"run", script("p0.vxc", in, out, {})},
         "1 vxa-tool: " + dir.file("p0.vxc") + ": Script file is incorrect or damaged\n"},
#ifndef _WIN32
        {{"run", "/proc/self/mem"},  // there, but it cannot be read
         "1 vxa-tool: /proc/self/mem: Script file is incorrect or damaged\n"},
#endif
        {{"run", dir.path()}, "1 vxa-tool: " + dir.path() + ": File not found\n"},
        {{"run", script("p2.vxc", in, noFolder, {{3, file}})},
         "1 vxa-tool: " + noFolder + ": File not found\n"},
        {{"run", script("p3.vxc", in, "", {{3, file}})}, "2 Output file not chosen\n"},
        {{"compile", in, out, "--from", dir.file("c")},
         "1 vxa-tool compile: entries 1 and 3 share their data, but their edited files differ: " +
             inFolder("c", "1.bin") + ", " + inFolder("c", "3.bin") + "\nNothing was written.\n"},
        {{"compile", in, out, "--from", dir.file("b")},
         "1 vxa-tool compile: entry 2 is blank and has nothing to replace: " +
             inFolder("b", "2.bin") +
             "\nvxa-tool compile: entry 4 has more than one file: " + inFolder("b", "04.bin.bak") +
             ", " + inFolder("b", "4.bin") + "\nNothing was written.\n"},
        {{"extract", in, file + "/e"}, "1 vxa-tool: " + file + "/e: " + kFileAsFolder + "\n"},
        {{"extract", in, dir.file("e"), "2"},
         "2 vxa-tool extract: entry 2 is blank and has nothing to extract (\"2\")\n"},
        {{"list"}, "2 vxa-tool list: too few arguments\nusage: vxa-tool list [--] ARCHIVE\n"}};
    const auto before = dir.names();
    for (const auto& [args, failure] : failures)
        EXPECT_EQ(run(args), failure);
    // Bad command lines: exit status 2 and the command's usage.
    for (const Args& args : std::vector<Args>{{"frobnicate"},
                                              {"list", "-in.vxa"},
                                              {"run", "x", "--out", ""},
                                              {"extract", in, "e", "5"},
                                              {"compile", in, out, "+1=f"},
                                              {"compile", in, out, "99999999999999999999999=f"}})
        EXPECT_TRUE(run(args).starts_with("2 ")) << ::testing::PrintToString(args);
    EXPECT_EQ(dir.names(), before);
}

#ifdef _WIN32
// Windows paths: "\" and "/" alike, a name outside any code page, a path
// past 260 characters; a device name refused as the output.
TEST_F(CliTest, WindowsPathsAndDeviceNames) {
    std::string deep = dir.path();
    while (deep.size() < 300)
        deep += "\\" + std::string(40, 'd');
    ASSERT_TRUE(std::filesystem::create_directories(FsPath("\\\\?\\" + deep)));
    for (const std::string& target : {dir.file("t\xC3\xABst\xE2\x82\xAC.vxa"), deep + "/out.vxa"}) {
        EXPECT_EQ(run({"compile", in, target, "4=" + file}), "0 ");
        EXPECT_EQ(Tool({"list", target}).out.substr(0, 2), "1\t");
    }
    EXPECT_EQ(ReadFile(dir.file("t\xC3\xABst\xE2\x82\xAC.vxa")), withNew);
    EXPECT_EQ(ReadFile("\\\\?\\" + deep + "\\out.vxa"), withNew);
    const auto before = dir.names();
    for (const std::string& device : {std::string("CON"), dir.path() + "/aux.vxa"})
        EXPECT_EQ(run({"compile", in, device}),
                  "1 vxa-tool: " + device + ": Reserved device name, not a file\n");
    EXPECT_EQ(dir.names(), before);
}

// A compile killed midway (taskkill /F) leaves the output as it was and
// nothing beside it: the system deletes the new file, marked for deletion
// until the rename, when the process's handles go.
TEST_F(CliTest, AKilledCompileLeavesTheOutputWhole) {
    const std::string big = dir.file("big.bin");
    {
        std::ofstream o(FsPath(big), std::ios::binary);
        const std::string mib(1 << 20, 'b');
        for (int k = 0; k < 128; ++k)
            o << mib;
    }
    WriteFile(out, "precious");
    const auto before = dir.names();
    TempDir logs;
    HANDLE tool =
        Start({VXA_TOOL_PATH, "compile", in, out, "4=" + big}, {}, logs.file("o"), logs.file("e"));
    ASSERT_TRUE(tool);
    bool seen = false;
    for (int k = 0; k < 10000 && !seen; ++k) {
        for (const std::string& name : dir.names())
            seen = seen || name.starts_with(".vxa-");
        Sleep(seen ? 0 : 1);
    }
    TerminateProcess(tool, 9);
    Wait(tool);
    EXPECT_TRUE(seen);
    EXPECT_EQ(ReadFile(out), "precious");
    EXPECT_EQ(dir.names(), before);
}
#else  // users and permission bits are Linux's
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
        const bool refused = !c.refused.empty();
        const RunResult r =
            test::Run({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                       VXA_TOOL_PATH, "compile", in, target, "4=" + c.replacement});
        EXPECT_EQ(r.err,
                  refused ? "vxa-tool: " + dir.file(c.refused) + ": File access denied\n" : "");
        EXPECT_TRUE(c.mode ? ReadFile(target) == (refused ? "old" : withNew)
                           : !std::filesystem::exists(target))
            << c.target;
    }
}

#endif

}  // namespace
}  // namespace vxa::test
