#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Loader.h"
#include "plan/Plan.h"
#include "support/ArchiveBuilder.h"
#include "support/FakeView.h"
#include "support/TempDir.h"

namespace vxa::test {

// A loaded six-entry archive and a browser folder beside it:
//   entry 0 owns "a", 1 is blank, 2 owns "b", 3 and 4 share entry 0's
//   record, 5 owns "c". The group of entry 0 is therefore {0, 3, 4}.
// The browser lists the folder, which holds x.wav, y.pal and [sub].
class PlanFixture : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;
    std::string x, y;

    void SetUp() override {
        const std::string archive = dir.write(
            "a.vxa",
            BuildArchive({Owned("a"), Blank(), Owned("b"), Shared(0), Shared(0), Owned("c")}));
        ASSERT_EQ(LoadArchive(h.ctx, archive, false), LoadOutcome::Complete);
        x = dir.write("x.wav", "X");
        y = dir.write("y.pal", "Y");
        std::filesystem::create_directory(dir.file("sub"));
        h.state.BrowserDir = dir.path();
        h.view.log.clear();
    }

    void replace(int row, const std::string& caption) {
        h.view.selectRow(row);
        h.view.browserSelection = caption;
        RplBtnClick(h.ctx);
    }
    void unreplace(int row) {
        h.view.selectRow(row);
        UnBtnClick(h.ctx);
    }
    // One column of the entry rows 1..6.
    std::vector<std::string> column(int col) const {
        std::vector<std::string> out;
        for (int row = 1; row <= 6; ++row)
            out.push_back(h.view.cell(col, row));
        return out;
    }
    const ReplRec& plan() const { return h.state.Replacements; }
};

inline ReplRec Records(std::vector<std::int32_t> indices, std::vector<std::string> paths) {
    ReplRec r;
    r.Count = static_cast<std::int32_t>(indices.size());
    r.Indices = std::move(indices);
    r.Paths = std::move(paths);
    return r;
}

}  // namespace vxa::test
