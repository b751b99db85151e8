// vxa-bench-preview DIR: writes an archive with a 100 MB entry and a
// 100-byte one into DIR, loads it, opens the preview window on each in
// turn and prints two rows of the benchmark table: the time from asking for
// the preview to its first drawing, and how much more memory the process
// holds afterwards than before the window was made. Exits 1 when a row is
// missed. Meant to run off screen:
//   QT_QPA_PLATFORM=offscreen vxa-bench-preview /tmp/dir
#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "core/Loader.h"
#include "ui/widgets/preview/HexView.h"
#include "ui/widgets/preview/PreviewWindow.h"

namespace {

using namespace vxa;

void Put32(std::ofstream& out, std::uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}

// Two records: `big` bytes, then 100; the bytes count up.
void WriteArchive(const std::string& path, std::uint32_t big) {
    std::ofstream out(path, std::ios::binary);
    const std::uint32_t first = 12, second = first + 10 + big, end = second + 10 + 100;
    for (const std::uint32_t v : {first, second, end})
        Put32(out, v);
    std::string chunk(1 << 20, '\0');
    for (std::size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<char>(i);
    for (const std::uint32_t size : {big, 100u}) {
        Put32(out, size);
        Put32(out, size);
        out.write("\0\0", 2);
        for (std::uint32_t done = 0; done < size;) {
            const auto n = std::min<std::uint32_t>(size - done, chunk.size());
            out.write(chunk.data(), n);
            done += n;
        }
    }
}

// Resident memory now, in KiB.
long RssKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> kib)
            return kib;
    }
    return 0;
}

// The window is made at start-up, hidden, as the main window makes it.
bool Row(const char* what, std::int32_t entry, PreviewWindow* window) {
    window->hide();
    QApplication::processEvents();
    const long before = RssKiB();
    const auto start = std::chrono::steady_clock::now();
    window->show();
    window->showEntry(entry);
    QApplication::processEvents();
    window->hex()->viewport()->repaint();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double mib = static_cast<double>(RssKiB() - before) / 1024.0;
    const bool drawn = !window->hex()->shownLines().isEmpty();
    const bool ok = drawn && ms <= 50 && mib <= 4;
    std::printf(
        "| preview of a %s entry, asked to drawn | %.1f ms, %.2f MiB more | - | - | "
        "<= 50 ms, <= 4 MiB | %s |\n",
        what, ms, mib, ok ? "met" : "MISSED");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: vxa-bench-preview DIR\n";
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/preview.vxa";
    WriteArchive(path, 100'000'000);
    AppState state;
    LoadObserver quiet;
    const bool noStop = false;
    if (LoadArchive(RealFileSystem(), path, state, quiet, noStop) != LoadOutcome::Complete)
        return 1;
    state.ArchiveComplete = true;
    // The main window, which the preview stands beside.
    QWidget main;
    main.show();
    main.repaint();
    PreviewWindow window(state, &main);
    const bool ok = Row("100 MB", 0, &window) & Row("100-byte", 1, &window);
    std::remove(path.c_str());
    return ok ? 0 : 1;
}
