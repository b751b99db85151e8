// vxa-bench: measures the archive core on big synthetic archives through the
// same functions the window and vxa-tool use, next to a reference (reading
// the file, cp), and prints one table. See bench/run.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "GenArchive.h"
#include "GenCommand.h"
#include "Measure.h"
#include "ScriptBench.h"

namespace fs = std::filesystem;
using namespace vxa::bench;

namespace {

constexpr const char* kUsage =
    "usage: vxa-bench all DIR [--quick] [--window 'COMMAND']   the whole table\n"
    "       vxa-bench gen OUT [options]                       one synthetic archive\n"
    "       vxa-bench load ARCHIVE                            seconds of one load\n"
    "       vxa-bench compile ARCHIVE OUT                     seconds of one compile\n"
    "       vxa-bench rss ARCHIVE                             peak KiB of one load\n"
    "       vxa-bench script SCRIPT                           seconds, peak KiB, validity\n";

std::string Fmt(double v, const char* unit) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f %s", v, unit);
    return buf;
}

// Lists every run of a case on stderr, for a look at the spread.
void Runs(const char* name, const std::vector<double>& seconds) {
    std::cerr << name << ":";
    for (double s : seconds)
        std::cerr << " " << Fmt(s, "s");
    std::cerr << "\n";
}

// Reads the numbers a child process printed into `file`; false when fewer.
bool ReadNumbers(const std::string& file, std::vector<double*> out) {
    FILE* f = std::fopen(file.c_str(), "r");
    if (!f)
        return false;
    bool ok = true;
    for (double* v : out)
        ok = ok && std::fscanf(f, "%lf", v) == 1;
    std::fclose(f);
    return ok;
}

class Table {
  public:
    Table() { std::cout << "| case | measured | reference | ratio | target | |\n" << kRule; }
    void row(const std::string& name, const std::string& measured, const std::string& reference,
             const std::string& ratio, const std::string& target, bool ok) {
        std::cout << "| " << name << " | " << measured << " | " << reference << " | " << ratio
                  << " | " << target << " | " << (ok ? "met" : "MISSED") << " |\n"
                  << std::flush;
        missed_ += ok ? 0 : 1;
    }
    int missed() const { return missed_; }

  private:
    static constexpr const char* kRule = "|---|---|---|---|---|---|\n";
    int missed_ = 0;
};

struct Sizes {
    std::uint64_t bigBytes;
    std::uint32_t bigEntries, manyEntries;
};

void WindowRows(Table& table, const Sizes& z, const std::string& windowBench,
                const std::string& many, const std::string& dir, int runs) {
    // The window bench prints "<seconds> <longest gap in seconds>".
    // The toolkit's chatter goes to a file, shown only when a run fails.
    const std::string res = dir + "/window.txt", err = dir + "/window.err";
    std::vector<double> loads, gaps;
    for (int i = 0; i < runs; ++i) {
        double load = 1e9, gap = 1e9;
        fs::remove(res);
        if (RunCommand({"sh", "-c",
                        windowBench + " '" + many + "' > '" + res + "' 2> '" + err + "'"}) != 0 ||
            !ReadNumbers(res, {&load, &gap})) {
            load = gap = 1e9;
            RunCommand({"cat", err});
        }
        loads.push_back(load);
        gaps.push_back(gap);
    }
    Runs("window load", loads);
    Runs("longest gap", gaps);
    const double wl = Median(loads), gap = Median(gaps);
    const double worst = *std::max_element(gaps.begin(), gaps.end());
    table.row("window load of the " + std::to_string(z.manyEntries) +
                  "-entry archive (offscreen), open to \"Done\"",
              Fmt(wl, "s"), "-", "-", "< 1.5 s", wl < 1.5);
    table.row("longest gap between event processing during that load",
              Fmt(gap * 1000, "ms") + " (worst run " + Fmt(worst * 1000, "ms") + ")", "-", "-",
              "<= 50 ms", gap <= 0.050);
}

