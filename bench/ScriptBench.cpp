#include "ScriptBench.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "Measure.h"
#include "ScriptShapes.h"
#include "core/io/FileSystem.h"
#include "script/ScriptFile.h"

namespace vxa::bench {

namespace fs = std::filesystem;

namespace {

std::string Fixed(double v, const char* unit) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f %s", v, unit);
    return buf;
}

// The numbers the child printed into `file`; false when fewer.
bool ReadNumbers(const std::string& file, double& seconds, double& kib, double& valid) {
    std::FILE* f = std::fopen(file.c_str(), "r");
    if (!f)
        return false;
    const bool ok = std::fscanf(f, "%lf %lf %lf", &seconds, &kib, &valid) == 3;
    std::fclose(f);
    return ok;
}

const char* Description(ScriptShape shape) {
    switch (shape) {
        case ScriptShape::Headings:
            return "section headings and Count=2147483647";
        case ScriptShape::Items:
            return "valid items, then a missing one";
        case ScriptShape::Keys:
            return "\"k=v\" lines in one section";
    }
    return "?";
}

}  // namespace

int ScriptCommand(const std::string& path) {
    std::optional<Script> script;
    const double seconds =
        Seconds([&] { script = ParseScript(ReadScriptText(RealFileSystem(), path)); });
    std::cout << seconds << " " << PeakRssKiB() << " " << (script ? 1 : 0) << "\n";
    return 0;
}

void ScriptRows(const TableRow& row, const std::string& self, const std::string& dir, bool quick) {
    const std::size_t bytes = quick ? std::size_t{8} << 20 : std::size_t{100} << 20;
    const std::string file = dir + "/junk.vxc", res = dir + "/script.txt";
    for (const ScriptShape shape : kScriptShapes) {
        {
            const std::string text = MakeScript(shape, bytes);
            std::FILE* f = std::fopen(file.c_str(), "wb");
            if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() ||
                std::fclose(f) != 0) {
                std::cerr << "cannot write " << file << "\n";
                return;
            }
        }
        const double mib = static_cast<double>(fs::file_size(file)) / (1 << 20);
        // Three fresh processes: the median time, the largest peak.
        std::vector<double> times;
        double worstKib = 0, valid = 0;
        for (int i = 0; i < 3; ++i) {
            double seconds = 1e9, kib = 1e12;
            if (RunCommand({"sh", "-c", "'" + self + "' script '" + file + "' > '" + res + "'"}) !=
                    0 ||
                !ReadNumbers(res, seconds, kib, valid)) {
                seconds = kib = 1e12;
            }
            times.push_back(seconds);
            worstKib = std::max(worstKib, kib);
        }
        const double t = Median(times), peak = worstKib / 1024;
        const bool ok = t <= 2.0 && peak <= 2 * mib + 32 && valid == 0;
        row("judging a " + std::to_string(bytes >> 20) +
                " MiB damaged script: " + Description(shape),
            Fixed(t, "s") + ", " + Fixed(peak, "MiB") + (valid == 0 ? "" : ", taken as VALID"),
            Fixed(mib, "MiB") + " file size", Fixed(peak / mib, "x"), "<= 2 s, <= 2 x + 32 MiB",
            ok);
    }
    fs::remove(file);
    fs::remove(res);
}

}  // namespace vxa::bench
