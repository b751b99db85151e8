#pragma once

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/io/IoError.h"
#include "plan/GridRows.h"
#include "ui/AppState.h"
#include "ui/Context.h"

namespace vxa::test {

template <class T>
T Next(std::deque<T>& queue, T otherwise) {
    if (queue.empty())
        return otherwise;
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

// OK for an OK box, else the next scripted answer, No when there is none.
inline MsgAnswer NextAnswer(std::deque<MsgAnswer>& answers, MsgButtons buttons) {
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : Next(answers, MsgAnswer::No);
}

// A view that records what the logic shows, a line per call ("box
// Error|error|File doesn't exist !!!", "progress 10/25 40", "busy", "idle"),
// and answers from queues the test fills; empty queues answer No, Cancel and
// nothing. The grid it shows is the state's. Whatever a test did, every
// operation must leave the window usable: the fake ends the test program when
// it goes with the busy cursor on, or the Stop button or the progress dialog
// shown.
class FakeView final : public View {
  public:
    explicit FakeView(const AppState& state) : state_(state) {}
    ~FakeView() override {
        if (!busy && !stopVisible && !progressDialogVisible)
            return;
        std::fprintf(stderr, "FakeView left with busy %d, Stop %d, dialog %d\n", busy, stopVisible,
                     progressDialogVisible);
        std::abort();
    }

    std::deque<MsgAnswer> answers;
    std::deque<std::optional<std::string>> dialogAnswers;
    std::deque<SummaryResult> summaryAnswers;
    std::optional<std::string> browserSelection;
    std::string openEdit = "Open VXA file";
    std::function<void()> onProcessEvents, onOfferEvents, onSummary;

    std::vector<std::string> log;
    std::vector<std::string> messages;  // texts of message and error boxes
    std::string status, progressStatus, pathText;
    bool stopVisible = false, busy = false, progressDialogVisible = false;
    int gaugeMax = 100, processEventsCalls = 0, offerEventsCalls = 0;
    int gridUpdates = 0;
    std::vector<BrowserItem> browserItems;

    int rowCount() const { return state_.Grid.Count; }
    std::string cell(int col, int row) const {
        return GridCellText(state_.Grid, state_.Table, col, row);
    }
    std::string row(int r) const {  // the six cells, joined by "|"
        std::string out = cell(0, r);
        for (int col = 1; col < kGridColumns; ++col)
            out.append("|").append(cell(col, r));
        return out;
    }
    std::vector<std::string> logged(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& line : log) {
            if (line.starts_with(prefix))
                out.push_back(line);
        }
        return out;
    }

    void gridChanged() override { ++gridUpdates; }
    int selectedRow() const override { return selected_; }
    void selectRow(int row) override { selected_ = row; }
    void drawLoadProgress(int width, const std::string& text) override {
        log.push_back("progress " + text + " " + std::to_string(width));
    }
    void setStatusText(const std::string& text) override { status = text; }
    void setStopButtonVisible(bool visible) override { stopVisible = visible; }
    std::string openEditText() const override { return openEdit; }
    void setOpenEditText(const std::string& text) override { openEdit = text; }
    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override {
        static constexpr const char* kIcons[] = {"error", "warning", "question"};
        log.push_back("box " + title + "|" + kIcons[static_cast<int>(icon)] + "|" + text);
        messages.push_back(text);
        return NextAnswer(answers, buttons);
    }
    std::optional<std::string> runFileDialog(FileDialog dialog) override {
        static constexpr const char* kNames[] = {"OpenDialog1",        "SaveDialog1",
                                                 "SaveDialog2",        "OpenDialog2",
                                                 "ExtractEntryDialog", "ExtractFolderDialog"};
        log.push_back(std::string("dialog ") + kNames[static_cast<int>(dialog)]);
        return Next(dialogAnswers, std::optional<std::string>());
    }
    void beep() override { log.push_back("beep"); }
    void setBusyCursor(bool on) override {
        busy = on;
        log.push_back(on ? "busy" : "idle");
    }
    void processEvents(bool progressPoint) override {
        int& calls = progressPoint ? processEventsCalls : offerEventsCalls;
        ++calls;
        const auto& hook = progressPoint ? onProcessEvents : onOfferEvents;
        if (hook)
            hook();
    }
    SummaryResult showSummaryDialog() override {
        log.push_back("summary");
        if (onSummary)
            onSummary();
        return Next(summaryAnswers, SummaryResult::Cancel);
    }
    void progressDialog(const ProgressStep& step) override {
        using K = ProgressStep::Action;
        if (step.Kind == K::Show || step.Kind == K::Close) {
            progressDialogVisible = step.Kind == K::Show;
            log.push_back(progressDialogVisible ? "progress-dialog show" : "progress-dialog close");
        }
        if (step.Kind == K::GaugePosition)
            log.push_back("gauge " + std::to_string(step.Value));
        gaugeMax = step.Kind == K::GaugeMax ? step.Value : gaugeMax;
        progressStatus = step.Kind == K::Status ? step.Text : progressStatus;
    }
    std::optional<std::string> browserSelectedCaption() const override { return browserSelection; }
    void showBrowser(const std::string& text,
                     std::optional<std::vector<BrowserItem>> items) override {
        pathText = text;
        browserItems = items ? std::move(*items) : browserItems;
    }

  private:
    const AppState& state_;
    int selected_ = 1;
};

// How the fake logs the general error box for a runtime error text.
inline std::string GeneralError(const std::string& text) {
    std::string line = "box vxa-manager|error|";
    return line.append(ErrorBoxText(text));
}

// A program state with a fake view and the real disk, ready for handlers.
struct Harness {
    AppState state;
    FakeView view{state};
    Context ctx{state, view, RealFileSystem()};

    // What a load or a script run leaves: entries, grid rows, a complete load,
    // its archive open, the plan's size and the status bar's text.
    std::string describe() const {
        return std::to_string(state.Table.EntryCount) + " entries, " +
               std::to_string(view.rowCount()) + " rows" +
               (state.ArchiveComplete ? ", complete" : "") + (state.Archive ? ", open" : "") +
               (state.Loading ? ", loading" : "") + ", plan " +
               std::to_string(state.Replacements.Count) +
               (view.status.empty() ? "" : ", " + view.status);
    }
};

}  // namespace vxa::test
