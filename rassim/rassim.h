// The RAS substitute's engine: a simulated phonebook and modem behind the RAS entry
// points. The DLL exports these functions under their plain names; native tests bind
// them in-process. Every function is safe to call from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "rassim/records.h"

namespace rassim {

// One phonebook entry as the entry dialogs edit it.
struct EntryFields {
  std::string name;
  std::string phone_number;
  std::string device;
  std::string outcome;  // "connect", "busy", "noanswer", "badaccount", "vanish", "refuse"
};

// Shows an entry dialog; returns false when the user cancelled. `entry` holds the
// current values on entry (empty for a new one) and the edited values on return.
using EntryDialog = std::function<bool(void* parent, EntryFields& entry, bool is_new)>;

// The user's own phonebook. Empty (the default) means the RASSIM_PHONEBOOK environment
// variable, else %APPDATA%\Microsoft\Network\Connections\Pbk\rasphone.pbk.
void SetPhonebookPath(const std::string& path);
std::string PhonebookPath();
// The all-users phonebook. Empty (the default) means the RASSIM_ALLUSERS_PHONEBOOK
// environment variable, else %ProgramData%\Microsoft\Network\Connections\Pbk\rasphone.pbk;
// none where ProgramData is not set either.
void SetAllUsersPhonebookPath(const std::string& path);
std::string AllUsersPhonebookPath();
// The file a call's phonebook argument names: a null or empty one the user's own, as RAS
// takes it for "the default phonebook"; any other path as it stands.
std::string PhonebookFor(const char* phonebook);

// The dialog the two entry-dialog entry points show; without one they change nothing.
void SetEntryDialog(EntryDialog dialog);

// Hangs up every connection and waits for every dial worker to finish. For tests and
// for unloading; no notification is sent after it returns.
void Shutdown();

// Drops every live connection of `entry` ("*": all) at once, as the control file's "drop"
// command does at a worker's next look: for in-process tests, which cannot wait for that.
void Drop(const std::string& entry);

// Counts `received` and `sent` bytes more on every connected line of `entry`, on top of
// what its rates give: for in-process tests, whose time is not the engine's. False when
// no line of that entry is connected.
bool Move(const std::string& entry, uint64_t received, uint64_t sent);

// How the engine sets an event it was given by RasConnectionNotificationA: SetEvent in
// the DLL, the test's own in-process. Set it once, before the first registration.
using EventSetter = void (*)(void* event);
void SetEventSetter(EventSetter setter);

uint32_t RASSIM_CALL RasEnumEntriesA(const char* reserved, const char* phonebook,
                                     RasEntryName* entries, uint32_t* cb, uint32_t* count);
uint32_t RASSIM_CALL RasGetEntryDialParamsA(const char* phonebook, RasDialParams* params,
                                            int32_t* password_stored);
uint32_t RASSIM_CALL RasSetEntryDialParamsA(const char* phonebook, RasDialParams* params,
                                            int32_t remove_password);
uint32_t RASSIM_CALL RasDialA(void* extensions, const char* phonebook, RasDialParams* params,
                              uint32_t notifier_type, void* notifier, Handle* handle);
uint32_t RASSIM_CALL RasEnumConnectionsA(RasConn* connections, uint32_t* cb, uint32_t* count);
uint32_t RASSIM_CALL RasGetConnectStatusA(Handle handle, RasConnStatus* status);
uint32_t RASSIM_CALL RasHangUpA(Handle handle);
uint32_t RASSIM_CALL RasGetProjectionInfoA(Handle handle, uint32_t projection, void* info,
                                           uint32_t* cb);
uint32_t RASSIM_CALL RasGetErrorStringA(unsigned code, char* buffer, uint32_t size);
uint32_t RASSIM_CALL RasCreatePhonebookEntryA(void* parent, const char* phonebook);
uint32_t RASSIM_CALL RasEditPhonebookEntryA(void* parent, const char* phonebook, const char* entry);
uint32_t RASSIM_CALL RasDeleteEntry(const char* phonebook, const char* entry);
uint32_t RASSIM_CALL RasGetConnectionStatistics(Handle handle, RasStats* stats);
// The entry's phone number, device and automatic-dial handler. No device information is
// kept: its size reads as 0 and what is given is ignored. Setting an entry that does not
// exist creates it.
uint32_t RASSIM_CALL RasGetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RasEntry* properties, uint32_t* size,
                                            uint8_t* device_info, uint32_t* device_info_size);
uint32_t RASSIM_CALL RasSetEntryPropertiesA(const char* phonebook, const char* entry,
                                            const RasEntry* properties, uint32_t size,
                                            const uint8_t* device_info, uint32_t device_info_size);
// Only kNotifyDisconnection for one live handle: its events are set once, when the
// line drops, vanishes or is hung up.
uint32_t RASSIM_CALL RasConnectionNotificationA(Handle handle, void* event, uint32_t flags);

}  // namespace rassim
