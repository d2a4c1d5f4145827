// The Options dialog's rules: its controls' state, the settings they show and store, which
// controls are enabled, and what the sound rows' Browse and Play buttons do.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/prompts.h"
#include "platform/sound.h"
#include "settings/app_settings.h"

// The histogram scale's up-down; the other up-downs' ranges are the settings' own
// (app_settings.h).
inline constexpr UpDownRange kScaleRange{1, 9999};

// The histogram scale's unit: the up-down counts kilobytes per second.
inline constexpr int32_t kScaleUnit = 1024;

// The texts of the minimum-speed list, in bits per second.
std::vector<std::string> MinSpeedItems();
// The speed the list item `index` stands for; with no item chosen (or an index outside
// the list) the line is held to 36000 bps.
uint32_t MinimumSpeedThreshold(int32_t index);

// One row of the "Sound alert" group; its Browse and Play buttons carry the row's tag.
struct SoundRowControls {
  bool Checked = false;
  std::string File;
  bool operator==(const SoundRowControls&) const = default;
};
inline constexpr int kConnectSoundTag = 1;
inline constexpr int kDisconnectSoundTag = 2;
inline constexpr int kErrorSoundTag = 3;

// What the controls of the four pages hold. A radio group or a list holds the index of
// its checked button or chosen item, -1 for none; an up-down holds its position.
struct OptionControls {
  // General
  bool CkbMinToTray = false;
  bool CkbAlwaysOnTop = false;
  bool CkbCopyIP = false;
  int32_t RgCopyIP = -1;
  bool CkbSetPWD = false;
  bool CkbWriteLogs = false;
  bool CkbRunOnStartup = false;
  bool CkbAutoUpdate = false;
  bool CkbDetailedLog = false;
  // Connection
  bool CkbMinSpeed = false;
  int32_t CbMinSpeed = -1;
  bool CkbAutoDial = false;
  bool CkbConnectOnStartup = false;
  int32_t RgConnectOnStartup = -1;
  bool CkbKeepConnection = false;
  int32_t UdWaitTime = kWaitTimeRange.Min;
  int32_t UdRedialAfter = kRedialAfterRange.Min;
  bool CkbPingSrv = false;
  int32_t UdPingSrv = kPingSrvRange.Min;
  int32_t UdStopAfterFailures = kStopAfterRange.Min;
  bool CkbStopOnRefusal = false;
  bool CkbLongerWait = false;
  bool CkbNextNumberWhenBusy = false;
  // Line watch
  bool CkbDeadLine = false;
  int32_t UdDeadLineEchoes = kDeadLineEchoesRange.Min;
  bool CkbResumeCheck = false;
  int32_t UdResumeSettle = kResumeSettleRange.Min;
  bool CkbPatientRetry = false;
  int32_t UdPatientRetryMinutes = kPatientRetryRange.Min;
  bool CkbNotices = false;
  // Graph & Sound, the sound rows in tag order
  std::array<SoundRowControls, 3> Sounds;
  int32_t UdScale = kScaleRange.Min;
  int32_t DataRateOf = -1;  // RbTotalRates, RbReceivingRates, RbSendingRates
  bool CkbSoundEffect = false;

  bool operator==(const OptionControls&) const = default;
};

// Which controls the check boxes leave enabled; the rest always are.
struct OptionEnables {
  bool CbMinSpeed = false;
  bool BtnSetPWD = false;
  bool EdPingSrv = false;
  bool RgCopyIP = false;  // the group and its buttons
  bool RgConnectOnStartup = false;
  bool CkbDeadLine = false;  // the watch needs the keep-alive's echoes
  bool EdDeadLineEchoes = false;
  bool EdResumeSettle = false;
  bool EdPatientRetry = false;
  std::array<bool, 3> SoundRows{};  // each row's edit, Browse and Play
};

// The dialog's state lives here for the program's run, as the dialog's controls would:
// a radio group whose setting is none of its values keeps the button it last showed.
class TOptionForm {
 public:
  TOptionForm(Files& files, Sound& sound, Prompts& prompts);
  // A portable copy (settings in portable.ini).
  bool Portable() const { return files_.Portable(); }

  // Every control from its setting: up-downs clamped to their range, a list index outside
  // the list as no item, the scale in whole kilobytes. An empty sound file is offered as
  // "connect.wav", "disconnect.wav" or "error.wav" beside the executable when that exists.
  void ShowSettings(const AppSettings& settings);
  OptionEnables UpdateOptionControls() const;
  // Every setting from its control, ConnPWD from PendingPassword. A radio group with no
  // button checked leaves its setting alone; sound files are taken as typed.
  void StoreSettings(AppSettings& settings) const;

  // Browse of the sound row `tag`: the wave file the user picks goes into its edit.
  void BtnConnectBrowseClick(int tag);
  // Play of the sound row `tag`: its edit's file, when that is an existing wave file.
  void BtnPlayConnectSoundClick(int tag) const;

  OptionControls& Controls() { return controls_; }
  // The password the next OK stores: ConnPWD as loaded at start, or the one the password
  // dialog confirmed since, also during a visit that ended with Cancel.
  std::string& PendingPassword() { return pending_password_; }

 private:
  std::string OfferedSound(const std::string& setting, const char* name) const;

  Files& files_;
  Sound& sound_;
  Prompts& prompts_;
  OptionControls controls_;
  std::string pending_password_;
};
