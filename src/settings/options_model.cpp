// The Options dialog's rules.
#include "settings/options_model.h"

#include <algorithm>

namespace {

constexpr std::array<uint32_t, 11> kMinSpeeds = {1200,  2400,  4800,  9600,  14400, 19200,
                                                 24000, 36000, 38400, 57600, 115200};
constexpr uint32_t kNoSpeedChosen = 36000;
constexpr const char* kWaveFilter = "Wave file(*.wav)|*.wav";

int32_t Clamp(int32_t value, UpDownRange range) {
  return std::clamp(value, range.Min, range.Max);
}

// A radio group shows its setting only when the setting is one of its `count` values.
void ShowChoice(int32_t setting, int32_t count, int32_t& shown) {
  if (setting >= 0 && setting < count)
    shown = setting;
}

void StoreChoice(int32_t shown, int32_t& setting) {
  if (shown >= 0)
    setting = shown;
}

}  // namespace

std::vector<std::string> MinSpeedItems() {
  std::vector<std::string> items;
  for (uint32_t speed : kMinSpeeds)
    items.push_back(std::to_string(speed));
  return items;
}

uint32_t MinimumSpeedThreshold(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(kMinSpeeds.size()))
    return kNoSpeedChosen;
  return kMinSpeeds[static_cast<size_t>(index)];
}

TOptionForm::TOptionForm(Files& files, Sound& sound, Prompts& prompts)
    : files_(files), sound_(sound), prompts_(prompts) {}

void TOptionForm::ShowSettings(const AppSettings& s) {
  OptionControls& c = controls_;
  c.CkbMinToTray = s.CkbMinToTray;
  c.CkbAlwaysOnTop = s.CkbAlwaysOnTop;
  c.CkbCopyIP = s.CkbCopyIP;
  ShowChoice(s.RgCopyIP, 3, c.RgCopyIP);
  c.CkbSetPWD = s.CkbSetPWD;
  c.CkbWriteLogs = s.CkbWriteLogs;
  c.CkbRunOnStartup = s.CkbRunOnStartup;
  c.CkbAutoUpdate = s.CkbAutoUpdate;
  c.CkbDetailedLog = s.CkbDetailedLog;

  c.CkbMinSpeed = s.CkbMinSpeed;
  c.CbMinSpeed = s.CbMinSpeed >= 0 && s.CbMinSpeed < static_cast<int32_t>(kMinSpeeds.size())
                     ? s.CbMinSpeed
                     : -1;
  c.CkbAutoDial = s.CkbAutoDial;
  c.CkbConnectOnStartup = s.CkbConnectOnStartup;
  ShowChoice(s.RgConnectOnStartup, 2, c.RgConnectOnStartup);
  c.CkbKeepConnection = s.CkbKeepConnection;
  c.UdWaitTime = Clamp(s.UdWaitTime, kWaitTimeRange);
  c.UdRedialAfter = Clamp(s.UdRedialAfter, kRedialAfterRange);
  c.CkbPingSrv = s.CkbPingSrv;
  c.UdPingSrv = Clamp(s.UdPingSrv, kPingSrvRange);
  c.UdStopAfterFailures = Clamp(s.UdStopAfterFailures, kStopAfterRange);
  c.CkbStopOnRefusal = s.CkbStopOnRefusal;
  c.CkbLongerWait = s.CkbLongerWait;
  c.CkbNextNumberWhenBusy = s.CkbNextNumberWhenBusy;
  c.CkbDeadLine = s.CkbDeadLine;
  c.UdDeadLineEchoes = Clamp(s.UdDeadLineEchoes, kDeadLineEchoesRange);
  c.CkbResumeCheck = s.CkbResumeCheck;
  c.UdResumeSettle = Clamp(s.UdResumeSettle, kResumeSettleRange);
  c.CkbPatientRetry = s.CkbPatientRetry;
  c.CkbNotices = s.CkbNotices;
  c.UdPatientRetryMinutes = Clamp(s.UdPatientRetryMinutes, kPatientRetryRange);

  c.Sounds = {{{s.EnableConnectSound, OfferedSound(s.ConnectSoundFile, "connect.wav")},
               {s.EnableDisconnectSound, OfferedSound(s.DisconnectSoundFile, "disconnect.wav")},
               {s.EnableErrorSound, OfferedSound(s.ErrorSoundFile, "error.wav")}}};
  c.UdScale = Clamp(s.HisRecvMax / kScaleUnit, kScaleRange);
  ShowChoice(s.DataRateOf, 3, c.DataRateOf);
  c.CkbSoundEffect = s.CkbSoundEffect;
}

