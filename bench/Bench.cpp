// vxa-bench: measures the archive core on big synthetic archives through the
// same functions the window and vxa-tool use, next to a reference (reading
// the file, cp), and prints one table. See bench/run.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "GenArchive.h"
#include "GenCommand.h"
#include "Measure.h"
#include "ScriptBench.h"
#include "ToolsBench.h"

namespace fs = std::filesystem;
using namespace vxa::bench;

namespace {

constexpr const char* kUsage =
    "usage: vxa-bench all DIR [--quick] [--window 'COMMAND'] [--tool VXA-TOOL]\n"
    "                 [--reflink DIR | --no-reflink REASON]   the whole table\n"
    "       vxa-bench gen OUT [options]                       one synthetic archive\n"
    "       vxa-bench load ARCHIVE                            seconds of one load\n"
    "       vxa-bench read FILE                               seconds of reading it whole\n"
    "       vxa-bench ratio ARCHIVE [RUNS] [cpu]              load against read, as in the table\n"
    "       vxa-bench compile ARCHIVE OUT                     seconds of one compile\n"
    "       vxa-bench rss ARCHIVE                             peak KiB of one load\n"
    "       vxa-bench script SCRIPT                           seconds, peak KiB, validity\n"
    "       vxa-bench find ARCHIVE                            seconds of two Find Next\n";

std::string Fmt(double v, const char* unit) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f %s", v, unit);
    return buf;
}

// Lists every run of a case on stderr, for a look at the spread.
void Runs(const char* name, const std::vector<double>& values) {
    std::cerr << name << ":";
    for (double v : values)
        std::cerr << " " << Fmt(v, "");
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
    // A case against a reference, medians of alternating runs.
    void ratioRow(const std::string& name, const char* label, std::vector<double> measured,
                  const std::string& refName, std::vector<double> reference, double target) {
        Runs(label, measured);
        Runs("  reference", reference);
        const double m = Median(measured), r = Median(reference);
        row(name, Fmt(m, "s"), Fmt(r, "s") + " " + refName, Fmt(m / r, "x"),
            "<= " + Fmt(target, "x"), m / r <= target);
    }
    int missed() const { return missed_; }

  private:
    static constexpr const char* kRule = "|---|---|---|---|---|---|\n";
    int missed_ = 0;
};

struct Options {
    std::string self, dir, window, tool, reflinkDir, noReflink;
    bool quick = false;
};

struct Sizes {
    std::uint64_t bigBytes;
    std::uint32_t bigEntries, manyEntries, blankEntries, sharedEntries;
};

// Runs `job` and its reference alternately, so both see the same machine.
void Alternate(int runs, const std::function<double()>& job, const std::function<double()>& ref,
               std::vector<double>& jobs, std::vector<double>& refs) {
    for (int i = 0; i < runs; ++i) {
        jobs.push_back(job());
        refs.push_back(ref());
    }
}

double Cp(const std::string& from, const std::string& to) {
    fs::remove(to);
    Settle();
    const double s = Seconds([&] { RunCommand({"cp", "--reflink=never", from, to}); });
    fs::remove(to);
    return s;
}

// Peak memory of a fresh process that only loads, in MiB.
double LoadPeakMiB(const Options& o, const std::string& archive) {
    const std::string rss = o.dir + "/rss.txt";
    double kib = 0;
    if (RunCommand({"sh", "-c", "'" + o.self + "' rss '" + archive + "' > '" + rss + "'"}) != 0 ||
        !ReadNumbers(rss, {&kib})) {
        kib = 1e12;
    }
    return kib / 1024.0;
}

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

// The compile onto a file system that shares extents, where a kept record
// that stays at its offset costs nothing to copy.
void ReflinkRow(Table& table, const Options& o, const Sizes& z, const std::string& bigName,
                int runs) {
    const std::string name = "compile of the " + bigName +
                             " entries, 100 replacements of the same sizes, on a reflink file "
                             "system (XFS), to a new file";
    if (o.reflinkDir.empty()) {
        table.row(name, "skipped: " + (o.noReflink.empty() ? "no --reflink" : o.noReflink), "-",
                  "-", "<= 0.05 x", true);
        return;
    }
    const std::string d = o.reflinkDir, big = d + "/big.vxa";
    WriteArchive({.entries = z.bigEntries, .totalBytes = z.bigBytes, .seed = 7}, big);
    Settle();
    std::vector<double> compile, cp;
    Alternate(
        runs, [&] { return Compile(big, d + "/out.vxa", d, 100, true); },
        [&] { return Cp(big, d + "/copy.vxa"); }, compile, cp);
    fs::remove(d + "/out.vxa");
    fs::remove(big);
    table.ratioRow(name, "reflink compile", compile, "cp --reflink=never there", cp, 0.05);
}

