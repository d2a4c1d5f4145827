// The rules of the action list and the action form.
#include "actions/action_dialog_model.h"

#include <algorithm>

namespace {

std::string StatusWord(int window_status) {
  static constexpr const char* kWords[] = {"Normal", "Maximize", "Minimize", "Hide"};
  return window_status >= 0 && window_status < 4 ? kWords[window_status] : "";
}

bool AnyPoint(const ActionFormFields& f) {
  return f.BeforeDialing || f.AfterConnected || f.WhenDisconnected || f.WhenErrorOccurs;
}

bool StatusChosen(const ActionFormFields& f) {
  return f.WindowStatus >= 0 && f.WindowStatus < 4;
}

// `action` with what the form shows; the fields of the other type keep their values.
ActionInfo Applied(const ActionFormFields& f, ActionInfo action) {
  action.InUse = true;
  action.ActionType = f.ActionType;
  if (f.ActionType == kRunStart) {
    action.FileName = f.FileName;
    action.Directory = f.Directory;
    action.CommandLine = f.CommandLine;
    action.WindowStatus = f.WindowStatus;
  } else if (f.ActionType == kCloseWindow) {
    action.WindowText = f.WindowText;
    action.CloseContainText = f.CloseContainText;
  }
  action.BeforeDialing = f.BeforeDialing;
  action.AfterConnected = f.AfterConnected;
  action.WhenDisconnected = f.WhenDisconnected;
  action.WhenErrorOccurs = f.WhenErrorOccurs;
  return action;
}

}  // namespace

ActionRow ActionRowOf(const ActionInfo& action) {
  ActionRow row;
  if (action.ActionType == kRunStart) {
    row.Action = "Start " + action.FileName + " [" + StatusWord(action.WindowStatus) + "]";
  } else if (action.ActionType == kCloseWindow) {
    row.Action = "Close " + action.WindowText + (action.CloseContainText ? " [CONTAINING]" : "");
  }
  static constexpr struct {
    PerformAt point;
    const char* word;
  } kWords[] = {{PerformAt::BeforeDialing, "Dialing "},
                {PerformAt::AfterConnected, "Connected "},
                {PerformAt::WhenDisconnected, "Disconnected "},
                {PerformAt::WhenErrorOccurs, "Error "}};
  for (const auto& [point, word] : kWords) {
    if (PerformsAt(action, point))
      row.PerformAt += word;
  }
  return row;
}

ActionFormModel::ActionFormModel(ActionTable& working, int slot, bool is_new,
                                 ActionFormFields& fields, ActionRunner& runner)
    : working_(working),
      slot_(slot),
      fields_(fields),
      runner_(runner),
      caption_(is_new ? "New Action" : "Edit Action") {
  if (is_new) {
    fields_ = ActionFormFields();
    return;
  }
  const ActionInfo& action = working_[slot_];
  ShowActionType(action.ActionType);
  if (action.ActionType == kRunStart) {
    fields_.FileName = action.FileName;
    fields_.Directory = action.Directory;
    fields_.CommandLine = action.CommandLine;
    fields_.WindowStatus = action.WindowStatus;
  } else if (action.ActionType == kCloseWindow) {
    fields_.WindowText = action.WindowText;
    fields_.CloseContainText = action.CloseContainText;
  }
  fields_.BeforeDialing = action.BeforeDialing;
  fields_.AfterConnected = action.AfterConnected;
  fields_.WhenDisconnected = action.WhenDisconnected;
  fields_.WhenErrorOccurs = action.WhenErrorOccurs;
}

void ActionFormModel::ShowActionType(int type) {
  fields_.ActionType = type;
  if (type == kCloseWindow)
    RefreshWindowList();
}

void ActionFormModel::RefreshWindowList() {
  fields_.WindowList = runner_.WindowCaptions();
}

void ActionFormModel::PickWindow(int index) {
  if (index >= 0 && index < static_cast<int>(fields_.WindowList.size()))
    fields_.WindowText = fields_.WindowList[index];
}

std::string ActionFormModel::OK() {
  if (!AnyPoint(fields_))
    return kCheckPerformAt;
  if (fields_.ActionType == kRunStart && fields_.FileName.empty())
    return kFileNameEmpty;
  if (fields_.ActionType == kRunStart && !StatusChosen(fields_))
    return kSelectWindowStatus;
  if (fields_.ActionType == kCloseWindow && fields_.WindowText.empty())
    return kWindowTextEmpty;
  working_[slot_] = Applied(fields_, working_[slot_]);
  return "";
}

// A test needs no point for closing windows, which happens at once in any case.
std::string ActionFormModel::Test(void* owner) {
  if (fields_.ActionType == kRunStart) {
    if (fields_.FileName.empty())
      return kFileNameEmpty;
    if (!AnyPoint(fields_))
      return kCheckPerformAt;
    if (!StatusChosen(fields_))
      return kSelectWindowStatus;
  } else if (fields_.ActionType == kCloseWindow && fields_.WindowText.empty()) {
    return kWindowTextEmpty;
  }
  runner_.Perform(Applied(fields_, ActionInfo()), owner);
  return "";
}

ActionListModel::ActionListModel(const ActionTable& table, bool enable_all,
                                 ActionFormFields& form_fields, ActionRunner& runner)
    : working_(table), enable_all_(enable_all), form_fields_(form_fields), runner_(runner) {}

std::vector<ActionRow> ActionListModel::Rows() const {
  std::vector<ActionRow> rows;
  for (const ActionInfo& action : working_) {
    if (!action.InUse)
      break;
    rows.push_back(ActionRowOf(action));
  }
  return rows;
}

ActionListModel::Buttons ActionListModel::UpdateButtons(int selected) const {
  return {enable_all_, enable_all_, enable_all_ && selected >= 0, enable_all_ && selected >= 0};
}

std::optional<ActionFormModel> ActionListModel::Add() {
  const auto free = std::ranges::find(working_, false, &ActionInfo::InUse);
  if (free == working_.end())
    return std::nullopt;
  return ActionFormModel(working_, static_cast<int>(free - working_.begin()), true, form_fields_,
                         runner_);
}

ActionFormModel ActionListModel::Edit(int row) {
  return ActionFormModel(working_, row, false, form_fields_, runner_);
}

void ActionListModel::Remove(int row) {
  std::move(working_.begin() + row + 1, working_.end(), working_.begin() + row);
  working_.back() = ActionInfo();
}
