#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <string>
#include <vector>

#include "TempDir.h"

namespace vxa::test {

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

#ifdef _WIN32
inline HANDLE Inherited(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(FsPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, 0, nullptr);
}

// Starts a program with arguments in folder `cwd` (empty: this one), its
// output going to the files `out` and `err`; returns its process handle.
// The tests' arguments hold no quote and end in no "\", so quoting each is
// enough for the program to split them back.
inline HANDLE Start(const std::vector<std::string>& argv, const std::string& cwd,
                    const std::string& out, const std::string& err) {
    std::wstring line;
    for (const auto& a : argv)
        line += L"\"" + FsPath(a).wstring() + L"\" ";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = Inherited("NUL", GENERIC_READ, OPEN_EXISTING);
    si.hStdOutput = Inherited(out, GENERIC_WRITE, CREATE_ALWAYS);
    si.hStdError = Inherited(err, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION pi{};
    const std::wstring folder = FsPath(cwd).wstring();
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        cwd.empty() ? nullptr : folder.c_str(), &si, &pi);
    for (HANDLE h : {si.hStdInput, si.hStdOutput, si.hStdError, started ? pi.hThread : nullptr})
        CloseHandle(h);
    return started ? pi.hProcess : nullptr;
}

inline int Wait(HANDLE process) {
    DWORD code = DWORD(-1);
    WaitForSingleObject(process, INFINITE);
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}
#else
// Starts a program with arguments (no shell) in folder `cwd` (empty: this
// one), its output going to the files `out` and `err`; returns its id.
inline pid_t Start(const std::vector<std::string>& argv, const std::string& cwd = {},
                   const std::string& out = "/dev/null", const std::string& err = "/dev/null") {
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr) ||
        !freopen("/dev/null", "r", stdin) || (!cwd.empty() && chdir(cwd.c_str()) != 0))
        _exit(127);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

inline int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// Runs a program to its end and collects its output.
inline RunResult Run(const std::vector<std::string>& argv, const std::string& cwd = {}) {
    TempDir dir;
    const int code = Wait(Start(argv, cwd, dir.file("out"), dir.file("err")));
    return {code, ReadFile(dir.file("out")), ReadFile(dir.file("err"))};
}

#ifdef VXA_TOOL_PATH
// Runs the vxa-tool under test with these arguments.
inline RunResult Tool(std::vector<std::string> args, const std::string& cwd = {}) {
    args.insert(args.begin(), VXA_TOOL_PATH);
    return Run(args, cwd);
}
#endif

}  // namespace vxa::test
