// The Windows platform layer on the real system (under Wine in CI): its
// errors, device names, and replacing files that others hold open.
#include <windows.h>

#include <functional>

#include "core/io/AtomicFile.h"
#include "core/io/IoError.h"
#include "core/io/WritePaths.h"
#include "support/Suite.h"

namespace vxa::test {
namespace {

void Replace(const std::string& target, const std::string& bytes) {
    AtomicFile out(RealFileSystem(), target);
    out.file().write(bytes.data(), bytes.size());
    out.commit();
}

HANDLE Hold(const std::string& path, DWORD share) {
    return CreateFileW(FsPath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

TEST(WindowsFiles, FailuresCarryTheRuntimesTextAndTheirFile) {
    TempDir dir;
    FileSystem& fs = RealFileSystem();
    const std::string file = dir.write("f", "12345"), gone = dir.file("gone"), d = dir.path();
    const std::string readOnly = dir.write("ro.vxa", "old");
    ASSERT_TRUE(SetFileAttributesW(FsPath(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    char buffer[8];
    const std::string reserved = ": Reserved device name, not a file";
    const std::vector<std::pair<std::function<void()>, std::string>> cases{
        {[&] { fs.openRead(gone); }, gone + ": File not found"},
        {[&] { fs.openRead(gone + "\\x"); }, gone + "\\x: File not found"},
        {[&] { fs.openRead(d); }, d + ": File access denied"},
        {[&] { fs.openRead(file)->readExactAt(buffer, 2, 4); }, file + ": Read beyond end of file"},
        {[&] { fs.inspectTarget(d); }, d + ": File access denied"},
        {[&] { fs.inspectTarget(readOnly); }, readOnly + ": File access denied"},
        {[&] { fs.inspectTarget(""); }, ": File not found"},
        {[&] { fs.inspectTarget("CON"); }, "CON" + reserved},
        {[&] { fs.inspectTarget(dir.file("nul.vxa")); }, dir.file("nul.vxa") + reserved},
        {[&] { fs.inspectTarget(d + "/Com1 . vxa"); }, d + "/Com1 . vxa" + reserved},
        {[&] { fs.inspectTarget("c:lpt9"); }, "c:lpt9" + reserved},
        // Names that only begin like a device are files.
        {[&] { fs.inspectTarget(dir.file("console.vxa")), fs.inspectTarget("com10"); }, "done"},
    };
    for (const auto& [operation, failure] : cases)
        EXPECT_EQ(Failure(operation), failure);
    std::string texts;
    for (const DWORD e :
         {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION,
          ERROR_LOCK_VIOLATION, ERROR_HANDLE_EOF, ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL,
          ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY, ERROR_INVALID_PARAMETER})
        texts += IoErrorText(static_cast<int>(e)) + "|";
    EXPECT_EQ(texts,
              "File not found|File not found|File access denied|File access denied|File access "
              "denied|Read beyond end of file|Disk full|Disk full|Out of memory|Out of "
              "memory|I/O error 87|");
    EXPECT_EQ(ReadFile(readOnly), "old");
    SetFileAttributesW(FsPath(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A reader's position is its own: reads at an offset leave it alone.
TEST(WindowsFiles, ReadsAtAnOffsetLeaveThePositionAlone) {
    TempDir dir;
    const auto f = RealFileSystem().openRead(dir.write("f", "abcdef"));
    char two[2], three[3];
    ASSERT_TRUE(f->read(two, 2) == 2 && f->readAt(three, 3, 3) == 3 && three[0] == 'd');
    EXPECT_EQ(f->read(three, 3), 3u);
    EXPECT_EQ(std::string(two, 2) + std::string(three, 3), "abcde");
}

// A replaced file keeps its attributes; a target others hold open, shared
// for deletion as this program shares its files, is replaced, and one held
// without that sharing is refused after a short wait and kept as it was,
// with nothing left beside it.
TEST(WindowsFiles, ReplacingKeepsAttributesAndRespectsOthersSharing) {
    TempDir dir;
    const std::string target = dir.write("t.vxa", "old");
    ASSERT_TRUE(SetFileAttributesW(FsPath(target).c_str(), FILE_ATTRIBUTE_HIDDEN));
    HANDLE shared = Hold(target, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    Replace(target, "new");
    ASSERT_TRUE(CloseHandle(shared));
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(GetFileAttributesW(FsPath(target).c_str()) & FILE_ATTRIBUTE_HIDDEN,
              DWORD{FILE_ATTRIBUTE_HIDDEN});
    HANDLE exclusive = Hold(target, FILE_SHARE_READ);
    const DWORD start = GetTickCount();
    EXPECT_EQ(Failure([&] { Replace(target, "newer"); }), target + ": File access denied");
    ASSERT_TRUE(CloseHandle(exclusive));
    EXPECT_GE(GetTickCount() - start, 900u);
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(dir.names(), Lines{"t.vxa"});
}

// A new file is made beside its target: in the folder the path names, the
// drive's own folder for "c:x", a root with its separator.
TEST(WindowsFiles, NewFilesAreMadeInTheTargetsFolder) {
    std::string folders;
    for (const char* path : {"c:x.vxa", "c:\\x.vxa", "\\x.vxa", "d\\e/x.vxa", "x.vxa", "1:x"})
        folders += FolderOf(path) + "|";
    EXPECT_EQ(folders, "c:|c:\\|\\|d\\e|.|.|");
}

}  // namespace
}  // namespace vxa::test
