#include <gtest/gtest.h>

#include "script/ScriptFile.h"

namespace vxa {
namespace {

ReplRec List(std::vector<std::pair<std::int32_t, std::string>> items) {
    ReplRec r;
    for (auto& [i, p] : items)
        r.append(i, p);
    return r;
}

const std::string kDescriptionLine =
    "Description=This is script file created by ORN VXA Manager. If you don't know what it "
    "contains, better don't try to edit it manually\r\n";

TEST(ScriptFormat, ExactLinesInOrder) {
    EXPECT_EQ(FormatScript("/g/in.vxa", "", List({{4, "/m/a.wav"}, {4, "/m/b c.wav"}})),
              "[General]\r\n" + kDescriptionLine +
                  "In=/g/in.vxa\r\n"
                  "Out=\r\n"
                  "Count=2\r\n"
                  "[0]\r\n"
                  "Index=4\r\n"
                  "Path=/m/a.wav\r\n"
                  "[1]\r\n"
                  "Index=4\r\n"
                  "Path=/m/b c.wav\r\n");
    // An empty plan has the general keys only.
    EXPECT_EQ(FormatScript("", "/o.vxa", {}),
              "[General]\r\n" + kDescriptionLine + "In=\r\nOut=/o.vxa\r\nCount=0\r\n");
}

TEST(ScriptFormat, ASavedPlanReadsBackUnchanged) {
    ReplRec items;
    for (int i = 0; i < 12; ++i)
        items.append(i % 5 == 4 ? -3 : 100 - i, "/r/f" + std::to_string(i));
    items.append(7, "/r/\xC3\xA9t\xC3\xA9.wav");  // UTF-8 bytes are kept as they are
    const std::string text = FormatScript("/in.vxa", "/out.vxa", items);
    EXPECT_NE(text.find("[11]\r\n"), std::string::npos);
    const auto back = ParseScript(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, (Script{"/in.vxa", "/out.vxa", items}));
}

std::string General(const std::string& count, const std::string& in = "In=/in.vxa\n") {
    return "[General]\n" + in + "Count=" + count + "\n";
}

TEST(ScriptParse, EachValidityRuleRejects) {
    const std::string item0 = "[0]\nIndex=1\nPath=/p\n";
    const std::vector<std::pair<std::string, std::string>> damaged{
        {"no In", "[General]\nCount=1\n" + item0},
        {"empty In", General("1", "In=  \n") + item0},
        {"no General", item0},
        {"Count absent", "[General]\nIn=/in.vxa\n" + item0},
        {"Count 0", General("0") + item0},
        {"Count negative", General("-1") + item0},
        {"Count not a number", General("one") + item0},
        {"item section missing", General("2") + item0},
        {"Index absent", General("1") + "[0]\nPath=/p\n"},
        {"Index not a number", General("1") + "[0]\nIndex=first\nPath=/p\n"},
        {"Index -2", General("1") + "[0]\nIndex=-2\nPath=/p\n"},
        {"Path absent", General("1") + "[0]\nIndex=1\n"},
        {"Path empty", General("1") + "[0]\nIndex=1\nPath=   \n"},
        {"sections numbered from 1", General("1") + "[1]\nIndex=1\nPath=/p\n"},
        {"padded section name", General("1") + "[00]\nIndex=1\nPath=/p\n"},
        {"the first section 0 counts", General("1") + "[0]\nIndex=1\n[0]\nIndex=1\nPath=/p\n"},
        {"empty file", ""},
    };
    for (const auto& [why, text] : damaged)
        EXPECT_FALSE(ParseScript(text)) << why;
}

TEST(ScriptParse, HugeCountIsRefusedAtTheFirstMissingSection) {
    EXPECT_FALSE(ParseScript(General("2147483647") + "[0]\nIndex=0\nPath=/p\n"));
    EXPECT_FALSE(ParseScript(General("0x7FFFFFFF") + "[0]\nIndex=0\nPath=/p\n"));
}

TEST(ScriptParse, LenientFormsAreAccepted) {
    const std::string text =
        "[1]\n"
        "PATH = /second \n"
        "index=$1A\n"
        "[1]\n"  // a later section of a number is never read
        "Index=5\n"
        "[9]\n"
        "Index=3\nPath=/beyond/count\n"
        "[general]\n"
        "Comment=ignored\n"
        "IN=/in.vxa\n"
        "count=0X2\n"
        "[0]\n"
        "Extra=1\n"
        "Index=0x0\n"
        "Path=/first\n";
    const auto s = ParseScript(text);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->In, "/in.vxa");
    EXPECT_EQ(s->Out, "");  // absent means not chosen
    EXPECT_EQ(s->Items, List({{0, "/first"}, {26, "/second"}}));

    std::string crlf = text;
    for (std::size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2) {
        crlf.replace(at, 1, "\r\n");
    }
    EXPECT_EQ(ParseScript(crlf), s);
}

TEST(ScriptParse, AnyIndexButMinusTwoIsTakenAsItIs) {
    const auto s = ParseScript(General("3") +
                               "[0]\nIndex=-1\nPath=/a\n[1]\nIndex=0xFFFFFFFF\nPath=/b\n"
                               "[2]\nIndex=2147483647\nPath=/c\n");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Items.Indices, (std::vector<std::int32_t>{-1, -1, 2147483647}));
}

TEST(ScriptValue, OnlyValuesThatReadBackUnchangedFit) {
    EXPECT_TRUE(ScriptValueRoundTrips(""));
    EXPECT_TRUE(ScriptValueRoundTrips("/a b/c=d.wav"));
    EXPECT_TRUE(ScriptValueRoundTrips(std::string(2047, 'x')));
    EXPECT_FALSE(ScriptValueRoundTrips(std::string(2048, 'x')));
    EXPECT_FALSE(ScriptValueRoundTrips("/a\nIndex=9"));
    EXPECT_FALSE(ScriptValueRoundTrips("/a\r"));
    EXPECT_FALSE(ScriptValueRoundTrips("/ends in blank "));
    EXPECT_FALSE(ScriptValueRoundTrips(" starts"));
    EXPECT_FALSE(ScriptValueRoundTrips("/tab\t"));
}

}  // namespace
}  // namespace vxa
