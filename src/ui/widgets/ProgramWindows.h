#pragma once

#include "script/widgets/ProgressDialog.h"
#include "script/widgets/SummaryDialog.h"
#include "ui/widgets/MainWindow.h"

namespace vxa {

// The program's three windows over one state, made in start-up order: the
// main window (its creation lists the browser and fills the start cells),
// then the summary and progress dialogs, hidden, which it is given.
struct ProgramWindows {
    ProgramWindows(AppState& state, FileSystem& fs)
        : Form1(state, fs), Form2(state, fs, &Form1), Form3(state, &Form1) {
        Form1.attachDialogs(Form2, Form3);
    }

    MainWindow Form1;
    TForm2 Form2;
    TForm3 Form3;
};

}  // namespace vxa
