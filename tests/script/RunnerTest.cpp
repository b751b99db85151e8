// "Run script...", "Save to script", the summary a run shows first, and
// script files themselves.

#include "core/ArchiveReader.h"
#include "core/Compiler.h"
#include "script/IniFile.h"
#include "script/ScriptFile.h"
#include "script/Summary.h"
#include "support/Suite.h"
#include "ui/CompileHandlers.h"
#include "ui/ScriptHandlers.h"

namespace vxa::test {
namespace {

// A window with an earlier archive open and planned, and a 25-entry archive
// with two replacement files on disk for the scripts to name.
class RunnerTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    std::string input = dir.write("game.vxa", BuildArchive(ManyEntries(25)));
    std::string output = dir.file("new.vxa");
    std::string fileA = dir.write("a.wav", "AAAA"), fileB = dir.write("b.wav", "BB");
    ReplRec oldPlan;

    void SetUp() override {
        ASSERT_EQ(LoadInWindow(h.ctx, dir.write("old.vxa", BuildArchive(ManyEntries(3))), false),
                  LoadOutcome::Complete);
        h.state.OutPath = dir.file("old-out.vxa");
        h.state.Grid.Texts.assign(1, {});
        h.state.Grid.Texts[0][5] = "Replace with";
        h.state.Replacements.append(1, fileB);
        ShowPlan(h.state.Grid, h.state.Table, h.state.Replacements);
        oldPlan = h.state.Replacements;
        h.view.processEventsCalls = 0;
        h.view.log.clear();
    }
    // Runs the script text with the summary's answer; returns the boxes shown.
    Lines run(const std::string& text, SummaryResult answer, Context* c = nullptr) {
        h.view.log.clear();
        h.view.dialogAnswers.push_back(dir.write("plan.vxc", text));
        h.view.summaryAnswers = {answer};
        RsBtnClick(c ? *c : h.ctx);
        return h.view.logged("box");
    }
    // Items for the first and last entries, items naming none (one just past
    // the last), and two for entry 3 of which the later wins.
    ReplRec items() const {
        ReplRec r;
        for (const auto& [index, path] : std::vector<std::pair<int, std::string>>{
                 {24, fileB}, {-1, fileA}, {3, fileB}, {25, fileB}, {0, fileA}, {3, fileA}})
            r.append(index, path);
        return r;
    }
    std::string script(const std::string& out) const { return FormatScript(input, out, items()); }
    void expectOldStateKept() {
        EXPECT_EQ(
            h.state.InPath + " " + h.state.OutPath + " " + h.describe() + " " + h.view.cell(5, 2),
            dir.file("old.vxa") + " " + dir.file("old-out.vxa") +
                " 3 entries, 4 rows, complete, open, plan 1 " + fileB);
        EXPECT_EQ(h.state.Replacements, oldPlan);
        EXPECT_FALSE(std::filesystem::exists(output) || std::filesystem::exists(h.state.OutPath));
    }
    // The grid's "Replace with" column shows the script's plan, and only that.
    void expectPlanShown() {
        EXPECT_EQ(h.state.Replacements, items());
        EXPECT_EQ(h.view.cell(5, 0) + h.view.cell(5, 1) + h.view.cell(5, 4) + h.view.cell(5, 25),
                  "Replace with" + fileA + fileA + fileB);
        EXPECT_EQ(h.view.rowCount(), 26);
    }
};

TEST_F(RunnerTest, DamagedScriptsGiveOneErrorAndACancelledRunRestoresThePlan) {
    RsBtnClick(h.ctx);  // the dialog cancelled
    EXPECT_EQ(h.view.log, Lines{"dialog OpenDialog2"});
    EXPECT_EQ(run(FormatScript(input, output, {}), SummaryResult::Proceed),
              Lines{"box Error|error|Script file is incorrect or damaged"});
    h.view.log.clear();
    h.view.dialogAnswers.push_back(dir.path());  // unreadable as a script
    RsBtnClick(h.ctx);
    EXPECT_EQ(h.view.logged("box"), Lines{"box Error|error|Script file is incorrect or damaged"});
    // An input gone since the summary saw it: the run ends, nothing changed.
    EXPECT_EQ(run(FormatScript(dir.file("gone.vxa"), output, items()), SummaryResult::Proceed),
              Lines{"box Error|error|File doesn't exist !!!"});
    expectOldStateKept();
    TestFileSystem faulty;  // one that cannot be opened: the same, after its error
    Context fc{h.state, h.view, faulty};
    for (const SummaryResult answer : {SummaryResult::Proceed, SummaryResult::LoadOnly}) {
        int opens = 0;  // the script's own open is the first
        faulty.onOpen = [&] { ++opens == 2 ? throw IoError(kAccessDenied) : void(); };
        EXPECT_EQ(run(script(output), answer, &fc), Lines{GeneralError(kAccessDenied)});
        expectOldStateKept();
    }
    for (const SummaryResult answer : {SummaryResult::Cancel, SummaryResult::Closed}) {
        // The summary reads the script's paths and plan, installed before it shows.
        h.view.onSummary = [&] {
            EXPECT_EQ(h.state.InPath + h.state.OutPath, input + output);
            EXPECT_EQ(h.state.Replacements, items());
        };
        EXPECT_EQ(run(script(output), answer), Lines{});
        expectOldStateKept();
        EXPECT_EQ(h.state.ScriptList, items());
    }
}

TEST_F(RunnerTest, ProceedLoadsBehindTheProgressDialogShowsThePlanAndCompiles) {
    h.view.onProcessEvents = [&] { EXPECT_TRUE(h.view.progressDialogVisible); };
    EXPECT_EQ(run(script(output), SummaryResult::Proceed), Lines{});
    EXPECT_EQ(h.view.log, (Lines{"dialog OpenDialog2", "summary", "gauge 0", "progress-dialog show",
                                 "busy", "idle", "gauge 0", "gauge 10", "gauge 20", "beep", "busy",
                                 "idle", "progress-dialog close"}));
    EXPECT_EQ(h.view.progressStatus + " " + h.state.InPath + " " + h.state.OutPath,
              "Saving file... " + input + " " + output);
    expectPlanShown();
    auto entries = ManyEntries(25);
    entries[0] = entries[3] = Owned("AAAA");
    entries[24] = Owned("BB");
    EXPECT_EQ(ReadFile(output), BuildArchive(entries));
}

TEST_F(RunnerTest, LoadOnlyPutsTheScriptsPlanUpForReviewOrEndsAtAnError) {
    EXPECT_EQ(run(script(output), SummaryResult::LoadOnly), Lines{});
    // A load of the window's own, its progress drawn in the window, done.
    ASSERT_GE(h.view.log.size(), 2u);
    EXPECT_EQ(h.view.log.end()[-2].substr(0, 14) + h.view.log.back(), "progress Done beep");
    EXPECT_EQ(h.describe() + " " + h.state.OutPath,
              "25 entries, 26 rows, complete, open, plan 6 " + output);
    expectPlanShown();
    EXPECT_FALSE(std::filesystem::exists(output));
    // Entry 10's packed size runs past the end: the load fails after 10 entries.
    std::string bytes = ReadFile(input);
    bytes.replace(LoadU32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 40) + 4, 4,
                  U32(0x7FFFFFFF));
    WriteFile(input, bytes);
    EXPECT_EQ(run(script(output), SummaryResult::LoadOnly), Lines{GeneralError(kReadBeyondEnd)});
    EXPECT_EQ(h.describe() + h.view.cell(5, 4), "10 entries, 11 rows, plan 6");
}

