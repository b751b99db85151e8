// Compiles and entries taken out, compared byte for byte; and compiles
// through a file system that fails where the test says.
#include <unistd.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#endif

#include <chrono>
#include <csignal>
#include <ctime>
#include <map>
#include <regex>
#include <set>
#include <thread>

#include "core/Compiler.h"
#include "core/io/AtomicFile.h"
#include "core/io/Console.h"
#include "core/io/TempFiles.h"
#include "core/io/WritePaths.h"
#include "plan/Plan.h"
#include "support/Suite.h"
#include "ui/CompileHandlers.h"
#include "ui/ExtractHandlers.h"
#include "ui/PlanHandlers.h"

namespace vxa::test {
namespace {

class CompilerTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    TestFileSystem faulty;
    Context fc{h.state, h.view, faulty};

    void load(const std::string& bytes) {
        ASSERT_EQ(LoadInWindow(h.ctx, dir.write("in.vxa", bytes), false), LoadOutcome::Complete);
        h.view.log.clear();
    }
    // Records `path` for the entry's sharing group.
    void replace(int entry, const std::string& path) {
        AddReplacement(h.state.Replacements, h.state.Table, entry, path);
    }
    std::string compile() {
        CompileArchive(h.ctx.Fs, h.ctx.State, h.ctx.State.Replacements, dir.file("out.vxa"));
        return ReadFile(dir.file("out.vxa"));
    }
};

TEST_F(CompilerTest, CanonicalArchivesAreCopiedIdenticallyOthersMadeCanonical) {
    // The format's own examples: A owns, one shares A, one is blank, B owns.
    for (const std::string& archive :
         {U32(4), U32(16) + U32(0) + U32(16) + U32(30) + U32(4) + U32(4) + U16(0) + "ABCD",
          U32(20) + U32(20) + U32(0) + U32(33) + U32(48) + U32(99) + U32(3) + U16(5) + "aaa" +
              U32(7) + U32(5) + U16(2) + "bbbbb"}) {
        load(archive);
        EXPECT_EQ(compile(), archive);
    }
    // A big record goes to the kernel to copy, the whole blocks apart; the
    // records after it lie past 16 MiB, where every byte of a value counts.
    const std::vector<TestEntry> entries{Owned(std::string(1 << 24, 'B'), 2),
                                         Owned("x"),
                                         Blank(),
                                         Shared(0),
                                         Owned("", 1, 9),
                                         Shared(4),
                                         Owned("yy", 3, 7)};
    const std::string bytes = BuildArchive(entries);
    for (const Layout layout : {Layout{}, Layout{.reverseRecords = true, .gap = 7}}) {
        load(BuildArchive(entries, layout));
        EXPECT_TRUE(compile() == bytes);
    }
    // Onto another file system, where the kernel may refuse: through memory.
    const std::string other = "/dev/shm/vxa-test-" + std::to_string(getpid()) + ".vxa";
    if (std::filesystem::is_directory("/dev/shm")) {
        CompileArchive(h.ctx.Fs, h.ctx.State, h.ctx.State.Replacements, other);
        EXPECT_TRUE(ReadFile(other) == bytes);
        std::filesystem::remove(other);
    }
}

// Plans as a script may hold them: records of shared, blank or unknown
// entries do nothing, and the last record of an entry decides, so one whose
// file is missing keeps the entry as it is.
TEST_F(CompilerTest, OnlyTheLastRecordOfAnOwnedEntryCounts) {
    const std::vector<TestEntry> group{Blank(), Owned("old", 9, 50), Shared(1), Owned("z"),
                                       Shared(1)};
    load(BuildArchive(group));
    for (const int index : {2, 0, 4, -1, 5, 1000, 1})
        h.state.Replacements.append(index, dir.write("r", "R"));
    h.state.Replacements.append(1, dir.file("missing"));
    EXPECT_EQ(compile(), BuildArchive(group));
    // A running program may be read but not opened for writing, even by root.
    replace(1, RunningProgram());
    EXPECT_TRUE(compile() == BuildArchive({Blank(), Owned(ReadFile(RunningProgram())), Shared(1),
                                           Owned("z"), Shared(1)}));
}

// Another program rewrites the loaded archive in place, before a compile
// or while it copies: no output replaces anything, onto another file or
// onto the archive itself, until it is loaded again. What leaves its bytes
// alone (a new mode, a second name, a move, another file under its name)
// refuses nothing.
TEST_F(CompilerTest, AnArchiveChangedOnDiskIsNotCompiled) {
    const std::string archive = BuildArchive({Owned("old"), Shared(0)});
    const auto rewrite = [&] {
        WriteFile(dir.file("in.vxa"), archive.substr(0, archive.size() - 1) + "w");
        const auto later = std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5);
        std::filesystem::last_write_time(FsPath(dir.file("in.vxa")), later);
    };
    WriteFile(dir.file("out.vxa"), "precious");
    for (const auto& [target, during] :
         {std::pair{"out.vxa", false}, std::pair{"in.vxa", false}, std::pair{"out.vxa", true}}) {
        load(archive);
        replace(0, dir.write("r.bin", "new"));
        faulty.onOpen = during ? rewrite : std::function<void()>();  // as the copy starts
        if (!during)
            rewrite();  // the same size, a new time
        h.state.OutPath = dir.file(target);
        SvahBtnClick(fc);
        EXPECT_EQ(h.view.log.back(), "box Error|error|" + std::string(kArchiveChanged));
        EXPECT_EQ(ReadFile(dir.file("out.vxa")) + ReadFile(dir.file("in.vxa")).back(), "preciousw");
        EXPECT_EQ(dir.names(), (Lines{"in.vxa", "out.vxa", "r.bin"}));
    }
    load(archive);  // loaded again, it compiles
    replace(0, dir.file("r.bin"));
#ifndef _WIN32  // change times, modes and links are Linux's
    const std::string in = dir.file("in.vxa"), moved = dir.file("moved.vxa");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a later change time
    ASSERT_FALSE(chmod(in.c_str(), 0444) || link(in.c_str(), dir.file("2nd").c_str()) ||
                 ::rename(in.c_str(), moved.c_str()) ||
                 ::rename(dir.write("new", "").c_str(), moved.c_str()));
#endif
    EXPECT_EQ(compile(), BuildArchive({Owned("new"), Shared(0)}));
}

