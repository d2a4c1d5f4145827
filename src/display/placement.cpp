// Where the main window may stand.
#include "display/placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// How far apart two ranges are; 0 when they overlap.
int64_t Gap(int low1, int high1, int low2, int high2) {
  return std::max<int64_t>({0, int64_t{low2} - high1, int64_t{low1} - high2});
}

int64_t SquaredDistance(const ScreenRect& a, const ScreenRect& b) {
  const int64_t x = Gap(a.Left, a.Right, b.Left, b.Right);
  const int64_t y = Gap(a.Top, a.Bottom, b.Top, b.Bottom);
  return x * x + y * y;
}

bool Reachable(const ScreenRect& window, const ScreenRect& work, int strip_height, int grip) {
  const int overlap = std::min(window.Right, work.Right) - std::max(window.Left, work.Left);
  return window.Top >= work.Top && window.Top + strip_height <= work.Bottom &&
         overlap >= std::min(grip, window.Right - window.Left);
}

// Into [low, high) as far as `size` fits; the low end when it does not.
int Fit(int at, int size, int low, int high) {
  return std::max(low, std::min(at, high - size));
}

}  // namespace

ScreenPoint PlaceOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& work_areas,
                          int strip_height, int grip) {
  const ScreenPoint here{window.Left, window.Top};
  const ScreenRect* nearest = nullptr;
  int64_t nearest_distance = std::numeric_limits<int64_t>::max();
  for (const ScreenRect& work : work_areas) {
    if (Reachable(window, work, strip_height, grip))
      return here;
    const int64_t distance = SquaredDistance(window, work);
    if (distance < nearest_distance) {
      nearest = &work;
      nearest_distance = distance;
    }
  }
  if (!nearest)
    return here;
  return {Fit(window.Left, window.Right - window.Left, nearest->Left, nearest->Right),
          Fit(window.Top, window.Bottom - window.Top, nearest->Top, nearest->Bottom)};
}
