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

using rassim::Handle;
using rassim::RasConn;
using rassim::RasConnStatus;
using rassim::RasDialParams;
using rassim::RasEntry;
using rassim::RasEntryName;
using rassim::RasStats;

extern "C" {

uint32_t RASSIM_CALL RasEnumEntriesA(const char* reserved, const char* phonebook,
                                     RasEntryName* entries, uint32_t* cb, uint32_t* count) {
  return rassim::RasEnumEntriesA(reserved, phonebook, entries, cb, count);
}

uint32_t RASSIM_CALL RasGetEntryDialParamsA(const char* phonebook, RasDialParams* params,
                                            int32_t* password_stored) {
  return rassim::RasGetEntryDialParamsA(phonebook, params, password_stored);
}

uint32_t RASSIM_CALL RasSetEntryDialParamsA(const char* phonebook, RasDialParams* params,
                                            int32_t remove_password) {
  return rassim::RasSetEntryDialParamsA(phonebook, params, remove_password);
}

uint32_t RASSIM_CALL RasDialA(void* extensions, const char* phonebook, RasDialParams* params,
                              uint32_t notifier_type, void* notifier, Handle* handle) {
  PinModule();
  return rassim::RasDialA(extensions, phonebook, params, notifier_type, notifier, handle);
}

uint32_t RASSIM_CALL RasEnumConnectionsA(RasConn* connections, uint32_t* cb, uint32_t* count) {
  return rassim::RasEnumConnectionsA(connections, cb, count);
}

uint32_t RASSIM_CALL RasGetConnectStatusA(Handle handle, RasConnStatus* status) {
  return rassim::RasGetConnectStatusA(handle, status);
}

uint32_t RASSIM_CALL RasHangUpA(Handle handle) {
  return rassim::RasHangUpA(handle);
}

uint32_t RASSIM_CALL RasGetProjectionInfoA(Handle handle, uint32_t projection, void* info,
                                           uint32_t* cb) {
  return rassim::RasGetProjectionInfoA(handle, projection, info, cb);
}

uint32_t RASSIM_CALL RasGetErrorStringA(unsigned code, char* buffer, uint32_t size) {
  return rassim::RasGetErrorStringA(code, buffer, size);
}

uint32_t RASSIM_CALL RasCreatePhonebookEntryA(void* parent, const char* phonebook) {
  UseOwnEntryDialog();
  return rassim::RasCreatePhonebookEntryA(parent, phonebook);
}

uint32_t RASSIM_CALL RasEditPhonebookEntryA(void* parent, const char* phonebook,
                                            const char* entry) {
  UseOwnEntryDialog();
  return rassim::RasEditPhonebookEntryA(parent, phonebook, entry);
}

uint32_t RASSIM_CALL RasDeleteEntry(const char* phonebook, const char* entry) {
  return rassim::RasDeleteEntry(phonebook, entry);
}

uint32_t RASSIM_CALL RasGetConnectionStatistics(Handle handle, RasStats* stats) {
  return rassim::RasGetConnectionStatistics(handle, stats);
}

uint32_t RASSIM_CALL RasGetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RasEntry* properties, uint32_t* size,
                                            uint8_t* device_info, uint32_t* device_info_size) {
  return rassim::RasGetEntryPropertiesA(phonebook, entry, properties, size, device_info,
                                        device_info_size);
}

uint32_t RASSIM_CALL RasSetEntryPropertiesA(const char* phonebook, const char* entry,
                                            const RasEntry* properties, uint32_t size,
                                            const uint8_t* device_info, uint32_t device_info_size) {
  return rassim::RasSetEntryPropertiesA(phonebook, entry, properties, size, device_info,
                                        device_info_size);
}

uint32_t RASSIM_CALL RasConnectionNotificationA(Handle handle, void* event, uint32_t flags) {
  rassim::SetEventSetter([](void* e) { SetEvent(e); });
  return rassim::RasConnectionNotificationA(handle, event, flags);
}

}  // extern "C"