// The compile button: an output first, a complete load, a question about
// missing files, then the compile under the busy cursor.
TEST_F(CompilerTest, TheCompileButtonAsksForWhatIsMissing) {
    const std::string out = dir.file("out.vxa");
    SvahBtnClick(h.ctx);  // before any load: asks for the output, compiles nothing
    h.view.dialogAnswers = {out};
    SvahBtnClick(h.ctx);
    EXPECT_EQ(h.state.OutPath, out);
    load(BuildArchive({Owned("aa", 1, 5), Shared(0), Owned("bb", 2, 6)}));
    h.state.OutPath.clear();
    SvhBtnClick(h.ctx);  // cancelled: nothing chosen
    SvahBtnClick(h.ctx);
    h.state.OutPath = out;
    replace(0, dir.file("gone.wav"));
    replace(2, dir.write("b.wav", "B"));
    h.view.answers = {MsgAnswer::No, MsgAnswer::Yes};
    SvahBtnClick(h.ctx);
    EXPECT_FALSE(std::filesystem::exists(out));
    SvahBtnClick(h.ctx);
    // The group's two records name one file: it is listed once.
    const std::string question = "box Error|warning|The following files don't exist:\r" +
                                 dir.file("gone.wav") + "\r\rContinue?";
    EXPECT_EQ(h.view.log, (Lines{"dialog SaveDialog1", "dialog SaveDialog1", question, question,
                                 "busy", "idle"}));
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("aa", 1, 5), Shared(0), Owned("B")}));
    // Forty files at most, each once, and a count of the others.
    std::string box = question;  // the paths go before "\r\rContinue?"
    for (int k = 0; k < 43; ++k) {
        replace(0, dir.file(std::to_string(k)));
        replace(2, dir.file("0"));
        std::string line;  // appended piece by piece: GCC 12 at -O3 takes a + for an overlap
        if (k < 39)
            line.append("\r").append(dir.file(std::to_string(k)));
        box.insert(box.size() - 11, line);
    }
    EXPECT_FALSE(ConfirmMissingFiles(h.ctx));
    EXPECT_EQ(h.view.log.back(), box.insert(box.size() - 11, "\r... and 4 more"));
}

