// The skin's layout tables and the rules that read them.
#include "display/skin.h"

#include "commands/command_ids.h"

namespace {

using namespace skin_color;

constexpr SkinPanel kPanels[] = {
    {{0, 0, kSkinWidth - 1, kSkinHeight - 1}, kBody, false},
    {{0, 0, kSkinWidth - 1, kTitleStripHeight - 1}, kTitle, false},
    {{7, 97, 437, 262}, kCard, true},   // the connection list
    {{7, 265, 437, 344}, kCard, true},  // the read-outs, the online label, the histogram
    {{0, 348, kSkinWidth - 1, kSkinHeight - 1}, kStatus, false},
};

constexpr HotSpot kHotSpots[] = {
    {TitleButton::SysMenu, {9, 9, 24, 24}, 15},
    {TitleButton::Minimize, {458, 9, 473, 24}, 16},
    {TitleButton::Tray, {476, 9, 491, 24}, 17},
};

constexpr SkinButton kSpeedButtons[] = {
    {IDC_BTNNEW, 9, 36, 50, 56, "&New", "Create new account", 0, Glyph::New},
    {IDC_BTNEDIT, 63, 36, 50, 56, "&Edit", "Edit selected connection", 1, Glyph::Edit},
    {IDC_BTNDELETE, 117, 36, 50, 56, "De&lete", "Delete selected connection", 2, Glyph::Delete},
    {IDC_BTNKEEP, 171, 36, 50, 56, "&Keep", "Keep connection", 3, Glyph::Keep},
    {IDC_BTNSCHEDULE, 225, 36, 50, 56, "&Schedule", "Customize schedule", 18, Glyph::Schedule},
    {IDC_BTNACTION, 279, 36, 50, 56, "&Action", "Customize action", 19, Glyph::Action},
    {IDC_BTNHOTKEY, 333, 36, 50, 56, "Hot&Key", "HotKey", 6, Glyph::HotKey},
    {IDC_BTNOPTION, 387, 36, 50, 56, "&Option", "Option", 4, Glyph::Option},
    {IDC_BTNHELP, 441, 36, 50, 56, "&Help", "Help", 5, Glyph::Help},
    {IDC_BTNDIAL, 441, 102, 50, 56, "&Dial", "Dial", 7, Glyph::Dial},
    {IDC_BTNHANGUP, 441, 163, 50, 56, "Hang &Up", "Hang Up", 8, Glyph::HangUp},
    {IDC_BTNPROPERTY, 441, 223, 50, 56, "&Property", "Propertiy", 9, Glyph::Property},
    {IDC_BTNDEFAULT, 441, 284, 50, 56, "De&fault", "Set as default connection", 10, Glyph::Default},
};

// Too small for a caption: the caption stays for mnemonics and screen readers.
constexpr SkinButton kViewButtons[] = {
    {IDC_BTNVIEWSPEED, 12, 268, 24, 24, "S&peed", "View Speed", 12, Glyph::ViewSpeed},
    {IDC_BTNVIEWTIME, 39, 268, 24, 24, "&Time", "View Time", 11, Glyph::ViewTime},
    {IDC_BTNVIEWEXPENSE, 67, 268, 24, 24, "E&xpense", "View Expense", 14, Glyph::ViewExpense},
    {IDC_BTNVIEWIP, 94, 268, 24, 24, "&IP", "View IP & Connection Speed", 13, Glyph::ViewIP},
};

}  // namespace

std::span<const SkinPanel> SkinPanels() {
  return kPanels;
}

uint32_t SkinColorAt(int x, int y) {
  uint32_t color = kBody;
  for (const SkinPanel& panel : kPanels) {
    if (panel.Rect.Contains(x, y))
      color = panel.Color;
  }
  return color;
}

std::span<const HotSpot> HotSpots() {
  return kHotSpots;
}

std::optional<HotSpot> HotSpotAt(int x, int y) {
  for (const HotSpot& spot : kHotSpots) {
    if (spot.Rect.Contains(x, y))
      return spot;
  }
  return std::nullopt;
}

HitArea HitTest(int x, int y) {
  return y < kTitleStripHeight && !HotSpotAt(x, y) ? HitArea::Caption : HitArea::Client;
}

std::span<const SkinButton> SpeedButtons() {
  return kSpeedButtons;
}

std::span<const SkinButton> ViewButtons() {
  return kViewButtons;
}

bool HoverTable::Hover(int key) {
  bool entered = false;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (slot != key) {
      hovered_[slot] = false;
    } else if (!hovered_[slot]) {
      hovered_[slot] = true;
      entered = true;
    }
  }
  return entered;
}

bool HoverTable::Hovered(int key) const {
  return key >= 0 && key < kSlots && hovered_[key];
}
