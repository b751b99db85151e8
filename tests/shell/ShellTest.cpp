// The window's toolkit-free logic: the handler dispatch, and the browser
// pane's listing and navigation on temporary folders.

#include <new>
#include <stdexcept>

#include "core/io/DirStyle.h"
#include "core/io/IoError.h"
#include "support/Suite.h"
#include "ui/Browser.h"
#include "ui/BrowserListing.h"
#include "ui/Dispatch.h"
#include "ui/FormCreate.h"

namespace vxa::test {
namespace {

namespace fs = std::filesystem;

// At start the grid shows its heading and "No file loaded", and the browser
// the folder the program started in.
TEST(StartTest, TheStartGridAndTheStartFolder) {
    TempDir dir;
    Harness h;
    FormCreate(h.ctx, dir.path());
    EXPECT_EQ(h.view.row(0) + " " + h.view.row(1) + " " + h.view.row(4),
              "Nr|Offset|Orig. size|Packed size|C/T|Replace with ******|No|file|loaded|******| "
              "||version:|1.0|beta|");
    EXPECT_EQ(h.state.BrowserDir, BrowserDirOf(dir.path()));  // a drive letter in lower case
}

TEST(DispatchTest, WhateverAHandlerThrowsReachesTheErrorBox) {
    Harness h;
    Dispatcher dispatch{h.ctx, {}};
    dispatch.run(HandlerKind::Command, [] { throw IoError(kAccessDenied); });
    dispatch.run(HandlerKind::Command, [] { throw std::bad_alloc(); });
    dispatch.run(HandlerKind::Command, [] { throw std::length_error("too long"); });
    EXPECT_EQ(h.view.messages,
              (std::vector<std::string>{"File access denied.", "Out of memory.", "too long."}));
}

// Symbolic links and a root of "/": the browser's Windows roots are drives.
#ifndef _WIN32
TEST(BrowserTest, ListsWhatAFolderHoldsGoesUpToTheRootAndDropsWhatVanished) {
    TempDir dir;
    Harness h;
    const auto shown = [&] {  // the items as "caption:picture", and the path line
        std::string out;
        for (const auto& item : h.view.browserItems)
            out += item.Caption + ":" + std::to_string(item.Picture) + " ";
        return out + h.view.pathText;
    };
    // Folders first, links to folders among them; pictures by extension.
    for (const char* name : {"data", ".git", ".wa"})
        fs::create_directory(dir.file(name));
    for (const char* name : {"b.wav", "x.tar.zqa", ".pal", "loud.WAV", "y.wav.tar", "s.wav"})
        dir.write(name, "");
    fs::create_directory_symlink(dir.file("data"), dir.file("link"));
    fs::create_symlink(dir.file("nowhere"), dir.file("broken.voc"));
    FillBrowser(h.ctx, dir.path() + "/");
    EXPECT_EQ(shown(),
              "[..]:0 [.git]:0 [.wa]:0 [data]:0 [link]:0 .pal:3 b.wav:8 broken.voc:9 "
              "loud.WAV:1 s.wav:8 x.tar.zqa:2 y.wav.tar:1 " +
                  dir.path() + "/");
    // A file gone since is dropped, not opened as a folder ".wa".
    fs::remove(dir.file("s.wav"));
    h.view.browserSelection = "s.wav";  // double clicked
    List1DblClick(h.ctx);
    EXPECT_EQ(shown().find("s.wav"), std::string::npos);
    EXPECT_EQ(h.state.BrowserDir, dir.path());
    // What cannot be listed shows empty, without a box.
    FillBrowser(h.ctx, dir.file("gone"));
    EXPECT_EQ(shown(), dir.file("gone/"));
    EXPECT_TRUE(h.view.log.empty());
    // The root is the empty path, whatever its form; it has no "[..]".
    for (const char* top : {"/tmp", "/tmp/.."}) {
        DriveComboBox1Change(h.ctx, top);
        h.view.browserSelection = "[..]";
        List1DblClick(h.ctx);
        EXPECT_EQ(h.state.BrowserDir + h.view.pathText, "/") << top;
        EXPECT_EQ(shown().find("[..]"), std::string::npos);
    }
}
#endif

#ifdef _WIN32
// Windows's counterpart of the root above: a drive's, named "c:" however
// it is given, shown as "c:\", the top of "[..]" and without one itself.
TEST(BrowserTest, ADriveRootIsTheTopOnWindows) {
    Harness h;
    FillBrowser(h.ctx, "C:/windows/../windows/");
    EXPECT_EQ(h.state.BrowserDir + " " + h.view.pathText, "c:\\windows c:\\windows\\");
    h.view.browserSelection = "[..]";
    List1DblClick(h.ctx);
    EXPECT_EQ(h.state.BrowserDir + " " + h.view.pathText, "c: c:\\");
    ASSERT_FALSE(h.view.browserItems.empty());
    EXPECT_NE(h.view.browserItems.front().Caption, "[..]");
    // Only a letter and a colon make a drive.
    std::string roots;
    for (const char* dir : {"c:", "Z:\\x", "1:", "ab", "c"})
        roots += std::to_string(DirRootLength(dir));
    EXPECT_EQ(roots, "22000");
}
#endif

}  // namespace
}  // namespace vxa::test
