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
        : form1(state, fs), form2(state, fs, &form1), form3(state, &form1) {
        form1.attachDialogs(form2, form3);
    }

    MainWindow form1;
    TForm2 form2;
    TForm3 form3;
};

}  // namespace vxa