std::string TOptionForm::OfferedSound(const std::string& setting, const char* name) const {
  if (!setting.empty())
    return setting;
  const std::string beside_exe = files_.ExeDir() + name;
  return files_.Exists(beside_exe) ? beside_exe : std::string();
}

OptionEnables TOptionForm::UpdateOptionControls() const {
  const OptionControls& c = controls_;
  OptionEnables e;
  e.CbMinSpeed = c.CkbMinSpeed;
  e.BtnSetPWD = c.CkbSetPWD;
  e.EdPingSrv = c.CkbPingSrv;
  e.RgCopyIP = c.CkbCopyIP;
  e.RgConnectOnStartup = c.CkbConnectOnStartup;
  e.CkbDeadLine = c.CkbPingSrv;
  e.EdDeadLineEchoes = c.CkbPingSrv && c.CkbDeadLine;
  e.EdResumeSettle = c.CkbResumeCheck;
  e.EdPatientRetry = c.CkbPatientRetry;
  for (size_t i = 0; i < c.Sounds.size(); ++i)
    e.SoundRows[i] = c.Sounds[i].Checked;
  return e;
}

void TOptionForm::StoreSettings(AppSettings& s) const {
  const OptionControls& c = controls_;
  s.CkbMinToTray = c.CkbMinToTray;
  s.CkbAlwaysOnTop = c.CkbAlwaysOnTop;
  s.CkbCopyIP = c.CkbCopyIP;
  StoreChoice(c.RgCopyIP, s.RgCopyIP);
  s.CkbSetPWD = c.CkbSetPWD;
  s.ConnPWD = pending_password_;
  s.CkbWriteLogs = c.CkbWriteLogs;
  s.CkbRunOnStartup = c.CkbRunOnStartup;
  s.CkbAutoUpdate = c.CkbAutoUpdate;
  s.CkbDetailedLog = c.CkbDetailedLog;

  s.CkbMinSpeed = c.CkbMinSpeed;
  s.CbMinSpeed = c.CbMinSpeed;
  s.CkbAutoDial = c.CkbAutoDial;
  s.CkbConnectOnStartup = c.CkbConnectOnStartup;
  StoreChoice(c.RgConnectOnStartup, s.RgConnectOnStartup);
  s.CkbKeepConnection = c.CkbKeepConnection;
  s.UdWaitTime = Clamp(c.UdWaitTime, kWaitTimeRange);
  s.UdRedialAfter = Clamp(c.UdRedialAfter, kRedialAfterRange);
  s.CkbPingSrv = c.CkbPingSrv;
  s.UdPingSrv = Clamp(c.UdPingSrv, kPingSrvRange);
  s.UdStopAfterFailures = Clamp(c.UdStopAfterFailures, kStopAfterRange);
  s.CkbStopOnRefusal = c.CkbStopOnRefusal;
  s.CkbLongerWait = c.CkbLongerWait;
  s.CkbNextNumberWhenBusy = c.CkbNextNumberWhenBusy;
  s.CkbDeadLine = c.CkbDeadLine;
  s.UdDeadLineEchoes = Clamp(c.UdDeadLineEchoes, kDeadLineEchoesRange);
  s.CkbResumeCheck = c.CkbResumeCheck;
  s.UdResumeSettle = Clamp(c.UdResumeSettle, kResumeSettleRange);
  s.CkbPatientRetry = c.CkbPatientRetry;
  s.CkbNotices = c.CkbNotices;
  s.UdPatientRetryMinutes = Clamp(c.UdPatientRetryMinutes, kPatientRetryRange);

  s.EnableConnectSound = c.Sounds[0].Checked;
  s.ConnectSoundFile = c.Sounds[0].File;
  s.EnableDisconnectSound = c.Sounds[1].Checked;
  s.DisconnectSoundFile = c.Sounds[1].File;
  s.EnableErrorSound = c.Sounds[2].Checked;
  s.ErrorSoundFile = c.Sounds[2].File;
  s.HisRecvMax = Clamp(c.UdScale, kScaleRange) * kScaleUnit;
  StoreChoice(c.DataRateOf, s.DataRateOf);
  s.CkbSoundEffect = c.CkbSoundEffect;
}

void TOptionForm::BtnConnectBrowseClick(int tag) {
  if (const auto file = prompts_.AskOpenFile(kWaveFilter))
    controls_.Sounds.at(static_cast<size_t>(tag - 1)).File = *file;
}

void TOptionForm::BtnPlayConnectSoundClick(int tag) const {
  PlayWaveFile(sound_, files_, controls_.Sounds.at(static_cast<size_t>(tag - 1)).File);
}
