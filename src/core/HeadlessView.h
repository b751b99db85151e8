#pragma once

#include <string>

#include "core/EntryTable.h"
#include "core/GridStore.h"
#include "core/View.h"

namespace vxa {

// A view without a window: it keeps the grid's texts, so whoever uses it can
// read what a window would show, and it does nothing for everything that
// only draws. Dialogs are cancelled, since nobody is there to answer them.
// The command-line tool, the tests and the benchmarks build on it, each
// with message boxes of its own.
class HeadlessView : public View {
  public:
    explicit HeadlessView(const EntryTable& table) : grid_(table) {}

    void setRowCount(int rows) override { grid_.setRowCount(rows); }
    int rowCount() const override { return grid_.rowCount(); }
    void setCell(int col, int row, const std::string& text) override {
        grid_.setCell(col, row, text);
    }
    std::string cell(int col, int row) const override { return grid_.cell(col, row); }
    void writeEntryRow(int row) override { grid_.writeEntryRow(row); }
    void beginGridUpdate() override {}
    void endGridUpdate() override {}
    int selectedRow() const override { return selected_; }
    void selectRow(int row) override { selected_ = row; }
    int defaultRowHeight() const override { return 18; }
    int topRow() const override { return 1; }

    void drawLoadProgress(int, const std::string&) override {}
    void setStatusText(const std::string&) override {}
    void setStopButtonVisible(bool) override {}
    std::string openEditText() const override { return {}; }
    void setOpenEditText(const std::string&) override {}

    std::optional<std::string> runFileDialog(FileDialog) override { return std::nullopt; }
    void beep() override {}
    void setBusyCursor(bool) override {}
    void processEvents() override {}

    void setGaugeMax(int) override {}
    void setGaugeProgress(int) override {}
    void setProgressStatus(const std::string&) override {}
    void showProgressDialog() override {}
    void closeProgressDialog() override {}
    SummaryResult showSummaryDialog() override { return SummaryResult::Cancel; }

    std::optional<std::string> browserSelectedCaption() const override { return std::nullopt; }
    void setBrowserItems(std::vector<BrowserItem>) override {}
    void setPathText(const std::string&) override {}

  private:
    GridStore grid_;
    int selected_ = 1;
};

}  // namespace vxa
