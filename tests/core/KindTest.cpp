// Entry kinds told from real headers (whole, cut short and lying), and the
// find box's matching over a loaded archive.
#include "core/EntryFiles.h"
#include "core/EntryFind.h"
#include "plan/Plan.h"
#include "support/Suite.h"
#include "ui/LoadHandlers.h"

namespace vxa::test {
namespace {

using namespace std::string_literals;

std::string Chunk(const char* id, const std::string& body, std::int64_t claimed = -1) {
    return id + U32(static_cast<std::uint32_t>(claimed < 0 ? body.size() : claimed)) + body;
}
// A WAV file: format `format`, 16-bit stereo at 22050 Hz, `data` as samples.
std::string Wav(const std::string& data, std::int64_t claimed = -1, std::uint16_t format = 1) {
    const std::string fmt = U16(format) + U16(2) + U32(22050) + U32(22050 * 4) + U16(4) + U16(16);
    return "RIFF" + U32(999) + "WAVE" + Chunk("LIST", "abc") + "\0"s + Chunk("fmt ", fmt) +
           Chunk("data", data, claimed);
}

class KindTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    void load(const std::vector<TestEntry>& entries, Layout layout = {}) {
        ASSERT_EQ(LoadInWindow(h.ctx, dir.write("a.vxa", BuildArchive(entries, layout)), false),
                  LoadOutcome::Complete);
    }
    // Each Find in turn, with one cache as the find box keeps it.
    struct FindCase {
        const char* text;
        int from;
        bool back;
        std::optional<int> found;
    };
    void expectFinds(std::initializer_list<FindCase> cases) {
        KindCache cache;
        for (const FindCase& c : cases) {
            SCOPED_TRACE(c.text);
            const auto q = ParseFindQuery(c.text);
            EXPECT_EQ(q ? FindEntry(h.state, h.state.Replacements, cache, *q, c.from, c.back)
                        : std::nullopt,
                      c.found);
        }
    }
};

TEST_F(KindTest, HeadersWholeTruncatedAndLying) {
    const std::string smk = "SMK2" + U32(320) + U32(200) + U32(75) + U32(-100000 / 15);
    const std::string xmi = "FORM" + U32(14) + "XDIR" + "INFO" + U32(2) + U16(3);
    load({Owned(Wav(std::string(88200, 'a'))),  // one second
          Owned(Wav(std::string(100, 'a'), 1u << 30)), Owned(Wav("", -1, 0xFFFE).substr(0, 30)),
          Owned(smk), Owned(smk.substr(0, 10)), Owned(xmi), Owned(xmi, 4), Owned("RIFF"), Blank(),
          Shared(0), Owned("")});
    const char* expected[] = {
        "WAV, 2 channels, 22050 Hz, 16 bits, 1.00 s",
        "WAV, 2 channels, 22050 Hz, 16 bits, 0.00 s (header claims more than is stored)",
        "WAV, 0 channels, 0 Hz, 0 bits, 0.00 s",  // its format chunk cut off
        "SMK video, 320 x 200, 75 frames, 15.00 frames/s",
        "SMK video, 0 x 0, 0 frames, 0.00 frames/s",
        "XMI music, 3 sequences",
        "Packed (type 4)",
        "Other",
        "Blank",
        "WAV, 2 channels, 22050 Hz, 16 bits, 1.00 s",
        "Other",
    };
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(KindOf(h.state, i).describe(), expected[i]);
    }
    const EntryKind cut = KindOf(h.state, 1);
    EXPECT_EQ(cut.Wav.DataSize, 100u);
    EXPECT_EQ(cut.Wav.DataStart, 12u + 11 + 1 + 24 + 8);
    EXPECT_EQ(KindOf(h.state, 9).Owner, 0);
    EXPECT_EQ(EntryFileName(h.state, 9), "10.wav");
    EXPECT_EQ(EntryFileName(h.state, 6), "07.bin");  // packed: not looked into
}

