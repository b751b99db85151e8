// Replays every input kept under fuzz/corpus and fuzz/regressions through
// the fuzz targets, so a crash found once stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FuzzTargets.h"

namespace vxa::fuzz {
namespace {

namespace fs = std::filesystem;

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
                SCOPED_TRACE(entry.path().string());
                std::ifstream in(entry.path(), std::ios::binary);
                const std::string bytes{std::istreambuf_iterator<char>(in), {}};
                target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
                ++replayed;
            }
        }
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace vxa::fuzz
