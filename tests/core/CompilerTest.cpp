#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <map>

#include "core/Compiler.h"
#include "core/EntryFiles.h"
#include "core/Loader.h"
#include "plan/Plan.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"

namespace vxa::test {
namespace {

using Lines = std::vector<std::string>;

// Compiles archives loaded from disk, or takes their entries out, and
// compares the output byte for byte.
class CompilerTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;

    void load(const std::string& bytes) {
        ASSERT_EQ(LoadArchive(h.ctx, dir.write("in.vxa", bytes), false), LoadOutcome::Complete);
        h.view.log.clear();
    }
    // Replace as the window does: select the entry's row, record its group.
    void replace(int entry, const std::string& path) {
        h.view.selectRow(entry + 1);
        AddReplacement(h.ctx, path);
    }
    std::string compile(const std::string& name = "out.vxa") {
        CompileArchive(h.ctx, dir.file(name));
        return ReadFile(dir.file(name));
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
    // Big records go to the kernel to copy, the whole blocks apart.
    std::vector<TestEntry> entries{Owned(std::string(300000, 'B'), 2), Owned("x")};
    for (int i = 2; i < 300; ++i) {
        entries.push_back(i % 17 == 3   ? Blank()
                          : i % 11 == 5 ? Shared(i - 2)
                                        : Owned(std::string(i % 13, char('a' + i % 26)),
                                                static_cast<std::uint16_t>(i % 4), 1000u + i));
    }
    const std::string bytes = BuildArchive(entries);
    for (const Layout layout : {Layout{}, Layout{.reverseRecords = true, .gap = 7}}) {
        load(BuildArchive(entries, layout));
        EXPECT_TRUE(compile() == bytes);
    }
    // Onto another file system, where the kernel may refuse: through memory.
    const std::string other = "/dev/shm/vxa-test-" + std::to_string(getpid()) + ".vxa";
    if (std::filesystem::is_directory("/dev/shm")) {
        CompileArchive(h.ctx, other);
        EXPECT_TRUE(ReadFile(other) == bytes);
        std::filesystem::remove(other);
    }
}

// Plans as a script may hold them, applied to one archive each.
TEST_F(CompilerTest, TheLastRecordOfAnOwnedEntryWithAFileDecides) {
    using Plan = std::vector<std::pair<int, std::optional<std::string>>>;  // nullopt: no file
    struct Case {
        std::vector<TestEntry> in;
        Plan plan;
        std::vector<TestEntry> out;
    };
    const std::vector<TestEntry> ab{Owned("a", 3, 10), Owned("bb", 4, 20)};
    const std::vector<TestEntry> group{Blank(), Owned("old", 9, 50), Shared(1), Owned("z"),
                                       Shared(1)};
    const std::vector<Case> cases{
        {ab, {{1, "hello"}}, {Owned("a", 3, 10), Owned("hello")}},
        {ab, {{0, ""}}, {Owned(""), Owned("bb", 4, 20)}},  // a header and nothing after it
        {ab, {{0, "first"}, {1, "other"}, {0, "2nd"}}, {Owned("2nd"), Owned("other")}},
        {ab, {{0, "first"}, {0, std::nullopt}}, ab},  // a missing last file keeps the entry
        {group,
         {{1, "NEW!"}, {2, "NEW!"}, {4, "NEW!"}},
         {Blank(), Owned("NEW!"), Shared(1), Owned("z"), Shared(1)}},
        {group, {{2, "R"}, {0, "R"}, {4, "R"}, {-1, "R"}, {5, "R"}, {1000, "R"}}, group},
    };
    for (const Case& c : cases) {
        load(BuildArchive(c.in));
        for (std::size_t k = 0; k < c.plan.size(); ++k) {
            const std::string file = dir.file("r" + std::to_string(k));
            if (c.plan[k].second)
                WriteFile(file, *c.plan[k].second);
            h.state.Replacements.append(c.plan[k].first, file);
        }
        EXPECT_EQ(compile(), BuildArchive(c.out)) << &c - cases.data();
        for (std::size_t k = 0; k < c.plan.size(); ++k)
            std::filesystem::remove(dir.file("r" + std::to_string(k)));
    }
}

TEST_F(CompilerTest, OutputOverTheLoadedArchiveOrOverAReplacementFile) {
    const std::vector<TestEntry> entries{Owned("keep", 6, 40), Owned(std::string(70000, 'o'))};
    load(BuildArchive(entries, {.reverseRecords = true, .gap = 5}));
    replace(1, dir.write("r.bin", "replacement"));
    const std::string replaced = BuildArchive({Owned("keep", 6, 40), Owned("replacement")});
    EXPECT_EQ(compile("in.vxa"), replaced);
    // The loaded bytes are still read, not the file now at that path: again,
    // with the plan, and once more without it.
    EXPECT_EQ(compile("in.vxa"), replaced);
    h.state.Replacements.clear();
    EXPECT_EQ(compile("in.vxa"), BuildArchive(entries));
    // A replacement file that is the output, or the loaded archive itself, is
    // read before it is replaced.
    replace(1, dir.write("out.vxa", "old output"));
    replace(0, dir.file("in.vxa"));
    const std::string in = ReadFile(dir.file("in.vxa"));
    EXPECT_EQ(compile(), BuildArchive({Owned(in), Owned("old output")}));
    EXPECT_EQ(compile("in.vxa"), BuildArchive({Owned(in), Owned(ReadFile(dir.file("out.vxa")))}));
    // A running program may be read but not opened for writing, even by root.
    replace(0, "/proc/self/exe");
    const std::string expected =
        BuildArchive({Owned(ReadFile("/proc/self/exe")), Owned(ReadFile(dir.file("out.vxa")))});
    EXPECT_TRUE(compile() == expected);
}

// Another program rewrites the loaded archive in place, before a compile
// or while it copies: no output replaces anything, onto another file or
// onto the archive itself, until it is loaded again.
TEST_F(CompilerTest, AnArchiveChangedOnDiskIsNotCompiled) {
    const std::string archive = BuildArchive({Owned("old"), Shared(0)});
    load(archive);
    replace(0, dir.write("r.bin", "new"));
    WriteFile(dir.file("out.vxa"), "precious");
    std::string changed = archive;
    changed.back() = 'w';
    const auto rewrite = [&] {
        WriteFile(dir.file("in.vxa"), changed);  // the same size, a new time
        struct timespec later[2] = {{0, UTIME_OMIT}, {std::time(nullptr) + 5, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, dir.file("in.vxa").c_str(), later, 0), 0);
    };
    TestFileSystem faulty;
    Context fc{h.state, h.view, faulty};
    for (const auto& [target, during] :
         {std::pair{"out.vxa", false}, std::pair{"in.vxa", false}, std::pair{"out.vxa", true}}) {
        h.view.log.clear();
        // The replacement file is opened once its length is known.
        faulty.onOpen = during ? rewrite : std::function<void()>();
        if (!during)
            rewrite();
        h.state.OutPath = dir.file(target);
        SvahBtnClick(fc);
        EXPECT_EQ(h.view.log,
                  (Lines{"busy", "idle", "box Error|error|" + std::string(kArchiveChanged)}));
        EXPECT_EQ(ReadFile(dir.file("out.vxa")), "precious");
        EXPECT_EQ(ReadFile(dir.file("in.vxa")), changed);
        EXPECT_EQ(dir.names(), (Lines{"in.vxa", "out.vxa", "r.bin"}));
        load(archive);
        replace(0, dir.file("r.bin"));
    }
    EXPECT_EQ(compile(), BuildArchive({Owned("new"), Shared(0)}));  // loaded again
}

// The compile button: an output first, a complete load, a question about
// missing files, then the compile under the busy cursor.
TEST_F(CompilerTest, TheCompileButtonAsksForWhatIsMissing) {
    const std::string out = dir.file("out.vxa");
    SvahBtnClick(h.ctx);  // before any load: asks for the output, compiles nothing
    h.view.dialogAnswers = {out};
    SvahBtnClick(h.ctx);
    EXPECT_EQ(h.view.log, (Lines{"dialog SaveDialog1", "dialog SaveDialog1"}));
    EXPECT_EQ(h.state.OutPath, out);
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::vector<TestEntry> entries{Owned("aa", 1, 5), Shared(0), Owned("bb", 2, 6)};
    load(BuildArchive(entries));
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
    const std::string question = "box Error|warning|The following files don't exist:\r" +
                                 dir.file("gone.wav") + "\r" + dir.file("gone.wav") +
                                 "\r\rContinue?";
    EXPECT_EQ(h.view.log, (Lines{"dialog SaveDialog1", "dialog SaveDialog1", question, question,
                                 "busy", "idle"}));
    EXPECT_EQ(ReadFile(out), BuildArchive({Owned("aa", 1, 5), Shared(0), Owned("B")}));

    // Nothing while a load runs, or after a stopped one.
    std::filesystem::remove(out);
    h.state.Replacements.clear();
    h.view.log.clear();
    h.state.Loading = true;
    SvahBtnClick(h.ctx);
    SvhBtnClick(h.ctx);
    h.state.Loading = false;
    EXPECT_EQ(h.view.log, Lines{});
    h.view.onProcessEvents = [&] { h.state.StopRequested = true; };
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("big.vxa", BuildArchive(ManyEntries(30))), false),
              LoadOutcome::Stopped);
    h.view.log.clear();
    SvahBtnClick(h.ctx);
    EXPECT_EQ(h.view.log, Lines{});
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CompilerTest, EntriesTakenOutAreNamedByNumberAndKind) {
    using namespace std::string_literals;
    const std::string wav = "RIFF\x24\0\0\0WAVEfmt "s;
    const std::string xmi = "FORM\0\0\0\x0eXDIRINFO"s;
    const std::string avi = "RIFF\0\0\0\0AVI "s;
    load(BuildArchive({Owned(wav), Owned("SMK2 video"), Owned("SMK4"), Owned(xmi), Owned(avi),
                       Owned(wav, 3) /* packed */, Shared(0), Blank(), Owned("SMK"), Shared(5)}));
    const std::map<std::string, std::string> expected = {
        {"01.wav", wav}, {"02.smk", "SMK2 video"}, {"03.smk", "SMK4"},
        {"04.xmi", xmi}, {"05.bin", avi},          {"06.bin", wav},
        {"07.wav", wav}, {"09.bin", "SMK"},        {"10.bin", wav}};
    TempDir out;
    out.write("02.smk", "old");
    // Files of those names are there: one question, and No writes nothing.
    EXPECT_EQ(ExtractAll(h.ctx, out.path(), {}), ExtractOutcome::Declined);
    EXPECT_EQ(out.names(), Lines{"02.smk"});
    // Told how far it came before each file, it may stop between two.
    std::vector<std::pair<int, int>> told;
    h.view.answers = {MsgAnswer::Yes};
    EXPECT_EQ(ExtractAll(h.ctx, out.path(),
                         [&](int done, int total) {
                             told.emplace_back(done, total);
                             return done < 2;
                         }),
              ExtractOutcome::Cancelled);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{0, 9}, {1, 9}, {2, 9}}));
    EXPECT_EQ(out.names(), (Lines{"01.wav", "02.smk"}));
    h.view.answers = {MsgAnswer::Yes};
    EXPECT_EQ(ExtractAll(h.ctx, out.path(), {}), ExtractOutcome::Done);
    const auto question = [](int n) {
        return "box Simple question|question|" + std::to_string(n) +
               " files in this folder will be replaced. Replace them?";
    };
    EXPECT_EQ(h.view.logged("box"), (Lines{question(1), question(1), question(2)}));
    std::map<std::string, std::string> files;  // a temporary file left behind would show
    for (const std::string& name : out.names())
        files[name] = ReadFile(out.file(name));
    EXPECT_EQ(files, expected);
    // Only a complete load's rows with stored bytes, and not during a load.
    std::string rows;
    for (int row = 0; row <= 10; ++row)
        rows += CanExtractEntry(h.state, row) ? "y" : "n";
    EXPECT_EQ(rows, "nyyyyyyynyy");
    h.state.Loading = true;
    EXPECT_FALSE(CanExtractAll(h.state));
    h.state.Loading = false;
    h.state.ArchiveComplete = false;
    EXPECT_FALSE(CanExtractAll(h.state));
}

}  // namespace
}  // namespace vxa::test
