#pragma once

#include <iosfwd>
#include <string>

#include "core/EntryTable.h"
#include "core/HeadlessView.h"

namespace vxa {

// The view of the command-line tool: the grid is kept (commands print from
// it) and messages go to the error stream.
class ConsoleView final : public HeadlessView {
  public:
    ConsoleView(const EntryTable& table, std::ostream& err) : HeadlessView(table), err_(err) {}

    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override;
    // "vxa-tool: TEXT", or "vxa-tool: PATH: TEXT" naming the file.
    void showIoError(const std::string& runtimeText) override;
    void showFileError(const std::string& path, const std::string& runtimeText) override;

    // Each message text shown so far, in order.
    const std::vector<std::string>& messages() const { return messages_; }

  private:
    std::ostream& err_;
    std::vector<std::string> messages_;
};

}  // namespace vxa
