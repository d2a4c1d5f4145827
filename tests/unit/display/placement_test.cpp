// The main window is always put where the user can reach its title strip.
#include "display/placement.h"

#include <gtest/gtest.h>

namespace {

constexpr int kStrip = 28;
constexpr int kGrip = 64;

ScreenRect WindowAt(int left, int top) {
  return {left, top, left + 500, top + 380};
}

void ExpectAt(ScreenPoint point, int x, int y) {
  EXPECT_EQ(point.X, x);
  EXPECT_EQ(point.Y, y);
}

TEST(Placement, AReachableWindowStaysAnyOtherMovesIntoTheNearestWorkArea) {
  // A main monitor with the taskbar at its foot, and a second one to its right.
  const std::vector<ScreenRect> two = {{0, 0, 1280, 984}, {1280, 0, 3200, 1080}};
  ExpectAt(PlaceOnScreen(WindowAt(200, 200), two, kStrip, kGrip), 200, 200);
  ExpectAt(PlaceOnScreen(WindowAt(1000, 100), two, kStrip, kGrip), 1000, 100);  // across both
  ExpectAt(PlaceOnScreen(WindowAt(-436, 50), two, kStrip, kGrip), -436, 50);    // 64 showing
  ExpectAt(PlaceOnScreen(WindowAt(-437, 50), two, kStrip, kGrip), 0, 50);

  // Minimised as the system keeps it, and a strip under the taskbar or above the screen.
  ExpectAt(PlaceOnScreen(WindowAt(-32000, -32000), two, kStrip, kGrip), 0, 0);
  ExpectAt(PlaceOnScreen(WindowAt(300, 970), two, kStrip, kGrip), 300, 604);
  ExpectAt(PlaceOnScreen(WindowAt(300, -10), two, kStrip, kGrip), 300, 0);

  // Saved on the second monitor, which is gone now: onto the main one, nearest its edge.
  const std::vector<ScreenRect> one = {two[0]};
  ExpectAt(PlaceOnScreen(WindowAt(2500, 300), two, kStrip, kGrip), 2500, 300);
  ExpectAt(PlaceOnScreen(WindowAt(2500, 300), one, kStrip, kGrip), 780, 300);

  // A work area smaller than the window: its top-left corner, so the strip shows.
  ExpectAt(PlaceOnScreen(WindowAt(900, 700), {{0, 0, 400, 300}}, kStrip, kGrip), 0, 0);
  ExpectAt(PlaceOnScreen(WindowAt(-32000, -32000), {}, kStrip, kGrip), -32000, -32000);
}

}  // namespace
