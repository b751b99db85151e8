#include <algorithm>
#include <string>

#include "FuzzTargets.h"
#include "MemoryFileSystem.h"
#include "core/Compiler.h"
#include "core/EntryBytes.h"
#include "support/FakeView.h"
#include "ui/CompileHandlers.h"
#include "ui/LoadHandlers.h"

namespace vxa::fuzz {

namespace {

// A copy much larger than the input comes from records that overlap in it,
// which the copy writes out one by one. Writing it would only measure the
// memory file system, so only its layout is checked.
constexpr std::uint64_t kLargestCopiedGrowth = 128 * 1024;

// The size of the canonical copy: the table, then each owned record once.
std::uint64_t CanonicalSize(const EntryTable& t) {
    std::uint64_t size = 4 * (std::uint64_t(t.EntryCount) + 1);
    for (std::int32_t i = 0; i < t.EntryCount; ++i) {
        if (t.Links[i] == 0)
            size += 10 + std::uint64_t{t.PackedSizes[i]};
    }
    return size;
}

// Loads `path` into a fresh program state; false when it is no archive.
bool Load(MemoryFileSystem& fs, AppState& state, const std::string& path) {
    test::FakeView view(state);
    Context c{state, view, fs};
    return LoadInWindow(c, path, false) == LoadOutcome::Complete;
}

void Compile(MemoryFileSystem& fs, AppState& state, const std::string& path) {
    test::FakeView view(state);
    Context c{state, view, fs};
    CompileArchive(c.Fs, c.State, c.State.Replacements, path);
}

// The stored bytes of entry i, read from the open archive.
std::string Bytes(const AppState& s, std::int32_t i) {
    const std::int32_t link = s.Table.Links[i];
    std::string out(link < 0 ? 0 : s.Table.PackedSizes[link > 0 ? link - 1 : i], '\0');
    out.resize(ReadEntryBytes(s, i, 0, out.data(), out.size()));
    return out;
}

// The entries of `sb` are those of `sa`, except that entry `replaced` (if
// not negative) holds `file` as a type 0 record.
void CheckSameEntries(const AppState& sa, const AppState& sb, std::int32_t replaced,
                      const std::string& file) {
    const EntryTable& a = sa.Table;
    const EntryTable& b = sb.Table;
    FUZZ_CHECK(a.EntryCount == b.EntryCount);
    FUZZ_CHECK(a.Links == b.Links);
    for (std::int32_t i = 0; i < a.EntryCount; ++i) {
        const std::int32_t owner = a.Links[i] > 0 ? a.Links[i] - 1 : i;
        if (owner == replaced && i != replaced) {
            // Shares the new record: no sizes of its own, the new type.
            FUZZ_CHECK(b.OrigSizes[i] == 0 && b.PackedSizes[i] == 0 && b.CompTypes[i] == 0);
            continue;
        }
        if (i == replaced) {
            FUZZ_CHECK(b.OrigSizes[i] == file.size() && b.PackedSizes[i] == file.size());
            FUZZ_CHECK(b.CompTypes[i] == 0);
            FUZZ_CHECK(Bytes(sb, i) == file);
            continue;
        }
        FUZZ_CHECK(a.OrigSizes[i] == b.OrigSizes[i] && a.PackedSizes[i] == b.PackedSizes[i]);
        if (a.Links[i] == -1)
            continue;  // a blank entry's type is never read
        FUZZ_CHECK(a.CompTypes[i] == b.CompTypes[i]);
        // A shared entry reads its owner's bytes, checked with the owner.
        if (a.Links[i] == 0)
            FUZZ_CHECK(Bytes(sa, i) == Bytes(sb, i));
    }
}

}  // namespace

// An archive that loads, compiled without a plan and loaded again, gives the
// same entries; compiling that copy again gives the same bytes. Compiled
// with one entry replaced, it gives the same entries but that one.
int RoundTripTarget(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem fs;
    fs.put("/in.vxa", std::string(reinterpret_cast<const char*>(data), size));
    AppState first;
    if (!Load(fs, first, "/in.vxa"))
        return 0;
    const EntryTable& a = first.Table;
    const std::uint64_t expected = CanonicalSize(a);
    {
        test::FakeView view(first);
        Context c{first, view, fs};
        try {
            const ArchiveLayout layout = LayOutArchive(c.Fs, c.State.Table, c.State.Replacements);
            FUZZ_CHECK(layout.Values.back() == expected && layout.Replaced.empty());
        } catch (const ArchiveTooLarge&) {
            FUZZ_CHECK(expected > kMaxArchiveBytes);
            return 0;
        }
    }
    if (expected > size + kLargestCopiedGrowth)
        return 0;

    Compile(fs, first, "/out.vxa");
    FUZZ_CHECK(fs.files.size() == 2 && fs.files["/out.vxa"]->size() == expected);
    // Onto the loaded archive itself, twice: the open archive still gives
    // the bytes that were loaded, here and in the compiles below.
    for (int k = 0; k < 2; ++k) {
        Compile(fs, first, "/in.vxa");
        FUZZ_CHECK(*fs.files["/in.vxa"] == *fs.files["/out.vxa"]);
    }
    AppState second;
    FUZZ_CHECK(Load(fs, second, "/out.vxa"));
    CheckSameEntries(first, second, -1, {});
    // The copy is canonical, so compiling it changes nothing.
    Compile(fs, second, "/again.vxa");
    FUZZ_CHECK(*fs.files["/again.vxa"] == *fs.files["/out.vxa"]);

    // Replace the entry the first byte picks, if it owns its record, by the
    // input's first bytes.
    const std::int32_t entry = a.EntryCount == 0 ? -1 : data[0] % a.EntryCount;
    if (entry < 0 || a.Links[entry] != 0)
        return 0;
    const std::string file(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64));
    fs.put("/r.bin", file);
    first.Replacements.append(entry, "/r.bin");
    Compile(fs, first, "/replaced.vxa");
    AppState third;
    FUZZ_CHECK(Load(fs, third, "/replaced.vxa"));
    CheckSameEntries(first, third, entry, file);
    return 0;
}

}  // namespace vxa::fuzz
