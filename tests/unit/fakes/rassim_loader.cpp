// The substitute DLL's export table, over the engine linked into the test.
#include "fakes/rassim_loader.h"

#include "fakes/fake_ui_loop.h"
#include "rassim/rassim.h"

RassimLoader::RassimLoader() {
  const std::string dll = "rasapi32.dll";
  AddLibrary(dll);
  rassim::SetEventSetter(&FakeUiLoop::SetEvent);
  Export(dll, "RasEnumEntriesA", &rassim::RasEnumEntriesA);
  Export(dll, "RasGetEntryDialParamsA", &rassim::RasGetEntryDialParamsA);
  Export(dll, "RasSetEntryDialParamsA", &rassim::RasSetEntryDialParamsA);
  Export(dll, "RasDialA", &rassim::RasDialA);
  Export(dll, "RasEnumConnectionsA", &rassim::RasEnumConnectionsA);
  Export(dll, "RasGetConnectStatusA", &rassim::RasGetConnectStatusA);
  Export(dll, "RasHangUpA", &rassim::RasHangUpA);
  Export(dll, "RasGetProjectionInfoA", &rassim::RasGetProjectionInfoA);
  Export(dll, "RasGetErrorStringA", &rassim::RasGetErrorStringA);
  Export(dll, "RasCreatePhonebookEntryA", &rassim::RasCreatePhonebookEntryA);
  Export(dll, "RasEditPhonebookEntryA", &rassim::RasEditPhonebookEntryA);
  Export(dll, "RasDeleteEntry", &rassim::RasDeleteEntry);
  Export(dll, "RasGetConnectionStatistics", &rassim::RasGetConnectionStatistics);
  Export(dll, "RasConnectionNotificationA", &rassim::RasConnectionNotificationA);
  Export(dll, "RasGetEntryPropertiesA", &rassim::RasGetEntryPropertiesA);
  Export(dll, "RasSetEntryPropertiesA", &rassim::RasSetEntryPropertiesA);
}
