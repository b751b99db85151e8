#pragma once

#include <QString>
#include <functional>
#include <string>

#include "ui/View.h"

class QWidget;

namespace vxa {

// One message box the program asks for.
struct MessageRequest {
    std::string Text;
    std::string Title;
    MsgButtons Buttons = MsgButtons::Ok;
    MsgIcon Icon = MsgIcon::Error;
};

// Whatever answers the program's message boxes: a real modal box, or a test.
using MessageBoxFn = std::function<MsgAnswer(const MessageRequest&)>;

// The program's texts break lines with CR or CR LF; the box shows a line
// break for either.
QString MessageText(const std::string& text);

// A modal box over `parent`. Yes/No boxes make No, the safe answer, the
// default and the Esc button.
MsgAnswer ShowMessageBox(QWidget* parent, const MessageRequest& request);

}  // namespace vxa
