// Where the main window opens: on a screen, wherever it was stored.
#include "platform/widgets/WindowPlace.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

// Two screens side by side, the primary on the left, each less a 30-pixel panel at its foot.
const QRect Primary(0, 0, 1920, 1050);
const QRect Second(1920, 0, 1280, 994);
const QList<QRect> Screens{Primary, Second};
constexpr int TitleBar = 21;

QPoint placed(QPoint at) {
    return placeOnScreen(QRect(at, QSize(61, 213)), TitleBar, Screens, Primary);
}

TEST(WindowPlaceTest, APlaceWhoseTitleBarIsOnAScreenIsKept) {
    EXPECT_EQ(placed({192, 0}), QPoint(192, 0));       // the first start's default
    EXPECT_EQ(placed({2500, 300}), QPoint(2500, 300)); // on the second screen
    // Partly off a screen, with enough of the title bar left to take it.
    EXPECT_EQ(placed({1880, 900}), QPoint(1880, 900));
    EXPECT_EQ(placed({-15, 500}), QPoint(-15, 500));
}

TEST(WindowPlaceTest, APlaceOffEveryScreenOpensAtTheNearestPlaceOnThePrimaryScreen) {
    // The title bar above the screen: what a window manager's own placement was written as.
    EXPECT_EQ(placed({-1, -20}), QPoint(0, 0));
    EXPECT_EQ(placed({-400, 300}), QPoint(0, 300));          // off to the left
    EXPECT_EQ(placed({700, -5000}), QPoint(700, 0));         // off the top
    EXPECT_EQ(placed({4000, 200}), QPoint(1920 - 61, 200));  // right of the second screen
    EXPECT_EQ(placed({300, 1040}), QPoint(300, 1050 - 213)); // on the primary's panel
    // Below the second screen, which is shorter than the primary: not on any screen.
    EXPECT_EQ(placed({2500, 1000}), QPoint(1920 - 61, 1050 - 213));
}

TEST(WindowPlaceTest, AWindowLargerThanThePrimaryScreenOpensAtItsCorner) {
    EXPECT_EQ(placeOnScreen(QRect(-50, -50, 3000, 2000), TitleBar, {Primary}, Primary),
              QPoint(0, 0));
}

} // namespace
} // namespace kelvor