// vxa-tool compile of an archive whose entries all share one record, with
// that record replaced: a plan of one record per entry, all naming one path.
void SharedPlanRows(Table& table, const Options& o, const Sizes& z, int runs) {
    const std::string archive = o.dir + "/shared.vxa";
    WriteArchive({.entries = z.sharedEntries,
                  .totalBytes = 4ull * z.sharedEntries + 200,
                  .blankShare = 0,
                  .sharedShare = 1,
                  .seed = 3},
                 archive);
    // A long path: each record names it.
    const std::string folder = o.dir + "/" + std::string(100, 'p') + "/" + std::string(100, 'q');
    fs::create_directories(folder);
    const std::string file = folder + "/replacement.bin";
    RunCommand({"sh", "-c", "echo replacement > '" + file + "'"});
    std::vector<double> seconds, mib;
    for (int i = 0; i < runs; ++i) {
        const ChildRun r =
            RunMeasured({o.tool, "compile", archive, o.dir + "/shared-out.vxa", "1=" + file});
        seconds.push_back(r.status == 0 ? r.seconds : 1e9);
        mib.push_back(r.status == 0 ? r.peakKiB / 1024.0 : 1e9);
    }
    Runs("vxa-tool compile", seconds);
    Runs("  peak MiB", mib);
    const std::string name = "vxa-tool compile, " + std::to_string(z.sharedEntries) +
                             " entries sharing one record, one replacement";
    const double s = Median(seconds), m = Median(mib) * 1.048576;  // MB
    table.row(name, Fmt(s, "s"), "-", "-", "<= 1.5 s", s <= 1.5);
    table.row("peak memory of that compile", Fmt(m, "MB"), "-", "-", "<= 250 MB", m <= 250);
}

