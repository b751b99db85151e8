#include "Process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "TempDir.h"

namespace vxa::test {

pid_t Start(const std::vector<std::string>& argv, const std::string& cwd, const std::string& out,
            const std::string& err) {
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr) ||
            !freopen("/dev/null", "r", stdin) || (!cwd.empty() && chdir(cwd.c_str()) != 0)) {
            _exit(127);
        }
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid;
}

RunResult Run(const std::vector<std::string>& argv, const std::string& cwd) {
    TempDir dir;
    const pid_t pid = Start(argv, cwd, dir.file("out"), dir.file("err"));
    int status = 0;
    waitpid(pid, &status, 0);
    RunResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadFile(dir.file("out"));
    r.err = ReadFile(dir.file("err"));
    return r;
}

}  // namespace vxa::test
