// The Options dialog's rules: settings shown and stored, the enabled controls, and the
// sound rows' Browse and Play.
#include <gtest/gtest.h>

#include "fakes/fake_app_ports.h"
#include "settings/options_model.h"

namespace {

class OptionsModelTest : public ::testing::Test {
 protected:
  FakeFiles files_;
  FakeSound sound_;
  FakePrompts prompts_;
  TOptionForm form_{files_, sound_, prompts_};
};

// Every setting the dialog edits, none at its default and all within the controls' ranges.
AppSettings EditedSettings() {
  AppSettings s;
  s.CkbMinToTray = s.CkbAlwaysOnTop = s.CkbCopyIP = s.CkbSetPWD = true;
  s.RgCopyIP = 2;
  s.ConnPWD = "secret";
  s.CkbWriteLogs = false;
  s.CkbRunOnStartup = s.CkbAutoUpdate = s.CkbMinSpeed = s.CkbAutoDial = true;
  s.CbMinSpeed = 10;
  s.CkbConnectOnStartup = s.CkbKeepConnection = s.CkbPingSrv = true;
  s.RgConnectOnStartup = 1;
  s.UdWaitTime = 999;
  s.UdRedialAfter = 7;
  s.UdPingSrv = 100;
  s.EnableConnectSound = s.EnableDisconnectSound = s.EnableErrorSound = false;
  s.ConnectSoundFile = "D:\\a.wav";
  s.DisconnectSoundFile = "D:\\b.wav";
  s.ErrorSoundFile = "D:\\c.wav";
  s.HisRecvMax = 9999 * 1024;
  s.DataRateOf = 2;
  s.CkbSoundEffect = false;
  s.CkbDeadLine = s.CkbResumeCheck = s.CkbPatientRetry = s.CkbNotices = true;
  s.UdDeadLineEchoes = 20;
  s.UdResumeSettle = 300;
  s.UdPatientRetryMinutes = 1440;
  return s;
}

TEST_F(OptionsModelTest, EverySettingGoesToItsControlAndBackUnchanged) {
  const AppSettings edited = EditedSettings();
  form_.PendingPassword() = edited.ConnPWD;
  form_.ShowSettings(edited);
  AppSettings stored;  // the defaults, so a setting that is not carried stays behind
  form_.StoreSettings(stored);
  EXPECT_EQ(stored, edited);
}

TEST_F(OptionsModelTest, ValuesOutsideTheControlsAreShownAsTheControlsCanHoldThem) {
  AppSettings s;
  s.UdWaitTime = 1;
  s.UdRedialAfter = 0;
  s.UdPingSrv = 101;
  s.HisRecvMax = 10240 + 1023;
  s.CbMinSpeed = 11;
  s.RgCopyIP = 1;
  form_.ShowSettings(s);
  s.RgCopyIP = 3;  // none of the group's values: the group keeps what it showed
  s.DataRateOf = 5;
  form_.ShowSettings(s);
  const OptionControls& c = form_.Controls();
  EXPECT_EQ(c.UdWaitTime, 3);
  EXPECT_EQ(c.UdRedialAfter, 1);
  EXPECT_EQ(c.UdPingSrv, 100);
  EXPECT_EQ(c.UdScale, 10);
  EXPECT_EQ(c.CbMinSpeed, -1);
  EXPECT_EQ(c.RgCopyIP, 1);
  EXPECT_EQ(c.DataRateOf, 0);

  form_.Controls().UdScale = 1;
  form_.Controls().DataRateOf = -1;  // nothing checked leaves the setting alone
  form_.StoreSettings(s);
  EXPECT_EQ(s.UdWaitTime, 3);
  EXPECT_EQ(s.HisRecvMax, 1024);
  EXPECT_EQ(s.CbMinSpeed, -1);
  EXPECT_EQ(s.RgCopyIP, 1);
  EXPECT_EQ(s.DataRateOf, 5);
}

TEST_F(OptionsModelTest, AnEmptySoundSettingIsOfferedTheFileBesideTheProgram) {
  files_.content["C:\\Tarvolin\\connect.wav"] = "RIFF";
  files_.content["C:\\Tarvolin\\error.wav"] = "RIFF";
  AppSettings s;
  s.ErrorSoundFile = "D:\\mine.wav";
  form_.ShowSettings(s);
  form_.StoreSettings(s);
  EXPECT_EQ(s.ConnectSoundFile, "C:\\Tarvolin\\connect.wav");
  EXPECT_EQ(s.DisconnectSoundFile, "");
  EXPECT_EQ(s.ErrorSoundFile, "D:\\mine.wav");
}

TEST_F(OptionsModelTest, EachCheckBoxEnablesOnlyTheControlsThatDependOnIt) {
  OptionEnables e = form_.UpdateOptionControls();
  EXPECT_FALSE(e.CbMinSpeed || e.BtnSetPWD || e.EdPingSrv || e.RgCopyIP || e.RgConnectOnStartup ||
               e.SoundRows[0] || e.SoundRows[1] || e.SoundRows[2]);

  OptionControls& c = form_.Controls();
  c.CkbMinSpeed = c.CkbCopyIP = true;
  c.Sounds[1].Checked = true;
  e = form_.UpdateOptionControls();
  EXPECT_TRUE(e.CbMinSpeed && e.RgCopyIP && e.SoundRows[1]);
  EXPECT_FALSE(e.BtnSetPWD || e.EdPingSrv || e.RgConnectOnStartup || e.SoundRows[0] ||
               e.SoundRows[2]);

  c = OptionControls();
  c.CkbSetPWD = c.CkbPingSrv = c.CkbConnectOnStartup = true;
  c.Sounds[2].Checked = true;
  e = form_.UpdateOptionControls();
  EXPECT_TRUE(e.BtnSetPWD && e.EdPingSrv && e.RgConnectOnStartup && e.SoundRows[2]);
  EXPECT_FALSE(e.CbMinSpeed || e.RgCopyIP || e.SoundRows[0] || e.SoundRows[1]);

  // The dead-line watch needs the keep-alive's echoes.
  EXPECT_TRUE(e.CkbDeadLine);
  EXPECT_FALSE(e.EdDeadLineEchoes || e.EdResumeSettle || e.EdPatientRetry);
  c.CkbDeadLine = c.CkbResumeCheck = true;
  e = form_.UpdateOptionControls();
  EXPECT_TRUE(e.EdDeadLineEchoes && e.EdResumeSettle);
  c.CkbPingSrv = c.CkbResumeCheck = false;
  c.CkbPatientRetry = true;
  e = form_.UpdateOptionControls();
  EXPECT_FALSE(e.CkbDeadLine || e.EdDeadLineEchoes || e.EdResumeSettle);
  EXPECT_TRUE(e.EdPatientRetry);
}

TEST_F(OptionsModelTest, BrowseAndPlayActOnTheRowOfTheirTag) {
  prompts_.file_answer = "D:\\Ring.WAV";
  form_.BtnConnectBrowseClick(kDisconnectSoundTag);
  prompts_.file_answer.reset();  // cancelled: the edit keeps its text
  form_.BtnConnectBrowseClick(kDisconnectSoundTag);
  EXPECT_EQ(prompts_.file_questions,
            (std::vector<std::string>{"Wave file(*.wav)|*.wav", "Wave file(*.wav)|*.wav"}));
  EXPECT_EQ(form_.Controls().Sounds[1].File, "D:\\Ring.WAV");
  EXPECT_EQ(form_.Controls().Sounds[0].File, "");

  files_.content["D:\\Ring.WAV"] = "RIFF";
  files_.content["D:\\notes.txt"] = "text";
  form_.Controls().Sounds[2].File = "D:\\notes.txt";
  form_.BtnPlayConnectSoundClick(kConnectSoundTag);  // empty
  form_.BtnPlayConnectSoundClick(kErrorSoundTag);    // not a wave file
  form_.Controls().Sounds[0].File = "D:\\gone.wav";
  form_.BtnPlayConnectSoundClick(kConnectSoundTag);  // missing
  form_.BtnPlayConnectSoundClick(kDisconnectSoundTag);
  EXPECT_EQ(sound_.played, (std::vector<std::string>{"D:\\Ring.WAV"}));
}

}  // namespace
