#include <gtest/gtest.h>

#include "script/IniFile.h"

namespace vxa {
namespace {

std::optional<std::string> Value(const IniReader& ini, std::string_view section,
                                 std::string_view key) {
    std::optional<std::string_view> found;
    if (const auto lines = ini.section(section))
        lines->find({&key, 1}, {&found, 1});
    return found ? std::optional<std::string>(*found) : std::nullopt;
}

TEST(IniReader, NamesMatchWithoutCaseAndValuesAreTrimmed) {
    const IniReader ini(
        "[GENERAL]\r\n"
        "  in =  /data/a b.vxa \t\r\n"
        "Out=x=y\r\n"
        "[general]\r\n"
        "In=/second\r\n");
    EXPECT_EQ(Value(ini, "General", "IN"), "/data/a b.vxa");
    // The value is everything after the first "=".
    EXPECT_EQ(Value(ini, "general", "out"), "x=y");
    EXPECT_EQ(Value(ini, "General", "Count"), std::nullopt);
    EXPECT_EQ(Value(ini, "Other", "In"), std::nullopt);
}

TEST(IniReader, LfOnlyBomStrayLinesAndKeysOutsideSections) {
    const IniReader ini(
        "\xEF\xBB\xBF"
        "Orphan=1\n"
        "[0]\n"
        "just text\n"
        "=nameless\n"
        "Path=\n"
        "Index=3\n"
        "Index=4\n"
        "[1");
    EXPECT_EQ(Value(ini, "0", "Index"), "3");  // first occurrence counts
    EXPECT_EQ(Value(ini, "0", "Path"), "");
    EXPECT_EQ(Value(ini, "0", "Orphan"), std::nullopt);
    EXPECT_EQ(Value(ini, "", "Orphan"), std::nullopt);
    EXPECT_EQ(Value(ini, "1", "Index"), std::nullopt);

    // A lone CR ends a line too: it cannot become part of a value.
    const IniReader cr("[s]\rIn=/a.vxa\rjunk\rOut=/b.vxa\r");
    EXPECT_EQ(Value(cr, "s", "In"), "/a.vxa");
    EXPECT_EQ(Value(cr, "s", "Out"), "/b.vxa");
}

TEST(IniReader, ASectionEndsAtTheNextHeadingAndOnlyTheFirstOfANameCounts) {
    const IniReader ini("[a]\nx=1\n[b]\n[c=9\ny=2\n[A]\nx=3\nz=4\n");
    EXPECT_EQ(Value(ini, "a", "x"), "1");
    EXPECT_EQ(Value(ini, "a", "y"), std::nullopt);
    EXPECT_EQ(Value(ini, "a", "z"), std::nullopt);  // under the second heading of a
    EXPECT_EQ(Value(ini, "b", "x"), std::nullopt);
    EXPECT_EQ(Value(ini, "b", "y"), "2");
    // Without its closing bracket a line is no heading, only a key.
    EXPECT_EQ(Value(ini, "b", "[c"), "9");
    EXPECT_EQ(Value(ini, "c", "y"), std::nullopt);
}

TEST(IniReader, LongValuesAreCutAt2047Characters) {
    const std::string longValue(3000, 'p');
    const std::string text = "[s]\nk=" + longValue + "\n";
    EXPECT_EQ(Value(IniReader(text), "s", "k"), longValue.substr(0, 2047));
}

TEST(ParseIniInteger, DecimalAndHexadecimalForms) {
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases{
        {"0", 0},
        {"42", 42},
        {"+5", 5},
        {"-7", -7},
        {"0x1f", 31},
        {"$10", 16},
        {"-$10", -16},
        {"0xFFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"0x100000000", std::nullopt},
        {"", std::nullopt},
        {"0x", std::nullopt},
        {"--1", std::nullopt},
        {"0x-1", std::nullopt},
        {"12a", std::nullopt},
        {"1e3", std::nullopt},
        {"0x1G", std::nullopt},
        {" 5", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseIniInteger(text), expected) << "\"" << text << "\"";
    }
}

}  // namespace
}  // namespace vxa
