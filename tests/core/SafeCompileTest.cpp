#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <map>
#include <set>

#include "core/AtomicFile.h"
#include "core/Compiler.h"
#include "core/IoError.h"
#include "core/Loader.h"
#include "core/TempFiles.h"
#include "plan/Plan.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"

namespace vxa::test {
namespace {

using Lines = std::vector<std::string>;

// A plausible error for each kind of step.
int ErrnoFor(const std::string& step) {
    static const std::map<std::string, int> kErrno{
        {"open", ENOENT},  {"inspect", ELOOP}, {"create", EACCES},
        {"write", ENOSPC}, {"chown", EPERM},   {"chmod", EPERM},
        {"link", EMLINK},  {"close", EDQUOT},  {"rename", EXDEV}};
    const auto it = kErrno.find(step);
    return it == kErrno.end() ? EIO : it->second;
}

// Compiles through a file system that fails where the test says: whatever
// fails, an existing output stays as it was and no temporary file is left.
class SafeCompileTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    TestFileSystem faulty;
    Context fc{h.state, h.view, faulty};
    // Large enough to need several reads and writes.
    const std::string big = std::string(5 << 20, 'B') + "end";

    void SetUp() override {
        const std::string archive = BuildArchive(
            {Owned("kept", 3, 70), Shared(0), Blank(), Owned("old", 1), Owned("old2", 2)});
        ASSERT_EQ(LoadArchive(h.ctx, dir.write("in.vxa", archive), false), LoadOutcome::Complete);
        h.state.Replacements.append(3, dir.write("big.bin", big));
        h.state.Replacements.append(4, dir.write("small.bin", "small"));
        h.view.log.clear();
    }

