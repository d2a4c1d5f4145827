// The one-second heartbeat: notices a dropped line and watches the phonebook.
#include "app/mainform.h"

void Tmainform::CheckTimerTimer() {
  try {
    MonitorTick();
  } catch (const ERasError& e) {
    // Without RAS every tick would fail the same way: say it once.
    ReportProblems({e.what()});
  }
}

void Tmainform::MonitorTick() {
  DetectDisconnect();
  WatchConnections();
}

void Tmainform::DetectDisconnect() {
  if (!Online)
    return;
  TRasConnStatusA status{};
  status.dwSize = kRasConnStatusSize;
  if (ports_.ras.RasGetConnectStatusA(DialUp.ConnectionHandle(), &status) == kRasInvalidHandle) {
    HandleDisconnected();
  }
}
