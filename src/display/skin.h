// The main window's skin as data: its size, palette and panels, the painted title
// buttons and their hot rectangles, the speed and view buttons, where the window is
// dragged, and which button sounded last. All in logical pixels (100% scaling).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

constexpr int kSkinWidth = 500;
constexpr int kSkinHeight = 380;
// The strip along the top by which the window is dragged: client y 0-27.
constexpr int kTitleStripHeight = 28;
// How much of the strip's width must show on a monitor for the user to grab it.
constexpr int kTitleStripGrip = 64;

// A rectangle whose right and bottom bounds belong to it.
struct SkinRect {
  int Left, Top, Right, Bottom;
  bool Contains(int x, int y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }
  int Width() const { return Right - Left + 1; }
  int Height() const { return Bottom - Top + 1; }
};

// Colours as 0xRRGGBB.
namespace skin_color {
constexpr uint32_t kTitle = 0x1E3A5F;      // the title strip
constexpr uint32_t kTitleText = 0xFFFFFF;  // the caption over it
constexpr uint32_t kBody = 0xEEF2F7;       // the window's face
constexpr uint32_t kCard = 0xFFFFFF;       // the panels that hold the list and read-outs
constexpr uint32_t kLine = 0xC9D3E0;       // panel borders
constexpr uint32_t kStatus = 0xDDE5EF;     // the status strip
constexpr uint32_t kAccent = 0x2F6FB3;     // glyphs, links, highlights
constexpr uint32_t kHot = 0xDCE8F6;        // a button under the mouse
constexpr uint32_t kDown = 0xBFD4EE;       // a button pressed or toggled on
constexpr uint32_t kText = 0x1F2933;       // captions
constexpr uint32_t kMuted = 0x8A97A8;      // disabled captions and glyphs
constexpr uint32_t kGo = 0x2E9E5B;         // dial, online
constexpr uint32_t kStop = 0xD64545;       // hang up, delete
}  // namespace skin_color

// A flat-coloured area of the skin, painted in table order (later ones on top).
struct SkinPanel {
  SkinRect Rect;
  uint32_t Color;
  bool Bordered;  // a one-pixel kLine border inside the rectangle
};
std::span<const SkinPanel> SkinPanels();
// The colour the skin paints at a point: labels drawn over the skin take it as their
// background.
uint32_t SkinColorAt(int x, int y);

enum class TitleButton { SysMenu, Minimize, Tray };
struct HotSpot {
  TitleButton Button;
  SkinRect Rect;
  int HoverKey;
};
std::span<const HotSpot> HotSpots();
// The painted title button at a client point, if any.
std::optional<HotSpot> HotSpotAt(int x, int y);

// The platform drags the window by the caption: the title strip outside the hot spots.
enum class HitArea { Caption, Client };
HitArea HitTest(int x, int y);

// What a button's picture shows.
enum class Glyph {
  New,
  Edit,
  Delete,
  Keep,
  Schedule,
  Action,
  HotKey,
  Option,
  Help,
  Dial,
  HangUp,
  Property,
  Default,
  ViewSpeed,
  ViewTime,
  ViewIP,
  ViewExpense,
};
constexpr int kGlyphCount = static_cast<int>(Glyph::ViewExpense) + 1;

struct SkinButton {
  int Id;  // a control id of commands/command_ids.h
  int Left, Top, Width, Height;
  const char* Caption;  // with its mnemonic
  const char* Hint;
  int HoverKey;
  Glyph Picture;
};
// The flat speed buttons (50 x 56, glyph over caption) and the four small view buttons.
std::span<const SkinButton> SpeedButtons();
std::span<const SkinButton> ViewButtons();

// Which button the mouse is over, so that its hover sound plays once per entry.
class HoverTable {
 public:
  static constexpr int kSlots = 20;

  // Marks `key` hovered and every other slot not; true when `key` was not hovered
  // before, that is when the mouse has just entered it.
  bool Hover(int key);
  void Clear() { hovered_.fill(false); }
  bool Hovered(int key) const;

 private:
  std::array<bool, kSlots> hovered_{};
};