int All(const std::string& self, const std::string& dir, bool quick,
        const std::string& windowBench) {
    const Sizes z = quick ? Sizes{64ull << 20, 10000, 100000} : Sizes{1ull << 30, 100000, 1000000};
    const std::string big = dir + "/big.vxa", many = dir + "/many.vxa";
    std::cerr << "generating archives in " << dir << "...\n";
    WriteArchive({.entries = z.bigEntries, .totalBytes = z.bigBytes, .seed = 7}, big);
    WriteArchive({.entries = z.manyEntries, .totalBytes = 64ull << 20, .seed = 9}, many);
    const int runs = quick ? 3 : 5;
    const std::string bigName =
        std::to_string(z.bigBytes >> 20) + " MiB archive, " + std::to_string(z.bigEntries);
    Table table;

    // Each case alternates with its reference, so both see the same machine.
    std::vector<double> load, read;
    ReadIntoBuffer(big);  // warms the page cache for both sides
    for (int i = 0; i < runs; ++i) {
        load.push_back(Load(big));
        read.push_back(ReadIntoBuffer(big));
    }
    Runs("load", load);
    Runs("read", read);
    table.row("load, " + bigName + " entries (core, no window)", Fmt(Median(load), "s"),
              Fmt(Median(read), "s") + " reading the file into one buffer",
              Fmt(Median(load) / Median(read), "x"), "<= 1.2 x",
              Median(load) / Median(read) <= 1.2);

    load.clear();
    read.clear();
    ReadIntoBuffer(many);
    for (int i = 0; i < runs; ++i) {
        load.push_back(Load(many));
        read.push_back(ReadIntoBuffer(many));
    }
    Runs("load", load);
    Runs("read", read);
    table.row("load, " + std::to_string(z.manyEntries) + " small entries, 64 MiB (core)",
              Fmt(Median(load), "s"), Fmt(Median(read), "s") + " reading the file into one buffer",
              Fmt(Median(load) / Median(read), "x"), "< 0.25 s", Median(load) < 0.25);

    const std::string out = dir + "/out.vxa", copy = dir + "/copy.vxa";
    std::vector<double> compile, cp;
    for (int i = 0; i < runs; ++i) {
        compile.push_back(Compile(big, out, dir, 100));
        fs::remove(copy);
        Settle();
        cp.push_back(Seconds([&] { RunCommand({"cp", big, copy}); }));
    }
    fs::remove(copy);
    fs::remove(out);
    Runs("compile", compile);
    Runs("cp", cp);
    table.row("compile of the " + bigName + " entries, 100 replacements, to a new file",
              Fmt(Median(compile), "s"), Fmt(Median(cp), "s") + " cp of the same file",
              Fmt(Median(compile) / Median(cp), "x"), "<= 1.2 x",
              Median(compile) / Median(cp) <= 1.2);

    if (!windowBench.empty())
        WindowRows(table, z, windowBench, many, dir, runs);

    // Peak memory: a fresh process that only loads.
    const std::string rss = dir + "/rss.txt";
    double kib = 0;
    if (RunCommand({"sh", "-c", "'" + self + "' rss '" + big + "' > '" + rss + "'"}) != 0 ||
        !ReadNumbers(rss, {&kib})) {
        kib = 1e12;
    }
    const double mib = kib / 1024.0, fileMib = static_cast<double>(z.bigBytes) / (1 << 20);
    table.row("peak memory of the " + std::to_string(z.bigBytes >> 20) + " MiB load",
              Fmt(mib, "MiB"), Fmt(fileMib, "MiB") + " file size", Fmt(mib / fileMib, "x"),
              "<= 1.1 x + 100 MiB", mib <= 1.1 * fileMib + 100);

    ScriptRows([&table](auto&&... cells) { table.row(cells...); }, self, dir, quick);
    return table.missed() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv, argv + argc);
    const std::string cmd = a.size() >= 2 ? a[1] : "";
    if (cmd == "gen")
        return GenCommand({a.begin() + 2, a.end()});
    if (cmd == "rss" && a.size() == 3) {
        Load(a[2]);
        std::cout << PeakRssKiB() << "\n";
        return 0;
    }
    if (cmd == "script" && a.size() == 3)
        return ScriptCommand(a[2]);
    if (cmd == "load" && a.size() == 3) {
        std::cout << Load(a[2]) << "\n";
        return 0;
    }
    if (cmd == "compile" && a.size() == 4) {
        const std::string dir = fs::path(a[3]).parent_path().string();
        std::cout << Compile(a[2], a[3], dir.empty() ? "." : dir, 100) << "\n";
        return 0;
    }
    if (cmd == "all" && a.size() >= 3) {
        const bool quick = std::find(a.begin(), a.end(), "--quick") != a.end();
        std::string window;
        for (std::size_t i = 3; i + 1 < a.size(); ++i) {
            if (a[i] == "--window")
                window = a[i + 1];
        }
        return All(fs::absolute(a[0]).string(), a[2], quick, window);
    }
    std::cerr << kUsage;
    return 2;
}
