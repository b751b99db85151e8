#include <string>

#include "FuzzTargets.h"
#include "MemoryFileSystem.h"
#include "script/ScriptFile.h"
#include "script/Summary.h"
#include "support/FakeView.h"
#include "ui/LoadHandlers.h"
#include "ui/ScriptHandlers.h"
#include "ui/ScriptRunner.h"

namespace vxa::fuzz {

namespace {

const std::string kScriptPath = "/s.vxc";
// An owned, a blank and a shared entry.
const std::string kArchive = std::string("\x10\0\0\0\0\0\0\0\x10\0\0\0\x1E\0\0\0", 16) +
                             std::string("\x04\0\0\0\x04\0\0\0\0\0ABCD", 14);

// What a valid script must hold, and that it survives a save and a reading.
void CheckValidScript(const Script& script) {
    const ReplRec& items = script.Items;
    FUZZ_CHECK(!script.In.empty());
    FUZZ_CHECK(items.Count >= 1);
    FUZZ_CHECK(items.Indices.size() == static_cast<std::size_t>(items.Count));
    FUZZ_CHECK(items.Paths.size() == static_cast<std::size_t>(items.Count));
    FUZZ_CHECK(ScriptValueRoundTrips(script.In) && ScriptValueRoundTrips(script.Out));
    for (std::int32_t i = 0; i < items.Count; ++i) {
        FUZZ_CHECK(items.Indices[i] != -2);
        FUZZ_CHECK(!items.Paths[i].str().empty() && ScriptValueRoundTrips(items.Paths[i]));
    }
    FUZZ_CHECK(ParseScript(FormatScript(script.In, script.Out, items)) == script);
}

// "Run script..." answered with Cancel: a valid script is installed while
// the summary shows it, and everything is as it was afterwards. A refused
// script shows one error box and never reaches the summary. Returns the
// script the summary showed, if any.
std::optional<Script> CheckCancelledRun(MemoryFileSystem& fs) {
    AppState state;
    test::FakeView view(state);
    Context c{state, view, fs};
    state.InPath = "/before.vxa";
    state.Replacements.append(0, "/before.wav");
    view.dialogAnswers.push_back(kScriptPath);
    view.summaryAnswers.push_back(SummaryResult::Cancel);
    std::optional<Script> shown;
    view.onSummary = [&] {
        shown = Script{state.InPath, state.OutPath, state.ScriptList};
        FUZZ_CHECK(state.Replacements == state.ScriptList);
        const SummaryStatus st = SummaryOnShow(state.InPath, state.OutPath, state.Replacements, fs);
        FUZZ_CHECK(st.ProceedEnabled == fs.fileExists(state.InPath));
        const auto details = SummaryDetails(state.Replacements, fs, st.AllFilesExist);
        FUZZ_CHECK(details.size() >= static_cast<std::size_t>(state.ScriptList.Count));
    };
    RsBtnClick(c);
    const std::vector<std::string> expected{
        "dialog OpenDialog2",
        shown ? "summary" : "box Error|error|Script file is incorrect or damaged"};
    FUZZ_CHECK(view.log == expected);
    FUZZ_CHECK(state.InPath == "/before.vxa" && state.OutPath.empty());
    FUZZ_CHECK(state.Replacements.Count == 1 && state.Replacements.Paths[0] == "/before.wav");
    FUZZ_CHECK(state.ScriptList == (shown ? shown->Items : ReplRec{}));
    // The log shows that nothing was loaded; nor was the grid touched.
    FUZZ_CHECK(!state.ArchiveComplete && state.Table.EntryCount == 0 && view.rowCount() == 0);
    return shown;
}

// "Proceed >>>" with the script's input archive present: it is loaded, the
// script's items are shown on the rows they name, and the output is written
// when the script names one.
void CheckProceed(MemoryFileSystem& fs, const Script& script) {
    fs.put(script.Items.Paths[0], "XYZ");
    fs.put(script.In, kArchive);
    AppState state;
    test::FakeView view(state);
    Context c{state, view, fs};
    view.summaryAnswers.push_back(SummaryResult::Proceed);
    RunScript(c, script);
    FUZZ_CHECK(view.messages.empty() && !view.progressDialogVisible);
    FUZZ_CHECK(state.ArchiveComplete && state.Replacements == script.Items);
    for (std::int32_t entry = 0; entry < 3; ++entry) {
        std::string shown = EntryCellText(state.Table, 5, entry);
        for (std::int32_t j = 0; j < script.Items.Count; ++j) {
            if (script.Items.Indices[j] == entry)
                shown = script.Items.Paths[j];
        }
        FUZZ_CHECK(view.cell(5, entry + 1) == shown);
    }
    if (script.Out.empty()) {
        FUZZ_CHECK(view.logged("dialog SaveDialog1").size() == 1);
        return;
    }
    AppState out;
    test::FakeView outView(out);
    Context oc{out, outView, fs};
    FUZZ_CHECK(LoadInWindow(oc, script.Out, false) == LoadOutcome::Complete);
    FUZZ_CHECK(out.Table.Links == state.Table.Links);
}

}  // namespace

// Runs the bytes as a script file: a run that is refused or cancelled must
// leave the program as it was; what is accepted must obey the validity rules,
// survive a save and a second reading unchanged, and run through to its
// output.
int ScriptTarget(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem fs;
    fs.put(kScriptPath, std::string(reinterpret_cast<const char*>(data), size));
    if (const auto script = CheckCancelledRun(fs)) {
        CheckValidScript(*script);
        CheckProceed(fs, *script);
    }
    return 0;
}

}  // namespace vxa::fuzz