// "Save to script": the plan, the whole file or nothing; a value that would
// read back differently (a line break injects keys) is refused, named.
TEST_F(RunnerTest, SaveWritesThePlanWholeOrNothing) {
    const std::string target = dir.write("plan.vxc", "old script");
    const std::string refused = GeneralError("Unable to write to " + target);
    const auto save = [&](Context& c) {
        h.view.log.clear();
        h.view.dialogAnswers = {target};
        SvsBtnClick(c);
        return h.view.log;
    };
    TestFileSystem fs;
    Context fc{h.state, h.view, fs};
    for (int step = 1; step <= 9; ++step) {  // each step fails once, as on a full disk
        fs.reset();
        fs.failStep(step, kFullError);
        EXPECT_EQ(save(fc), (Lines{"dialog SaveDialog2", refused}));
        EXPECT_EQ(ReadFile(target), "old script");
    }
    fs.reset();
    EXPECT_EQ(save(fc), (Lines{"dialog SaveDialog2", "beep"}));
    EXPECT_EQ(fs.trace(), (Lines{"inspect", "create", "write", "flush", "chown", "chmod", "link",
                                 "close", "rename"}));
    EXPECT_EQ(ReadFile(target), FormatScript(h.state.InPath, h.state.OutPath, oldPlan));
    h.view.log.clear();
    SvsBtnClick(h.ctx);  // cancelled
    const std::string evil = "/mods/evil\r\n[0]\r\nIndex=9";
    const std::string cannot = "box Error|error|A script cannot hold this path: " + evil;
    h.state.Replacements.append(1, evil);
    EXPECT_EQ(save(h.ctx).back(), cannot);
    h.state.Replacements = oldPlan;
    for (std::string AppState::*path : {&AppState::InPath, &AppState::OutPath}) {
        const std::string kept = h.state.*path;
        h.state.*path = evil;
        EXPECT_EQ(save(h.ctx).back(), cannot);
        h.state.*path = kept;
    }
    // Without an output it asks first; No saves nothing.
    h.state.OutPath.clear();
    h.view.answers = {MsgAnswer::No, MsgAnswer::Yes};
    const std::string question = "box Hmmm?|question|Output file not chosen. Save anyway?";
    EXPECT_EQ(save(h.ctx), Lines{question});
    EXPECT_EQ(ReadFile(target), FormatScript(h.state.InPath, dir.file("old-out.vxa"), oldPlan));
    EXPECT_EQ(save(h.ctx), (Lines{question, "dialog SaveDialog2", "beep"}));
    EXPECT_EQ(ReadFile(target), FormatScript(h.state.InPath, "", oldPlan));
    // Not while a load rebuilds the plan; nor may a script run or a compile
    // start then, nor an output be chosen.
    h.state.Loading = true;
    h.view.log.clear();
    SvsBtnClick(h.ctx);
    RsBtnClick(h.ctx);
    SvahBtnClick(h.ctx);
    SvhBtnClick(h.ctx);
    h.state.Loading = false;
    EXPECT_EQ(h.view.log, Lines{});
}

