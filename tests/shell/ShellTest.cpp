// The window's toolkit-free logic: the handler dispatch, the start, and the
// browser pane's listing and navigation on temporary folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

#include "core/IoError.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "ui/Browser.h"
#include "ui/Dispatch.h"
#include "ui/FormCreate.h"

namespace vxa::test {
namespace {

namespace fs = std::filesystem;

TEST(DispatchTest, ErrorsReachTheErrorBoxAndDuringALoadOnlyStopRuns) {
    Harness h;
    int after = 0;
    Dispatcher dispatch{h.ctx, [&] { ++after; }};
    dispatch.run(HandlerKind::Command, [] { throw IoError(kAccessDenied); });
    dispatch.run(HandlerKind::Command, [] { throw std::bad_alloc(); });
    dispatch.run(HandlerKind::Command, [] { throw std::length_error("too long"); });
    EXPECT_EQ(h.view.messages,
              (std::vector<std::string>{"File access denied", "Out of memory", "too long"}));
    // A load hands events to the toolkit inside its handler: only Stop runs
    // then, and the after step waits for the outermost handler.
    std::string ran;
    dispatch.run(HandlerKind::Command, [&] {
        h.state.Loading = true;
        EXPECT_FALSE(dispatch.run(HandlerKind::Command, [&] { ran += "command "; }));
        EXPECT_TRUE(dispatch.run(HandlerKind::Stop, [&] { ran += "stop "; }));
        ran += std::to_string(after);
        h.state.Loading = false;
    });
    EXPECT_EQ(ran + std::to_string(after), "stop 34");
}

TEST(FormCreateTest, WritesTheStartCellsInOneUpdateAndListsTheFolder) {
    Harness h;
    FormCreate(h.ctx, "/home/ann/games");
    EXPECT_EQ(h.view.rowCount(), 5);
    EXPECT_EQ(h.view.gridUpdates, 1);
    EXPECT_EQ(h.view.gridUpdateDepth, 0);
    EXPECT_EQ(h.state.BrowserDir, "/home/ann/games");
    const auto before = fs::current_path();
    fs::current_path("/");
    EXPECT_EQ(CurrentDirectory(), "");  // the root, as the browser names it
    fs::current_path(before);
}

class BrowserTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;

    void open(const std::string& caption) {
        h.view.browserSelection = caption;
        List1DblClick(h.ctx);
    }
    // The items as "caption:picture", and the path line.
    std::string shown() const {
        std::string out;
        for (const auto& item : h.view.browserItems)
            out += item.caption + ":" + std::to_string(item.picture) + " ";
        return out + h.view.pathText;
    }
};

TEST_F(BrowserTest, ListsFoldersFirstWithLinksHiddenEntriesAndPicturesByExtension) {
    for (const char* d : {"data", ".git"})
        fs::create_directory(dir.file(d));
    for (const char* f : {"b.wav", "x.tar.zqa", ".pal", "readme", "loud.WAV", "y.wav.tar"})
        dir.write(f, "");
    fs::create_directory_symlink(dir.file("data"), dir.file("link"));
    fs::create_symlink(dir.file("nowhere"), dir.file("broken.voc"));
    FillBrowser(h.ctx, dir.path() + "/");
    EXPECT_EQ(h.state.BrowserDir, dir.path());
    EXPECT_EQ(shown(),
              "[..]:0 [.git]:0 [data]:0 [link]:0 .pal:3 b.wav:8 broken.voc:9 loud.WAV:1 "
              "readme:1 x.tar.zqa:2 y.wav.tar:1 " +
                  dir.path() + "/");
}

TEST_F(BrowserTest, GoesDownAndUpToTheRootWhichIsTheEmptyPath) {
    fs::create_directory(dir.file("data"));
    dir.write("data/f.smk", "");
    FillBrowser(h.ctx, dir.path());
    open("[data]");
    EXPECT_EQ(shown(), "[..]:0 f.smk:10 " + dir.file("data") + "/");
    open("[..]");
    EXPECT_EQ(h.state.BrowserDir, dir.path());
    for (const char* root : {"/tmp", "//", "/tmp/.."}) {
        DriveComboBox1Change(h.ctx, root);
        if (h.state.BrowserDir == "/tmp")
            open("[..]");
        EXPECT_EQ(h.state.BrowserDir + h.view.pathText, "/") << root;
        EXPECT_NE(shown().find("[tmp]:0"), std::string::npos);
        EXPECT_EQ(shown().find("[..]"), std::string::npos);
    }
    const fs::path was = fs::current_path();
    fs::current_path(dir.path());
    FillBrowser(h.ctx, "data/./");
    fs::current_path(was);
    EXPECT_EQ(h.state.BrowserDir, dir.file("data"));
}

TEST_F(BrowserTest, WhatCannotBeListedShowsEmptyAndAVanishedFileIsNoFolder) {
    const std::string wav = dir.write("s.wav", "S");
    fs::create_directory(dir.file(".wa"));  // what "s.wav" minus its ends would name
    for (const std::string& bad : {dir.file("gone"), wav}) {
        FillBrowser(h.ctx, bad);
        EXPECT_EQ(shown(), bad + "/");
    }
    FillBrowser(h.ctx, dir.path());
    fs::remove(wav);
    open("s.wav");
    EXPECT_EQ(shown(), "[..]:0 [.wa]:0 " + dir.path() + "/");
    EXPECT_TRUE(h.view.log.empty());
}

}  // namespace
}  // namespace vxa::test
