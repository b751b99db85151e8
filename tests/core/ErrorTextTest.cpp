#include <gtest/gtest.h>

#include "core/IoError.h"

namespace vxa {
namespace {

TEST(ErrorBoxText, AppendsAFullStopAfterLettersAndDigitsOnly) {
    EXPECT_EQ(ErrorBoxText("Disk full"), "Disk full.");
    EXPECT_EQ(ErrorBoxText("I/O error 5"), "I/O error 5.");
    EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(IoErrorText(2), "File not found");
    EXPECT_EQ(IoErrorText(13), "File access denied");
    EXPECT_EQ(IoErrorText(28), "Disk full");
    EXPECT_EQ(IoErrorText(5), "I/O error 5");
}

}  // namespace
}  // namespace vxa
