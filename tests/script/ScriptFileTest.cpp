// Script files: the exact bytes a save writes, and what reading accepts.
#include <gtest/gtest.h>

#include "script/IniFile.h"
#include "script/ScriptFile.h"

namespace vxa {
namespace {

ReplRec List(std::vector<std::pair<std::int32_t, std::string>> items) {
    ReplRec r;
    for (auto& [i, p] : items)
        r.append(i, p);
    return r;
}

TEST(ScriptFile, ExactLinesInOrderThatReadBackUnchanged) {
    const std::string description =
        "Description=This is script file created by ORN VXA Manager. If you don't know what it "
        "contains, better don't try to edit it manually\r\n";
    EXPECT_EQ(FormatScript("/g/in.vxa", "", List({{4, "/m/a.wav"}, {-1, "/m/b c.wav"}})),
              "[General]\r\n" + description +
                  "In=/g/in.vxa\r\nOut=\r\nCount=2\r\n"
                  "[0]\r\nIndex=4\r\nPath=/m/a.wav\r\n"
                  "[1]\r\nIndex=-1\r\nPath=/m/b c.wav\r\n");
    EXPECT_EQ(FormatScript("", "/o.vxa", {}),
              "[General]\r\n" + description + "In=\r\nOut=/o.vxa\r\nCount=0\r\n");
    ReplRec items;
    for (int i = 0; i < 12; ++i)
        items.append(i % 5 == 4 ? -3 : 100 - i, "/r/f" + std::to_string(i));
    items.append(7, "/r/\xC3\xA9t\xC3\xA9=.wav");  // UTF-8 bytes are kept as they are
    items.append(8, std::string(2047, 'p'));
    EXPECT_EQ(ParseScript(FormatScript("/in.vxa", "/out.vxa", items)),
              (Script{"/in.vxa", "/out.vxa", items}));
}

TEST(ScriptFile, EachValidityRuleRejects) {
    const std::string in = "[General]\nIn=/in.vxa\n", item0 = "[0]\nIndex=1\nPath=/p\n";
    std::string ten = in + "Count=11\n";  // items 0 to 9, and ":" (one past "9") for 10
    for (int k = 0; k < 10; ++k)
        ten += "[" + std::to_string(k) + "]\nIndex=1\nPath=/p\n";
    for (const std::string& text :
         {std::string(),
          item0,                           // no General
          "[General]\nCount=1\n" + item0,  // no In
          "[General]\nIn=  \nCount=1\n" + item0,
          in + item0,  // empty In, no Count
          in + "Count=0\n" + item0,
          in + "Count=-1\n" + item0,
          in + "Count=one\n" + item0,
          in + "Count=2\n" + item0,           // an item missing
          in + "Count=2147483647\n" + item0,  // more than the text holds
          in + "Count=1\n[0]\nPath=/p\n",
          in + "Count=1\n[0]\nIndex=x\nPath=/p\n",
          in + "Count=1\n[0]\nIndex=-2\nPath=/p\n",
          in + "Count=1\n[0]\nIndex=1\n",
          in + "Count=1\n[0]\nIndex=1\nPath=   \n",
          in + "Count=1\n[1]\nIndex=1\nPath=/p\n",
          in + "Count=1\n[00]\nIndex=1\nPath=/p\n",
          in + "Count=1\n[]\nIndex=1\nPath=/p\n",
          in + "Count=1\n[0]\nIndex=1\n[0]\nIndex=1\nPath=/p\n",  // the first [0] counts
          ten + "[:]\nIndex=1\nPath=/p\n"})
        EXPECT_EQ(ParseScript(text), std::nullopt) << text;
}

// Names match without regard to case and values are trimmed; a value is all
// after the first "="; the first line of a key and the first section of a
// name count, a damaged later one passed over; items stand in any order; stray lines, keys outside
// sections and a heading without "]" are passed over; CR, LF and CR LF end lines; a byte order mark
// is skipped; values are cut at 2047 characters.
TEST(ScriptFile, LenientFormsAreAccepted) {
    const std::string text =
        "\xEF\xBB\xBF"
        "Orphan=1\n[1]\n PATH = /second=x \t\nindex=$1A\n"
        "Index=4\n[1]\nIndex=5\n[9\nIndex=3\n"
        "  [ general ]  trailing\njust text\n=nameless\nIN=/in.vxa\n"
        "count=0X2\n[GENERAL]\nOut=/second/general\n[0]\nExtra=1\n"
        "Index=0x0\nPath=" +
        std::string(3000, 'p') + "\n";
    const Script expected{"/in.vxa", "", List({{0, std::string(2047, 'p')}, {26, "/second=x"}})};
    std::string crlf, cr;
    for (const char ch : text) {
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        cr += ch == '\n' ? '\r' : ch;
    }
    for (const std::string& t : {text, crlf, cr})
        EXPECT_EQ(ParseScript(t), expected);
}

TEST(ScriptFile, NumbersAndValuesThatFit) {
    const char* numbers[] = {"0",   "42",   "+5",         "-7",         "0x1f",
                             "$10", "-$10", "0xFFFFFFFF", "2147483647", "-2147483648"};
    const std::int32_t values[] = {0, 42, 5, -7, 31, 16, -16, -1, 2147483647, -2147483647 - 1};
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(ParseIniInteger(numbers[k]), values[k]) << numbers[k];
    for (const char* text :
         {"2147483648", "0x100000000", "", "0x", "--1", "0x-1", "12a", "1e3", "0x1G", " 5"})
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << text;
    // Only values that read back as they were written fit a script.
    for (const std::string& fits :
         {std::string(), std::string("/a b/c=d.wav"), std::string(2047, 'x')})
        EXPECT_TRUE(ScriptValueRoundTrips(fits)) << fits;
    for (const std::string& not_ :
         {std::string(2048, 'x'), std::string("/a\nIndex=9"), std::string("/a\r"),
          std::string("/ends in blank "), std::string(" starts"), std::string("/tab\t"),
          std::string("\fa"), std::string("a\v")})
        EXPECT_FALSE(ScriptValueRoundTrips(not_)) << not_;
}

}  // namespace
}  // namespace vxa
