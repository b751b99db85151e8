#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/FakeView.h"
#include "support/TempDir.h"
#include "ui/Browser.h"
#include "ui/BrowserListing.h"

namespace vxa::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Captions(const std::vector<BrowserItem>& items) {
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.caption);
    return out;
}

class BrowserTest : public ::testing::Test {
  protected:
    TempDir dir;
    Harness h;

    void open(const std::string& caption) {
        h.view.browserSelection = caption;
        List1DblClick(h.ctx);
    }
    bool listed(const std::string& caption) const {
        for (const auto& item : h.view.browserItems) {
            if (item.caption == caption)
                return true;
        }
        return false;
    }
};

TEST_F(BrowserTest, ListsTheExampleFolderInOrderWithItsPictures) {
    fs::create_directory(dir.file("data"));
    dir.write("b.wav", "");
    dir.write("A.PAL", "");
    dir.write("c.zqa", "");
    FillBrowser(h.ctx, dir.path());
    EXPECT_EQ(h.state.BrowserDir, dir.path());
    EXPECT_EQ(h.view.pathText, dir.path() + "/");
    EXPECT_EQ(h.view.browserItems,
              (std::vector<BrowserItem>{
                  {"[..]", 0}, {"[data]", 0}, {"A.PAL", 1}, {"b.wav", 8}, {"c.zqa", 2}}));
    EXPECT_TRUE(h.view.messages.empty());
}

TEST(BrowserPictures, EachKnownExtensionHasItsOwnPictureMatchedExactly) {
    const std::vector<std::string> known{".zqa", ".pal", ".zqb", ".zqc", ".zqd", ".zqe",
                                         ".wav", ".voc", ".smk", ".xmi", ".zqf"};
    for (std::size_t i = 0; i < known.size(); ++i) {
        EXPECT_EQ(FilePicture("f" + known[i]), static_cast<int>(i) + 2) << known[i];
    }
    EXPECT_EQ(FilePicture("x.tar.wav"), 8);
    EXPECT_EQ(FilePicture("x.wav.tar"), 1);
    EXPECT_EQ(FilePicture(".pal"), 3);
    EXPECT_EQ(FilePicture("readme"), 1);
    EXPECT_EQ(FilePicture("name."), 1);
    EXPECT_EQ(FilePicture("loud.WAV"), 1);
    EXPECT_EQ(FilePicture("loud.Wav"), 1);
    EXPECT_EQ(FilePicture("loud.wav "), 1);
}

TEST_F(BrowserTest, HiddenEntriesAreListedAndDirectoriesLeadTheList) {
    for (const char* d : {".git", "Zed"})
        fs::create_directory(dir.file(d));
    for (const char* f : {".profile", "_under", "Ab", "aB"})
        dir.write(f, "");
    FillBrowser(h.ctx, dir.path());
    EXPECT_EQ(
        Captions(h.view.browserItems),
        (std::vector<std::string>{"[..]", "[.git]", "[Zed]", ".profile", "Ab", "_under", "aB"}));
}

TEST_F(BrowserTest, NavigatesDownUpAndToTheRoot) {
    fs::create_directory(dir.file("data"));
    dir.write("data/f.voc", "");
    FillBrowser(h.ctx, dir.path());
    open("[data]");
    EXPECT_EQ(h.state.BrowserDir, dir.file("data"));
    EXPECT_EQ(h.view.pathText, dir.file("data") + "/");
    EXPECT_EQ(h.view.browserItems, (std::vector<BrowserItem>{{"[..]", 0}, {"f.voc", 9}}));
    open("[..]");
    EXPECT_EQ(h.state.BrowserDir, dir.path());

    // Up to the root, one level at a time: the root is the empty string.
    for (std::size_t guard = 0; !h.state.BrowserDir.empty() && guard < 64; ++guard) {
        const std::string was = h.state.BrowserDir;
        open("[..]");
        EXPECT_EQ(h.state.BrowserDir, was.substr(0, was.rfind('/')));
    }
    EXPECT_EQ(h.state.BrowserDir, "");
    EXPECT_EQ(h.view.pathText, "/");
    EXPECT_FALSE(listed("[..]"));
    EXPECT_TRUE(listed("[tmp]") || listed("[usr]"));
}

TEST_F(BrowserTest, RootFormsAreListedAsTheEmptyDirectory) {
    for (const char* root : {"/", "//", "/tmp/.."}) {
        DriveComboBox1Change(h.ctx, root);
        EXPECT_EQ(h.state.BrowserDir, "") << root;
        EXPECT_EQ(h.view.pathText, "/") << root;
        EXPECT_FALSE(listed("[..]")) << root;
    }
    DriveComboBox1Change(h.ctx, dir.path() + "/");
    EXPECT_EQ(h.state.BrowserDir, dir.path());
    EXPECT_TRUE(listed("[..]"));
}

TEST_F(BrowserTest, AFolderThatCannotBeListedShowsEmptyWithoutAMessage) {
    dir.write("file", "");
    for (const std::string& missing : {dir.file("gone"), dir.file("file")}) {
        FillBrowser(h.ctx, missing);
        EXPECT_EQ(h.state.BrowserDir, missing);
        EXPECT_EQ(h.view.pathText, missing + "/");
        EXPECT_TRUE(h.view.browserItems.empty());
    }
    EXPECT_TRUE(h.view.log.empty());
}

TEST_F(BrowserTest, LinksToFoldersAreFoldersAndBrokenLinksAreFiles) {
    fs::create_directory(dir.file("real"));
    fs::create_directory_symlink(dir.file("real"), dir.file("link"));
    fs::create_symlink(dir.file("nowhere"), dir.file("broken.wav"));
    FillBrowser(h.ctx, dir.path());
    EXPECT_EQ(
        h.view.browserItems,
        (std::vector<BrowserItem>{{"[..]", 0}, {"[link]", 0}, {"[real]", 0}, {"broken.wav", 8}}));
}

TEST_F(BrowserTest, AFileThatVanishedIsDroppedFromTheListNotOpenedAsAFolder) {
    const std::string wav = dir.write("s.wav", "S");
    fs::create_directory(dir.file(".wa"));  // what "s.wav" minus its ends would name
    FillBrowser(h.ctx, dir.path());
    ASSERT_TRUE(listed("s.wav"));
    fs::remove(wav);
    open("s.wav");
    EXPECT_EQ(h.state.BrowserDir, dir.path());
    EXPECT_FALSE(listed("s.wav"));
    EXPECT_TRUE(listed("[.wa]"));
}

TEST_F(BrowserTest, ARelativeFolderIsShownWithItsFullPath) {
    const fs::path was = fs::current_path();
    fs::create_directory(dir.file("data"));
    fs::current_path(dir.path());
    FillBrowser(h.ctx, "data/./");
    fs::current_path(was);
    EXPECT_EQ(h.state.BrowserDir, dir.file("data"));
}

}  // namespace
}  // namespace vxa::test
