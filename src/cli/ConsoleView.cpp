#include "cli/ConsoleView.h"

#include <ostream>

namespace vxa {

MsgAnswer ConsoleView::messageBox(const std::string& text, const std::string&, MsgButtons buttons,
                                  MsgIcon) {
    // Message boxes use CR as their line break; a terminal wants LF.
    std::string line = text;
    for (char& ch : line) {
        if (ch == '\r')
            ch = '\n';
    }
    err_ << line << '\n';
    messages_.push_back(text);
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

void ConsoleView::showIoError(const std::string& runtimeText) {
    showFileError({}, runtimeText);
}

void ConsoleView::showFileError(const std::string& path, const std::string& runtimeText) {
    err_ << "vxa-tool: " << (path.empty() ? "" : path + ": ") << runtimeText << '\n';
    messages_.push_back(runtimeText);
}

}  // namespace vxa
