#pragma once

// What the toolkit-free suites share: the framework, the loader, the fake
// view, test archives and folders, and the file system that fails at will.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"
#include "ui/LoadHandlers.h"

namespace vxa::test {
using Lines = std::vector<std::string>;
}  // namespace vxa::test