    // Compiles once to count the steps, then once per step with that step
    // failing, and checks what each failure leaves behind; with the new file
    // unnamed while it is written, then named from the start.
    void sweep(const std::string& target) {
        h.state.OutPath = target;
        const bool existed = faulty.fileExists(target);
        const std::string before = existed ? ReadFile(target) : "";
        const Lines files = dir.names();
        const ReplRec plan = h.state.Replacements;
        // A replaced file's owner, group and mode are kept; a new file gets
        // what open(2) would give it.
        struct stat st {};
        const mode_t mask = umask(0);
        umask(mask);
        st.st_mode = 0666 & ~mask, st.st_uid = getuid(), st.st_gid = getgid();
        ASSERT_TRUE(!existed || stat(target.c_str(), &st) == 0);
        for (const bool named : {false, true}) {
            faulty.refuseUnnamed = named;
            faulty.reset();
            ASSERT_TRUE(CompileAndReport(fc, target));
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
            ASSERT_EQ(ReadFile(target), BuildArchive({Owned("kept", 3, 70), Shared(0), Blank(),
                                                      Owned(big), Owned("small")}));
            struct stat now {};
            ASSERT_EQ(stat(target.c_str(), &now), 0);
            EXPECT_EQ(std::tuple(now.st_mode & 07777, now.st_uid, now.st_gid),
                      std::tuple(st.st_mode & 07777, st.st_uid, st.st_gid));
            if (existed)
                WriteFile(target, before);
            else
                std::filesystem::remove(target);

            for (std::size_t k = 0; k < steps.size(); ++k) {
                for (const bool shortRead : {false, true}) {
                    if (shortRead && steps[k] != "read")
                        continue;
                    SCOPED_TRACE(std::to_string(named) + " step " + std::to_string(k + 1) + " " +
                                 steps[k] + (shortRead ? " short" : ""));
                    faulty.reset();
                    shortRead ? faulty.shortenRead(int(k + 1))
                              : faulty.failStep(int(k + 1), ErrnoFor(steps[k]));
                    h.view.log.clear();
                    SvahBtnClick(fc);
                    EXPECT_EQ(h.view.log,
                              (Lines{"busy", "idle",
                                     "ioerror " + (shortRead ? kReadBeyondEnd
                                                             : IoErrorText(ErrnoFor(steps[k])))}));
                    EXPECT_EQ(dir.names(), files);
                    EXPECT_EQ(existed ? ReadFile(target) : "", before);
                    EXPECT_EQ(h.state.Replacements, plan);
                    EXPECT_EQ(h.state.OutPath, target);
                    EXPECT_TRUE(h.state.ArchiveComplete);
                }
            }
        }
    }
};

TEST_F(SafeCompileTest, FailureAtEveryStepKeepsAnExistingOutputTheArchiveOrNothing) {
    const std::string target = dir.write("out.vxa", "precious old output");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    // Root replaces another user's file.
    ASSERT_TRUE(getuid() != 0 || chown(target.c_str(), 65534, 65534) == 0);
    for (const std::string& t : {target, dir.file("in.vxa"), dir.file("new.vxa")}) {
        SCOPED_TRACE(t);
        sweep(t);
    }
}

// Links are written through and stay links; a FIFO is written into; a name
// of the longest legal length works; a link loop is refused.
TEST_F(SafeCompileTest, OutputsThatAreNoPlainFileAreWrittenWhereTheyLead) {
    h.state.Replacements.clear();  // a small output, which fits in a pipe
    const std::string copy = ReadFile(dir.file("in.vxa"));
    TempDir real;
    const std::string longest(255, 'n');
    ASSERT_EQ(symlink(real.write("live.vxa", "old").c_str(), dir.file("live").c_str()), 0);
    ASSERT_EQ(symlink("made.vxa", dir.file("dangling").c_str()), 0);  // relative to its folder
    ASSERT_EQ(symlink("loop2", dir.file("loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", dir.file("loop2").c_str()), 0);
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    const int reader = open(dir.file("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    for (const auto& [target, writtenTo] :
         std::vector<std::pair<std::string, std::string>>{{longest, dir.file(longest)},
                                                          {"live", real.file("live.vxa")},
                                                          {"dangling", dir.file("made.vxa")},
                                                          {"loop1", ""},
                                                          {"fifo", ""}}) {
        h.view.log.clear();
        EXPECT_EQ(CompileAndReport(h.ctx, dir.file(target)), target != "loop1");
        EXPECT_EQ(h.view.logged("ioerror"),
                  target == "loop1" ? Lines{"ioerror I/O error 40"} : Lines{});
        EXPECT_TRUE(writtenTo.empty() || ReadFile(writtenTo) == copy) << target;
    }
    std::string piped(copy.size() + 1, '\0');
    EXPECT_EQ(read(reader, piped.data(), piped.size()), static_cast<ssize_t>(copy.size()));
    EXPECT_EQ(piped.substr(0, copy.size()), copy);
    close(reader);
    for (const char* name : {"live", "dangling", "loop1", "loop2"})
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file(name))) << name;
    EXPECT_EQ(dir.names(), (Lines{"big.bin", "dangling", "fifo", "in.vxa", "live", "loop1", "loop2",
                                  "made.vxa", longest, "small.bin"}));
    EXPECT_EQ(real.names(), Lines{"live.vxa"});
}

// SIGINT, SIGTERM and SIGHUP remove a named temporary file and still end the
// process (the window too: Qt has no handlers of its own for them).
TEST_F(SafeCompileTest, SignalsRemoveANamedNewFile) {
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        if (child == 0) {
            InstallTempFileCleanup();
            faulty.refuseUnnamed = true;
            AtomicFile out(faulty, dir.file("out.vxa"));
            out.file().write("partial", 7);
            if (write(ready[1], "!", 1) == 1)
                pause();
            _exit(0);
        }
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        EXPECT_EQ(dir.names().size(), 4u);  // the inputs and the new file
        kill(child, sig);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << sig;
        EXPECT_EQ(dir.names(), (Lines{"big.bin", "in.vxa", "small.bin"}));
        close(ready[0]);
        close(ready[1]);
    }
}

// The size guard refuses before anything is touched; a replacement file
// that shrank since its length was taken fails the compile.
TEST_F(SafeCompileTest, SizesThatDoNotFitOrDoNotHoldAreRefused) {
    const std::string target = dir.write("out.vxa", "old");
    h.state.OutPath = target;
    // Everything but the small file's record: table, "kept", big, one header.
    const std::uint64_t others = 24 + 14 + 10 + big.size() + 10;
    for (const std::uint64_t size :
         {std::uint64_t{1} << 32, 0x80000000 - others, std::uint64_t{6}}) {
        faulty.reset();
        h.view.log.clear();
        faulty.sizes[dir.file("small.bin")] = size;  // 6: one byte more than it holds
        SvahBtnClick(fc);
        EXPECT_EQ(h.view.log.back(), size == 6
                                         ? "ioerror Read beyond end of file"
                                         : "box Error|error|" + std::string(kArchiveTooLarge));
        EXPECT_EQ(faulty.trace().empty(), size != 6);
        EXPECT_EQ(ReadFile(target), "old");
        EXPECT_EQ(dir.names(), (Lines{"big.bin", "in.vxa", "out.vxa", "small.bin"}));
    }
    faulty.sizes[dir.file("small.bin")] = 0x7FFFFFFF - others;  // the largest readable
    EXPECT_EQ(LayOutArchive(fc).Values.back(), 0x7FFFFFFFu);
}

}  // namespace
}  // namespace vxa::test