int All(const Options& o) {
    const Sizes z = o.quick ? Sizes{64ull << 20, 10000, 100000, 1000000, 400000}
                            : Sizes{1ull << 30, 100000, 1000000, 16000000, 4000000};
    const std::string big = o.dir + "/big.vxa", shuffled = o.dir + "/big-shuffled.vxa",
                      many = o.dir + "/many.vxa", blank = o.dir + "/blank.vxa";
    std::cerr << "generating archives in " << o.dir << "...\n";
    // The compile copies the archive a game ships, records in entry order;
    // the loads read every header of one whose records lie in any order.
    WriteArchive({.entries = z.bigEntries, .totalBytes = z.bigBytes, .seed = 7}, big);
    WriteArchive({.entries = z.bigEntries, .totalBytes = z.bigBytes, .shuffled = true, .seed = 7},
                 shuffled);
    WriteArchive({.entries = z.manyEntries, .totalBytes = 64ull << 20, .shuffled = true, .seed = 9},
                 many);
    WriteArchive({.entries = z.blankEntries,
                  .totalBytes = 4ull * (z.blankEntries + 1),
                  .blankShare = 1,
                  .seed = 5},
                 blank);
    const int runs = o.quick ? 3 : 5;
    const std::string bigName =
        std::to_string(z.bigBytes >> 20) + " MiB archive, " + std::to_string(z.bigEntries);
    Table table;

    std::vector<double> load, read;
    ReadIntoBuffer(shuffled);  // warms the page cache for both sides
    Alternate(
        runs, [&] { return Load(shuffled); }, [&] { return ReadIntoBuffer(shuffled); }, load, read);
    table.ratioRow("load, " + bigName + " entries, records shuffled (core)", "load", load,
                   "reading the file into one buffer", read, 0.1);
    const double bigMib = LoadPeakMiB(o, shuffled);
    table.row("peak memory of that load", Fmt(bigMib, "MiB"), "-", "-", "<= 40 MiB", bigMib <= 40);

    load.clear();
    read.clear();
    ReadIntoBuffer(many);
    Alternate(
        runs, [&] { return Load(many); }, [&] { return ReadIntoBuffer(many); }, load, read);
    table.ratioRow("load, " + std::to_string(z.manyEntries) +
                       " small entries, 64 MiB, records shuffled (core)",
                   "load", load, "reading the file into one buffer", read, 1.2);

    const double blankMib = LoadPeakMiB(o, blank);
    const double blankBudget = 32 + 24.0 * z.blankEntries / (1 << 20);
    table.row("peak memory of a load of " + std::to_string(z.blankEntries) + " blank entries (" +
                  std::to_string(4ull * z.blankEntries >> 20) + " MiB table), core",
              Fmt(blankMib, "MiB"), "-", "-",
              "<= 32 MiB + 24 B per entry (" + Fmt(blankBudget, "MiB") + ")",
              blankMib <= blankBudget);

    const std::string out = o.dir + "/out.vxa", copy = o.dir + "/copy.vxa";
    std::vector<double> compile, cp;
    Alternate(
        runs, [&] { return Compile(big, out, o.dir, 100, false); }, [&] { return Cp(big, copy); },
        compile, cp);
    fs::remove(out);
    table.ratioRow("compile of the " + bigName + " entries, 100 replacements of other sizes, " +
                       "to a new file",
                   "compile", compile, "cp --reflink=never of the same file", cp, 1.0);
    fs::remove(shuffled);
    // Find reads records in file order, as an archive the game ships has them.
    const std::string ordered = o.dir + "/many-ordered.vxa";
    WriteArchive({.entries = z.manyEntries, .totalBytes = 64ull << 20, .seed = 9}, ordered);
    ToolRows([&table](auto&&... cells) { table.row(cells...); }, ordered, big, bigName, o.dir, runs,
             100);
    fs::remove(ordered);
    fs::remove(big);

    ReflinkRow(table, o, z, bigName, runs);
    if (!o.window.empty())
        WindowRows(table, z, o.window, many, o.dir, runs);
    if (!o.tool.empty())
        SharedPlanRows(table, o, z, runs);
    ScriptRows([&table](auto&&... cells) { table.row(cells...); }, o.self, o.dir, o.quick);
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
    if (cmd == "find" && a.size() == 3) {
        FindCommand(a[2]);
        return 0;
    }
    if (cmd == "script" && a.size() == 3)
        return ScriptCommand(a[2]);
    if (cmd == "load" && a.size() == 3) {
        std::cout << Load(a[2]) << "\n";
        return 0;
    }
    if (cmd == "ratio" && a.size() >= 3 && a.size() <= 5) {
        // The load rows of the table for one archive: alternating runs in
        // one process, after a read that warms the page cache. With "cpu",
        // the process's CPU time instead of the clock's: it varies less on a
        // busy machine, which shares out its processors.
        const bool cpu = a.back() == "cpu";
        const int runs = a.size() >= 4 && a[3] != "cpu" ? std::stoi(a[3]) : 5;
        const auto timed = [cpu](const std::function<double()>& job) {
            if (!cpu)
                return job();
            const double start = CpuSeconds();
            job();
            return CpuSeconds() - start;
        };
        std::vector<double> load, read;
        ReadIntoBuffer(a[2]);
        Alternate(
            runs, [&] { return timed([&] { return Load(a[2]); }); },
            [&] { return timed([&] { return ReadIntoBuffer(a[2]); }); }, load, read);
        Runs("load", load);
        Runs("read", read);
        std::cout << Fmt(Median(load) / Median(read), "x") << "\n";
        return 0;
    }
    if (cmd == "read" && a.size() == 3) {
        std::cout << ReadIntoBuffer(a[2]) << "\n";
        return 0;
    }
    if (cmd == "compile" && a.size() == 4) {
        const std::string dir = fs::path(a[3]).parent_path().string();
        std::cout << Compile(a[2], a[3], dir.empty() ? "." : dir, 100, false) << "\n";
        return 0;
    }
    if (cmd == "all" && a.size() >= 3) {
        Options o;
        o.self = fs::absolute(a[0]).string();
        o.dir = a[2];
        for (std::size_t i = 3; i < a.size(); ++i) {
            const std::string value = i + 1 < a.size() ? a[i + 1] : "";
            if (a[i] == "--quick") {
                o.quick = true;
            } else if (a[i] == "--window" || a[i] == "--tool" || a[i] == "--reflink" ||
                       a[i] == "--no-reflink") {
                (a[i] == "--window"    ? o.window
                 : a[i] == "--tool"    ? o.tool
                 : a[i] == "--reflink" ? o.reflinkDir
                                       : o.noReflink) = value;
                ++i;
            } else {
                std::cerr << kUsage;
                return 2;
            }
        }
        return All(o);
    }
    std::cerr << kUsage;
    return 2;
}
