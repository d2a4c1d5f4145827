// The per-connection profiles in Entries.ini beside the executable, and their hand-over to
// the dial-up component.
#pragma once

#include <string>
#include <vector>

#include "dialup/dialup.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/profile_file.h"
#include "profiles/entry_info.h"

// One section per phonebook entry, named as the entry, written key by key. Texts are
// written in their IniValue form, so blanks and quotes at their ends load back; so is the
// encoded password, since some characters encode as a blank or a quote. Integers are
// decimal (or hexadecimal after "0x"), booleans "1"/"0", reals in the shortest general form
// of up to 15 significant digits with the user's decimal separator. Reading takes "." or
// "," as the separator whatever the user's setting, and the user's own separator as well,
// so that a file written under one regional setting still loads under another.
class ProfileStore {
 public:
  ProfileStore(ProfileFile& file, Files& files, Locale& locale);

  std::string Path();

  // Fills `info` for its EntryName; does nothing when that is empty. Every other field is
  // reset first, so nothing of a previously loaded entry survives. Missing keys (and every
  // key when there is no Entries.ini) read as empty, false or 0, and an empty user name is
  // taken from the phonebook's stored dial parameters, read through `dialup`, whose Entry
  // must name the same entry. The password never is: RAS gives a handle in its place.
  // A real that is not a number reads as 0 and is reported in the returned texts (one per
  // value, naming file, section, key and text); the other keys load all the same.
  std::vector<std::string> LoadProfile(EntryInfo& info, TDialUp& dialup);

  // Writes every key but BudgetWarned into the entry's section, creating the file and
  // section when missing and leaving other sections alone. Stops at the first write the
  // system refuses and returns false with a text naming the file; keys written before it
  // stay written. BudgetWarned is left as it is: the warning may come while the property
  // dialog that edits the rest is open.
  bool SaveProfile(const EntryInfo& info, std::string& error);
  // Gives the entry `to` the section of `from`, key by key, when it has none of its own:
  // a renamed entry keeps its account, rates and budget. The old section stays. False
  // with a text naming the file when the system refused a write.
  bool CopyProfile(const std::string& from, const std::string& to, std::string& error);
  // Writes the BudgetWarned key alone, as SaveProfile writes the others.
  bool SaveBudgetWarned(const EntryInfo& info, std::string& error);

 private:
  // The keys `wanted` names.
  bool SaveKeys(const EntryInfo& info, bool (*wanted)(const std::string& key), std::string& error);

  ProfileFile& file_;
  Files& files_;
  Locale& locale_;
};

// Stores the account in the phonebook's dial parameters of dialup.Entry (the component has
// no user name of its own) and sets the component's Pwd, Domain and PhoneNumber. An empty
// password leaves the one the phonebook saved, which the dial then uses.
void ApplyProfile(const EntryInfo& info, TDialUp& dialup);

// A joined list ends every number with "^^". Splitting stops at a "^^" that starts the
// remaining text (so an empty number ends the list) and drops a tail without "^^".
std::vector<std::string> SplitPhoneList(const std::string& text);
std::string JoinPhoneList(const std::vector<std::string>& numbers);
