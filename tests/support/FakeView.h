#pragma once

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/Context.h"
#include "core/HeadlessView.h"

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
// nothing. Whatever a test did, every operation must leave the window
// usable: the fake ends the test program when it goes with a grid update
// open, the busy cursor on, or the Stop button or the progress dialog shown.
class FakeView final : public HeadlessView {
  public:
    explicit FakeView(const EntryTable& table) : HeadlessView(table) {}
    ~FakeView() override {
        if (gridUpdateDepth == 0 && !busy && !stopVisible && !progressDialogVisible)
            return;
        std::fprintf(stderr, "FakeView left with update depth %d, busy %d, Stop %d, dialog %d\n",
                     gridUpdateDepth, busy, stopVisible, progressDialogVisible);
        std::abort();
    }

    std::deque<MsgAnswer> answers;
    std::deque<std::optional<std::string>> dialogAnswers;
    std::deque<SummaryResult> summaryAnswers;
    std::optional<std::string> browserSelection;
    std::string openEdit = "Open VXA file";
    std::function<void()> onProcessEvents, onOfferEvents, onSummary;
    int top = 1;  // the grid's first row in view

    std::vector<std::string> log;
    std::vector<std::string> messages;  // texts of message and error boxes
    std::string status, progressStatus, pathText;
    bool stopVisible = false, busy = false, progressDialogVisible = false;
    int gaugeMax = 100, processEventsCalls = 0, offerEventsCalls = 0;
    int gridUpdateDepth = 0, gridUpdates = 0;
    std::vector<BrowserItem> browserItems;

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

    void setCell(int col, int row, const std::string& text) override {
        if (row >= rowCount())  // the logic writes only rows the grid has
            std::abort();
        HeadlessView::setCell(col, row, text);
    }
    void beginGridUpdate() override { ++gridUpdateDepth, ++gridUpdates; }
    void endGridUpdate() override { --gridUpdateDepth; }
    int topRow() const override { return top; }
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
    void showIoError(const std::string& text) override {
        log.push_back("ioerror " + text);
        messages.push_back(text);
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
    void processEvents() override {
        ++processEventsCalls;
        if (onProcessEvents)
            onProcessEvents();
    }
    void offerEvents() override {
        ++offerEventsCalls;
        if (onOfferEvents)
            onOfferEvents();
    }
    void setGaugeMax(int max) override { gaugeMax = max; }
    void setGaugeProgress(int progress) override {
        log.push_back("gauge " + std::to_string(progress));
    }
    void setProgressStatus(const std::string& text) override { progressStatus = text; }
    void showProgressDialog() override {
        progressDialogVisible = true;
        log.push_back("progress-dialog show");
    }
    void closeProgressDialog() override {
        progressDialogVisible = false;
        log.push_back("progress-dialog close");
    }
    SummaryResult showSummaryDialog() override {
        log.push_back("summary");
        if (onSummary)
            onSummary();
        return Next(summaryAnswers, SummaryResult::Cancel);
    }
    std::optional<std::string> browserSelectedCaption() const override { return browserSelection; }
    void setBrowserItems(std::vector<BrowserItem> items) override {
        browserItems = std::move(items);
    }
    void setPathText(const std::string& text) override { pathText = text; }
};

// A program state with a fake view and the real disk, ready for handlers.
struct Harness {
    AppState state;
    FakeView view{state.Table};
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
