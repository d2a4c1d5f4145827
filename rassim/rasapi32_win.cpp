// The substitute's rasapi32.dll: the RAS entry points under their plain names, over the
// engine.
#include <windows.h>

#include <mutex>

#include "rassim/entry_dialog.h"
#include "rassim/rassim.h"

namespace {

// Keeps the DLL loaded for the rest of the process once a dial has started: a dial's
// worker thread must never outlive the code it runs.
void PinModule() {
  static std::once_flag once;
  std::call_once(once, [] {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&PinModule), &self);
  });
}

void UseOwnEntryDialog() {
  rassim::SetEntryDialog(rassim::ShowEntryDialog);
}

}  // namespace

extern "C" {

uint32_t RAS_CALL RasEnumEntriesA(const char* reserved, const char* phonebook,
                                  TRasEntryName* entries, uint32_t* cb, uint32_t* count) {
  return rassim::RasEnumEntriesA(reserved, phonebook, entries, cb, count);
}

uint32_t RAS_CALL RasGetEntryDialParamsA(const char* phonebook, TRasDialParams* params,
                                         int32_t* password_stored) {
  return rassim::RasGetEntryDialParamsA(phonebook, params, password_stored);
}

uint32_t RAS_CALL RasSetEntryDialParamsA(const char* phonebook, TRasDialParams* params,
                                         int32_t remove_password) {
  return rassim::RasSetEntryDialParamsA(phonebook, params, remove_password);
}

uint32_t RAS_CALL RasDialA(void* extensions, const char* phonebook, TRasDialParams* params,
                           uint32_t notifier_type, void* notifier, RasHandle* handle) {
  PinModule();
  return rassim::RasDialA(extensions, phonebook, params, notifier_type, notifier, handle);
}

uint32_t RAS_CALL RasEnumConnectionsA(TRasConn* connections, uint32_t* cb, uint32_t* count) {
  return rassim::RasEnumConnectionsA(connections, cb, count);
}

uint32_t RAS_CALL RasGetConnectStatusA(RasHandle handle, TRasConnStatusA* status) {
  return rassim::RasGetConnectStatusA(handle, status);
}

uint32_t RAS_CALL RasHangUpA(RasHandle handle) {
  return rassim::RasHangUpA(handle);
}

uint32_t RAS_CALL RasGetProjectionInfoA(RasHandle handle, uint32_t projection, void* info,
                                        uint32_t* cb) {
  return rassim::RasGetProjectionInfoA(handle, projection, info, cb);
}

uint32_t RAS_CALL RasGetErrorStringA(unsigned code, char* buffer, uint32_t size) {
  return rassim::RasGetErrorStringA(code, buffer, size);
}

uint32_t RAS_CALL RasCreatePhonebookEntryA(void* parent, const char* phonebook) {
  UseOwnEntryDialog();
  return rassim::RasCreatePhonebookEntryA(parent, phonebook);
}

uint32_t RAS_CALL RasEditPhonebookEntryA(void* parent, const char* phonebook, const char* entry) {
  UseOwnEntryDialog();
  return rassim::RasEditPhonebookEntryA(parent, phonebook, entry);
}

uint32_t RAS_CALL RasDeleteEntry(const char* phonebook, const char* entry) {
  return rassim::RasDeleteEntry(phonebook, entry);
}

uint32_t RAS_CALL RasGetConnectionStatistics(RasHandle handle, TRasStats* stats) {
  return rassim::RasGetConnectionStatistics(handle, stats);
}

uint32_t RAS_CALL RasConnectionNotificationA(RasHandle handle, void* event, uint32_t flags) {
  rassim::SetEventSetter([](void* e) { SetEvent(e); });
  return rassim::RasConnectionNotificationA(handle, event, flags);
}

}  // extern "C"
