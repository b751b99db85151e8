#pragma once

#include <iosfwd>
#include <string>

#include "core/EntryTable.h"
#include "core/GridStore.h"
#include "core/View.h"

namespace vxa {

// The view of the command-line tool: the grid is kept (commands print from
// it), messages go to the error stream, questions are answered No and file
// dialogs are cancelled, since nobody is there to answer them.
class ConsoleView final : public View {
  public:
    ConsoleView(const EntryTable& table, std::ostream& err) : grid_(table), err_(err) {}

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

    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override;
    void showIoError(const std::string& runtimeText) override;
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

    // Each message text shown so far, in order.
    const std::vector<std::string>& messages() const { return messages_; }

  private:
    GridStore grid_;
    std::ostream& err_;
    int selected_ = 1;
    std::vector<std::string> messages_;
};

}  // namespace vxa
