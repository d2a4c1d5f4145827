// The connection list: the table of phonebook entries behind it with the selected and
// the default connection, its commands, the profile of the entry at hand, the system's
// default connection, the automatic-dial registration and the phonebook watch.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ports/main_ports.h"
#include "dialup/dialup.h"
#include "platform/problem_report.h"
#include "profiles/account_table.h"
#include "profiles/entry_info.h"
#include "profiles/profile_store.h"
#include "profiles/property_model.h"
#include "settings/app_settings.h"

struct ConnectionRow {
  std::string EntryName;
  std::string UserName;
  bool Selected = false;
  bool IsDefault = false;
};

// What the list asks of the window that shows it.
class ConnectionListView {
 public:
  virtual ~ConnectionListView() = default;
  // The selected row carries the selection mark, the default connection the default mark.
  // Nothing is highlighted afterwards.
  virtual void ShowConnections(const std::vector<ConnectionRow>& rows) = 0;
  // Moves the selection mark to the row at `index`.
  virtual void MarkSelectedConnection(int index) = 0;
  // The property dialog, owned by the window: the edited profile on OK, nothing on Cancel.
  virtual std::optional<EntryInfo> ShowPropertyDialog(const PropertyDialogInput& input) = 0;
};

// A connection whose profile dials a number other than the one its phonebook entry keeps.
struct NumberDifference {
  std::string entry;
  std::string own;
  std::string phonebook;
};

// Every entry the list acts on goes through `dialup.Entry`, as the dial-up component acts
// on that entry. Problems with profiles and the registry are said through `problems`.
class ConnectionList {
 public:
  ConnectionList(const MainPorts& ports, TDialUp& dialup, const AppSettings& settings,
                 ConnectionListView& view, ProblemReport& problems);

  // Notes for the connection log.
  std::function<void(const std::string& text)> OnNotice;
  // A rebuild found the entry `from` renamed `to` (BuildAccountTable): its row and its
  // profile (when the new name has none) go by the new name.
  std::function<void(const std::string& from, const std::string& to)> OnRenamed;

  // Empty table, nothing selected or highlighted, as before the first build.
  void Reset();
  // The entry selected at the last save; the settings store reads and writes it.
  std::string& LastSelect() { return last_select_; }

  // Rebuilds the table from the phonebooks. The first build selects LastSelect; later
  // ones keep selection and counters by name, through a rename, and for entries a listing
  // missed. Either way the highlight ends. An all-users
  // entry hidden by the user's own of the same name is noted once per run.
  void Build(bool initial);
  // Shows the table and points the dial-up component at the selected entry.
  void Fill();
  // Loads the profile of dialup.Entry and hands its account to the component.
  void LoadCurrentProfile();
  // The same for a dial of dialup.Entry, whose profile is then held as the line's until
  // the next dial: the line's time is priced and its budget watched by it whichever row
  // is selected meanwhile. CurrentProfile stays the selected entry's.
  void LoadLineProfile();
  // Build, Fill and LoadCurrentProfile: the list shows the phonebook again.
  void Refresh();

  // Points the dial-up component at the selected row's entry; false when there is none
  // (the component keeps its entry).
  bool UseSelectedEntry();
  // The entry a dial at start-up takes: the default connection (`rule` 0) or the
  // selected one (1); nullopt when there is none.
  std::optional<std::string> StartupEntry(int rule) const;
  // Whether an in-use row holds this entry (exact name).
  bool HasEntry(const std::string& entry) const;
  const TAccountTable& Table() const { return table_; }
  // The rows' time and expense counters are the accounting's to keep.
  TAccountTable& Table() { return table_; }
  // The entry's profile, and the rate plan it holds: the one held when it is the current
  // entry's or the line's, else as the file has it now.
  EntryInfo ProfileOf(const std::string& entry);
  RatePlan PlanOf(const std::string& entry) { return ProfileOf(entry).Rates; }
  // Writes into the entry's profile that the budget warning of billing period `period`
  // was given; a refused write is said.
  void SaveBudgetWarned(const std::string& entry, int period);
  const EntryInfo& CurrentProfile() const { return current_; }
  // The listed connections whose profile has a number (PN) that is not the phonebook's, as
  // the files have them now; dialup.Entry is left as it was.
  std::vector<NumberDifference> NumbersOtherThanPhonebook();

  // The user highlighted the list item with this caption.
  void SelectItem(const std::string& caption);
  // The property dialog for the selected entry (nothing when there is none), showing its
  // profile as the file has it now. OK saves and applies the profile and shows the list
  // again; Cancel changes nothing.
  void Property();
  void New();
  void Edit();
  void Delete();
  // Makes the highlighted entry, or else the selected one, the system's default
  // connection and tells other programs.
  void SetDefault();

  // Writes or removes the automatic-dial values of every entry, as CkbAutoDial says, in
  // the user's own keys only, and the handler in the properties of every entry of the
  // user's own phonebook (off clears only a handler naming this program's library); a
  // refusal is said once.
  void WriteAutoDialSettings();
  // Called every second: every third call rebuilds the list when the phonebook's entries
  // or the default connection changed behind the program's back. While a dialog of the
  // program is open the check waits, and runs at the first call after it closed.
  void Watch(bool dialog_open);

 private:
  void Renamed(const Rename& rename);
  std::string ReadDefaultConnection();
  void WriteDefaultConnection(const std::string& name);
  // One of the phonebook's own dialogs, owned by `owner` for as long as it shows.
  void RunEntryDialog(void* owner, void (TDialUp::*dialog)());
  // The phonebook's edit dialog for `name`; the entry's name afterwards.
  std::string EditRenaming(void* owner, const std::string& name);
  // The property dialog's OK: nothing is written for an entry that left the phonebook.
  PropertySaved SaveProperty(const EntryInfo& profile);
  // The profile of `entry` as the file has it; dialup.Entry must name it, for the account
  // the phonebook keeps.
  EntryInfo LoadProfile(const std::string& entry);

  MainPorts ports_;
  TDialUp& dialup_;
  const AppSettings& settings_;
  ConnectionListView& view_;
  ProblemReport& problems_;
  ProfileStore store_;
  TAccountTable table_;
  EntryInfo current_;
  EntryInfo line_;  // of the last dial
  std::string last_select_;
  std::string highlighted_;
  int watch_counter_ = 0;
  bool watch_due_ = false;  // a check came due while a dialog was open
  std::set<std::string> shadowed_noted_;
};
