#include "ToolsBench.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "Measure.h"
#include "core/EntryFiles.h"
#include "core/EntryFind.h"
#include "core/Loader.h"
#include "plan/FolderFiles.h"
#include "plan/Plan.h"

namespace fs = std::filesystem;

namespace vxa::bench {

namespace {

std::string Ms(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", seconds * 1000);
    return text;
}
std::string Fmt(const char* pattern, double v) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, v);
    return text;
}

// Next over every entry with none matching, as in a search for a kind the
// archive lacks: the first reads each record's first bytes, later ones find
// them cached.
void FindTwice(Loaded& l, std::vector<double>& first, std::vector<double>& again) {
    const auto query = ParseFindQuery("xmi");
    KindCache cache;
    first.push_back(Seconds([&] { FindEntry(l.archive, l.plan, cache, *query, 0, false); }));
    again.push_back(Seconds([&] { FindEntry(l.archive, l.plan, cache, *query, 0, false); }));
}

void FindRows(const TableRow& row, const std::string& many, int runs) {
    Loaded l;
    l.load(many);
    std::vector<double> first, again;
    for (int i = 0; i < runs; ++i)
        FindTwice(l, first, again);
    const std::string name = "Find Next over " + std::to_string(l.archive.Table.EntryCount) +
                             " entries (64 MiB), nothing matching: ";
    row(name + "first, kinds read from the archive", Ms(Median(first)), "-", "-", "<= 30 ms",
        Median(first) <= 0.030);
    row(name + "again, kinds cached", Ms(Median(again)), "-", "-", "<= 30 ms",
        Median(again) <= 0.030);
}

double Extract(Loaded& l, const std::string& to) {
    fs::remove_all(to);
    fs::create_directory(to);
    Settle();
    // What "Extract all..." does once it knows the folder holds none of the
    // files.
    return Seconds(
        [&] { WriteEntryFiles(l.archive, RealFileSystem(), AllEntryFiles(l.archive, to), {}); });
}

double CopyTree(const std::string& from, const std::string& to) {
    fs::remove_all(to);
    Settle();
    return Seconds([&] { RunCommand({"cp", "-r", from, to}); });
}

// Changes the first byte of `count` files spread over the folder.
void EditFiles(const std::string& dir, int count) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(dir))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    const std::size_t step = std::max<std::size_t>(1, files.size() / count);
    for (std::size_t k = 0; k < files.size() && k / step < std::size_t(count); k += step) {
        std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(files[k].c_str(), "r+b"), &std::fclose);
        if (f)
            std::fputc('#', f.get());
    }
}

double ReplaceFromFolder(const std::string& big, const std::string& dir) {
    Loaded l;
    l.load(big);
    return Seconds([&] {
        std::vector<std::string> problems;
        for (const FolderPick& pick :
             PickFolderFiles(l.archive, RealFileSystem(), dir, {}, problems))
            AddReplacement(l.plan, l.archive.Table, pick.Entry, pick.Path);
    });
}

}  // namespace

void FindCommand(const std::string& archive) {
    Loaded l;
    l.load(archive);
    std::vector<double> first, again;
    FindTwice(l, first, again);
    std::cout << first[0] << " " << again[0] << "\n";
}

void ToolRows(const TableRow& row, const std::string& many, const std::string& big,
              const std::string& bigName, const std::string& dir, int runs, int edited) {
    FindRows(row, many, runs);

    const std::string files = dir + "/files", copy = dir + "/files-copy";
    std::vector<double> extract, cp;
    {
        Loaded l;
        l.load(big);
        for (int i = 0; i < runs; ++i) {
            extract.push_back(Extract(l, files));
            cp.push_back(CopyTree(files, copy));
        }
    }
    fs::remove_all(copy);
    const double e = Median(extract), c = Median(cp);
    row("Extract all of the " + bigName + " entries into an empty folder", Fmt("%.3f s", e),
        Fmt("%.3f s", c) + " cp -r of the extracted folder", Fmt("%.2f x", e / c), "<= 1.5 x",
        e <= 1.5 * c);

    EditFiles(files, edited);
    std::vector<double> replace, cat;
    const std::string catAll = "find '" + files + "' -type f -exec cat {} + > /dev/null";
    RunCommand({"sh", "-c", catAll});  // warm
    for (int i = 0; i < runs; ++i) {
        replace.push_back(ReplaceFromFolder(big, files));
        cat.push_back(Seconds([&] { RunCommand({"sh", "-c", catAll}); }));
    }
    fs::remove_all(files);
    const double r = Median(replace), k = Median(cat);
    row("Replace from folder over those files, " + std::to_string(edited) + " of them edited",
        Fmt("%.3f s", r), Fmt("%.3f s", k) + " cat of the folder's files, warm",
        Fmt("%.2f x", r / k), "<= 2 x", r <= 2 * k);
}

}  // namespace vxa::bench
