#include <algorithm>
#include <string>

#include "FuzzTargets.h"
#include "core/Compiler.h"
#include "core/Loader.h"
#include "support/FakeView.h"
#include "support/MemoryFileSystem.h"

namespace vxa::fuzz {

// An archive that loads, compiled without a plan and loaded again, gives the
// same entries; compiling that copy again gives the same bytes.
int RoundTripTarget(const std::uint8_t* data, std::size_t size) {
    test::MemoryFileSystem fs;
    fs.put("/in.vxa", std::string(reinterpret_cast<const char*>(data), size));
    AppState first;
    test::FakeView view1(first.Table);
    Context c1{first, view1, fs};
    if (LoadArchive(c1, "/in.vxa", false) != LoadOutcome::Complete)
        return 0;
    CompileArchive(c1, "/out.vxa");
    FUZZ_CHECK(fs.fileExists("/out.vxa"));

    AppState second;
    test::FakeView view2(second.Table);
    Context c2{second, view2, fs};
    FUZZ_CHECK(LoadArchive(c2, "/out.vxa", false) == LoadOutcome::Complete);
    const EntryTable& a = first.Table;
    const EntryTable& b = second.Table;
    FUZZ_CHECK(a.EntryCount == b.EntryCount);
    FUZZ_CHECK(a.Links == b.Links);
    FUZZ_CHECK(a.OrigSizes == b.OrigSizes);
    FUZZ_CHECK(a.PackedSizes == b.PackedSizes);
    for (std::int32_t i = 0; i < a.EntryCount; ++i) {
        if (a.Links[i] == -1)
            continue;  // a blank entry's type is never read
        FUZZ_CHECK(a.CompTypes[i] == b.CompTypes[i]);
        const auto da = a.EntryData(i);
        const auto db = b.EntryData(i);
        FUZZ_CHECK(std::equal(da.begin(), da.end(), db.begin(), db.end()));
    }
    // The copy is canonical, so compiling it changes nothing.
    CompileArchive(c2, "/again.vxa");
    FUZZ_CHECK(*fs.files["/again.vxa"] == *fs.files["/out.vxa"]);
    return 0;
}

}  // namespace vxa::fuzz
