#include <gtest/gtest.h>

#include "core/EntryBytes.h"
#include "core/EntryFiles.h"
#include "core/Loader.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

using namespace std::string_literals;

// Entries as they are taken out: the name each gets and the bytes it holds
// (none for the blank one), for an archive of ten entries.
TEST(EntryFilesTest, NamesAndBytesOfEveryKindOfEntry) {
    const std::string wav = "RIFF\x24\0\0\0WAVEfmt "s;
    const std::string xmi = "FORM\0\0\0\x0eXDIRINFO"s;
    const std::vector<TestEntry> entries = {
        Owned(wav),    Owned("SMK2 video"), Owned("SMK4"), Owned(xmi),   Owned("RIFF\0\0\0\0AVI "s),
        Owned(wav, 3), Shared(0),           Blank(),       Owned("SMK"), Shared(5)};
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"01.wav", wav},
        {"02.smk", "SMK2 video"},
        {"03.smk", "SMK4"},
        {"04.xmi", xmi},
        {"05.bin", "RIFF\0\0\0\0AVI "s},
        {"06.bin", wav},
        {"07.wav", wav},
        {"", ""},
        {"09.bin", "SMK"},
        {"10.bin", wav}};
    TempDir dir;
    Harness h;
    ASSERT_EQ(LoadArchive(h.ctx, dir.write("in.vxa", BuildArchive(entries)), false),
              LoadOutcome::Complete);
    TempDir out;
    out.write("01.wav", "old");
    out.write("10.bin", "old");
    EXPECT_EQ(ExtractAll(h.ctx, out.path(), {}), ExtractOutcome::Declined);
    EXPECT_EQ(h.view.logged("box"),
              (std::vector<std::string>{"box Simple question|question|2 files in this folder "
                                        "will be replaced. Replace them?"}));
    EXPECT_EQ(out.names(), (std::vector<std::string>{"01.wav", "10.bin"}));

    h.view.answers.push_back(MsgAnswer::Yes);
    std::vector<std::string> calls;
    EXPECT_EQ(ExtractAll(h.ctx, out.path() + "/",
                         [&](int done, int total) {
                             calls.push_back(std::to_string(done) + "/" + std::to_string(total));
                             return true;
                         }),
              ExtractOutcome::Done);
    EXPECT_EQ(calls.size(), 10u);
    EXPECT_EQ(calls.back(), "9/9");
    for (std::int32_t i = 0; i < 10; ++i) {
        const auto& [name, bytes] = expected[i];
        EXPECT_EQ(HasStoredBytes(h.state.Table, i), !name.empty()) << i;
        if (!name.empty()) {
            EXPECT_EQ(EntryFileName(h.state, i), name);
            EXPECT_EQ(ReadFile(out.file(name)), bytes) << name;
        }
    }
    char tail[8];
    ASSERT_EQ(ReadEntryBytes(h.state, 6, 12, tail, sizeof tail), 4u);  // the owner's last four
    EXPECT_EQ(std::string(tail, 4), "fmt ");
    EXPECT_EQ(ReadEntryBytes(h.state, 6, 16, tail, sizeof tail), 0u);

    // Stopped between files: those written are whole, the rest not begun.
    TempDir part;
    EXPECT_EQ(ExtractAll(h.ctx, part.path(), [](int done, int) { return done < 3; }),
              ExtractOutcome::Cancelled);
    EXPECT_EQ(part.names(), (std::vector<std::string>{"01.wav", "02.smk", "03.smk"}));
}

}  // namespace
}  // namespace vxa::test
