// The substitute's phonebook entry points, its settings and its error texts.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>

#include "rassim/entry.h"
#include "rassim/rassim.h"

namespace rassim {
namespace {

std::mutex g_settings_mutex;  // guards the settings below
std::string g_phonebook_path;
std::string g_all_users_phonebook_path;
EntryDialog g_entry_dialog;

// Serialises read-modify-write cycles of the phonebook file; plain reads need no lock,
// since a write replaces the file in one rename.
std::mutex g_file_mutex;

struct ErrorText {
  uint32_t code;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {kSuccess, "The operation completed successfully."},
    {kInvalidHandle, "The connection handle is not valid."},
    {kInvalidParameter, "The parameter is incorrect."},
    {kInvalidName, "The entry name is not valid."},
    {kAlreadyExists, "An entry with this name already exists."},
    {kBufferTooSmall, "The buffer is too small."},
    {kBufferInvalid, "The buffer is not valid."},
    {kInternalError, "An internal error occurred."},
    {kPortDisconnected, "The port was disconnected."},
    {kCannotFindEntry, "The phonebook entry does not exist."},
    {kCannotWritePhonebook, "The phonebook file could not be written."},
    {kRemoteDisconnection, "The connection was closed by the remote computer."},
    {kUserDisconnection, "The port was disconnected by the user."},
    {kInvalidSize, "The structure size is incorrect."},
    {kPortNotAvailable,
     "The modem or other connecting device is already in use or is not set up properly. Close "
     "any program that may be using it, then check the device's settings."},
    {kLineBusy, "The line is busy."},
    {kNoAnswer,
     "The remote computer did not answer. Make sure the phone number is right, that the modem "
     "is connected to the line, and try again later."},
    {kNoDialTone, "There was no dial tone."},
    {kAuthenticationFailure,
     "Access was denied because the user name or password, or both, are not valid on the "
     "remote domain, or the account may not dial in at this time. Check both, ask your provider "
     "whether the account is allowed to dial in, and try again."},
    {kHardwareFailure, "The modem reported a hardware failure."},
    {kProjectionNotComplete, "The network settings of the connection are not complete yet."},
    {kProtocolNotConfigured, "The requested network protocol is not configured."},
};

// Reads the phonebook a call names, lets `change` edit it and writes it back when it
// succeeds and the text differs: the program stores the same account before every dial.
uint32_t ChangePhonebook(const char* phonebook, const std::function<uint32_t(IniFile&)>& change) {
  std::lock_guard lock(g_file_mutex);
  const std::string path = PhonebookFor(phonebook);
  const std::string text = ReadTextFile(path);
  IniFile ini = IniFile::Parse(text);
  const uint32_t result = change(ini);
  if (result != kSuccess || ini.Format() == text) {
    return result;
  }
  return WriteIniFile(path, ini) ? kSuccess : kCannotWritePhonebook;
}

bool RunEntryDialog(void* parent, EntryFields& fields, bool is_new) {
  EntryDialog dialog;
  {
    std::lock_guard lock(g_settings_mutex);
    dialog = g_entry_dialog;
  }
  return dialog && dialog(parent, fields, is_new);
}

// The first of: the path a test set, the environment variable `variable`, and the
// phonebook's place under the folder `folder` names (none without it).
std::string ChosenPhonebook(const std::string& set, const char* variable, const char* folder) {
  {
    std::lock_guard lock(g_settings_mutex);
    if (!set.empty()) {
      return set;
    }
  }
  const char* path = std::getenv(variable);
  if (path && *path) {
    return path;
  }
  const char* base = std::getenv(folder);
  return base && *base ? std::string(base) + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk"
                       : "";
}

// The files RasEnumEntriesA lists: the one it is given, else the all-users phonebook and
// then the user's own.
std::vector<std::string> ListedPhonebooks(const char* phonebook) {
  if (phonebook && *phonebook) {
    return {phonebook};
  }
  return {AllUsersPhonebookPath(), PhonebookPath()};
}

// Trims the name; false when it cannot be a section name of the file.
bool NormalizeName(std::string& name) {
  name = std::string(Trim(name));
  const bool unusable =
      std::ranges::any_of(name, [](unsigned char c) { return c == ']' || c < ' '; });
  return !name.empty() && name.size() <= kMaxEntryName && !unusable;
}

}  // namespace

void SetPhonebookPath(const std::string& path) {
  std::lock_guard lock(g_settings_mutex);
  g_phonebook_path = path;
}

std::string PhonebookPath() {
  return ChosenPhonebook(g_phonebook_path, "RASSIM_PHONEBOOK", "APPDATA");
}

void SetAllUsersPhonebookPath(const std::string& path) {
  std::lock_guard lock(g_settings_mutex);
  g_all_users_phonebook_path = path;
}

std::string AllUsersPhonebookPath() {
  return ChosenPhonebook(g_all_users_phonebook_path, "RASSIM_ALLUSERS_PHONEBOOK", "ProgramData");
}

std::string PhonebookFor(const char* phonebook) {
  return phonebook && *phonebook ? phonebook : PhonebookPath();
}

void SetEntryDialog(EntryDialog dialog) {
  std::lock_guard lock(g_settings_mutex);
  g_entry_dialog = std::move(dialog);
}

uint32_t RASSIM_CALL RasEnumEntriesA(const char*, const char* phonebook, RasEntryName* entries,
                                     uint32_t* cb, uint32_t* count) {
  if (!cb || !count) {
    return kBufferInvalid;
  }
  // Without a buffer the call only tells the size it needs, at the newest level.
  const uint32_t size = entries ? entries[0].dwSize : sizeof(RasEntryName);
  if (!Accepts(kEntryNameSizes, size)) {
    return kInvalidSize;
  }
  std::vector<RasEntryName> list;
  for (const std::string& path : ListedPhonebooks(phonebook)) {
    IniFile ini = ReadIniFile(path);
    const bool all_users = SameText(path, AllUsersPhonebookPath());
    for (const IniSection* section : ListEntries(ini)) {
      RasEntryName& record = list.emplace_back();
      record.dwSize = size;
      Put(record.szEntryName, EntryName(*section));
      record.dwFlags = all_users ? kEntryInAllUsersPhonebook : 0;
      Put(record.szPhonebookPath, path);
    }
  }
  const uint64_t needed = uint64_t{list.size()} * size;
  const bool fits = entries && needed <= *cb;
  *cb = static_cast<uint32_t>(needed);
  *count = static_cast<uint32_t>(list.size());
  if (!fits && needed > 0) {
    return kBufferTooSmall;
  }
  // Records follow one another at the caller's size, each the leading part of the newest.
  auto* out = reinterpret_cast<unsigned char*>(entries);
  for (size_t i = 0; i < list.size(); ++i) {
    std::memcpy(out + i * size, &list[i], size);
  }
  return kSuccess;
}

uint32_t RASSIM_CALL RasGetEntryDialParamsA(const char* phonebook, RasDialParams* params,
                                            int32_t* password_stored) {
  if (!params || !password_stored) {
    return kBufferInvalid;
  }
  if (!Accepts(kDialParamsSizes, params->dwSize)) {
    return kInvalidSize;
  }
  const std::optional<EntrySettings> entry = LoadEntry(phonebook, Text(params->szEntryName));
  if (!entry) {
    return kCannotFindEntry;
  }
  // The documentation leaves szPhoneNumber unfilled: the number is the entry's own.
  Put(params->szPhoneNumber, "");
  Put(params->szCallbackNumber, "");
  Put(params->szUserName, entry->user_name);
  Put(params->szPassword, entry->password_stored ? kSavedPasswordHandle : "");
  Put(params->szDomain, entry->domain);
  *password_stored = entry->password_stored ? 1 : 0;
  return kSuccess;
}

uint32_t RASSIM_CALL RasSetEntryDialParamsA(const char* phonebook, RasDialParams* params,
                                            int32_t remove_password) {
  if (!params) {
    return kBufferInvalid;
  }
  if (!Accepts(kDialParamsSizes, params->dwSize)) {
    return kInvalidSize;
  }
  return ChangePhonebook(phonebook, [&](IniFile& ini) {
    IniSection* section = FindEntry(ini, Text(params->szEntryName));
    if (!section) {
      return kCannotFindEntry;
    }
    // An empty field leaves what is saved: without a user name the password stays too.
    if (!Text(params->szDomain).empty())
      section->Set("Domain", Text(params->szDomain));
    if (Text(params->szUserName).empty())
      return kSuccess;
    section->Set("UserName", Text(params->szUserName));
    if (remove_password != 0) {
      section->Set("Password", "");
      section->Set("PasswordStored", "0");
      return kSuccess;
    }
    // The saved password's handle stores the password it stands for: it stays. Anything
    // else is saved, the empty password included.
    if (Text(params->szPassword) != kSavedPasswordHandle) {
      section->Set("Password", Text(params->szPassword));
      section->Set("PasswordStored", "1");
    }
    return kSuccess;
  });
}

uint32_t RASSIM_CALL RasGetErrorStringA(unsigned code, char* buffer, uint32_t size) {
  if (!buffer) {
    return kBufferInvalid;
  }
  if (size > 0) {
    buffer[0] = '\0';
  }
  const auto it = std::ranges::find(kErrorTexts, code, &ErrorText::code);
  if (it == std::end(kErrorTexts)) {
    return kInvalidParameter;
  }
  const size_t length = std::strlen(it->text);
  if (length >= size) {
    return kInsufficientBuffer;
  }
  std::memcpy(buffer, it->text, length + 1);
  return kSuccess;
}

uint32_t RASSIM_CALL RasCreatePhonebookEntryA(void* parent, const char* phonebook) {
  EntryFields fields{"", "", "", kOutcomeWords[0]};
  if (!RunEntryDialog(parent, fields, true)) {
    return kSuccess;
  }
  if (!NormalizeName(fields.name)) {
    return kInvalidName;
  }
  return ChangePhonebook(phonebook, [&](IniFile& ini) {
    IniSection* section = FindEntry(ini, fields.name);
    if (!section) {
      section = &ini.sections.emplace_back();
    }
    ApplyDialogFields(*section, fields);
    return kSuccess;
  });
}

uint32_t RASSIM_CALL RasEditPhonebookEntryA(void* parent, const char* phonebook,
                                            const char* entry) {
  if (!entry) {
    return kBufferInvalid;
  }
  const std::string old_name = entry;
  IniFile ini = ReadIniFile(PhonebookFor(phonebook));
  const IniSection* current = FindEntry(ini, old_name);
  if (!current) {
    return kCannotFindEntry;
  }
  EntryFields fields = DialogFields(*current);
  if (!RunEntryDialog(parent, fields, false)) {
    return kSuccess;
  }
  if (!NormalizeName(fields.name)) {
    return kInvalidName;
  }
  // The file is read again: it may have changed while the dialog was open.
  return ChangePhonebook(phonebook, [&](IniFile& latest) {
    IniSection* section = FindEntry(latest, old_name);
    const IniSection* namesake = FindEntry(latest, fields.name);
    if (!section) {
      return kCannotFindEntry;
    }
    if (namesake && namesake != section) {
      return kAlreadyExists;
    }
    ApplyDialogFields(*section, fields);
    return kSuccess;
  });
}

uint32_t RASSIM_CALL RasDeleteEntry(const char* phonebook, const char* entry) {
  if (!entry) {
    return kBufferInvalid;
  }
  return ChangePhonebook(phonebook, [&](IniFile& ini) {
    const IniSection* section = FindEntry(ini, entry);
    if (!section) {
      return kCannotFindEntry;
    }
    ini.sections.erase(ini.sections.begin() + (section - ini.sections.data()));
    return kSuccess;
  });
}

namespace {

// The alternate numbers as RAS lays them out behind the record: each number with its NUL,
// and one more NUL after the last. Nothing at all for none.
std::string AlternateBytes(const std::vector<std::string>& numbers) {
  std::string bytes;
  for (const std::string& number : numbers) {
    bytes += number;
    bytes += '\0';
  }
  if (!bytes.empty())
    bytes += '\0';
  return bytes;
}

// The numbers at `offset` in the caller's buffer of `size` bytes; nothing when the list
// does not end inside it.
std::optional<std::vector<std::string>> AlternatesAt(const RasEntry* record, uint32_t offset,
                                                     uint32_t size) {
  std::vector<std::string> numbers;
  if (offset == 0)
    return numbers;
  if (offset < record->dwSize || offset >= size)
    return std::nullopt;
  const char* at = reinterpret_cast<const char*>(record) + offset;
  const char* end = reinterpret_cast<const char*>(record) + size;
  while (at < end && *at != '\0') {
    const char* stop = std::find(at, end, '\0');
    if (stop == end)
      return std::nullopt;
    numbers.emplace_back(at, stop);
    at = stop + 1;
  }
  if (at == end)
    return std::nullopt;
  return numbers;
}

std::string JoinAlternates(const std::vector<std::string>& numbers) {
  std::string list;
  for (const std::string& number : numbers)
    list += (list.empty() ? "" : ",") + number;
  return list;
}

// Windows requires what it needs to dial the entry: its type, where the record has one,
// the device and the framing.
bool Complete(const RasEntry& record) {
  const bool has_type = record.dwSize > offsetof(RasEntry, dwType);
  return (!has_type || record.dwType != 0) && record.szDeviceName[0] != '\0' &&
         record.szDeviceType[0] != '\0' && record.dwFramingProtocol != 0;
}

}  // namespace

uint32_t RASSIM_CALL RasGetEntryPropertiesA(const char* phonebook, const char* entry,
                                            RasEntry* properties, uint32_t* size, uint8_t*,
                                            uint32_t* device_info_size) {
  if (!size) {
    return kBufferInvalid;
  }
  if (device_info_size) {
    *device_info_size = 0;
  }
  if (properties && !Accepts(kEntrySizes, properties->dwSize)) {
    return kInvalidSize;
  }
  // No name asks for the properties a new entry would have.
  const bool defaults = !entry || !*entry;
  const std::optional<EntrySettings> found =
      defaults ? ReadEntry(IniSection{}) : LoadEntry(phonebook, entry);
  if (!found) {
    return kCannotFindEntry;
  }
  // Without a record the call only tells the size it needs, at the newest level.
  const uint32_t level = properties ? properties->dwSize : sizeof(RasEntry);
  const std::string alternates = AlternateBytes(found->alternates);
  const uint32_t needed = level + static_cast<uint32_t>(alternates.size());
  if (!properties || *size < needed) {
    *size = needed;
    return kBufferTooSmall;
  }
  RasEntry record{};
  record.dwSize = level;
  Put(record.szLocalPhoneNumber, found->phone_number);
  record.dwAlternateOffset = alternates.empty() ? 0 : level;
  record.dwfNetProtocols = kNetProtocolIp;
  record.dwFramingProtocol = kFramingPpp;
  Put(record.szAutodialDll, found->autodial_dll);
  Put(record.szAutodialFunc, found->autodial_func);
  Put(record.szDeviceType, found->device_type);
  Put(record.szDeviceName, found->device);
  record.dwType = kEntryTypePhone;
  std::memcpy(properties, &record, level);
  std::memcpy(reinterpret_cast<char*>(properties) + level, alternates.data(), alternates.size());
  *size = needed;
  return kSuccess;
}

uint32_t RASSIM_CALL RasSetEntryPropertiesA(const char* phonebook, const char* entry,
                                            const RasEntry* properties, uint32_t size,
                                            const uint8_t*, uint32_t) {
  if (!entry || !properties) {
    return kBufferInvalid;
  }
  if (!Accepts(kEntrySizes, properties->dwSize) || size < properties->dwSize) {
    return kInvalidSize;
  }
  std::string name = entry;
  if (!NormalizeName(name)) {
    return kInvalidName;
  }
  RasEntry record{};
  std::memcpy(&record, properties, properties->dwSize);
  const std::optional<std::vector<std::string>> alternates =
      AlternatesAt(properties, record.dwAlternateOffset, size);
  if (!Complete(record) || !alternates) {
    return kInvalidParameter;
  }
  return ChangePhonebook(phonebook, [&](IniFile& ini) {
    IniSection* section = FindEntry(ini, name);
    if (!section) {
      section = &ini.sections.emplace_back();
      section->name = name;
    }
    // A value the entry already reads as, its default included, adds no key.
    const EntrySettings now = ReadEntry(*section);
    const auto set = [&](const char* key, const std::string& current, std::string value) {
      if (value != current) {
        section->Set(key, value);
      }
    };
    set("PhoneNumber", now.phone_number, Text(record.szLocalPhoneNumber));
    set("AlternatePhoneNumbers", JoinAlternates(now.alternates), JoinAlternates(*alternates));
    set("Device", now.device, Text(record.szDeviceName));
    set("DeviceType", now.device_type, Text(record.szDeviceType));
    set("AutodialDll", now.autodial_dll, Text(record.szAutodialDll));
    set("AutodialFunc", now.autodial_func, Text(record.szAutodialFunc));
    return kSuccess;
  });
}

}  // namespace rassim
