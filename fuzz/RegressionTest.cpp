// Replays every input kept under fuzz/corpus and fuzz/regressions through
// the fuzz targets, so a fault found once stays fixed. The inputs are held to
// the fuzzers' allocation limit too: this program replaces operator new to
// see the largest single allocation a target makes (the program's own code
// allocates through new only).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include "FuzzTargets.h"

namespace {

bool g_watching = false;
std::size_t g_largest = 0;

}  // namespace

void* operator new(std::size_t size) {
    if (g_watching)
        g_largest = std::max(g_largest, size);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vxa::fuzz {
namespace {

namespace fs = std::filesystem;

void Replay(const Target& target, const fs::path& file) {
    SCOPED_TRACE(file.string());
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    g_largest = 0;
    g_watching = true;
    target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    g_watching = false;
    EXPECT_LE(g_largest, bytes.size() + kAllocationSlack);
}

TEST(FuzzInputs, EveryKeptInputPassesItsTarget) {
    int replayed = 0;
    for (const Target& target : AllTargets()) {
        for (const char* kind : {"corpus", "regressions"}) {
            const fs::path dir = fs::path(VXA_FUZZ_DIR) / kind / target.name;
            if (!fs::is_directory(dir))
                continue;
            for (const auto& entry : fs::directory_iterator(dir)) {
                if (!entry.is_regular_file())
                    continue;
                Replay(target, entry.path());
                ++replayed;
            }
        }
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace vxa::fuzz
