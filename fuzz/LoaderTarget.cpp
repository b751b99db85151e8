#include <string>

#include "FuzzTargets.h"
#include "core/Loader.h"
#include "support/FakeView.h"
#include "support/MemoryFileSystem.h"

namespace vxa::fuzz {

// Loads the bytes as an archive, in both modes, and checks what a load must
// always leave behind.
int LoaderTarget(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const bool scriptMode : {false, true}) {
        test::MemoryFileSystem fs;
        fs.put("/a.vxa", bytes);
        AppState state;
        test::FakeView view(state.Table);
        Context c{state, view, fs};
        const LoadOutcome outcome = LoadArchive(c, "/a.vxa", scriptMode);
        const EntryTable& t = state.Table;
        FUZZ_CHECK(!state.Loading);
        FUZZ_CHECK(view.rowCount() == t.EntryCount + 1);
        FUZZ_CHECK(view.messages.size() == (outcome == LoadOutcome::Complete ? 0u : 1u));
        FUZZ_CHECK(state.ArchiveComplete == (outcome == LoadOutcome::Complete));
        if (outcome != LoadOutcome::Complete) {
            FUZZ_CHECK(view.messages[0] == "Read beyond end of file");
            continue;
        }
        FUZZ_CHECK(t.Offsets.size() == static_cast<std::size_t>(t.EntryCount) + 1);
        FUZZ_CHECK(t.Offsets.back() == size);
        for (std::int32_t i = 0; i < t.EntryCount; ++i) {
            const std::int32_t link = t.Links[i];
            FUZZ_CHECK((link == -1) == (t.Offsets[i] == 0));
            if (link > 0) {
                FUZZ_CHECK(link <= i && t.Links[link - 1] == 0 &&
                           t.Offsets[link - 1] == t.Offsets[i]);
            }
            const auto d = t.EntryData(i);
            if (link == 0) {
                FUZZ_CHECK(d.data() == t.Bytes.get() + t.Offsets[i] + 10);
                FUZZ_CHECK(t.Offsets[i] + 10ull + d.size() <= size);
            } else {
                FUZZ_CHECK(d.empty());
            }
            // Rows are formatted from the table on demand: touch them all.
            for (int col = 0; col < 6; ++col)
                FUZZ_CHECK(!view.cell(col, i + 1).empty() || col == 5);
        }
    }
    return 0;
}

}  // namespace vxa::fuzz
