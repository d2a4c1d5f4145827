// The substitute's phonebook entry points, its settings and its error texts.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>

#include "dialup/ras_fields.h"
#include "rassim/codes.h"
#include "rassim/entry.h"
#include "rassim/rassim.h"

namespace rassim {
namespace {

std::mutex g_settings_mutex;  // guards the two settings below
std::string g_phonebook_path;
EntryDialog g_entry_dialog;

// Serialises read-modify-write cycles of the phonebook file; plain reads need no lock,
// since a write replaces the file in one rename.
std::mutex g_file_mutex;

struct ErrorText {
  uint32_t code;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {kRasSuccess, "The operation completed successfully."},
    {kRasInvalidHandle, "The connection handle is not valid."},
    {kInvalidParameter, "The parameter is incorrect."},
    {kInvalidName, "The entry name is not valid."},
    {kAlreadyExists, "An entry with this name already exists."},
    {kRasBufferTooSmall, "The buffer is too small."},
    {kBufferInvalid, "The buffer is not valid."},
    {kInternalError, "An internal error occurred."},
    {kPortDisconnected, "The port was disconnected."},
    {kRasCannotFindEntry, "The phonebook entry does not exist."},
    {kCannotWritePhonebook, "The phonebook file could not be written."},
    {kRemoteDisconnection, "The connection was closed by the remote computer."},
    {kRasUserDisconnection, "The port was disconnected by the user."},
    {kRasInvalidSize, "The structure size is incorrect."},
    {kRasPortNotAvailable, "The port is not available: the modem is in use or not set up."},
    {kRasLineBusy, "The line is busy."},
    {kRasNoAnswer, "There was no answer."},
    {kNoDialTone, "There was no dial tone."},
    {kRasAuthenticationFailure, "Access was denied: the user name or password is not valid."},
    {kHardwareFailure, "The modem reported a hardware failure."},
    {kProjectionNotComplete, "The network settings of the connection are not complete yet."},
    {kProtocolNotConfigured, "The requested network protocol is not configured."},
};

// Reads the phonebook, lets `change` edit it and writes it back when it succeeds and the
// text differs: the program stores the same account before every dial.
uint32_t ChangePhonebook(const std::function<uint32_t(IniFile&)>& change) {
  std::lock_guard lock(g_file_mutex);
  const std::string path = PhonebookPath();
  const std::string text = ReadTextFile(path);
  IniFile ini = IniFile::Parse(text);
  const uint32_t result = change(ini);
  if (result != kRasSuccess || ini.Format() == text) {
    return result;
  }
  return WriteIniFile(path, ini) ? kRasSuccess : kCannotWritePhonebook;
}

bool RunEntryDialog(void* parent, EntryFields& fields, bool is_new) {
  EntryDialog dialog;
  {
    std::lock_guard lock(g_settings_mutex);
    dialog = g_entry_dialog;
  }
  return dialog && dialog(parent, fields, is_new);
}

// Trims the name; false when it cannot be a section name of the file.
bool NormalizeName(std::string& name) {
  name = std::string(Trim(name));
  const bool unusable =
      std::ranges::any_of(name, [](unsigned char c) { return c == ']' || c < ' '; });
  return !name.empty() && name.size() <= kRasMaxEntryName && !unusable;
}

}  // namespace

void SetPhonebookPath(const std::string& path) {
  std::lock_guard lock(g_settings_mutex);
  g_phonebook_path = path;
}

std::string PhonebookPath() {
  {
    std::lock_guard lock(g_settings_mutex);
    if (!g_phonebook_path.empty()) {
      return g_phonebook_path;
    }
  }
  const char* path = std::getenv("RASSIM_PHONEBOOK");
  if (path && *path) {
    return path;
  }
  const char* appdata = std::getenv("APPDATA");
  return std::string(appdata ? appdata : "") +
         "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
}

void SetEntryDialog(EntryDialog dialog) {
  std::lock_guard lock(g_settings_mutex);
  g_entry_dialog = std::move(dialog);
}

uint32_t RAS_CALL RasEnumEntriesA(const char*, const char*, TRasEntryName* entries, uint32_t* cb,
                                  uint32_t* count) {
  if (!entries || !cb || !count) {
    return kBufferInvalid;
  }
  if (entries[0].dwSize != kRasEntryNameSize) {
    return kRasInvalidSize;
  }
  IniFile ini = ReadIniFile(PhonebookPath());
  const std::vector<IniSection*> list = ListEntries(ini);
  const uint64_t needed = uint64_t{list.size()} * kRasEntryNameSize;
  const bool fits = needed <= *cb;
  *cb = static_cast<uint32_t>(needed);
  *count = static_cast<uint32_t>(list.size());
  if (!fits) {
    return kRasBufferTooSmall;
  }
  for (size_t i = 0; i < list.size(); ++i) {
    entries[i].dwSize = kRasEntryNameSize;
    CopyField(entries[i].szEntryName, EntryName(*list[i]));
  }
  return kRasSuccess;
}

uint32_t RAS_CALL RasGetEntryDialParamsA(const char*, TRasDialParams* params,
                                         int32_t* password_stored) {
  if (!params || !password_stored) {
    return kBufferInvalid;
  }
  if (params->dwSize != kRasDialParamsSize) {
    return kRasInvalidSize;
  }
  const std::optional<EntrySettings> entry = LoadEntry(FieldText(params->szEntryName));
  if (!entry) {
    return kRasCannotFindEntry;
  }
  CopyField(params->szPhoneNumber, entry->phone_number);
  CopyField(params->szCallbackNumber, "");
  CopyField(params->szUserName, entry->user_name);
  CopyField(params->szPassword, entry->password_stored ? entry->password : "");
  CopyField(params->szDomain, entry->domain);
  *password_stored = entry->password_stored ? 1 : 0;
  return kRasSuccess;
}

uint32_t RAS_CALL RasSetEntryDialParamsA(const char*, TRasDialParams* params,
                                         int32_t remove_password) {
  if (!params) {
    return kBufferInvalid;
  }
  if (params->dwSize != kRasDialParamsSize) {
    return kRasInvalidSize;
  }
  return ChangePhonebook([&](IniFile& ini) {
    IniSection* section = FindEntry(ini, FieldText(params->szEntryName));
    if (!section) {
      return kRasCannotFindEntry;
    }
    const bool store = remove_password == 0;
    section->Set("UserName", FieldText(params->szUserName));
    section->Set("Domain", FieldText(params->szDomain));
    section->Set("Password", store ? FieldText(params->szPassword) : "");
    section->Set("PasswordStored", store ? "1" : "0");
    return kRasSuccess;
  });
}

uint32_t RAS_CALL RasGetErrorStringA(unsigned code, char* buffer, uint32_t size) {
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
    return kRasBufferTooSmall;
  }
  std::memcpy(buffer, it->text, length + 1);
  return kRasSuccess;
}

