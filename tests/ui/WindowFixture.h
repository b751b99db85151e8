#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/FileSystem.h"
#include "ui/MainWindow.h"

namespace vxa::test {

// The real main window over the real disk, with its message boxes and file
// dialogs answered by the test instead of a user.
struct Window {
    AppState state;
    std::unique_ptr<MainWindow> form1;
    std::vector<MessageRequest> boxes;
    std::deque<std::optional<std::string>> dialogAnswers;
    std::vector<FileDialog> dialogsRun;

    Window() : form1(std::make_unique<MainWindow>(state, RealFileSystem())) {
        form1->messageBoxHook = [this](const MessageRequest& r) {
            boxes.push_back(r);
            return MsgAnswer::Ok;
        };
        form1->fileDialogHook = [this](FileDialog d) -> std::optional<std::string> {
            dialogsRun.push_back(d);
            if (dialogAnswers.empty())
                return std::nullopt;
            auto answer = dialogAnswers.front();
            dialogAnswers.pop_front();
            return answer;
        };
    }

    MainWindow& operator*() { return *form1; }
    MainWindow* operator->() { return form1.get(); }
    const Form1Controls& ui() const { return form1->controls(); }

    std::vector<std::string> row(int r) const {
        std::vector<std::string> out;
        for (int col = 0; col < 6; ++col)
            out.push_back(form1->cell(col, r));
        return out;
    }
};

}  // namespace vxa::test
