#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TempDir.h"

namespace vxa::test {

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

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

// Runs a program to its end and collects its output.
inline RunResult Run(const std::vector<std::string>& argv, const std::string& cwd = {}) {
    TempDir dir;
    int status = 0;
    waitpid(Start(argv, cwd, dir.file("out"), dir.file("err")), &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir.file("out")),
            ReadFile(dir.file("err"))};
}

#ifdef VXA_TOOL_PATH
// Runs the vxa-tool under test with these arguments.
inline RunResult Tool(std::vector<std::string> args, const std::string& cwd = {}) {
    args.insert(args.begin(), VXA_TOOL_PATH);
    return Run(args, cwd);
}
#endif

}  // namespace vxa::test