// An extensible format names the real one in its sub-format, behind a
// 22-byte extension; chunks after the samples are not read.
TEST_F(KindTest, ExtensibleFormatsAndChunksAfterTheSamples) {
    const std::string ext = U16(0xFFFE) + U16(1) + U32(8000) + U32(16000) + U16(2) + U16(16) +
                            U16(22) + U16(16) + U32(4) + U16(3) + std::string(14, 'g');
    const std::string mono = U16(1) + U16(1) + U32(11025) + U32(11025) + U16(1) + U16(8);
    const std::string wav = "RIFF" + U32(999) + "WAVE" + Chunk("fmt ", ext) + Chunk("data", "abcd");
    const std::string second = wav + Chunk("fmt ", mono) + Chunk("data", "abcdefgh");
    const std::string byteFrames =
        "RIFF" + U32(999) + "WAVE" + Chunk("fmt ", mono) + Chunk("data", std::string(11025, 'm'));
    load({Owned(wav), Owned(second), Owned(byteFrames)});
    EXPECT_EQ(KindOf(h.state, 0).Wav.Format, 3);
    EXPECT_EQ(KindOf(h.state, 1).describe(), "WAV, 1 channel, 8000 Hz, 16 bits, 0.00 s");
    EXPECT_EQ(KindOf(h.state, 1).Wav.DataSize, 4u);
    EXPECT_EQ(KindOf(h.state, 2).describe(), "WAV, 1 channel, 11025 Hz, 8 bits, 1.00 s");
    // Entries outside the table have no kind.
    EXPECT_EQ(KindOf(h.state, -1).describe() + KindOf(h.state, 3).describe(), "OtherOther");
}

TEST_F(KindTest, FindMatchesAndWraps) {
    load({Owned(Wav("")), Owned(std::string(2000, 'x')), Blank(), Shared(0), Owned("", 3),
          Owned(std::string(5000, 'y'))});
    AddReplacement(h.state.Replacements, h.state.Table, 1, dir.write("r", "r"));
    expectFinds({
        {"5", 0, false, 4},        {"2-4", 3, false, 1},
        {"WAV", 0, false, 3},      {" wav ", 3, false, 0},
        {"wav", -1, true, 3},      {"blank", 2, false, 2},
        {"packed", 0, true, 4},    {"shared", 4, false, 3},
        {"replaced", 1, false, 1}, {"> 1k", 1, false, 5},
        {"<1K", 5, false, 0},      {"> 4.5k", 0, false, {}},
        {"> 1k", 0, false, 1},  // 1k is 1024, not 2048
        {"> 1k", -1, true, 5},  // backwards from the last entry
        {"< 1g", 5, false, 0},     {"> 17179869184g", 0, false, {}},  // past 2^64 bytes
        {"xmi", 0, false, {}},     {"9-3", 0, false, {}},
        {"> 1x", 0, false, {}},
    });
    const std::initializer_list<std::pair<const char*, std::uint64_t>> sizes = {
        {"<7", 7}, {"> 2k", 2048}, {"<3M", 3 << 20}, {"> 5g", std::uint64_t{5} << 30}};
    for (const auto& [text, size] : sizes) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseFindQuery(text)->Size, size);
    }
}

// Kinds are read once: another Find over the same archive reads nothing.
TEST_F(KindTest, ASecondFindReadsNothing) {
    TestFileSystem counted;
    Context c{h.state, h.view, counted};
    ASSERT_EQ(
        LoadInWindow(c, dir.write("a.vxa", BuildArchive({Owned("x"), Owned(Wav(""))})), false),
        LoadOutcome::Complete);
    KindCache cache;
    const FindQuery q = *ParseFindQuery("wav");
    EXPECT_EQ(FindEntry(h.state, h.state.Replacements, cache, q, -1, false), 1);
    const std::size_t steps = counted.trace().size();
    EXPECT_EQ(FindEntry(h.state, h.state.Replacements, cache, q, 1, false), 1);
    EXPECT_EQ(counted.trace().size(), steps);
}

// Kinds are read a group of entries at a time: with records stored last
// entry first, past the first group, and a record too short to read a
// whole head of at the very end of the file.
TEST_F(KindTest, FindTellsKindsOfRecordsInAnyOrder) {
    std::vector<TestEntry> entries = ManyEntries(8200);
    entries[0] = Owned(("SMK2" + U32(320)).substr(0, 6));  // stored last
    entries[100] = Owned("FORM" + U32(14) + "XDIR" + "INFO" + U32(2) + U16(3));
    entries[8195] = Owned(Wav(""));
    load(entries, {.reverseRecords = true});
    expectFinds({
        {"wav", 0, false, 8195},
        {"xmi", 8199, true, 100},
        {"smk", 5, false, 0},
        {"wav", 8199, true, 8195},
        {"packed", 0, false, {}},
    });
}

}  // namespace
}  // namespace vxa::test
