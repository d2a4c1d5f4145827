// The base of every dialog of the program, built from a resource template. It keeps
// `this` with the window, sends the messages to virtual handlers, and never lets an
// exception leave the dialog procedure: a fault is said in a message box and the dialog
// stays open as it was. The dialog's rules live in a portable model; a view derived from
// this class only loads the model into the controls and reads them back.
#pragma once

#include <string>
#include <utility>
#include <vector>

// The handle types as <windows.h> declares them, so this header needs none of it.
struct HWND__;
using HWND = HWND__*;
struct tagNMHDR;

class DialogWin {
 public:
  virtual ~DialogWin() = default;

  // Shows the template `template_id` modal over `owner` until OK or Cancel (Enter and
  // Esc); true when the user chose OK and OnOK accepted.
  bool RunModal(HWND owner, int template_id);
  // Shows the template `template_id` as a window of its own, beside the program's others,
  // and returns; OK, Cancel, Enter and Esc close it. The message loop must pass its
  // messages through IsDialogMessage. The view outlives the window: IsOpen tells.
  void OpenModeless(int template_id);
  bool IsOpen() const { return hwnd_ != nullptr; }

 protected:
  // The controls exist: fill them from the model.
  virtual void OnInit() {}
  // A command from a control other than OK and Cancel (`code` is the notification).
  virtual void OnCommand(int id, int code);
  // A notification from a common control.
  virtual void OnNotify(const tagNMHDR& header);
  // OK was chosen: read the controls back; false keeps the dialog open.
  virtual bool OnOK() { return true; }
  // Any other message; true when handled.
  virtual bool OnMessage(unsigned msg, uintptr_t wparam, intptr_t lparam);
  // A modeless window is being destroyed: its controls still exist.
  virtual void OnClose() {}

  HWND Window() const { return hwnd_; }
  HWND Item(int id) const;
  std::string Text(int id) const;
  void SetText(int id, const std::string& text);
  bool Checked(int id) const;
  void SetChecked(int id, bool on);
  void Enable(int id, bool on);
  void Show(int id, bool visible);
  // Fills a drop-down list or list box with `items`, selecting `selected` (-1: none).
  void FillChoices(int id, const std::vector<std::string>& items, int selected);
  // The selected index of a drop-down list or list box, -1 when none.
  int Choice(int id) const;
  // A date-time picker's value as a date-time (see platform/date_time.h).
  double DateTimeValue(int id) const;
  void SetDateTimeValue(int id, double date_time);
  // An up-down control's range and position; the position is read from its buddy edit.
  void SetUpDown(int id, int low, int high, int position);
  int UpDownPosition(int id) const;
  // A list view in report style: its columns (caption, width in pixels), its rows of cells
  // (the selection is lost), and its first selected row (-1: none).
  void SetListColumns(int id, const std::vector<std::pair<std::string, int>>& columns);
  void SetListRows(int id, const std::vector<std::vector<std::string>>& rows);
  int SelectedListRow(int id) const;
  // Moves the keyboard focus to the control, as a dialog does after a refused OK.
  void Focus(int id);
  // Shows "*" for each character of a password edit, whatever sign the visual style has.
  void MaskWithStars(int id);
  // Places the dialog in the middle of its owner window (of the screen without one).
  void CenterOnOwner();
  // A message box owned by the dialog.
  void ShowError(const std::string& text) const;
  void ShowInformation(const std::string& text) const;

 private:
  static intptr_t __stdcall Procedure(HWND hwnd, unsigned msg, uintptr_t wparam, intptr_t lparam);
  intptr_t Handle(unsigned msg, uintptr_t wparam, intptr_t lparam);

  void End(int result);

  HWND hwnd_ = nullptr;
  bool modeless_ = false;
};
