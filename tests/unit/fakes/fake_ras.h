// A scripted RAS for tests that need exact control over each answer.
#pragma once

#include <functional>
#include <type_traits>

#include "dialup/ras_types.h"
#include "fakes/fake_library_loader.h"

// Serves itself as "rasapi32.dll": pass it to RasApi as the loader. Each entry point calls
// the hook of the same name, which has the entry point's own parameters; a test replaces
// the hooks it cares about. Until then the hooks answer like a RAS with an empty phonebook
// and no connection: entries 0, entry-dial-params and dial 623, connection calls 6, error
// text "RAS error <code>", dialogs and delete 0.
// Only one FakeRas may exist at a time, since RAS's entry points carry no context.
class FakeRas : public FakeLibraryLoader {
 public:
  FakeRas();
  ~FakeRas() override;
  FakeRas(const FakeRas&) = delete;
  FakeRas& operator=(const FakeRas&) = delete;

  template <typename Fn>
  using Hook = std::function<std::remove_pointer_t<Fn>>;

  Hook<RasEnumEntriesFn> EnumEntries;
  Hook<RasGetEntryDialParamsFn> GetEntryDialParams;
  Hook<RasSetEntryDialParamsFn> SetEntryDialParams;
  Hook<RasDialFn> Dial;
  Hook<RasGetConnectStatusFn> GetConnectStatus;
  Hook<RasHangUpFn> HangUp;
  Hook<RasGetProjectionInfoFn> GetProjectionInfo;
  Hook<RasGetErrorStringFn> GetErrorString;
  Hook<RasCreatePhonebookEntryFn> CreatePhonebookEntry;
  Hook<RasEditPhonebookEntryFn> EditPhonebookEntry;
  Hook<RasDeleteEntryFn> DeleteEntry;
  Hook<RasGetConnectionStatisticsFn> GetConnectionStatistics;
};
