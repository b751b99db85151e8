#include "Measure.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "core/Compiler.h"
#include "core/Loader.h"
#include "plan/Plan.h"

namespace vxa::bench {

void Loaded::load(const std::string& path) {
    LoadObserver quiet;
    const bool noStop = false;
    std::string failure = "no such file";
    try {
        if (LoadArchive(RealFileSystem(), path, archive, quiet, noStop) == LoadOutcome::Complete)
            return;
    } catch (const std::exception& e) {
        failure = e.what();
    }
    std::cerr << "load of " << path << " failed: " << failure << "\n";
    std::exit(1);
}

void Settle() {
    ::sync();
}

double Seconds(const std::function<void()>& job) {
    const auto start = std::chrono::steady_clock::now();
    job();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double MedianOf(int runs, const std::function<double()>& once) {
    std::vector<double> v;
    for (int i = 0; i < runs; ++i)
        v.push_back(once());
    return Median(v);
}

double ReadIntoBuffer(const std::string& path) {
    return Seconds([&] {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            std::exit(1);
        const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
        auto buf = std::make_unique_for_overwrite<char[]>(size);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n =
                ::read(fd, buf.get() + done, std::min<std::size_t>(size - done, 1 << 30));
            if (n <= 0)
                std::exit(1);
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
    });
}

double Load(const std::string& path) {
    auto l = std::make_unique<Loaded>();
    return Seconds([&] { l->load(path); });
}

double Compile(const std::string& path, const std::string& out, const std::string& dir, int count,
               bool sameSizes) {
    auto l = std::make_unique<Loaded>();
    l->load(path);
    const EntryTable& t = l->archive.Table;
    std::vector<std::string> files;
    for (std::int32_t i = 0; i < t.EntryCount && std::ssize(files) < count;
         i += std::max(1, t.EntryCount / count)) {
        if (t.Links[i] != 0)
            continue;
        const std::string file = dir + "/repl" + std::to_string(files.size()) + ".bin";
        files.push_back(file);
        {
            std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(file.c_str(), "wb"), &std::fclose);
            const std::string bytes(t.PackedSizes[i] + (sameSizes ? 0 : 100), 'r');
            if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
                std::cerr << "cannot write " << file << "\n";
                std::exit(1);
            }
        }
        AddReplacement(l->plan, t, static_cast<std::int32_t>(i), file);
    }
    if (l->plan.Count < std::ssize(files)) {
        std::cerr << "the plan did not take every replacement\n";
        std::exit(1);
    }
    // An earlier output goes only now, right before the timing, as the copy
    // does before cp: on a virtual machine, memory just freed is much
    // cheaper to fill than memory the host has taken back, and the load
    // above would otherwise have used up what removing it frees.
    std::filesystem::remove(out);
    Settle();
    const double s = Seconds([&] { CompileArchive(RealFileSystem(), l->archive, l->plan, out); });
    for (const std::string& file : files)
        std::filesystem::remove(file);
    return s;
}

ChildRun RunMeasured(const std::vector<std::string>& argv) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> a;
        for (const auto& s : argv)
            a.push_back(const_cast<char*>(s.c_str()));
        a.push_back(nullptr);
        execvp(a[0], a.data());
        _exit(127);
    }
    int status = 0;
    rusage u{};
    wait4(pid, &status, 0, &u);
    ChildRun r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.peakKiB = u.ru_maxrss;
    return r;
}

int RunCommand(const std::vector<std::string>& argv) {
    return RunMeasured(argv).status;
}

long PeakRssKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace vxa::bench
