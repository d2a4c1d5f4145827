// Where the main window may stand: somewhere the user can reach its title strip, whatever
// position was saved and whichever monitors are attached now.
#pragma once

#include <vector>

// A rectangle in screen pixels, right and bottom excluded.
struct ScreenRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct ScreenPoint {
  int X = 0, Y = 0;
};

// The window's top-left corner so that the user can reach it on `work_areas` (the
// monitors' work areas). A window whose title strip (`strip_height` pixels high) lies on a
// work area with at least `grip` pixels of its width stays where it is. Any other (off
// every monitor, or on one no longer attached) is moved, keeping its size, into the work
// area nearest to it, as far as it fits, its top-left corner first. Without work areas it
// stays.
ScreenPoint PlaceOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& work_areas,
                          int strip_height, int grip);
