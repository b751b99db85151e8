#include <gtest/gtest.h>

#include "script/Summary.h"
#include "support/TempDir.h"

namespace vxa::test {
namespace {

class SummaryTest : public ::testing::Test {
  protected:
    TempDir dir;
    AppState state;
    FileSystem& fs = RealFileSystem();

    void SetUp() override {
        state.InPath = dir.write("in.vxa", "x");
        state.OutPath = dir.file("out.vxa");
    }
};

TEST_F(SummaryTest, MissingInputIsFatalAndDisablesProceed) {
    state.InPath = dir.file("gone.vxa");
    state.Replacements.append(0, dir.file("gone.wav"));
    const SummaryStatus st = SummaryOnShow(state, fs);
    EXPECT_EQ(st.lines, (std::vector<std::string>{
                            "Status:", "",
                            "Fatal error: Input file doesn't exist. This script can't be ran"}));
    EXPECT_FALSE(st.proceedEnabled);
    // Still worked out, for "Show details".
    EXPECT_FALSE(st.allFilesExist);

    state.InPath = dir.path();  // a directory is not an archive
    EXPECT_FALSE(SummaryOnShow(state, fs).proceedEnabled);
}

TEST_F(SummaryTest, MissingOutputAndMissingFiles) {
    state.OutPath.clear();
    state.Replacements.append(0, dir.write("a.wav", "a"));
    state.Replacements.append(1, dir.path());  // a directory counts as missing
    const SummaryStatus st = SummaryOnShow(state, fs);
    EXPECT_EQ(
        st.lines,
        (std::vector<std::string>{
            "Status:", "", "Input file OK", "",
            "Output file not chosen. If you click <Proceed>, you will be asked to choose it.", "",
            "Some of files that are to be replaced are missing.\r\n"
            "Click <Show details> to see details.\r\n"
            "If you click <Proceed>, missing files will be skipped.",
            "", "Click <Show details> to see details"}));
    EXPECT_TRUE(st.proceedEnabled);
    EXPECT_FALSE(st.allFilesExist);
}

TEST_F(SummaryTest, DetailsMarkMissingFilesWithAsterisks) {
    const std::string present = dir.write("a.wav", "a");
    state.Replacements.append(0, present);
    state.Replacements.append(41, dir.file("gone.wav"));
    state.Replacements.append(-5, present);  // an index no archive has is listed all the same
    state.Replacements.append(2147483647, present);
    EXPECT_EQ(SummaryDetails(state, fs, false),
              (std::vector<std::string>{
                  "Files that are to be replaced:", "", "Missing files are marked with asterisks",
                  "", "file 1 --> " + present, "* file 42 --> " + dir.file("gone.wav"),
                  "file -4 --> " + present, "file 2147483648 --> " + present}));
    // The files are looked at anew each time the details are shown.
    std::remove(present.c_str());
    EXPECT_EQ(SummaryDetails(state, fs, false)[4], "* file 1 --> " + present);
}

}  // namespace
}  // namespace vxa::test
