// vxa-bench: measures the archive core on big synthetic archives through the
// same functions the window and vxa-tool use, next to a reference (reading
// the file, cp), and prints one table. See bench/run.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "GenArchive.h"
#include "NullView.h"
#include "core/Compiler.h"
#include "core/Loader.h"
#include "plan/Plan.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(const std::function<void()>& job) {
    const auto start = Clock::now();
    job();
    return std::chrono::duration<double>(Clock::now() - start).count();
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

// Reads the whole file into one buffer: what any loader must at least do.
double ReadIntoBuffer(const std::string& path) {
    return Seconds([&] {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            std::exit(1);
        const auto size = static_cast<std::size_t>(fs::file_size(path));
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

struct Loaded {
    vxa::AppState state;
    vxa::bench::NullView view{state.Table};
    vxa::Context ctx{state, view, vxa::RealFileSystem()};
};

double Load(const std::string& path) {
    auto l = std::make_unique<Loaded>();
    const double s = Seconds([&] {
        if (vxa::LoadArchive(l->ctx, path, false) != vxa::LoadOutcome::Complete) {
            std::cerr << "load failed: " << l->view.lastError << "\n";
            std::exit(1);
        }
    });
    return s;
}

int RunCommand(const std::vector<std::string>& argv) {
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
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Loads the archive, plans `count` replacements of entries spread over it by
// files of about the entries' size, and times the compile alone.
double Compile(const std::string& path, const std::string& out, const std::string& dir, int count) {
    Loaded l;
    if (vxa::LoadArchive(l.ctx, path, false) != vxa::LoadOutcome::Complete)
        std::exit(1);
    const auto& t = l.state.Table;
    int made = 0;
    for (std::int32_t i = 0; i < t.EntryCount && made < count;
         i += std::max(1, t.EntryCount / count)) {
        if (t.Links[i] != 0)
            continue;
        const std::string file = dir + "/repl" + std::to_string(made++) + ".bin";
        {
            std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(file.c_str(), "wb"), &std::fclose);
            std::string bytes(t.PackedSizes[i] + 100, 'r');
            std::fwrite(bytes.data(), 1, bytes.size(), f.get());
        }
        l.view.selectRow(i + 1);
        vxa::AddReplacement(l.ctx, file);
    }
    return Seconds([&] { vxa::CompileArchive(l.ctx, out); });
}

long PeakRssKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

std::string Fmt(double v, const char* unit) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f %s", v, unit);
    return buf;
}

void Row(const std::string& name, const std::string& measured, const std::string& reference,
         const std::string& ratio, const std::string& target, bool ok) {
    std::cout << "| " << name << " | " << measured << " | " << reference << " | " << ratio << " | "
              << target << " | " << (ok ? "met" : "MISSED") << " |\n";
}

int All(const std::string& self, const std::string& dir, bool quick,
        const std::string& windowBench) {
    const std::uint64_t bigSize = quick ? (64ull << 20) : (1ull << 30);
    const std::uint32_t bigEntries = quick ? 10000 : 100000;
    const std::uint32_t manyEntries = quick ? 100000 : 1000000;
    const std::string big = dir + "/big.vxa", many = dir + "/many.vxa";
    std::cerr << "generating archives in " << dir << "...\n";
    vxa::bench::WriteArchive({.entries = bigEntries, .totalBytes = bigSize, .seed = 7}, big);
    vxa::bench::WriteArchive(
        {.entries = manyEntries, .totalBytes = 64ull << 20, .shuffled = false, .seed = 9}, many);
    const int runs = 3;
    int missed = 0;
    auto check = [&](bool ok) {
        if (!ok)
            ++missed;
        return ok;
    };
    std::cout << "| case | measured | reference | ratio | target | |\n|---|---|---|---|---|---|\n";

    ReadIntoBuffer(big);  // warm the page cache for both sides
    const double bigLoad = MedianOf(runs, [&] { return Load(big); });
    const double bigRead = MedianOf(runs, [&] { return ReadIntoBuffer(big); });
    Row("load, " + std::to_string(bigSize >> 20) + " MiB, " + std::to_string(bigEntries) +
            " entries (core)",
        Fmt(bigLoad, "s"), Fmt(bigRead, "s") + " read into one buffer", Fmt(bigLoad / bigRead, "x"),
        "<= 1.2", check(bigLoad / bigRead <= 1.2));

    ReadIntoBuffer(many);
    const double manyLoad = MedianOf(runs, [&] { return Load(many); });
    const double manyRead = MedianOf(runs, [&] { return ReadIntoBuffer(many); });
    Row("load, " + std::to_string(manyEntries) + " small entries, 64 MiB (core)",
        Fmt(manyLoad, "s"), Fmt(manyRead, "s") + " read into one buffer",
        Fmt(manyLoad / manyRead, "x"), "< 0.25 s", check(manyLoad < 0.25));

    const std::string out = dir + "/out.vxa", copy = dir + "/copy.vxa";
    const double compile = MedianOf(runs, [&] { return Compile(big, out, dir, 100); });
    const double cp = MedianOf(runs, [&] {
        fs::remove(copy);
        return Seconds([&] { RunCommand({"cp", big, copy}); });
    });
    fs::remove(copy);
    fs::remove(out);
    Row("compile of the big archive, 100 replacements, new file", Fmt(compile, "s"),
        Fmt(cp, "s") + " cp", Fmt(compile / cp, "x"), "<= 1.2", check(compile / cp <= 1.2));

    if (!windowBench.empty()) {
        // The window bench prints "<seconds> <longest gap in seconds>".
        const std::string res = dir + "/window.txt";
        std::vector<double> loads, gaps;
        for (int i = 0; i < runs; ++i) {
            RunCommand({"sh", "-c", windowBench + " '" + many + "' > '" + res + "'"});
            double a = 0, b = 0;
            if (FILE* f = std::fopen(res.c_str(), "r")) {
                if (std::fscanf(f, "%lf %lf", &a, &b) != 2)
                    a = b = 1e9;
                std::fclose(f);
            }
            loads.push_back(a);
            gaps.push_back(b);
        }
        const double wl = Median(loads), gap = *std::max_element(gaps.begin(), gaps.end());
        Row("window load of the " + std::to_string(manyEntries) +
                "-entry archive, offscreen, to \"Done\"",
            Fmt(wl, "s"), "-", "-", "< 1.5 s", check(wl < 1.5));
        Row("longest gap between event processing during it", Fmt(gap * 1000, "ms"), "-", "-",
            "<= 50 ms", check(gap <= 0.050));
    }

    // Peak memory: a fresh process that only loads.
    const std::string rss = dir + "/rss.txt";
    RunCommand({"sh", "-c", "'" + self + "' rss '" + big + "' > '" + rss + "'"});
    long kib = 0;
    if (FILE* f = std::fopen(rss.c_str(), "r")) {
        if (std::fscanf(f, "%ld", &kib) != 1)
            kib = 0;
        std::fclose(f);
    }
    const double mib = kib / 1024.0, fileMib = static_cast<double>(bigSize) / (1 << 20);
    Row("peak memory of the big load", Fmt(mib, "MiB"), Fmt(fileMib, "MiB") + " file",
        Fmt(mib / fileMib, "x"), "<= 1.1 x + 100 MiB", check(mib <= 1.1 * fileMib + 100));
    return missed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv, argv + argc);
    if (a.size() >= 3 && a[1] == "rss") {
        Load(a[2]);
        std::cout << PeakRssKiB() << "\n";
        return 0;
    }
    if (a.size() >= 3 && a[1] == "all") {
        const bool quick = std::find(a.begin(), a.end(), "--quick") != a.end();
        std::string window;
        for (std::size_t i = 3; i + 1 < a.size(); ++i) {
            if (a[i] == "--window")
                window = a[i + 1];
        }
        return All(fs::absolute(a[0]).string(), a[2], quick, window);
    }
    std::cerr
        << "usage: vxa-bench all DIR [--quick] [--window 'COMMAND'] | vxa-bench rss ARCHIVE\n";
    return 2;
}
