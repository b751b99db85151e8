#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "core/IoError.h"
#include "core/Loader.h"
#include "plan/Plan.h"
#include "script/ScriptFile.h"
#include "script/ScriptHandlers.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"

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
    std::string fileA = dir.write("a.wav", "AAAA");
    std::string fileB = dir.write("b.wav", "BB");
    ReplRec oldPlan;

    void SetUp() override {
        ASSERT_EQ(LoadArchive(h.ctx, dir.write("old.vxa", BuildArchive(ManyEntries(3))), false),
                  LoadOutcome::Complete);
        h.state.OutPath = dir.file("old-out.vxa");
        h.view.setCell(5, 0, "Replace with");
        h.view.selectRow(2);
        AddReplacement(h.ctx, fileB);
        oldPlan = h.state.Replacements;
        h.view.log.clear();
        h.view.messages.clear();
        h.view.processEventsCalls = 0;
    }

    // Runs the script text through "Run script..." with the summary's answer.
    void run(const std::string& text, SummaryResult answer) {
        h.view.dialogAnswers.push_back(dir.write("plan.vxc", text));
        h.view.summaryAnswers.push_back(answer);
        RsBtnClick(h.ctx);
    }
    ReplRec scriptItems() const {
        ReplRec r;
        r.append(3, fileB);
        r.append(-1, fileA);  // names no entry
        r.append(3, fileA);   // the later item for entry 3 wins
        r.append(999, fileB);
        r.append(20, fileB);
        return r;
    }
    std::string script(const std::string& out) const {
        return FormatScript(input, out, scriptItems());
    }
    void expectOldStateKept() {
        EXPECT_EQ(h.state.InPath, dir.file("old.vxa"));
        EXPECT_EQ(h.state.OutPath, dir.file("old-out.vxa"));
        EXPECT_EQ(h.state.Replacements, oldPlan);
        EXPECT_EQ(h.state.Table.EntryCount, 3);
        EXPECT_TRUE(h.state.ArchiveComplete);
        EXPECT_EQ(h.view.cell(5, 2), fileB);
    }
    bool outputWritten() const { return std::filesystem::exists(output); }
    // What the script's plan makes of the input: entry 3 from a.wav (its
    // later item), entry 20 from b.wav; the other items name no entry.
    std::string expectedOutput() const {
        auto entries = ManyEntries(25);
        entries[3] = Owned("AAAA");
        entries[20] = Owned("BB");
        return BuildArchive(entries);
    }
};

TEST_F(RunnerTest, DamagedScriptsGiveOneErrorAndChangeNothing) {
    const std::vector<std::string> damaged{
        FormatScript("", output, scriptItems()),
        FormatScript(input, output, {}),
        "[General]\nIn=" + input + "\nCount=2\n[0]\nIndex=1\nPath=/p\n",
        "[General]\nIn=" + input + "\nCount=1\n[0]\nIndex=1\nPath=\n",
    };
    for (const auto& text : damaged) {
        h.view.log.clear();
        h.view.messages.clear();
        run(text, SummaryResult::Proceed);
        EXPECT_EQ(h.view.log,
                  (std::vector<std::string>{"dialog OpenDialog2",
                                            "box Error|error|Script file is incorrect or damaged"}))
            << text;
        expectOldStateKept();
        EXPECT_EQ(h.state.ScriptList, ReplRec{});
    }
}

TEST_F(RunnerTest, CancelledDialogDoesNothingAndAnUnreadableFileIsDamaged) {
    RsBtnClick(h.ctx);
    EXPECT_EQ(h.view.log, std::vector<std::string>{"dialog OpenDialog2"});
    for (const std::string& unreadable : {dir.file("vanished.vxc"), dir.path()}) {
        h.view.log.clear();
        h.view.dialogAnswers.push_back(unreadable);
        RsBtnClick(h.ctx);
        EXPECT_EQ(h.view.log, (std::vector<std::string>{
                                  "dialog OpenDialog2",
                                  "box Error|error|Script file is incorrect or damaged"}));
    }
    expectOldStateKept();
}

