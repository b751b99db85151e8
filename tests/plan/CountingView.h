#pragma once

#include "support/FakeView.h"

namespace vxa::test {

// Passes everything on to a FakeView and counts the grid traffic, to show
// that an operation touches only the rows it has to.
class CountingView final : public View {
  public:
    explicit CountingView(FakeView& inner) : v(inner) {}
    FakeView& v;
    mutable int cellReads = 0;
    int cellWrites = 0;
    int updates = 0;  // beginGridUpdate calls

    void setRowCount(int rows) override { v.setRowCount(rows); }
    int rowCount() const override { return v.rowCount(); }
    void setCell(int col, int row, const std::string& text) override {
        ++cellWrites;
        v.setCell(col, row, text);
    }
    std::string cell(int col, int row) const override {
        ++cellReads;
        return v.cell(col, row);
    }
    void writeEntryRow(int row) override { v.writeEntryRow(row); }
    void beginGridUpdate() override {
        ++updates;
        v.beginGridUpdate();
    }
    void endGridUpdate() override { v.endGridUpdate(); }
    int selectedRow() const override { return v.selectedRow(); }
    void selectRow(int row) override { v.selectRow(row); }
    int defaultRowHeight() const override { return v.defaultRowHeight(); }
    int topRow() const override { return v.topRow(); }
    void drawLoadProgress(int w, const std::string& t) override { v.drawLoadProgress(w, t); }
    void setStatusText(const std::string& t) override { v.setStatusText(t); }
    void setStopButtonVisible(bool b) override { v.setStopButtonVisible(b); }
    std::string openEditText() const override { return v.openEditText(); }
    void setOpenEditText(const std::string& t) override { v.setOpenEditText(t); }
    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons b,
                         MsgIcon i) override {
        return v.messageBox(text, title, b, i);
    }
    void showIoError(const std::string& t) override { v.showIoError(t); }
    std::optional<std::string> runFileDialog(FileDialog d) override { return v.runFileDialog(d); }
    void beep() override { v.beep(); }
    void setBusyCursor(bool b) override { v.setBusyCursor(b); }
    void processEvents() override { v.processEvents(); }
    void setGaugeMax(int m) override { v.setGaugeMax(m); }
    void setGaugeProgress(int p) override { v.setGaugeProgress(p); }
    void setProgressStatus(const std::string& t) override { v.setProgressStatus(t); }
    void showProgressDialog() override { v.showProgressDialog(); }
    void closeProgressDialog() override { v.closeProgressDialog(); }
    SummaryResult showSummaryDialog() override { return v.showSummaryDialog(); }
    std::optional<std::string> browserSelectedCaption() const override {
        return v.browserSelectedCaption();
    }
    void setBrowserItems(std::vector<BrowserItem> items) override {
        v.setBrowserItems(std::move(items));
    }
    void setPathText(const std::string& t) override { v.setPathText(t); }
};

}  // namespace vxa::test
