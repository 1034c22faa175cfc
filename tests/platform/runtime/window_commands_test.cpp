#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime_fixture.h"

namespace brindle {
namespace {

class ZOrder : public ::testing::Test, public RuntimeFixture {
protected:
    // The arguments of a SetWindowPos call that changes only the z-order: position and size are
    // zero and ignored through the flags.
    static std::vector<std::int64_t> ZOrderCall(WindowHandle handle, std::int32_t insertAfter) {
        return {handle, insertAfter, 0, 0, 0, 0, 3};
    }
    std::vector<std::vector<std::int64_t>> ZOrderCalls() const {
        std::vector<std::vector<std::int64_t>> result;
        for (const DeclaredCall& call : os.calls) {
            EXPECT_EQ(call.function, "SetWindowPos");
            result.push_back(call.arguments);
        }
        return result;
    }
};

TEST_F(ZOrder, TopMostLoadsTheWindowHiddenAndMovesItIntoOrOutOfTheTopmostBand) {
    probe.TopMost(TopMostState::TopMost);
    EXPECT_TRUE(probe.IsLoaded());
    EXPECT_FALSE(probe.IsVisible());
    probe.TopMost(TopMostState::Normal);
    EXPECT_EQ(ZOrderCalls(), (std::vector<std::vector<std::int64_t>>{
                                 ZOrderCall(probe.hWnd(), kInsertTopMost),
                                 ZOrderCall(probe.hWnd(), kInsertNotTopMost)}));
}

TEST_F(ZOrder, MakeTopMostAndMakeNormalLoadTheirWindowAndActOnTheHandleTheyAreGiven) {
    WindowHandle other = side.hWnd();
    probe.MakeTopMost(other);
    probe.MakeNormal(other);
    EXPECT_EQ(ZOrderCalls(),
              (std::vector<std::vector<std::int64_t>>{ZOrderCall(other, kInsertTopMost),
                                                      ZOrderCall(other, kInsertNotTopMost)}));
    // Like every public member of a window, they load the window that holds them, hidden.
    EXPECT_TRUE(probe.IsLoaded());
    EXPECT_FALSE(probe.IsVisible());
}

}  // namespace
}  // namespace brindle
