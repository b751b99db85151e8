#pragma once

#include <string>
#include <vector>

namespace vxa {

// Readies a console program: installs the clean-up of temporary files
// (TempFiles.h), makes standard output and error carry bytes exactly as
// written (no "\n" turned into "\r\n"), and returns the arguments after the
// program's name in UTF-8, whatever the system's code page.
std::vector<std::string> StartConsoleProgram(int argc, char** argv);

}  // namespace vxa
