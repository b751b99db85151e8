#pragma once

#include <string>

#include "ui/Context.h"

namespace vxa {

// Lists directory `dir` in the browser pane ("" is the filesystem root).
void FillBrowser(Context& c, const std::string& dir);
// The drive selector picked the volume mounted at `root`.
void DriveComboBox1Change(Context& c, const std::string& root);
void List1DblClick(Context& c);
void List1SelectItem(Context& c, const std::string& caption);

}  // namespace vxa
