// Drives the real tarvolin.exe from a Windows test: a fresh folder, its own phonebook,
// its windows found by title, caption, class or id, its files read back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using Hwnd = void*;  // a window handle, kept opaque here

// Polls `condition` every 20 ms until it holds or `timeout_ms` passed. It returns as soon
// as the condition holds, so the ceiling costs a passing test nothing: it is set for a
// machine that is busy with other work, where the program may take many times longer.
constexpr int kWaitCeilingMs = 60000;
bool WaitUntil(const std::function<bool()>& condition, int timeout_ms = kWaitCeilingMs);

// Whether `condition` holds all through the next `span_ms`, looked at every 20 ms: for
// what must not happen within a delay of the program's, such as a redial after Hang Up,
// once a wait has seen the program settle. A busy machine can make the span show less of
// the program's work, never fail a program that behaves.
bool HoldsFor(const std::function<bool()>& condition, int span_ms);

// Where the test executable and its neighbours (tarvolin.exe, tvndl.dll) live.
std::string TestBinDir();

// The process's window text, or "" when there is no such window.
std::string WindowText(Hwnd window);

// A text value under HKEY_CURRENT_USER, or "<missing>".
std::string UserRegistryText(const std::string& key, const std::string& name);
void SetUserRegistryText(const std::string& key, const std::string& name, const std::string& value);
void SetUserRegistryNumber(const std::string& key, const std::string& name, uint32_t value);
void DeleteUserRegistryValue(const std::string& key, const std::string& name);
// The clipboard's text, or "" when it holds none.
std::string ClipboardText();
// Every value under a key of HKEY_CURRENT_USER and its subkeys, as "subkey\\name=type:bytes"
// lines in the registry's order, to compare before and after.
std::string UserRegistryDump(const std::string& key);
// A REG_DWORD under HKEY_CURRENT_USER, or -1 when it is missing or of another type.
int64_t UserRegistryNumber(const std::string& key, const std::string& name);
// A dialog's control by id, its text set as typing would leave it (the control tells its
// dialog of the change), its click posted, its check state.
Hwnd ChildOf(Hwnd parent, int id);
void SetChildText(Hwnd parent, int id, const std::string& text);
void ClickChild(Hwnd parent, int id);
bool ChildChecked(Hwnd parent, int id);
// Removes what the program keeps in HKEY_CURRENT_USER: its settings and the default
// connection, so each test starts as on a fresh machine.
void ClearUserRegistry();

// One row of a list view in report style: its caption and image, and its first
// sub-item's text and image (image indexes as the list reports them; -2 is none).
struct ListRow {
  std::string Text;
  int Image = -1;
  std::string SubText;
  int SubImage = -1;
};

class Tarvolin {
 public:
  // Makes a fresh temporary folder, never used before, holding a copy of tarvolin.exe.
  Tarvolin();
  // Ends the program if it still runs and removes the folder with all it holds.
  ~Tarvolin();
  Tarvolin(const Tarvolin&) = delete;
  Tarvolin& operator=(const Tarvolin&) = delete;

  const std::string& Dir() const { return dir_; }
  // The phonebook the program's RAS substitute reads (in the folder).
  std::string PhonebookPath() const { return dir_ + "rasphone.pbk"; }
  void WritePhonebook(const std::string& text) const;
  void WriteFile(const std::string& name, const std::string& text) const;
  bool FileExists(const std::string& name) const;
  std::string ReadFile(const std::string& name) const;
  // How many times `text` stands in the connection log "DialLog.TXT".
  int LogCount(const std::string& text) const;
  // The main window's online label says "Online".
  bool Online() const;
  // The seconds the time view's first read-out counts for the session that is up, the
  // program's own clock of how long the line has lasted; -1 in another view.
  int SessionSeconds() const;
  // Acts on a live connection as the substitute's control file allows ("drop NAME").
  void ControlRas(const std::string& command) const;

  // Starts the program; returns without waiting for its window.
  void Start(const std::string& args = "");
  // Writes the phonebook, starts the program and waits until its start-up is over and its
  // main window shows the phonebook's entries. False when that did not happen in time.
  bool StartWith(const std::string& phonebook);
  // Starts another copy from the same folder and waits (up to timeout) until it ends.
  struct SecondRun {
    bool Ended = false;
    bool ShowedSplash = false;  // a "Welcome" window of the second process was seen
  };
  SecondRun RunSecondInstance(int timeout_ms = kWaitCeilingMs) const;
  bool Running() const;
  bool WaitForExit(int timeout_ms = kWaitCeilingMs) const;
  // Ends the program at once (no shutdown of its own).
  void Kill();

  // The visible or hidden top-level window titled "Tarvolin" of this program.
  Hwnd MainWindow() const;
  Hwnd WaitForMainWindow(int timeout_ms = kWaitCeilingMs) const;
  // A top-level window of this program by title.
  Hwnd FindTopLevel(const std::string& title) const;
  // The same, waited for; nullptr when it did not appear in time.
  Hwnd WaitForTopLevel(const std::string& title, int timeout_ms = kWaitCeilingMs) const;
  bool MainWindowVisible() const;

  Hwnd Control(int id) const;
  // A child of the main window whose caption is `caption`, with or without its mnemonic's
  // "&" (and class, when given).
  Hwnd FindControl(const std::string& caption, const std::string& window_class = "") const;
  std::string Text(int id) const;
  // Whether the check box or toggle button `id` is checked (down).
  bool Checked(int id) const;
  // The rows of the list view control `id`, read from the program's memory.
  std::vector<ListRow> ListRows(int id) const;
  std::vector<ListRow> ListRowsOf(Hwnd list) const;  // any list view of the program
  // Highlights the row as a click would, so the program hears of it.
  void SelectListRow(int id, int row) const;
  void SelectRowOf(Hwnd list, int row) const;
  // Clicks a button as a user would; does not wait for its handler.
  void Click(int id) const;
  // Chooses a menu command; does not wait for its handler.
  void Command(int id) const;
  void PostToMain(unsigned message, uintptr_t wparam, intptr_t lparam) const;

  // Waits for a message box of this program with `caption` whose text contains
  // `text_part`, presses the button with id `button` (1 = OK, 6 = Yes, 7 = No), waits
  // until the box is gone, so that the next box looked for is never this one, and
  // returns its full text; "" when none appeared in time.
  std::string AnswerMessageBox(const std::string& caption, const std::string& text_part, int button,
                               int timeout_ms = kWaitCeilingMs) const;

 private:
  std::string dir_;
  void* process_ = nullptr;
  unsigned long process_id_ = 0;
};
