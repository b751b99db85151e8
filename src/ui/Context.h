#pragma once

#include "core/io/FileSystem.h"
#include "ui/AppState.h"
#include "ui/View.h"

namespace vxa {

// What every handler works with: the program state, the window (or a stand-in
// for it) and the disk.
struct Context {
    AppState& State;
    View& Ui;
    FileSystem& Fs;
};

}  // namespace vxa