TEST_F(CompilerTest, EntriesTakenOutAreNamedByNumberAndKind) {
    using namespace std::string_literals;
    const std::string wav = "RIFF\x24\0\0\0WAVEfmt "s, xmi = "FORM\0\0\0\x04XDIR"s;
    load(BuildArchive({Owned(wav), Owned("SMK2 video"), Owned("SMK4"), Owned(xmi),
                       Owned("RIFF\0\0\0\0AVI "s), Owned(wav, 3) /* packed */, Shared(0), Blank(),
                       Owned("SMK"), Shared(5)}));
    TempDir out;
    out.write("02.smk", "old");
    // Files of those names are there: one question, and No writes nothing.
    EXPECT_EQ(ExtractAll(h.ctx, out.path(), {}), ExtractOutcome::Declined);
    // Told how far it came before each file, it may stop between two.
    std::vector<int> told;
    h.view.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    const auto twoOfNine = [&](int done, int total) {
        return told.push_back(done * total), done < 2;
    };
    EXPECT_EQ(ExtractAll(h.ctx, out.path(), twoOfNine), ExtractOutcome::Cancelled);
    EXPECT_EQ(told, (std::vector<int>{0, 9, 18}));
    EXPECT_EQ(out.names(), (Lines{"01.wav", "02.smk"}));
    EXPECT_EQ(ExtractAll(h.ctx, out.path(), {}), ExtractOutcome::Done);
    const std::string replace = " files in this folder will be replaced. Replace them?";
    EXPECT_EQ(h.view.logged("box"), (Lines{"box Simple question|question|1" + replace,
                                           "box Simple question|question|1" + replace,
                                           "box Simple question|question|2" + replace}));
    EXPECT_EQ(out.names(), (Lines{"01.wav", "02.smk", "03.smk", "04.xmi", "05.bin", "06.bin",
                                  "07.wav", "09.bin", "10.bin"}));
    EXPECT_EQ(ReadFile(out.file("02.smk")) + ReadFile(out.file("10.bin")), "SMK2 video" + wav);
}

// With a replacement file of 5 MiB and a byte, so that reads and writes come
// in pieces, the last a byte alone.
class SafeCompileTest : public CompilerTest {
  protected:
    const std::string big = std::string(5 << 20, 'B') + "!";
    void SetUp() override {
        load(BuildArchive(
            {Owned("kept", 3, 70), Shared(0), Blank(), Owned("old", 1), Owned("old2", 2)}));
        h.state.Replacements.append(3, dir.write("big.bin", big));
        h.state.Replacements.append(4, dir.write("small.bin", "small"));
    }
};

// Owners, modes and signals are Linux's; WindowsTest.cpp has the
// counterparts: attributes kept, a killed compile leaving nothing behind.
#ifndef _WIN32
// Compiles once to count the steps, then once per step with that step
// failing: an existing output, the loaded archive among them, stays as it
// was, and no new file is left; with the new file unnamed while it is
// written, then named from the start. A replaced file keeps its owner,
// group and mode; a new one gets what open(2) gives it.
TEST_F(SafeCompileTest, FailureAtEveryStepKeepsAnExistingOutputTheArchiveOrNothing) {
    static const std::map<std::string, int> kErrno{
        {"open", ENOENT},  {"inspect", ELOOP}, {"create", EACCES},
        {"write", ENOSPC}, {"chown", EPERM},   {"chmod", EPERM},
        {"link", EMLINK},  {"close", EDQUOT},  {"rename", EXDEV}};
    const std::string old = dir.write("out.vxa", "precious old output");
    ASSERT_EQ(chmod(old.c_str(), 0641), 0);
    ASSERT_TRUE(getuid() != 0 || (chown(old.c_str(), 65534, getgid()) == 0 &&  // another user's
                                  chown(dir.file("in.vxa").c_str(), 0, 65534) == 0));  // group's
    const mode_t mask = umask(0);
    umask(mask);
    for (const std::string& target : {old, dir.file("in.vxa"), dir.file("new.vxa")}) {
        const bool existed = faulty.fileExists(target);
        const std::string before = existed ? ReadFile(target) : "";
        struct stat st {};
        st.st_mode = 0666 & ~mask, st.st_uid = getuid(), st.st_gid = getgid();
        ASSERT_TRUE(!existed || stat(target.c_str(), &st) == 0);
        const Lines files = dir.names();
        h.state.OutPath = target;
        for (const bool named : {false, true}) {
            faulty.refuseUnnamed = named;
            faulty.reset();
            // Started with its input closed, a process's next file is
            // descriptor 0: the new file may be that one.
            const int input = dup(0);
            close(0);
            const bool compiled = CompileAndReport(fc, target);
            dup2(input, 0), close(input);
            ASSERT_TRUE(compiled);
            const Lines steps = faulty.trace();
            // Only an output that replaces a file is synced before the rename.
            std::set<std::string> expected{"inspect", "create", "open",  "read",
                                           "write",   "chmod",  "close", "rename"};
            if (existed)
                expected.insert({"flush", "chown"});
            if (!named)
                expected.insert("link");
            ASSERT_EQ(std::set(steps.begin(), steps.end()), expected);
            ASSERT_GE(std::count(steps.begin(), steps.end(), "write"), 2);
            ASSERT_TRUE(ReadFile(target) == BuildArchive({Owned("kept", 3, 70), Shared(0), Blank(),
                                                          Owned(big), Owned("small")}));
            struct stat now {};
            ASSERT_EQ(stat(target.c_str(), &now), 0);
            EXPECT_EQ(std::tuple(now.st_mode & 07777, now.st_uid, now.st_gid),
                      std::tuple(st.st_mode & 07777, st.st_uid, st.st_gid));
            existed ? WriteFile(target, before) : void(std::filesystem::remove(target));
            for (std::size_t k = 0; k < steps.size(); ++k) {
                const int errnum = kErrno.contains(steps[k]) ? kErrno.at(steps[k]) : EIO;
                faulty.reset();
                faulty.failStep(int(k + 1), errnum);
                h.view.log.clear();
                SvahBtnClick(fc);
                EXPECT_EQ(h.view.log, (Lines{"busy", "idle", GeneralError(IoErrorText(errnum))}))
                    << target << named << k;
                EXPECT_EQ(dir.names(), files);
                EXPECT_EQ(existed ? ReadFile(target) : "", before);
                EXPECT_TRUE(h.state.ArchiveComplete && h.state.Replacements.Count == 2);
            }
        }
    }
}

