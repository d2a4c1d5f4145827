// The program's options, each under the name of its registry value.
#pragma once

#include <cstdint>
#include <string>

// The range of a number of seconds or minutes the program turns into a timer's interval:
// the Options dialog's up-down never leaves it, and loading brings a stored value into it.
struct UpDownRange {
  int32_t Min, Max;
};
inline constexpr UpDownRange kWaitTimeRange{3, 999};       // UdWaitTime, seconds
inline constexpr UpDownRange kRedialAfterRange{1, 999};    // UdRedialAfter, seconds
inline constexpr UpDownRange kPingSrvRange{1, 100};        // UdPingSrv, minutes
inline constexpr UpDownRange kStopAfterRange{0, 999};      // UdStopAfterFailures, attempts
inline constexpr UpDownRange kDeadLineEchoesRange{1, 20};  // UdDeadLineEchoes, echoes
inline constexpr UpDownRange kResumeSettleRange{1, 300};   // UdResumeSettle, seconds
inline constexpr UpDownRange kPatientRetryRange{1, 1440};  // UdPatientRetryMinutes

// A value-initialised record holds every default. The one default that depends on the
// keyboard layout, HotKey_Dial ("Alt+`"), is set here as a US layout reads it;
// SetDefaultSettings (settings_store.h) resolves it through the actual layout.
//
// Hotkeys are shortcut codes: virtual key in the low 13 bits, 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt; 0 is no shortcut. ConnPWD is the plain password; only the stored copy is
// encoded.
struct AppSettings {
  int32_t Left = 200;
  int32_t Top = 200;
  bool WindowMax = false;
  bool KeepConnection = false;
  std::string Language = "English";
  int32_t ViewMode = 0;
  bool CkbRunOnStartup = false;
  bool CkbWriteLogs = true;
  bool CkbMinSpeed = false;
  int32_t CbMinSpeed = 7;
  bool CkbSetPWD = false;
  std::string ConnPWD;
  bool CkbAutoDial = false;
  bool CkbPingSrv = false;
  int32_t UdPingSrv = 1;
  bool CkbCopyIP = false;
  int32_t RgCopyIP = 0;
  bool CkbKeepConnection = false;
  int32_t UdWaitTime = 80;
  int32_t UdRedialAfter = 3;
  bool CkbConnectOnStartup = false;
  int32_t RgConnectOnStartup = 0;
  bool CkbMinToTray = false;
  bool CkbAlwaysOnTop = false;
  bool CkbSoundEffect = true;
  bool CkbAutoUpdate = false;
  bool CkbEnableHotKeyDial = false;
  uint16_t HotKey_Dial = 0x80C0;
  bool CkbEnableHotKeyHangup = false;
  uint16_t HotKey_Hangup = 0x8031;
  bool CkbEnableHotKeyRedial = false;
  uint16_t HotKey_Redial = 0x8032;
  bool CkbEnableHotKeyKeep = false;
  uint16_t HotKey_Keep = 0x8033;
  bool CkbShowMainWhenHotkey = true;
  bool CkbEnableAllSchedules = false;
  bool CkbEnableAllActions = false;
  int32_t HisRecvMax = 10240;
  int32_t HisSentMax = 10240;
  int32_t DataRateOf = 0;
  bool EnableConnectSound = true;
  std::string ConnectSoundFile;
  bool EnableDisconnectSound = true;
  std::string DisconnectSoundFile;
  bool EnableErrorSound = true;
  std::string ErrorSoundFile;
  // How redials after failed attempts go; all off by default, so redials go on as they
  // always did.
  int32_t UdStopAfterFailures = 0;  // failed attempts in a row; 0: never stop
  bool CkbStopOnRefusal = false;
  bool CkbLongerWait = false;
  bool CkbNextNumberWhenBusy = false;
  // One log line for each session's end: why, and how long it lasted.
  bool CkbDetailedLog = false;
  // Watching the line; all off by default.
  bool CkbDeadLine = false;  // hang up a line whose keep-alive echoes go unanswered
  int32_t UdDeadLineEchoes = 3;
  bool CkbResumeCheck = false;   // end the session at a sleep, check the line on waking
  int32_t UdResumeSettle = 5;    // seconds for the modem to return before Keep redials
  bool CkbPatientRetry = false;  // after redialing stopped, try again every so often
  bool CkbNotices = false;  // a tray notice when the line drops, comes back or redialing gives up
  int32_t UdPatientRetryMinutes = 15;

  bool operator==(const AppSettings&) const = default;
};
