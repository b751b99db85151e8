#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vxa {

class MainWindow;

// Opening what the desktop hands over: a file named on the command line (a
// file manager's "Open with" or double click), or an archive dropped on the
// path bar.

inline constexpr const char* kManagerUsage =
    "usage: vxa-manager [ARCHIVE.vxa | SCRIPT.vxc]\n"
    "  ARCHIVE.vxa  opens the archive, as typing its path and pressing Reopen does\n"
    "  SCRIPT.vxc   runs the script, as \"Run script...\" does once a script is picked\n";

// Acts on vxa-manager's arguments (the program's name left out): none does
// nothing; one path ending in ".vxa" or ".vxc" (exactly, case included, as
// the program tells every extension) is opened or run. Anything else writes
// the usage to `err`, opens nothing and returns false.
bool OpenFromArguments(MainWindow& window, const std::vector<std::string>& args, std::ostream& err);

// Makes a drop of one local ".vxa" file on the path bar open that archive,
// as typing its path and pressing Reopen does. Other drops keep the line
// edit's own meaning.
void AcceptArchiveDrops(MainWindow& window);

}  // namespace vxa
