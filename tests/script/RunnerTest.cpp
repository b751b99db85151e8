#include <gtest/gtest.h>

#include <filesystem>

#include "core/ArchiveReader.h"
#include "core/Loader.h"
#include "script/ScriptFile.h"
#include "script/ScriptHandlers.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

using Lines = std::vector<std::string>;
const std::string kDamaged = "box Error|error|Script file is incorrect or damaged";

// "Run script..." in a window with an earlier archive open and planned, and
// a 25-entry archive with two replacement files on disk for the scripts.
class RunnerTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    std::string input = dir.write("game.vxa", BuildArchive(ManyEntries(25)));
    std::string output = dir.file("new.vxa");
    std::string fileA = dir.write("a.wav", "AAAA"), fileB = dir.write("b.wav", "BB");
    ReplRec oldPlan;

    void SetUp() override {
        ASSERT_EQ(LoadArchive(h.ctx, dir.write("old.vxa", BuildArchive(ManyEntries(3))), false),
                  LoadOutcome::Complete);
        h.state.OutPath = dir.file("old-out.vxa");
        h.view.setCell(5, 0, "Replace with");
        h.view.setCell(5, 2, fileB);
        h.state.Replacements.append(1, fileB);
        oldPlan = h.state.Replacements;
        h.view.log.clear();
        h.view.processEventsCalls = 0;
    }
    // Runs the script text with the summary's answer; returns the boxes shown.
    Lines run(const std::string& text, SummaryResult answer) {
        h.view.log.clear();
        h.view.dialogAnswers.push_back(dir.write("plan.vxc", text));
        h.view.summaryAnswers = {answer};
        RsBtnClick(h.ctx);
        return h.view.logged("box");
    }
    // Items naming no entry, and two for entry 3 of which the later wins.
    static ReplRec Items(const std::string& a, const std::string& b) {
        ReplRec r;
        for (const auto& [index, path] :
             std::vector<std::pair<int, std::string>>{{3, b}, {-1, a}, {3, a}, {999, b}, {20, b}})
            r.append(index, path);
        return r;
    }
    std::string script(const std::string& out) const {
        return FormatScript(input, out, Items(fileA, fileB));
    }
    void expectOldStateKept() {
        EXPECT_EQ(std::tie(h.state.InPath, h.state.OutPath, h.state.Replacements),
                  std::forward_as_tuple(dir.file("old.vxa"), dir.file("old-out.vxa"), oldPlan));
        EXPECT_EQ(h.state.Table.EntryCount, 3);
        EXPECT_TRUE(h.state.ArchiveComplete);
        EXPECT_EQ(h.view.cell(5, 2), fileB);
        EXPECT_FALSE(std::filesystem::exists(output) ||
                     std::filesystem::exists(dir.file("old-out.vxa")));
    }
    // The grid's "Replace with" column shows the script's plan, and only that.
    void expectPlanShown() {
        EXPECT_EQ(h.state.Replacements, Items(fileA, fileB));
        EXPECT_EQ(h.view.cell(5, 4) + h.view.cell(5, 1) + h.view.cell(5, 0),
                  fileA + "Replace with");
        EXPECT_EQ(h.view.cell(5, 21), fileB);
        EXPECT_EQ(h.view.rowCount(), 26);
    }
};

TEST_F(RunnerTest, DamagedOrUnreadableScriptsGiveOneErrorAndChangeNothing) {
    RsBtnClick(h.ctx);  // the dialog cancelled
    EXPECT_EQ(h.view.log, Lines{"dialog OpenDialog2"});
    for (const std::string& text :
         {FormatScript("", output, Items(fileA, fileB)), FormatScript(input, output, {})})
        EXPECT_EQ(run(text, SummaryResult::Proceed), Lines{kDamaged});
    for (const std::string& unreadable : {dir.file("vanished.vxc"), dir.path()}) {
        h.view.log.clear();
        h.view.dialogAnswers.push_back(unreadable);
        RsBtnClick(h.ctx);
        EXPECT_EQ(h.view.logged("box"), Lines{kDamaged});
    }
    expectOldStateKept();
    EXPECT_EQ(h.state.ScriptList, ReplRec{});
}

TEST_F(RunnerTest, CancelAndTitleBarCloseRestoreThePreviousPlan) {
    for (const SummaryResult answer : {SummaryResult::Cancel, SummaryResult::Closed}) {
        // The summary reads the script's paths and plan, installed before it shows.
        h.view.onSummary = [&] {
            EXPECT_EQ(std::tie(h.state.InPath, h.state.OutPath), std::tie(input, output));
            EXPECT_EQ(h.state.Replacements, Items(fileA, fileB));
        };
        EXPECT_EQ(run(script(output), answer), Lines{});
        expectOldStateKept();
        EXPECT_EQ(h.state.ScriptList, Items(fileA, fileB));
        EXPECT_EQ(h.view.logged("progress-dialog"), Lines{});
    }
}

