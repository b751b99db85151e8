#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/Context.h"
#include "core/HeadlessView.h"
#include "core/View.h"

namespace vxa::test {

// The next scripted answer to a message box: OK for an OK box, else the
// front of the queue, No when it is empty.
inline MsgAnswer NextAnswer(std::deque<MsgAnswer>& answers, MsgButtons buttons) {
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (answers.empty())
        return MsgAnswer::No;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

// A view that records what the logic does to the window, one line per call
// that shows something ("box Error|File doesn't exist !!!", "progress 10/25"),
// and answers questions and dialogs from queues the test fills.
class FakeView final : public HeadlessView {
  public:
    explicit FakeView(const EntryTable& table) : HeadlessView(table) {}

    // Scripted answers; an empty queue answers No / cancels.
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<std::string>> dialogAnswers;
    std::deque<SummaryResult> summaryAnswers;
    std::optional<std::string> browserSelection;
    std::string openEdit = "Open VXA file";
    // Runs at every processEvents() call, e.g. to press Stop.
    std::function<void()> onProcessEvents;
    // Runs at every offerEvents() call.
    std::function<void()> onOfferEvents;
    // Runs when the summary dialog is shown, before it answers.
    std::function<void()> onSummary;

    std::vector<std::string> log;
    std::vector<std::string> messages;  // texts of message boxes and error boxes
    std::string status;
    bool stopVisible = false;
    bool busy = false;
    bool progressDialogVisible = false;
    int gaugeMax = 100;
    std::string progressStatus = "Status";
    std::string pathText;
    std::vector<BrowserItem> browserItems;
    int processEventsCalls = 0;
    int offerEventsCalls = 0;
    int gridUpdateDepth = 0;
    // Grid traffic, to show that an operation touches only the rows it must.
    int gridUpdates = 0;  // beginGridUpdate calls
    mutable int cellReads = 0;
    int cellWrites = 0;

    // Lines of `log` that start with `prefix`.
    std::vector<std::string> logged(const std::string& prefix) const;

    void setCell(int col, int row, const std::string& text) override {
        ++cellWrites;
        HeadlessView::setCell(col, row, text);
    }
    std::string cell(int col, int row) const override {
        ++cellReads;
        return HeadlessView::cell(col, row);
    }
    void beginGridUpdate() override {
        ++gridUpdateDepth;
        ++gridUpdates;
    }
    void endGridUpdate() override { --gridUpdateDepth; }
    int topRow() const override { return top_; }
    void setTopRow(int row) { top_ = row; }

    void drawLoadProgress(int barWidth, const std::string& text) override;
    void setStatusText(const std::string& text) override { status = text; }
    void setStopButtonVisible(bool visible) override { stopVisible = visible; }
    std::string openEditText() const override { return openEdit; }
    void setOpenEditText(const std::string& text) override { openEdit = text; }

    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override;
    void showIoError(const std::string& runtimeText) override;
    std::optional<std::string> runFileDialog(FileDialog dialog) override;
    void beep() override { log.push_back("beep"); }
    void setBusyCursor(bool b) override { busy = b; }
    void processEvents() override;
    void offerEvents() override {
        ++offerEventsCalls;
        if (onOfferEvents)
            onOfferEvents();
    }

    void setGaugeMax(int max) override { gaugeMax = max; }
    void setGaugeProgress(int progress) override;
    void setProgressStatus(const std::string& text) override { progressStatus = text; }
    void showProgressDialog() override;
    void closeProgressDialog() override;
    SummaryResult showSummaryDialog() override;

    std::optional<std::string> browserSelectedCaption() const override { return browserSelection; }
    void setBrowserItems(std::vector<BrowserItem> items) override {
        browserItems = std::move(items);
    }
    void setPathText(const std::string& text) override { pathText = text; }

  private:
    int top_ = 1;
};

// A program state with a fake view and the real disk, ready for handlers.
struct Harness {
    AppState state;
    FakeView view{state.Table};
    Context ctx{state, view, RealFileSystem()};
};

}  // namespace vxa::test
