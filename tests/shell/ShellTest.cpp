#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

#include "core/IoError.h"
#include "support/FakeView.h"
#include "support/TempDir.h"
#include "ui/Dispatch.h"
#include "ui/FormCreate.h"

namespace vxa::test {
namespace {

class DispatchTest : public ::testing::Test {
  protected:
    Harness h;
    int afterCalls = 0;
    Dispatcher dispatch{h.ctx, [this] { ++afterCalls; }};
};

TEST_F(DispatchTest, ErrorsLeavingAHandlerReachTheErrorBoxAndTheProgramGoesOn) {
    EXPECT_TRUE(dispatch.run(HandlerKind::Command, [] { throw IoError(kAccessDenied); }));
    EXPECT_TRUE(dispatch.run(HandlerKind::Command, [] { throw std::bad_alloc(); }));
    EXPECT_TRUE(
        dispatch.run(HandlerKind::Command, [] { throw std::length_error("vector too long"); }));
    EXPECT_EQ(h.view.logged("ioerror"),
              (std::vector<std::string>{"ioerror File access denied", "ioerror Out of memory",
                                        "ioerror vector too long"}));
    EXPECT_EQ(afterCalls, 3);
    bool ran = false;
    dispatch.run(HandlerKind::Command, [&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(DispatchTest, OnlyStopRunsWhileALoadRuns) {
    h.state.Loading = true;
    bool command = false;
    bool stop = false;
    EXPECT_FALSE(dispatch.run(HandlerKind::Command, [&] { command = true; }));
    EXPECT_TRUE(dispatch.run(HandlerKind::Stop, [&] { stop = true; }));
    EXPECT_FALSE(command);
    EXPECT_TRUE(stop);
}

TEST_F(DispatchTest, TheAfterStepRunsOnceTheOutermostHandlerReturns) {
    int seenInside = -1;
    dispatch.run(HandlerKind::Command, [&] {
        h.state.Loading = true;                  // a load hands events to the toolkit...
        dispatch.run(HandlerKind::Stop, [] {});  // ...and Stop is clicked
        seenInside = afterCalls;
        h.state.Loading = false;
    });
    EXPECT_EQ(seenInside, 0);
    EXPECT_EQ(afterCalls, 1);
}

// The start cells themselves are checked in the window's own test.
TEST(FormCreateTest, WritesTheStartCellsInOneUpdateAndListsTheDirectory) {
    Harness h;
    FormCreate(h.ctx, "/home/ann/games");
    EXPECT_EQ(h.view.rowCount(), 5);
    EXPECT_EQ(h.view.gridUpdates, 1);
    EXPECT_EQ(h.view.gridUpdateDepth, 0);
    EXPECT_EQ(h.state.BrowserDir, "/home/ann/games");
}

TEST(FormCreateTest, CurrentDirectoryHasNoTrailingSlashAndTheRootIsEmpty) {
    const auto before = std::filesystem::current_path();
    TempDir dir;
    std::filesystem::current_path(dir.path());
    const std::string inDir = CurrentDirectory();
    std::filesystem::current_path("/");
    const std::string atRoot = CurrentDirectory();
    std::filesystem::current_path(before);
    EXPECT_EQ(inDir, std::filesystem::canonical(dir.path()).string());
    EXPECT_EQ(atRoot, "");
}

}  // namespace
}  // namespace vxa::test
