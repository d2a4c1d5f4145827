// The only path to the Remote Access Service: its entry points, bound by name at run time.
#pragma once

#include <stdexcept>
#include <string>

#include "dialup/ras_types.h"
#include "platform/library_loader.h"

// An entry point could not be bound; the message says which library or function failed.
class ERasError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Each method binds its entry point afresh and passes its arguments and RAS's result code
// through unchanged; only a binding failure throws (ERasError). Binding loads
// "rasapi32.dll" on first use and prefers the name with "A" appended over the plain
// name. A system that has neither gets "rnaph.dll" instead, and from then on every
// lookup goes there by the plain name. Only "rnaph.dll" is freed on destruction.
class RasApi {
 public:
  explicit RasApi(LibraryLoader& loader);
  ~RasApi();
  RasApi(const RasApi&) = delete;
  RasApi& operator=(const RasApi&) = delete;

  uint32_t RasEnumEntriesA(const char* reserved, const char* phonebook, TRasEntryName* entries,
                           uint32_t* cb, uint32_t* count);
  uint32_t RasGetEntryDialParamsA(const char* phonebook, TRasDialParams* params,
                                  int32_t* password_stored);
  uint32_t RasSetEntryDialParamsA(const char* phonebook, TRasDialParams* params,
                                  int32_t remove_password);
  uint32_t RasDialA(void* extensions, const char* phonebook, TRasDialParams* params,
                    uint32_t notifier_type, void* notifier, RasHandle* handle);
  uint32_t RasEnumConnectionsA(TRasConn* connections, uint32_t* cb, uint32_t* count);
  uint32_t RasGetConnectStatusA(RasHandle handle, TRasConnStatusA* status);
  uint32_t RasHangUpA(RasHandle handle);
  uint32_t RasGetProjectionInfoA(RasHandle handle, uint32_t projection, void* info, uint32_t* cb);
  uint32_t RasGetErrorStringA(unsigned code, char* buffer, uint32_t size);
  uint32_t RasCreatePhonebookEntryA(void* parent, const char* phonebook);
  uint32_t RasEditPhonebookEntryA(void* parent, const char* phonebook, const char* entry);
  uint32_t RasDeleteEntry(const char* phonebook, const char* entry);
  uint32_t RasGetConnectionStatistics(RasHandle handle, TRasStats* stats);
  // Without device information.
  uint32_t RasGetEntryPropertiesA(const char* phonebook, const char* entry, TRasEntry* properties,
                                  uint32_t* size);
  uint32_t RasSetEntryPropertiesA(const char* phonebook, const char* entry, TRasEntry* properties,
                                  uint32_t size);
  // Optional: a RAS without it answers kRasCallNotImplemented, and the binding stays
  // where it is (a lookup that failed would otherwise move it to "rnaph.dll").
  uint32_t RasConnectionNotificationA(RasHandle handle, void* event, uint32_t flags);

 private:
  void* Lookup(const std::string& name);
  // In the library bound now only; nullptr when it lacks the entry point.
  void* LookupOptional(const std::string& name);
  template <typename Fn>
  Fn Bind(const std::string& name) {
    return reinterpret_cast<Fn>(Lookup(name));
  }
  LibraryLoader::Library Open(const std::string& library, const std::string& error);

  LibraryLoader& loader_;
  LibraryLoader::Library library_ = nullptr;
  bool is_rnaph_ = false;
};