// SIGINT, SIGTERM and SIGHUP remove a named temporary file and still end the
// process: vxa-tool's, as its start sets them up (the window's too: Qt has
// no handlers of its own for them).
TEST_F(SafeCompileTest, SignalsRemoveANamedNewFile) {
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        if (child == 0) {
            char name[] = "vxa-tool";
            char* argv[] = {name, nullptr};
            StartConsoleProgram(1, argv);
            faulty.refuseUnnamed = chdir(dir.path().c_str()) == 0;  // named relative to it, once
            for (int k = 0; k < 9; ++k)  // more than are ever new at once: each is let go
                AtomicFile(faulty, "out.vxa").commit();
            AtomicFile out(faulty, sig == SIGINT ? "out.vxa" : dir.file("out.vxa"));
            if (write(ready[1], "!", 1) == 1)
                pause();
            _exit(0);
        }
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        EXPECT_EQ(dir.names().size(), 5u);  // the inputs, the output and the new file
        kill(child, sig);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << sig;
        EXPECT_EQ(dir.names(), (Lines{"big.bin", "in.vxa", "out.vxa", "small.bin"}));
        close(ready[0]);
        close(ready[1]);
    }
}

#endif

// The size guard refuses before anything is touched; a replacement file
// that shrank since its length was taken fails the compile.
TEST_F(SafeCompileTest, SizesThatDoNotFitOrDoNotHoldAreRefused) {
    h.state.OutPath = dir.write("out.vxa", "old");
    // Everything but the small file's record: table, "kept", big, one header.
    const std::uint64_t others = 24 + 14 + 10 + big.size() + 10;
    for (const std::uint64_t size :
         {std::uint64_t{1} << 32, 0x80000000 - others, std::uint64_t{6}}) {
        faulty.reset();
        faulty.sizes[dir.file("small.bin")] = size;  // 6: one byte more than it holds
        SvahBtnClick(fc);
        EXPECT_EQ(h.view.log.back(), size == 6
                                         ? GeneralError(kReadBeyondEnd)
                                         : "box Error|error|" + std::string(kArchiveTooLarge));
        EXPECT_EQ(faulty.trace().empty(), size != 6);
        EXPECT_EQ(ReadFile(h.state.OutPath), "old");
        EXPECT_EQ(dir.names(), (Lines{"big.bin", "in.vxa", "out.vxa", "small.bin"}));
    }
    faulty.sizes[dir.file("small.bin")] = 0x7FFFFFFF - others;  // the largest readable
    EXPECT_EQ(LayOutArchive(fc.Fs, fc.State.Table, fc.State.Replacements).Values.back(),
              0x7FFFFFFFu);
}

// A new file is written under a hidden name of its own beside the target,
// one that another writer's is unlikely to meet.
TEST(TempNameTest, HiddenAndDrawnAnew) {
    const std::string a = RandomTempName(), b = RandomTempName();
    const std::regex shape(R"(\.vxa-[A-Za-z0-9]{8})");
    EXPECT_TRUE(std::regex_match(a, shape) && std::regex_match(b, shape)) << a << " " << b;
    EXPECT_NE(a, b);
}

}  // namespace
}  // namespace vxa::test