uint32_t RAS_CALL RasCreatePhonebookEntryA(void* parent, const char*) {
  EntryFields fields{"", "", "", kOutcomeWords[0]};
  if (!RunEntryDialog(parent, fields, true)) {
    return kRasSuccess;
  }
  if (!NormalizeName(fields.name)) {
    return kInvalidName;
  }
  return ChangePhonebook([&](IniFile& ini) {
    IniSection* section = FindEntry(ini, fields.name);
    if (!section) {
      section = &ini.sections.emplace_back();
    }
    ApplyDialogFields(*section, fields);
    return kRasSuccess;
  });
}

uint32_t RAS_CALL RasEditPhonebookEntryA(void* parent, const char*, const char* entry) {
  if (!entry) {
    return kBufferInvalid;
  }
  const std::string old_name = entry;
  IniFile ini = ReadIniFile(PhonebookPath());
  const IniSection* current = FindEntry(ini, old_name);
  if (!current) {
    return kRasCannotFindEntry;
  }
  EntryFields fields = DialogFields(*current);
  if (!RunEntryDialog(parent, fields, false)) {
    return kRasSuccess;
  }
  if (!NormalizeName(fields.name)) {
    return kInvalidName;
  }
  // The file is read again: it may have changed while the dialog was open.
  return ChangePhonebook([&](IniFile& latest) {
    IniSection* section = FindEntry(latest, old_name);
    const IniSection* namesake = FindEntry(latest, fields.name);
    if (!section) {
      return kRasCannotFindEntry;
    }
    if (namesake && namesake != section) {
      return kAlreadyExists;
    }
    ApplyDialogFields(*section, fields);
    return kRasSuccess;
  });
}

uint32_t RAS_CALL RasDeleteEntry(const char*, const char* entry) {
  if (!entry) {
    return kBufferInvalid;
  }
  return ChangePhonebook([&](IniFile& ini) {
    const IniSection* section = FindEntry(ini, entry);
    if (!section) {
      return kRasCannotFindEntry;
    }
    ini.sections.erase(ini.sections.begin() + (section - ini.sections.data()));
    return kRasSuccess;
  });
}

}  // namespace rassim