TEST(Summary, StatusAndDetailsFromTheInstalledScript) {
    TempDir dir;
    AppState state;
    FileSystem& fs = RealFileSystem();
    const std::string present = dir.write("a.wav", "a"), gone = dir.file("gone.wav");
    state.InPath = gone;
    for (const auto& [index, path] : std::vector<std::pair<int, std::string>>{
             {0, present}, {41, gone}, {-5, dir.path()}, {2147483647, present}})
        state.Replacements.append(index, path);  // a folder is no file; any index is listed
    SummaryStatus st = SummaryOnShow(state.InPath, state.OutPath, state.Replacements, fs);
    EXPECT_EQ(st.Lines, (Lines{"Status:", "",
                               "Fatal error: Input file doesn't exist. This script can't be ran"}));
    EXPECT_FALSE(st.ProceedEnabled || st.AllFilesExist);
    state.InPath = present;
    st = SummaryOnShow(state.InPath, state.OutPath, state.Replacements, fs);
    EXPECT_EQ(st.Lines,
              (Lines{"Status:", "", "Input file OK", "",
                     "Output file not chosen. If you click <Proceed>, you will be asked to choose "
                     "it.",
                     "",
                     "Some of files that are to be replaced are missing.\r\n"
                     "Click <Show details> to see details.\r\n"
                     "If you click <Proceed>, missing files will be skipped.",
                     "", "Click <Show details> to see details"}));
    EXPECT_TRUE(st.ProceedEnabled);
    EXPECT_EQ(
        SummaryDetails(state.Replacements, fs, false),
        (Lines{"Files that are to be replaced:", "", "Missing files are marked with asterisks", "",
               "file 1 --> " + present, "* file 42 --> " + gone, "* file -4 --> " + dir.path(),
               "file 2147483648 --> " + present}));
    state.OutPath = "/o.vxa";
    state.Replacements.Paths[1] = state.Replacements.Paths[2] = present;
    st = SummaryOnShow(state.InPath, state.OutPath, state.Replacements, fs);
    EXPECT_EQ(st.Lines[4] + st.Lines[6] + SummaryDetails(state.Replacements, fs, true)[2],
              "Ouput file OKFiles OKfile 1 --> " + present);
    EXPECT_TRUE(st.AllFilesExist);
}

// Script files: the exact bytes a save writes, and what reading accepts.
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
        ten.append("[").append(std::to_string(k)).append("]\nIndex=1\nPath=/p\n");
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
    for (const char* text : {"2147483648", "-2147483649", "0x100000000", "", "0x", "--1", "0x-1",
                             "12a", "1e3", "0x1G", " 5"})
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
}  // namespace vxa::test