TEST_F(RunnerTest, CancelAndTitleBarCloseRestoreThePreviousPlan) {
    for (const SummaryResult answer : {SummaryResult::Cancel, SummaryResult::Closed}) {
        // The summary reads the script's paths and plan, installed before it shows.
        h.view.onSummary = [&] {
            EXPECT_EQ(h.state.InPath, input);
            EXPECT_EQ(h.state.OutPath, output);
            EXPECT_EQ(h.state.Replacements, scriptItems());
        };
        run(script(output), answer);
        expectOldStateKept();
        EXPECT_EQ(h.state.ScriptList, scriptItems());
        EXPECT_FALSE(outputWritten());
        EXPECT_TRUE(h.view.logged("progress-dialog").empty());
    }
}

TEST_F(RunnerTest, ProceedLoadsBehindTheProgressDialogAndShowsThePlan) {
    run(script(output), SummaryResult::Proceed);
    EXPECT_EQ(h.view.messages, std::vector<std::string>{});
    std::vector<std::string> steps;
    for (const auto& line : h.view.log) {
        if (line.starts_with("gauge") || line.starts_with("progress-dialog") || line == "beep") {
            steps.push_back(line);
        }
    }
    EXPECT_EQ(steps,
              (std::vector<std::string>{"gauge 0", "progress-dialog show", "gauge 0", "gauge 10",
                                        "gauge 20", "beep", "progress-dialog close"}));
    EXPECT_EQ(h.view.gaugeMax, 25);
    EXPECT_EQ(h.view.progressStatus, "Saving file...");
    EXPECT_FALSE(h.view.progressDialogVisible);
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.InPath, input);
    EXPECT_EQ(h.state.OutPath, output);
    EXPECT_EQ(h.state.Replacements, scriptItems());
    EXPECT_EQ(h.view.cell(5, 4), fileA);
    EXPECT_EQ(h.view.cell(5, 21), fileB);
    EXPECT_EQ(h.view.cell(5, 1), "");
    EXPECT_EQ(h.view.cell(5, 0), "Replace with");  // the item for entry -1 has no row
    EXPECT_EQ(h.view.rowCount(), 26);
    EXPECT_EQ(ReadFile(output), expectedOutput());
}

TEST_F(RunnerTest, ProceedWithoutOutputAsksForOneAfterLoading) {
    run(script(""), SummaryResult::Proceed);
    EXPECT_EQ(h.view.logged("dialog"),
              (std::vector<std::string>{"dialog OpenDialog2", "dialog SaveDialog1"}));
    // Cancelled: the archive stays loaded with the plan shown, nothing written.
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.OutPath, "");
    EXPECT_EQ(h.state.Replacements, scriptItems());
    EXPECT_EQ(h.view.cell(5, 4), fileA);
    EXPECT_FALSE(h.view.progressDialogVisible);
    EXPECT_EQ(h.view.progressStatus, "Loading file...");
    EXPECT_FALSE(outputWritten());

    // Again, and this time an output is chosen.
    h.view.dialogAnswers.push_back(dir.write("plan.vxc", script("")));
    h.view.dialogAnswers.push_back(output);
    h.view.summaryAnswers.push_back(SummaryResult::Proceed);
    RsBtnClick(h.ctx);
    EXPECT_EQ(h.state.OutPath, output);
    EXPECT_EQ(ReadFile(output), expectedOutput());
}

TEST_F(RunnerTest, CompileFailureIsShownAndTheDialogStillCloses) {
    run(script(dir.file("no-such-folder/new.vxa")), SummaryResult::Proceed);
    const auto tail = std::vector<std::string>(h.view.log.end() - 2, h.view.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"ioerror File not found", "progress-dialog close"}));
    EXPECT_FALSE(h.view.progressDialogVisible);
    EXPECT_FALSE(h.view.busy);
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.Replacements, scriptItems());
}