TEST_F(RunnerTest, ProceedLoadsBehindTheProgressDialogShowsThePlanAndCompiles) {
    h.view.onProcessEvents = [&] { EXPECT_TRUE(h.view.progressDialogVisible); };
    EXPECT_EQ(run(script(output), SummaryResult::Proceed), Lines{});
    EXPECT_EQ(h.view.log, (Lines{"dialog OpenDialog2", "summary", "gauge 0", "progress-dialog show",
                                 "busy", "idle", "gauge 0", "gauge 10", "gauge 20", "beep", "busy",
                                 "idle", "progress-dialog close"}));
    EXPECT_EQ(std::tuple(h.view.gaugeMax, h.view.progressStatus), std::tuple(25, "Saving file..."));
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(std::tie(h.state.InPath, h.state.OutPath), std::tie(input, output));
    expectPlanShown();
    auto entries = ManyEntries(25);
    entries[3] = Owned("AAAA");
    entries[20] = Owned("BB");
    EXPECT_EQ(ReadFile(output), BuildArchive(entries));
}

TEST_F(RunnerTest, ProceedWithoutOutputAsksForOneAfterLoadingAndReportsAFailedCompile) {
    run(script(""), SummaryResult::Proceed);
    EXPECT_EQ(h.view.logged("dialog"), (Lines{"dialog OpenDialog2", "dialog SaveDialog1"}));
    // Cancelled: the archive stays loaded with the plan shown, nothing written.
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.OutPath, "");
    EXPECT_EQ(h.view.progressStatus, "Loading file...");
    expectPlanShown();
    // Chosen, in a folder that does not exist: the compile's error, then the dialog closes.
    const std::string nowhere = dir.file("no-such-folder/new.vxa");
    h.view.dialogAnswers.push_back(dir.write("plan.vxc", script("")));
    h.view.dialogAnswers.push_back(nowhere);
    h.view.summaryAnswers = {SummaryResult::Proceed};
    RsBtnClick(h.ctx);
    EXPECT_EQ(h.state.OutPath, nowhere);
    EXPECT_EQ(Lines(h.view.log.end() - 4, h.view.log.end()),
              (Lines{"busy", "idle", "ioerror File not found", "progress-dialog close"}));
    expectPlanShown();
}

// A load that does not end ends the run: nothing is compiled. A missing
// input (gone since the summary saw it) restores what was there; a stopped
// load keeps the script's plan, shown by Load only on the rows read.
TEST_F(RunnerTest, ALoadThatDoesNotEndEndsTheRun) {
    for (const SummaryResult answer : {SummaryResult::Proceed, SummaryResult::LoadOnly}) {
        const bool proceed = answer == SummaryResult::Proceed;
        EXPECT_EQ(run(FormatScript(dir.file("nowhere.vxa"), output, Items(fileA, fileB)), answer),
                  Lines{"box Error|error|File doesn't exist !!!"});
        expectOldStateKept();
        h.view.processEventsCalls = 0;
        h.view.onProcessEvents = [&] { h.state.StopRequested = h.view.processEventsCalls == 2; };
        EXPECT_EQ(run(script(output), answer),
                  Lines{proceed ? "box Warning|warning|Script execution interrupted by user"
                                : "box Warning|warning|Incomplete file is not editable"});
        EXPECT_FALSE(std::filesystem::exists(output) || h.state.ArchiveComplete);
        EXPECT_EQ(h.state.Replacements, Items(fileA, fileB));
        EXPECT_EQ(h.view.rowCount(), 13);
        EXPECT_EQ(h.view.cell(5, 4), proceed ? "" : fileA);
        h.view.onProcessEvents = nullptr;
        SetUp();  // the earlier archive and plan again
    }
}

TEST_F(RunnerTest, LoadOnlyPutsTheScriptsPlanUpForReviewOrEndsAtAnError) {
    EXPECT_EQ(run(script(output), SummaryResult::LoadOnly), Lines{});
    EXPECT_EQ(h.view.logged("progress").back(), "progress Done 100");  // the status bar's own
    EXPECT_EQ(h.view.logged("progress-dialog"), Lines{});
    EXPECT_TRUE(h.state.ArchiveComplete);
    EXPECT_EQ(h.state.OutPath, output);
    expectPlanShown();
    EXPECT_FALSE(std::filesystem::exists(output));
    // Entry 10's packed size runs past the end: the load fails after 10 entries.
    std::string bytes = ReadFile(input);
    bytes.replace(LoadU32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 40) + 4, 4,
                  U32(0x7FFFFFFF));
    WriteFile(input, bytes);
    EXPECT_EQ(run(script(output), SummaryResult::LoadOnly), Lines{});
    EXPECT_EQ(h.view.log.back(), "ioerror Read beyond end of file");
    EXPECT_FALSE(h.state.ArchiveComplete);
    EXPECT_EQ(h.view.rowCount(), 11);
    EXPECT_EQ(h.view.cell(5, 4), "");
}

}  // namespace
}  // namespace vxa::test
