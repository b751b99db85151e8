#include "core/io/Console.h"

#include "core/io/TempFiles.h"

namespace vxa {

// Linux passes arguments and output as bytes already.
std::vector<std::string> StartConsoleProgram(int argc, char** argv) {
    InstallTempFileCleanup();
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace vxa
