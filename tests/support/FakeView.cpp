#include "FakeView.h"

namespace vxa::test {

namespace {

const char* IconName(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Error:
            return "error";
        case MsgIcon::Warning:
            return "warning";
        case MsgIcon::Question:
            return "question";
    }
    return "?";
}

const char* DialogName(FileDialog d) {
    static constexpr const char* kNames[] = {"OpenDialog1",        "SaveDialog1",
                                             "SaveDialog2",        "OpenDialog2",
                                             "ExtractEntryDialog", "ExtractFolderDialog"};
    return kNames[static_cast<int>(d)];
}

}  // namespace

std::vector<std::string> FakeView::logged(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& line : log) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            out.push_back(line);
    }
    return out;
}

void FakeView::drawLoadProgress(int barWidth, const std::string& text) {
    log.push_back("progress " + text + " " + std::to_string(barWidth));
}

MsgAnswer FakeView::messageBox(const std::string& text, const std::string& title,
                               MsgButtons buttons, MsgIcon icon) {
    log.push_back("box " + title + "|" + IconName(icon) + "|" + text);
    messages.push_back(text);
    return NextAnswer(answers, buttons);
}

void FakeView::showIoError(const std::string& runtimeText) {
    log.push_back("ioerror " + runtimeText);
    messages.push_back(runtimeText);
}

std::optional<std::string> FakeView::runFileDialog(FileDialog dialog) {
    log.push_back(std::string("dialog ") + DialogName(dialog));
    if (dialogAnswers.empty())
        return std::nullopt;
    auto a = dialogAnswers.front();
    dialogAnswers.pop_front();
    return a;
}

void FakeView::processEvents() {
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents();
}

void FakeView::setGaugeProgress(int progress) {
    log.push_back("gauge " + std::to_string(progress));
}

void FakeView::showProgressDialog() {
    progressDialogVisible = true;
    log.push_back("progress-dialog show");
}

void FakeView::closeProgressDialog() {
    progressDialogVisible = false;
    log.push_back("progress-dialog close");
}

SummaryResult FakeView::showSummaryDialog() {
    log.push_back("summary");
    if (onSummary)
        onSummary();
    if (summaryAnswers.empty())
        return SummaryResult::Cancel;
    const SummaryResult r = summaryAnswers.front();
    summaryAnswers.pop_front();
    return r;
}

}  // namespace vxa::test
