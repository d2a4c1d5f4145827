// One phonebook entry as the substitute reads it: its section's keys with their defaults.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rassim/phonebook.h"
#include "rassim/rassim.h"

namespace rassim {

enum class Outcome { kConnect, kBusy, kNoAnswer, kBadAccount, kVanish, kRefuse };

// The Outcome key's words, in the order of Outcome.
inline constexpr std::array<const char*, 6> kOutcomeWords = {"connect",    "busy",   "noanswer",
                                                             "badaccount", "vanish", "refuse"};

// A modem takes its time to hang up; the default keeps every test meeting a hang-up that
// completes in the background without slowing runs of thousands of dials much.
constexpr uint32_t kDefaultHangUpDelayMs = 20;

// Texts are already cut to the sizes of the RAS records' fields.
struct EntrySettings {
  std::string name;
  std::string phonebook;  // the file it was read from
  std::string phone_number;
  std::string device;
  std::string device_type;
  std::string user_name;
  std::string password;
  bool password_stored = false;
  // When not empty, a dial with another password is refused at authentication.
  std::string accept_password;
  std::string domain;
  Outcome outcome = Outcome::kConnect;
  uint32_t refuse_code = 0;
  bool refuse_with_handle = false;  // a refused dial still hands out a handle to hang up
  uint32_t step_delay_ms = 0;
  uint32_t hang_up_delay_ms = 0;  // from RasHangUpA until RAS lets go of the handle
  uint32_t drop_linger_ms = 0;    // a dropped line shows as disconnected this long
  uint32_t drop_after_s = 0;
  uint32_t link_speed = 0;
  std::string server_ip;
  std::string client_ip;
  uint32_t send_bps = 0;
  uint32_t recv_bps = 0;
  std::string autodial_dll;  // the automatic-dial handler's library and function
  std::string autodial_func;
  std::vector<std::string> alternates;  // the alternate numbers, in order
};

// What RasGetEntryDialParamsA hands out for a saved password, as Windows hands out a
// handle to it and never the password; RasDialA and RasSetEntryDialParamsA take it back as
// the saved password. It begins with a control character, which no typed password holds.
inline constexpr const char* kSavedPasswordHandle =
    "\x1b"
    "saved-password";

// Every bad or missing value takes its default; never fails.
EntrySettings ReadEntry(const IniSection& section);

// The entry name as RAS reports it: the section name cut to the record's field.
std::string EntryName(const IniSection& section);

// The entry of that name in the phonebook a call names (see PhonebookFor), or nothing.
std::optional<EntrySettings> LoadEntry(const char* phonebook, std::string_view name);

// The entries in file order: sections with a usable name, the first of each name.
std::vector<IniSection*> ListEntries(IniFile& ini);
// The entry of that name (case-insensitive), or nullptr.
IniSection* FindEntry(IniFile& ini, std::string_view name);

// The fields the entry dialogs edit, and writing them back (a new name renames the
// section in place, keeping its other keys).
EntryFields DialogFields(const IniSection& section);
void ApplyDialogFields(IniSection& section, const EntryFields& fields);

}  // namespace rassim
