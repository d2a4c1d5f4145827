// Run-time binding of the RAS entry points.
#include "dialup/ras_api.h"

RasApi::RasApi(LibraryLoader& loader) : loader_(loader) {}

// "rasapi32.dll" is never freed: RAS threads of a dial may still run inside it.
RasApi::~RasApi() {
  if (is_rnaph_) {
    loader_.Free(library_);
  }
}

LibraryLoader::Library RasApi::Open(const std::string& library, const std::string& error) {
  LibraryLoader::Library handle = loader_.Load(library);
  if (handle == nullptr) {
    throw ERasError(error);
  }
  return handle;
}

// Asked afresh on every call, as the program always has; a lookup costs nothing next to a
// RAS call.
void* RasApi::Lookup(const std::string& name) {
  if (library_ == nullptr) {
    library_ = Open("rasapi32.dll", "Error opening rasapi.dll");
  }
  if (!is_rnaph_) {
    if (void* found = loader_.Find(library_, name + "A")) {
      return found;
    }
    if (void* found = loader_.Find(library_, name)) {
      return found;
    }
    library_ = Open("rnaph.dll", "Error opening rnaph.dll");
    is_rnaph_ = true;
  }
  if (void* found = loader_.Find(library_, name)) {
    return found;
  }
  throw ERasError("Function " + name + " not found!");
}

void* RasApi::LookupOptional(const std::string& name) {
  if (library_ == nullptr) {
    library_ = Open("rasapi32.dll", "Error opening rasapi.dll");
  }
  if (void* found = is_rnaph_ ? nullptr : loader_.Find(library_, name + "A")) {
    return found;
  }
  return loader_.Find(library_, name);
}

uint32_t RasApi::RasEnumEntriesA(const char* reserved, const char* phonebook,
                                 TRasEntryName* entries, uint32_t* cb, uint32_t* count) {
  return Bind<RasEnumEntriesFn>("RasEnumEntriesA")(reserved, phonebook, entries, cb, count);
}

uint32_t RasApi::RasGetEntryDialParamsA(const char* phonebook, TRasDialParams* params,
                                        int32_t* password_stored) {
  return Bind<RasGetEntryDialParamsFn>("RasGetEntryDialParamsA")(phonebook, params,
                                                                 password_stored);
}

uint32_t RasApi::RasSetEntryDialParamsA(const char* phonebook, TRasDialParams* params,
                                        int32_t remove_password) {
  return Bind<RasSetEntryDialParamsFn>("RasSetEntryDialParamsA")(phonebook, params,
                                                                 remove_password);
}

uint32_t RasApi::RasDialA(void* extensions, const char* phonebook, TRasDialParams* params,
                          uint32_t notifier_type, void* notifier, RasHandle* handle) {
  return Bind<RasDialFn>("RasDialA")(extensions, phonebook, params, notifier_type, notifier,
                                     handle);
}

uint32_t RasApi::RasEnumConnectionsA(TRasConn* connections, uint32_t* cb, uint32_t* count) {
  return Bind<RasEnumConnectionsFn>("RasEnumConnectionsA")(connections, cb, count);
}

uint32_t RasApi::RasGetConnectStatusA(RasHandle handle, TRasConnStatusA* status) {
  return Bind<RasGetConnectStatusFn>("RasGetConnectStatusA")(handle, status);
}

uint32_t RasApi::RasHangUpA(RasHandle handle) {
  return Bind<RasHangUpFn>("RasHangUpA")(handle);
}

uint32_t RasApi::RasGetProjectionInfoA(RasHandle handle, uint32_t projection, void* info,
                                       uint32_t* cb) {
  return Bind<RasGetProjectionInfoFn>("RasGetProjectionInfoA")(handle, projection, info, cb);
}

uint32_t RasApi::RasGetErrorStringA(unsigned code, char* buffer, uint32_t size) {
  return Bind<RasGetErrorStringFn>("RasGetErrorStringA")(code, buffer, size);
}

uint32_t RasApi::RasCreatePhonebookEntryA(void* parent, const char* phonebook) {
  return Bind<RasCreatePhonebookEntryFn>("RasCreatePhonebookEntryA")(parent, phonebook);
}

uint32_t RasApi::RasEditPhonebookEntryA(void* parent, const char* phonebook, const char* entry) {
  return Bind<RasEditPhonebookEntryFn>("RasEditPhonebookEntryA")(parent, phonebook, entry);
}

uint32_t RasApi::RasDeleteEntry(const char* phonebook, const char* entry) {
  return Bind<RasDeleteEntryFn>("RasDeleteEntry")(phonebook, entry);
}

uint32_t RasApi::RasGetConnectionStatistics(RasHandle handle, TRasStats* stats) {
  return Bind<RasGetConnectionStatisticsFn>("RasGetConnectionStatistics")(handle, stats);
}

uint32_t RasApi::RasGetEntryPropertiesA(const char* phonebook, const char* entry,
                                        TRasEntry* properties, uint32_t* size) {
  return Bind<RasGetEntryPropertiesFn>("RasGetEntryPropertiesA")(phonebook, entry, properties, size,
                                                                 nullptr, nullptr);
}

uint32_t RasApi::RasSetEntryPropertiesA(const char* phonebook, const char* entry,
                                        TRasEntry* properties, uint32_t size) {
  return Bind<RasSetEntryPropertiesFn>("RasSetEntryPropertiesA")(phonebook, entry, properties, size,
                                                                 nullptr, 0);
}

uint32_t RasApi::RasConnectionNotificationA(RasHandle handle, void* event, uint32_t flags) {
  const auto notify =
      reinterpret_cast<RasConnectionNotificationFn>(LookupOptional("RasConnectionNotification"));
  return notify ? notify(handle, event, flags) : kRasCallNotImplemented;
}
