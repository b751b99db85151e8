#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

#include "core/Compiler.h"
#include "core/IoError.h"
#include "core/Loader.h"
#include "plan/Plan.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

// A plausible error for each kind of step.
int ErrnoFor(const std::string& step) {
    static const std::map<std::string, int> kErrno{{"open", ENOENT},
                                                   {"create", EACCES},
                                                   {"write", ENOSPC},
                                                   {"chmod", EPERM},
                                                   {"rename", EXDEV}};
    const auto it = kErrno.find(step);
    return it == kErrno.end() ? EIO : it->second;
}

// Compiles through a file system that fails where the test says: whatever
// fails, an existing output stays as it was and no temporary file is left.
class SafeCompileTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    FaultyFileSystem faulty;
    Context fc{h.state, h.view, faulty};
    // Large enough to need several reads and writes.
    const std::string big = std::string(5 << 20, 'B') + "end";

    void SetUp() override {
        const std::string archive = BuildArchive(
            {Owned("kept", 3, 70), Shared(0), Blank(), Owned("old", 1), Owned("old2", 2)});
        ASSERT_EQ(LoadArchive(h.ctx, dir.write("in.vxa", archive), false), LoadOutcome::Complete);
        replace(3, dir.write("big.bin", big));
        replace(4, dir.write("small.bin", "small"));
        h.view.log.clear();
    }
    void replace(int entry, const std::string& path) {
        h.view.selectRow(entry + 1);
        AddReplacement(h.ctx, path);
    }
    std::string expected() const {
        return BuildArchive({Owned("kept", 3, 70), Shared(0), Blank(), Owned(big), Owned("small")});
    }

    // Runs the compile button once per step, failing that step, and checks
    // what each failure leaves behind.
    void sweep(const std::string& target) {
        h.state.OutPath = target;
        const bool existed = faulty.fileExists(target);
        const std::string before = existed ? ReadFile(target) : "";
        const std::vector<std::string> files = dir.names();
        const ReplRec plan = h.state.Replacements;
        const std::vector<std::uint32_t> offsets = h.state.Table.Offsets;

        faulty.reset();
        ASSERT_EQ(CompileAndReport(fc, target), true);  // counts the steps
        const std::vector<std::string> steps = faulty.trace();
        // Only an output that replaces a file is synced before the rename.
        std::set<std::string> expectedSteps{"create", "open", "read", "write", "chmod", "rename"};
        if (existed)
            expectedSteps.insert("flush");
        ASSERT_EQ(std::set<std::string>(steps.begin(), steps.end()), expectedSteps);
        ASSERT_GE(std::count(steps.begin(), steps.end(), "write"), 2);
        ASSERT_EQ(ReadFile(target), expected());
        if (existed)
            WriteFile(target, before);
        if (!existed)
            std::filesystem::remove(target);

        for (std::size_t k = 0; k < steps.size(); ++k) {
            SCOPED_TRACE("step " + std::to_string(k + 1) + " " + steps[k]);
            for (const bool shortRead : {false, true}) {
                if (shortRead && steps[k] != "read")
                    continue;
                faulty.reset();
                if (shortRead) {
                    faulty.shortenRead(static_cast<int>(k + 1));
                } else {
                    faulty.failStep(static_cast<int>(k + 1), ErrnoFor(steps[k]));
                }
                h.view.log.clear();
                SvahBtnClick(fc);
                const std::string text =
                    shortRead ? std::string(kReadBeyondEnd) : IoErrorText(ErrnoFor(steps[k]));
                EXPECT_EQ(h.view.log, (std::vector<std::string>{"ioerror " + text}));
                EXPECT_EQ(dir.names(), files);
                if (existed) {
                    EXPECT_EQ(ReadFile(target), before);
                }
                EXPECT_EQ(h.state.Replacements, plan);
                EXPECT_EQ(h.state.Table.Offsets, offsets);
                EXPECT_EQ(h.state.OutPath, target);
                EXPECT_TRUE(h.state.ArchiveComplete);
                EXPECT_FALSE(h.view.busy);
            }
        }
    }
};

TEST_F(SafeCompileTest, FailureAtEveryStepKeepsAnExistingOutput) {
    sweep(dir.write("out.vxa", "precious old output"));
}

TEST_F(SafeCompileTest, FailureAtEveryStepKeepsTheLoadedArchive) {
    sweep(dir.file("in.vxa"));
}

TEST_F(SafeCompileTest, FailureAtEveryStepLeavesNoNewFile) {
    sweep(dir.file("new.vxa"));
}

TEST_F(SafeCompileTest, AReplacementFileThatShrankFailsTheCompile) {
    const std::string target = dir.write("out.vxa", "old");
    h.state.OutPath = target;
    faulty.sizes[dir.file("small.bin")] = 6;  // one byte more than it holds
    SvahBtnClick(fc);
    EXPECT_EQ(h.view.log, (std::vector<std::string>{"ioerror Read beyond end of file"}));
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"big.bin", "in.vxa", "out.vxa", "small.bin"}));
}

TEST_F(SafeCompileTest, AnExistingOutputKeepsItsPermissionBits) {
    const std::string target = dir.write("out.vxa", "old");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    CompileArchive(h.ctx, target);
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const mode_t mask = umask(0);
    umask(mask);
    CompileArchive(h.ctx, dir.file("new.vxa"));
    ASSERT_EQ(stat(dir.file("new.vxa").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
}

TEST_F(SafeCompileTest, AnOutputThatIsALinkIsWrittenThroughIt) {
    TempDir real;
    ASSERT_EQ(symlink(real.write("target.vxa", "old").c_str(), dir.file("link.vxa").c_str()), 0);
    CompileArchive(h.ctx, dir.file("link.vxa"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.vxa")));
    EXPECT_EQ(ReadFile(real.file("target.vxa")), expected());
    EXPECT_EQ(real.names(), std::vector<std::string>{"target.vxa"});
}

TEST_F(SafeCompileTest, TooLargeAnOutputIsRefusedBeforeAnythingIsTouched) {
    const std::string target = dir.write("out.vxa", "old");
    h.state.OutPath = target;
    for (const std::uint64_t size : {std::uint64_t{1} << 32, std::uint64_t{1} << 31}) {
        faulty.reset();
        h.view.log.clear();
        faulty.sizes[dir.file("small.bin")] = size;
        SvahBtnClick(fc);
        EXPECT_EQ(h.view.log,
                  (std::vector<std::string>{
                      "box Error|error|Output archive would be too large (2 GB or more)"}));
        EXPECT_TRUE(faulty.trace().empty());
        EXPECT_EQ(ReadFile(target), "old");
    }
}

TEST_F(SafeCompileTest, TheLargestReadableOutputIsStillLaidOut) {
    // Everything but the small file's record: table, "kept", big, one header.
    const std::uint64_t others = 24 + 14 + 10 + big.size() + 10;
    faulty.sizes[dir.file("small.bin")] = 0x7FFFFFFF - others;
    EXPECT_EQ(LayOutArchive(fc).Values.back(), 0x7FFFFFFFu);
    faulty.sizes[dir.file("small.bin")] = 0x80000000 - others;
    EXPECT_THROW(LayOutArchive(fc), ArchiveTooLarge);
}

}  // namespace
}  // namespace vxa::test
