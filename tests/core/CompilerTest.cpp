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

const std::string kThirtyBytes =
    U32(16) + U32(0) + U32(16) + U32(30) + U32(4) + U32(4) + U16(0) + "ABCD";

// Compiles archives loaded from disk, or takes their entries out, and
// compares the output byte for byte.
class CompilerTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;

    void load(const std::string& bytes) {
        ASSERT_EQ(LoadArchive(h.ctx, dir.write("in.vxa", bytes), false), LoadOutcome::Complete);
    }
    // Replace as the window does: select the entry's row, record the file.
    void replace(int entry, const std::string& path) {
        h.view.selectRow(entry + 1);
        AddReplacement(h.ctx, path);
    }
    std::string compile(const std::string& name = "out.vxa") {
        CompileArchive(h.ctx, dir.file(name));
        return ReadFile(dir.file(name));
    }
};

TEST_F(CompilerTest, TheFormatsOwnExamples) {
    load(U32(4));
    EXPECT_EQ(compile(), U32(4));

    load(kThirtyBytes);
    EXPECT_EQ(compile(), kThirtyBytes);

    // A owns, one shares A, one is blank, B owns: 20, 20, 0, 20 + 10 + |A|.
    load(BuildArchive({Owned("aaa", 5, 99), Shared(0), Blank(), Owned("bbbbb", 2, 7)}));
    EXPECT_EQ(compile(), U32(20) + U32(20) + U32(0) + U32(33) + U32(48) + U32(99) + U32(3) +
                             U16(5) + "aaa" + U32(7) + U32(5) + U16(2) + "bbbbb");
}

TEST_F(CompilerTest, CanonicalArchiveIsCopiedIdentically) {
    // Big records go to the kernel to copy, the whole blocks apart.
    std::vector<TestEntry> entries{Owned(std::string(300000, 'B'), 2), Owned("x")};
    for (int i = 2; i < 300; ++i) {
        if (i % 17 == 3) {
            entries.push_back(Blank());
        } else if (i % 11 == 5) {
            entries.push_back(Shared(i - 2));
        } else {
            entries.push_back(
                Owned(std::string(static_cast<std::size_t>(i % 13), char('a' + i % 26)),
                      static_cast<std::uint16_t>(i % 4), 1000u + i));
        }
    }
    const std::string bytes = BuildArchive(entries);
    load(bytes);
    EXPECT_EQ(compile(), bytes);
    // Onto another file system, where the kernel refuses: through memory.
    const std::string other = "/dev/shm/vxa-test-" + std::to_string(getpid()) + ".vxa";
    if (std::filesystem::is_directory("/dev/shm")) {
        CompileArchive(h.ctx, other);
        EXPECT_EQ(ReadFile(other), bytes);
        std::filesystem::remove(other);
    }
}

TEST_F(CompilerTest, NonCanonicalInputsAreWrittenCanonically) {
    const std::vector<TestEntry> entries{Blank(),
                                         Owned("one", 3, 30),
                                         Owned(""),
                                         Shared(1),
                                         Owned("three", 0xFFFF, 0xFFFFFFFF),
                                         Owned(std::string(200000, 'b'))};
    for (const Layout layout : {Layout{.reverseRecords = true}, Layout{.gap = 7},
                                Layout{.reverseRecords = true, .gap = 1}}) {
        load(BuildArchive(entries, layout));
        EXPECT_EQ(compile(), BuildArchive(entries));
    }
}

TEST_F(CompilerTest, ReplacedEntriesGetTypeZeroAndTheFilesLength) {
    load(BuildArchive({Owned("x", 3, 10), Owned("yy", 4, 20)}));
    replace(1, dir.write("r.bin", "hello"));
    EXPECT_EQ(compile(), BuildArchive({Owned("x", 3, 10), Owned("hello")}));

    // An empty file: a header with both sizes 0 and nothing after it.
    load(BuildArchive({Owned("abc", 1, 9), Owned("de", 2)}));
    replace(0, dir.write("empty.bin", ""));
    const std::string out = compile();
    EXPECT_EQ(out, U32(12) + U32(22) + U32(34) + U32(0) + U32(0) + U16(0) + U32(2) + U32(2) +
                       U16(2) + "de");
}

TEST_F(CompilerTest, ASharingGroupIsReplacedOnce) {
    load(BuildArchive({Blank(), Owned("old", 9, 50), Shared(1), Owned("z"), Shared(1)}));
    replace(2, dir.write("new.bin", "NEW!"));
    EXPECT_EQ(h.state.Replacements.Indices, (std::vector<std::int32_t>{1, 2, 4}));
    EXPECT_EQ(compile(), BuildArchive({Blank(), Owned("NEW!"), Shared(1), Owned("z"), Shared(1)}));
}

