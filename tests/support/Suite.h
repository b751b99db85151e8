#pragma once

// What the toolkit-free suites share: the framework, the loader, the fake
// view, test archives and folders, and the file system that fails at will.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <cerrno>
#include <filesystem>
#include <functional>

#include "core/io/IoError.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"
#include "ui/LoadHandlers.h"

namespace vxa::test {
using Lines = std::vector<std::string>;

// The file an operation failed on and the runtime's text, or "done".
inline std::string Failure(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const IoError& e) {
        return e.path() + ": " + e.what();
    }
    return "done";
}

// The system's error numbers for "File access denied", "Disk full" and a
// failing device.
#ifdef _WIN32
inline constexpr int kDeniedError = ERROR_ACCESS_DENIED, kFullError = ERROR_DISK_FULL;
inline constexpr int kDeviceError = ERROR_IO_DEVICE;
#else
inline constexpr int kDeniedError = EACCES, kFullError = ENOSPC;
inline constexpr int kDeviceError = EIO;
#endif

// This test program's own file, which the system holds open while it runs.
inline std::string RunningProgram() {
#ifdef _WIN32
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return Utf8Name(self);
#else
    return "/proc/self/exe";
#endif
}
}  // namespace vxa::test
