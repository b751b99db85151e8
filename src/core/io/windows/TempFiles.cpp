#include "core/io/TempFiles.h"

#include <windows.h>

#include <array>
#include <mutex>

#include "Wide.h"

namespace vxa {

namespace {

// Windows has no signals: Ctrl+C, Ctrl+Break and closing the console window
// reach a console handler, which the system runs on a thread of its own, so
// a lock is all the table needs. The new file of a write is marked for
// deletion while it is written (FileSystem.cpp), so the system removes it
// however the process ends, TerminateProcess too; the table covers the
// moment between unmarking it and the rename, and files made without the
// mark.
struct Table {
    std::mutex Lock;
    std::array<std::wstring, 8> Paths;
};

Table& Files() {
    static Table table;
    return table;
}

std::wstring Absolute(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    const DWORD used = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    full.resize(used < n ? used : 0);
    return full;
}

BOOL WINAPI RemoveTempFiles(DWORD) {
    Table& t = Files();
    const std::lock_guard hold(t.Lock);
    for (const std::wstring& path : t.Paths) {
        if (!path.empty())
            DeleteFileW(path.c_str());
    }
    // Not handled: the system's default handler then ends the process.
    return FALSE;
}

}  // namespace

void InstallTempFileCleanup() {
    Files();
    SetConsoleCtrlHandler(RemoveTempFiles, TRUE);
}

void RegisterTempFile(const std::string& path) noexcept {
    try {
        std::wstring full = Absolute(path);
        Table& t = Files();
        const std::lock_guard hold(t.Lock);
        for (std::wstring& slot : t.Paths) {
            if (slot.empty()) {
                slot = std::move(full);
                return;
            }
        }
    } catch (...) {  // out of memory: the file is not tracked, as a full table
    }
}

void ForgetTempFile(const std::string& path) noexcept {
    try {
        const std::wstring full = Absolute(path);
        Table& t = Files();
        const std::lock_guard hold(t.Lock);
        for (std::wstring& slot : t.Paths) {
            if (slot == full) {
                slot.clear();
                return;
            }
        }
    } catch (...) {
    }
}

}  // namespace vxa