TEST_F(CompilerTest, RecordsThatNameNoOwnedEntryChangeNothing) {
    const std::string bytes = BuildArchive({Owned("a"), Blank(), Shared(0), Owned("b")});
    load(bytes);
    // As a script may hold them: a shared entry alone, a blank one, none.
    const std::string file = dir.write("r.bin", "RRRR");
    for (std::int32_t index : {2, 1, 4, -1, 1000})
        h.state.Replacements.append(index, file);
    EXPECT_EQ(compile(), bytes);
}

TEST_F(CompilerTest, TheLayoutListsOnlyTheRecordsTakenFromFiles) {
    // Kept records are written from the table: a layout holds the table's
    // values and one item for each replaced entry, however many entries.
    load(BuildArchive({Owned("a"), Blank(), Shared(0), Owned("bb"), Owned("c")}));
    h.state.Replacements.append(3, dir.write("r.bin", "12345"));
    h.state.Replacements.append(2, dir.file("r.bin"));     // a shared entry: no effect
    h.state.Replacements.append(4, dir.file("gone.bin"));  // missing: kept
    const ArchiveLayout layout = LayOutArchive(h.ctx);
    EXPECT_EQ(layout.Values, (std::vector<std::uint32_t>{24, 0, 24, 35, 50, 61}));
    ASSERT_EQ(layout.Replaced.size(), 1u);
    EXPECT_EQ(layout.Replaced[0].Entry, 3);
    EXPECT_EQ(layout.Replaced[0].Size, 5u);
    EXPECT_EQ(layout.Replaced[0].PlanRecord, 0);
    EXPECT_EQ(compile(),
              BuildArchive({Owned("a"), Blank(), Shared(0), Owned("12345"), Owned("c")}));
}

TEST_F(CompilerTest, TheLastRecordOfAnEntryCounts) {
    load(BuildArchive({Owned("a"), Owned("b")}));
    replace(0, dir.write("first.bin", "first"));
    replace(1, dir.write("other.bin", "other"));
    replace(0, dir.write("second.bin", "2nd"));
    EXPECT_EQ(compile(), BuildArchive({Owned("2nd"), Owned("other")}));

    // A missing last file leaves the entry as loaded, whatever came before.
    replace(0, dir.file("gone.bin"));
    EXPECT_EQ(compile(), BuildArchive({Owned("a"), Owned("other")}));
}

TEST_F(CompilerTest, OutputOverTheLoadedArchive) {
    const std::vector<TestEntry> entries{Owned("keep", 6, 40), Owned(std::string(70000, 'o'))};
    load(BuildArchive(entries, {.reverseRecords = true, .gap = 5}));
    replace(1, dir.write("r.bin", "replacement"));
    EXPECT_EQ(compile("in.vxa"), BuildArchive({Owned("keep", 6, 40), Owned("replacement")}));
    // The loaded bytes are still read, not the file now at that path: again,
    // with the plan, and once more without it.
    EXPECT_EQ(compile("in.vxa"), BuildArchive({Owned("keep", 6, 40), Owned("replacement")}));
    h.state.Replacements.clear();
    EXPECT_EQ(compile("in.vxa"), BuildArchive(entries));
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
                  (std::vector<std::string>{"box Error|error|" + std::string(kArchiveChanged)}));
        EXPECT_EQ(ReadFile(dir.file("out.vxa")), "precious");
        EXPECT_EQ(ReadFile(dir.file("in.vxa")), changed);
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"in.vxa", "out.vxa", "r.bin"}));
        load(archive);
        replace(0, dir.file("r.bin"));
    }
    // Loaded again, it compiles.
    EXPECT_EQ(compile(), BuildArchive({Owned("new"), Shared(0)}));
}

TEST_F(CompilerTest, AReplacementFileThatIsTheOutputIsReadBeforeItIsReplaced) {
    const std::string old = BuildArchive({Owned("q")});
    WriteFile(dir.file("out.vxa"), old);
    load(BuildArchive({Owned("a"), Owned("b")}));
    replace(1, dir.file("out.vxa"));
    EXPECT_EQ(compile(), BuildArchive({Owned("a"), Owned(old)}));

    // Even when that file is the loaded archive itself.
    replace(0, dir.file("in.vxa"));
    const std::string in = ReadFile(dir.file("in.vxa"));
    const std::string out = ReadFile(dir.file("out.vxa"));
    EXPECT_EQ(compile("in.vxa"), BuildArchive({Owned(in), Owned(out)}));
}

TEST_F(CompilerTest, ReplacementFilesAreOpenedForReadingOnly) {
    // A running program may be read but not opened for writing, even by root.
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    const std::string exe(self, static_cast<std::size_t>(n));
    load(BuildArchive({Owned("a")}));
    replace(0, exe);
    EXPECT_EQ(compile(), BuildArchive({Owned(ReadFile(exe))}));
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
    EXPECT_EQ(ExtractAll(h.ctx, out.path(), {}), ExtractOutcome::Done);
    std::map<std::string, std::string> files;  // a temporary file left behind would show
    for (const std::string& name : out.names())
        files[name] = ReadFile(out.file(name));
    EXPECT_EQ(files, expected);
}

}  // namespace
}  // namespace vxa::test
