#pragma once

#include <string>

#include "core/io/FileSystem.h"
#include "ui/AppState.h"
#include "ui/View.h"

namespace vxa {

// What every handler works with: the program state, the window (or a stand-in
// for it), the disk, and the application's title, which the general error
// box bears.
struct Context {
    AppState& State;
    View& Ui;
    FileSystem& Fs;
    std::string AppTitle = "vxa-manager";  // the window gives the name it runs under
};

}  // namespace vxa
