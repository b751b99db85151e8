#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/LoadedArchive.h"
#include "core/ReplRec.h"

namespace vxa::bench {

// A load as the window does it, minus the widgets: the grid shows the table
// as it is, so a load does no bookkeeping of its own for it.
struct Loaded {
    LoadedArchive archive;
    ReplRec plan;
    // Loads the archive at `path`; exits when the load does not complete.
    void load(const std::string& path);
};

// Writes every dirty page to the disk, so that a measurement that writes a
// big file does not pay for the write-back of the one before it.
void Settle();
// Wall-clock seconds `job` takes.
double Seconds(const std::function<void()>& job);
// Seconds of processor time this process has used so far.
double CpuSeconds();
double Median(std::vector<double> v);
// Median of `runs` calls of `once`.
double MedianOf(int runs, const std::function<double()>& once);

// Reads the whole file into one buffer: what any loader must at least do.
double ReadIntoBuffer(const std::string& path);
// Seconds LoadArchive takes (normal mode, on a view without widgets); exits
// when the load does not complete.
double Load(const std::string& path);
// Loads the archive, plans `count` replacements of entries spread over it by
// files (written into `dir`) of the entries' sizes or 100 bytes longer,
// removes an earlier `out`, settles, and returns the seconds CompileArchive
// takes to write `out`.
double Compile(const std::string& path, const std::string& out, const std::string& dir, int count,
               bool sameSizes);
// What one run of a program took.
struct ChildRun {
    int status = -1;  // exit status, -1 if it died
    double seconds = 0;
    long peakKiB = 0;  // peak resident memory
};
ChildRun RunMeasured(const std::vector<std::string>& argv);
// Runs a program and waits for it; returns its exit status, -1 if it died.
int RunCommand(const std::vector<std::string>& argv);
// Peak resident memory of this process so far, in KiB.
long PeakRssKiB();

}  // namespace vxa::bench
