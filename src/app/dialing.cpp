// The dialing controller: dial, redial, keep connection, hang up and the event sounds.
#include <algorithm>
#include <cctype>

#include "app/mainform.h"

namespace {

constexpr uint32_t kOnlineColor = 0x33AA33;  // RGB(51,170,51)
constexpr uint32_t kOfflineColor = 0x000000;

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

void Tmainform::Dial1Click() {
  const int selected = SelectedAccount(AccountTable);
  if (selected >= 0)
    DialUp.Entry = AccountTable[selected].EntryName;
  LastDialedEntry = DialUp.Entry;
  UserHungUp = false;
  RedialTimer->SetInterval(Settings.UdRedialAfter * 1000);
  PerformActions(PerformAt::BeforeDialing);
  StartDial();
}

void Tmainform::StartDial() {
  if (UserHungUp || Dialing)
    return;
  Dialing = true;
  DialUp.StartStatistics(true, true);
  WasConnected = false;
  WaitTimeTimer->SetInterval(Settings.UdWaitTime * 1000);
  WaitTimeTimer->SetEnabled(false);
  WaitTimeTimer->SetEnabled(true);
  LastDialedEntry = DialUp.Entry;
  LoadCurrentProfile();
  view_.SetOnlineLabel("Dialing", Online ? kOnlineColor : kOfflineColor);
  DialUp.Dial();
}

void Tmainform::DialUpDialing() {
  WriteDialLog("Connecting to " + DialUp.Entry + "...", LogKind::Message);
  ports_.ui.ProcessMessages();  // paint the status line before RAS is called
}

void Tmainform::DialUpConnect() {
  WriteDialLog("Connected", LogKind::Message);
}

void Tmainform::DialUpNotConnected(int, const std::string&) {
  WriteDialLog("Not Connected", LogKind::Message);
}

void Tmainform::DialUpAsyncEvent(int state, int error, const std::string& text) {
  if (error == 0 && state == kRasConnected) {
    Dialing = false;
    DialUp.GetIPAddresses(DialUp.ConnectionHandle());
    HandleConnected();
    WriteDialLog("Connected to server: " + DialUp.ServerIP(), LogKind::Message);
  } else if (error == 0) {
    WriteDialLog(text, LogKind::Message);
  } else if (error == static_cast<int>(kRasUserDisconnection)) {
    PerformActions(PerformAt::WhenErrorOccurs);
    WriteDialLog(text, LogKind::Error);
    Dialing = false;
    RedialTimer->SetEnabled(true);
  } else {
    WriteDialLog("Error:" + std::to_string(error) + " " + text, LogKind::Error);
    HangUpLine();
    Dialing = false;
    RedialTimer->SetEnabled(true);
    PlayEventSound(EventSound::Error);
  }
}

void Tmainform::DialUpError(int code, const std::string& message) {
  WriteDialLog("Error:" + std::to_string(code) + " " + message, LogKind::Error);
  // Nothing was started: the next Dial must work, and no redial follows a refusal.
  Dialing = false;
  WaitTimeTimer->SetEnabled(false);
}

void Tmainform::HandleConnected() {
  PerformActions(PerformAt::AfterConnected);
  RecordConnectTime();
  WasConnected = true;
  SetOnlineState(true);
  CopyIPToClipboard();
  if (Settings.CkbMinToTray)
    HideToTray();
  PlayEventSound(EventSound::Connect);
  CheckNewVersionSilently();
}

void Tmainform::HandleDisconnected() {
  SetOnlineState(false);
  if (WasConnected && Settings.CkbKeepConnection) {
    WasConnected = false;
    DialUp.Entry = LastDialedEntry;
    StartDial();
  }
  PlayEventSound(EventSound::Disconnect);
}

void Tmainform::SetOnlineState(bool on) {
  Online = on;
  if (!on) {
    PerformActions(PerformAt::WhenDisconnected);
    SaveSessionRecord();
  }
  view_.SetOnlineLabel(on ? "Online" : "Offline", on ? kOnlineColor : kOfflineColor);
}

void Tmainform::HangUp1Click() {
  WaitTimeTimer->SetEnabled(false);
  WasConnected = false;
  HangUpLine();
  SetOnlineState(false);
  UserHungUp = true;
  // RAS may send no final notification for an attempt it was still dialing.
  Dialing = false;
  WriteDialLog("Disconnected", LogKind::Message);
}

void Tmainform::HangUpLine() {
  if (DialUp.HangUp() == kHangUpTimedOut) {
    WriteDialLog("The line did not confirm the hang-up within 10 seconds.", LogKind::Error);
  }
}

void Tmainform::WaitTimeTimerTimer() {
  WaitTimeTimer->SetEnabled(false);
  TRasConnStatusA status{};
  status.dwSize = kRasConnStatusSize;
  if (ports_.ras.RasGetConnectStatusA(DialUp.ConnectionHandle(), &status) == kRasInvalidHandle) {
    // The attempt vanished without a final notification: it is no longer dialing, or
    // the redial timer would wait for it forever.
    Dialing = false;
    RedialTimer->SetEnabled(true);
  }
}

void Tmainform::RedialTimerTimer() {
  if (Dialing)
    return;  // ask again at the next tick
  RedialTimer->SetEnabled(false);
  if (!Online)
    StartDial();
}

void Tmainform::KeepConnection1Click() {
  SetKeepConnection(!Settings.CkbKeepConnection);
}

void Tmainform::SetKeepConnection(bool value) {
  view_.ShowKeepConnection(value);
  Settings.CkbKeepConnection = value;
}

void Tmainform::PlayEventSound(EventSound kind) {
  const bool enabled = kind == EventSound::Connect      ? Settings.EnableConnectSound
                       : kind == EventSound::Disconnect ? Settings.EnableDisconnectSound
                                                        : Settings.EnableErrorSound;
  const std::string& file = kind == EventSound::Connect      ? Settings.ConnectSoundFile
                            : kind == EventSound::Disconnect ? Settings.DisconnectSoundFile
                                                             : Settings.ErrorSoundFile;
  if (!enabled || file.empty() || !ports_.files.Exists(file))
    return;
  const auto dot = file.find_last_of('.');
  if (dot != std::string::npos && LowerCase(file.substr(dot)) == ".wav") {
    ports_.sound.PlayWave(file);
  }
}

// Points where later features join the dial's road.
void Tmainform::PerformActions(PerformAt) {}
void Tmainform::RecordConnectTime() {}
void Tmainform::CopyIPToClipboard() {}
void Tmainform::CheckNewVersionSilently() {}
