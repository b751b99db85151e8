#include "core/io/Console.h"

// <windows.h> first: the others build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "Wide.h"
#include "core/io/TempFiles.h"

namespace vxa {

// The C runtime opens the standard streams in text mode, which turns each
// "\n" into "\r\n": listings and extracted bytes must leave as they are.
// The arguments are taken again from the wide command line, since main's
// are in the system's code page, which cannot hold every name.
std::vector<std::string> StartConsoleProgram(int, char**) {
    InstallTempFileCleanup();
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console shows the UTF-8 the program writes as such; its own code
    // page comes back at the end, for the programs run after this one.
    static const UINT previous = GetConsoleOutputCP();
    if (previous != 0 && previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        std::atexit([] { SetConsoleOutputCP(previous); });
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int k = 1; k < argc; ++k)
        args.push_back(Utf8(argv[k]));
    LocalFree(argv);
    return args;
}

}  // namespace vxa