TEST_F(RunnerTest, StopDuringTheScriptLoadEndsTheRunWithoutCompiling) {
    h.view.onProcessEvents = [&] {
        EXPECT_TRUE(h.view.progressDialogVisible);
        if (h.view.processEventsCalls == 2)
            StopBtnClick(h.ctx);
    };
    run(script(output), SummaryResult::Proceed);
    EXPECT_EQ(h.view.messages, std::vector<std::string>{"Script execution interrupted by user"});
    EXPECT_EQ(h.view.log.back(), "progress-dialog close");
    EXPECT_FALSE(h.view.progressDialogVisible);
    EXPECT_EQ(h.view.progressStatus, "Loading file...");
    EXPECT_FALSE(outputWritten());
    EXPECT_FALSE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.Replacements, scriptItems());
    EXPECT_EQ(h.view.rowCount(), 13);
    EXPECT_EQ(h.view.cell(5, 4), "");  // read before the stop, but not shown
}

TEST_F(RunnerTest, AMissingInputArchiveEndsTheRunAndRestores) {
    // The summary may have seen the file; it is gone by the time the load starts.
    for (const SummaryResult answer : {SummaryResult::Proceed, SummaryResult::LoadOnly}) {
        h.view.messages.clear();
        run(FormatScript(dir.file("nowhere.vxa"), output, scriptItems()), answer);
        EXPECT_EQ(h.view.messages, std::vector<std::string>{"File doesn't exist !!!"});
        EXPECT_FALSE(h.view.progressDialogVisible);
        EXPECT_FALSE(outputWritten());
        EXPECT_FALSE(std::filesystem::exists(dir.file("old-out.vxa")));
        expectOldStateKept();
    }
}

TEST_F(RunnerTest, LoadOnlyPutsTheScriptsPlanUpForReview) {
    run(script(output), SummaryResult::LoadOnly);
    EXPECT_TRUE(h.view.logged("progress-dialog").empty());
    EXPECT_EQ(h.view.logged("progress").back(), "progress Done 100");  // the status bar's own
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.Replacements, scriptItems());
    EXPECT_EQ(h.state.OutPath, output);
    EXPECT_EQ(h.view.cell(5, 4), fileA);
    EXPECT_EQ(h.view.cell(5, 21), fileB);
    EXPECT_EQ(h.view.cell(5, 0), "Replace with");
    EXPECT_FALSE(outputWritten());
}

TEST_F(RunnerTest, LoadOnlyEndsAtAnIoErrorWithoutShowingThePlan) {
    std::string bytes = BuildArchive(ManyEntries(25));
    std::uint32_t entry10 = 0;
    std::memcpy(&entry10, bytes.data() + 40, 4);
    bytes.replace(entry10 + 4, 4, U32(0x7FFFFFFF));  // its packed size runs past the end
    WriteFile(input, bytes);
    run(script(output), SummaryResult::LoadOnly);
    EXPECT_EQ(h.view.logged("ioerror"),
              std::vector<std::string>{"ioerror Read beyond end of file"});
    EXPECT_FALSE(h.state.ArchiveComplete);
    EXPECT_EQ(h.view.rowCount(), 11);
    EXPECT_EQ(h.view.cell(5, 4), "");
}

TEST_F(RunnerTest, LoadOnlyStoppedKeepsThePlanButLocksIt) {
    h.view.onProcessEvents = [&] {
        if (h.view.processEventsCalls == 2)
            StopBtnClick(h.ctx);
    };
    run(script(output), SummaryResult::LoadOnly);
    EXPECT_EQ(h.view.messages, std::vector<std::string>{"Incomplete file is not editable"});
    EXPECT_FALSE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.Replacements, scriptItems());
    EXPECT_EQ(h.state.Table.EntryCount, 12);
    EXPECT_EQ(h.view.cell(5, 4), fileA);  // a row that was read
    EXPECT_EQ(h.view.rowCount(), 13);     // entry 20 has no row to show its item
}

}  // namespace
}  // namespace vxa::test
