// The skin: where the window is dragged, which painted button a point hits, the layout
// tables, the hover sound once per entry, and the help commands.
#include "display/skin.h"

#include <gtest/gtest.h>

#include "app/mainform_fixture.h"
#include "commands/command_ids.h"
#include "display/help.h"
#include "display/main_menu.h"

namespace {

TEST(SkinTest, TheTitleStripDragsTheWindowExceptOnThePaintedButtonsWhoseBordersBelongToThem) {
  EXPECT_EQ(HitTest(200, 0), HitArea::Caption);
  EXPECT_EQ(HitTest(200, 27), HitArea::Caption);
  EXPECT_EQ(HitTest(200, 28), HitArea::Client);
  EXPECT_EQ(HitTest(8, 9), HitArea::Caption);  // just left of the system-menu button
  EXPECT_EQ(HitTest(24, 24), HitArea::Client);
  EXPECT_EQ(HitTest(25, 24), HitArea::Caption);

  ASSERT_TRUE(HotSpotAt(24, 24));
  EXPECT_EQ(HotSpotAt(24, 24)->Button, TitleButton::SysMenu);
  EXPECT_EQ(HotSpotAt(9, 9)->HoverKey, 15);
  EXPECT_EQ(HotSpotAt(473, 24)->Button, TitleButton::Minimize);
  EXPECT_EQ(HotSpotAt(474, 20), std::nullopt);  // the gap between the two right buttons
  EXPECT_EQ(HotSpotAt(476, 9)->Button, TitleButton::Tray);
  EXPECT_EQ(HotSpotAt(491, 25), std::nullopt);
}

// Every button and label lies inside the window and no two buttons overlap; each
// control the skin does not cover with a card sits on a colour the labels can take.
TEST(SkinTest, TheButtonsFitTheWindowWithoutOverlapAndHoverKeysAreUniqueSlots) {
  std::vector<SkinButton> all(SpeedButtons().begin(), SpeedButtons().end());
  all.insert(all.end(), ViewButtons().begin(), ViewButtons().end());
  EXPECT_EQ(all.size(), 17u);
  std::vector<bool> key_used(HoverTable::kSlots, false);
  for (const HotSpot& spot : HotSpots())
    key_used[spot.HoverKey] = true;
  std::vector<bool> glyph_used(kGlyphCount, false);
  for (size_t i = 0; i < all.size(); ++i) {
    const SkinButton& b = all[i];
    EXPECT_GE(b.Left, 0) << b.Caption;
    EXPECT_LE(b.Left + b.Width, kSkinWidth) << b.Caption;
    EXPECT_GE(b.Top, kTitleStripHeight) << b.Caption;
    EXPECT_LE(b.Top + b.Height, kSkinHeight) << b.Caption;
    ASSERT_LT(b.HoverKey, HoverTable::kSlots);
    EXPECT_FALSE(key_used[b.HoverKey]) << b.Caption;
    key_used[b.HoverKey] = true;
    EXPECT_FALSE(glyph_used[static_cast<int>(b.Picture)]) << b.Caption;
    glyph_used[static_cast<int>(b.Picture)] = true;
    EXPECT_NE(std::string(b.Caption).find('&'), std::string::npos) << b.Caption;
    for (size_t j = 0; j < i; ++j) {
      const SkinButton& o = all[j];
      const bool apart = b.Left + b.Width <= o.Left || o.Left + o.Width <= b.Left ||
                         b.Top + b.Height <= o.Top || o.Top + o.Height <= b.Top;
      EXPECT_TRUE(apart) << b.Caption << " overlaps " << o.Caption;
    }
  }
  EXPECT_EQ(SkinColorAt(200, 10), skin_color::kTitle);
  EXPECT_EQ(SkinColorAt(200, 150), skin_color::kCard);  // under the connection list
  EXPECT_EQ(SkinColorAt(100, 70), skin_color::kBody);   // behind the speed buttons
  EXPECT_EQ(SkinColorAt(20, 360), skin_color::kStatus);
}

TEST(SkinTest, HoveringMarksOneSlotAndEnteringAgainAfterLeavingCountsAnew) {
  HoverTable table;
  EXPECT_TRUE(table.Hover(0));
  EXPECT_FALSE(table.Hover(0));  // moving within the same button
  EXPECT_TRUE(table.Hovered(0));
  EXPECT_TRUE(table.Hover(5));  // onto another button
  EXPECT_FALSE(table.Hovered(0));
  table.Clear();  // onto the bitmap
  EXPECT_FALSE(table.Hovered(5));
  EXPECT_TRUE(table.Hover(5));
}

class ButtonSoundsTest : public MainformTest {
 protected:
  ButtonSoundsTest() : MainformTest("[Good]\nStepDelayMs=0\n") {}
};

TEST_F(ButtonSoundsTest, HoverSoundsOncePerEntryAndOnlyWithSoundEffectsAndTheFile) {
  Tmainform& form = Start();
  const std::string di = files_.ExeDir() + "Di.wav";
  const std::string du = files_.ExeDir() + "Du.wav";
  files_.content[di] = "RIFF";
  files_.content[du] = "RIFF";
  ButtonSounds& sounds = form.Sounds();
  sounds.Hover(0);
  sounds.Hover(0);
  sounds.ClearHover();
  sounds.Hover(0);
  sounds.PressSound();
  EXPECT_EQ(sound_.played, (std::vector<std::string>{di, di, du}));

  form.Settings().CkbSoundEffect = false;
  sounds.Hover(3);
  sounds.PressSound();
  EXPECT_EQ(sound_.played.size(), 3u);
  EXPECT_TRUE(sounds.Hovered().Hovered(3));  // the flags change all the same

  form.Settings().CkbSoundEffect = true;
  files_.Remove(di);
  sounds.Hover(4);
  EXPECT_EQ(sound_.played.size(), 3u);
}

TEST_F(ButtonSoundsTest, HelpCommandsOpenTheManualBesideTheProgramTheSiteAndTheMail) {
  Tmainform& form = Start();
  std::vector<std::optional<Command>> commands;
  for (const MenuItemSpec& item : HelpPopItems())
    commands.push_back(CommandOfId(item.Command));
  using enum Command;
  EXPECT_EQ(commands,
            (std::vector<std::optional<Command>>{HelpTopic, std::nullopt, HomePage, SendComments,
                                                 CheckNewVersion, std::nullopt, About}));
  for (Command c : {About, HelpTopic, HomePage, SendComments, Help})
    EXPECT_TRUE(form.Commands().Enabled(c));

  form.ControlClick(IDM_CONTEXT1);
  EXPECT_EQ(prompts_.warnings, std::vector<std::string>{"User manual missing,please reinstall."});
  files_.content["manual.htm"] = "<html>";  // in the working folder: not the program's
  form.ControlClick(IDM_HELP3);
  EXPECT_EQ(prompts_.warnings.size(), 2u);
  files_.content[files_.ExeDir() + "manual.htm"] = "<html>";
  form.ControlClick(IDM_HELP3);
  form.ControlClick(IDM_HOMEPAGE2);
  form.ControlClick(IDM_MAILTOAUTHOR1);
  EXPECT_EQ(shell_.opened, (std::vector<std::string>{files_.ExeDir() + "manual.htm", kHomePage,
                                                     std::string("mailto:") + kSupportMail}));
  form.ControlClick(IDM_ABOUT3);
  form.ControlClick(IDC_BTNHELP);
  EXPECT_EQ(view_.abouts_shown, 1);
  EXPECT_EQ(view_.help_popups, 1);

  EXPECT_EQ(LinkCaption("http://www.example.com/"), "www.example.com");
  EXPECT_EQ(LinkCaption("example.com"), "example.com");
}

}  // namespace
