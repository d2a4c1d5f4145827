// The rules of the two action dialogs: the list of actions ("Actions") and the form of
// one action ("New Action", "Edit Action"). The views only copy these to their controls
// and back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "actions/action_runner.h"
#include "actions/action_store.h"

// The texts the dialogs show.
inline constexpr const char* kCheckPerformAt = "Please check when the App start.";
inline constexpr const char* kFileNameEmpty = "FileName can not be empty.";
inline constexpr const char* kSelectWindowStatus = "Please select window status.";
inline constexpr const char* kWindowTextEmpty = "Please specify the caption of window to close.";
inline constexpr const char* kActionTableFull =
    "All 100 actions are in use. Remove one before adding another.";

// The list's two cells of one action.
struct ActionRow {
  std::string Action;     // "Start notepad.exe [Normal]", "Close Calc [CONTAINING]"
  std::string PerformAt;  // "Dialing Connected Disconnected Error ", each word it has
};
ActionRow ActionRowOf(const ActionInfo& action);

// What the form's controls hold. The dialog is shown again and again, and the controls of
// the type an action does not have keep what they showed last, so this outlives one
// showing.
struct ActionFormFields {
  int ActionType = kRunStart;
  std::string FileName;
  std::string Directory;
  std::string CommandLine;
  int WindowStatus = 0;  // the item chosen; -1 none
  std::vector<std::string> WindowList;
  std::string WindowText;
  bool CloseContainText = true;
  bool BeforeDialing = false;
  bool AfterConnected = false;
  bool WhenDisconnected = false;
  bool WhenErrorOccurs = false;
};

// The form of one action of the list's working table.
class ActionFormModel {
 public:
  // Prepares the form for a new action stored into free slot `slot`, or for the action in
  // `slot`.
  ActionFormModel(ActionTable& working, int slot, bool is_new, ActionFormFields& fields,
                  ActionRunner& runner);

  const std::string& Caption() const { return caption_; }
  // The view reads its controls into these before each call below and shows them after.
  ActionFormFields& Fields() { return fields_; }

  // Shows the group of the type; the Close window group with a fresh window list.
  void ShowActionType(int type);
  void RefreshWindowList();
  // The user picked item `index` of the window list (-1: none).
  void PickWindow(int index);
  // The first reason the action cannot be stored, or "" when it was stored into the slot.
  std::string OK();
  // Runs the action as the form shows it, once; the reason it cannot run, or "".
  std::string Test(void* owner);

 private:
  ActionTable& working_;
  int slot_;
  ActionFormFields& fields_;
  ActionRunner& runner_;
  std::string caption_;
};

// The list of actions over a working copy of the table, which the caller takes back only
// when the user confirms.
class ActionListModel {
 public:
  ActionListModel(const ActionTable& table, bool enable_all, ActionFormFields& form_fields,
                  ActionRunner& runner);

  const ActionTable& Working() const { return working_; }
  bool EnableAll() const { return enable_all_; }
  void SetEnableAll(bool on) { enable_all_ = on; }

  // One row per slot up to the first free one; row and slot numbers are the same.
  std::vector<ActionRow> Rows() const;

  struct Buttons {
    bool Group, Add, Edit, Remove;
  };
  // Which controls can be used with row `selected` (-1: none) selected.
  Buttons UpdateButtons(int selected) const;

  // The form for a new action; nullopt when every slot is in use (kActionTableFull).
  std::optional<ActionFormModel> Add();
  ActionFormModel Edit(int row);
  // Removes the row's action; the later ones move up one row.
  void Remove(int row);

 private:
  ActionTable working_;
  bool enable_all_;
  ActionFormFields& form_fields_;
  ActionRunner& runner_;
};
