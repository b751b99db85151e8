#pragma once

#include <string>

#include "ui/Context.h"

namespace vxa {

// The main window's creation handler: writes the grid's start cells, then
// lists `currentDir` in the browser pane.
void FormCreate(Context& c, const std::string& currentDir);

// The process's current directory the way the browser names directories
// (BrowserDirOf), so that the drive selector finds the drive holding it. The
// root "", too, when the current directory is gone.
std::string CurrentDirectory();

}  // namespace vxa
