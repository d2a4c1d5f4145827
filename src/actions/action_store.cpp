// The action table and Actions.ini: one key table drives both loading and saving.
#include "actions/action_store.h"

#include <variant>

#include "platform/ini_text.h"
#include "platform/numbers.h"
#include "platform/overloaded.h"

namespace {

using Field = std::variant<std::string ActionInfo::*, int ActionInfo::*, bool ActionInfo::*>;

struct Key {
  const char* name;
  Field field;
};

// In the order in which a section is written.
constexpr Key kKeys[] = {
    {"ActionType", &ActionInfo::ActionType},
    {"FileName", &ActionInfo::FileName},
    {"Directory", &ActionInfo::Directory},
    {"CommandLine", &ActionInfo::CommandLine},
    {"WindowStatus", &ActionInfo::WindowStatus},
    {"WindowText", &ActionInfo::WindowText},
    {"CloseContainText", &ActionInfo::CloseContainText},
    {"BeforeDialing", &ActionInfo::BeforeDialing},
    {"AfterConnected", &ActionInfo::AfterConnected},
    {"WhenDisconnected", &ActionInfo::WhenDisconnected},
    {"WhenErrorOccurs", &ActionInfo::WhenErrorOccurs},
};

std::string Format(const ActionInfo& action, const Field& field) {
  return std::visit(
      Overloaded{[&](std::string ActionInfo::*text) { return action.*text; },
                 [&](int ActionInfo::*number) { return std::to_string(action.*number); },
                 [&](bool ActionInfo::*flag) { return std::string(action.*flag ? "1" : "0"); }},
      field);
}

// The field keeps its free-slot value when the text is not a number.
void Parse(const std::string& text, ActionInfo& action, const Field& field) {
  const std::optional<int> number = ParseInteger(text);
  std::visit(Overloaded{[&](std::string ActionInfo::*value) { action.*value = text; },
                        [&](int ActionInfo::*value) {
                          if (number)
                            action.*value = *number;
                        },
                        [&](bool ActionInfo::*flag) {
                          if (number)
                            action.*flag = *number != 0;
                        }},
             field);
}

}  // namespace

void ClearActions(ActionTable& table) {
  table.fill(ActionInfo());
}

bool PerformsAt(const ActionInfo& action, PerformAt point) {
  switch (point) {
    case PerformAt::BeforeDialing:
      return action.BeforeDialing;
    case PerformAt::AfterConnected:
      return action.AfterConnected;
    case PerformAt::WhenDisconnected:
      return action.WhenDisconnected;
    case PerformAt::WhenErrorOccurs:
      return action.WhenErrorOccurs;
  }
  return false;
}

ActionStore::ActionStore(ProfileFile& file, Files& files) : file_(file), files_(files) {}

std::string ActionStore::Path() {
  return files_.DataDir() + "Actions.ini";
}

std::vector<std::string> ActionStore::LoadActions(ActionTable& table) {
  const std::string path = Path();
  std::string error;
  unread_ = files_.Unreadable(path, error);
  if (unread_) {
    return {path + " cannot be read: " + error +
            "\nThe actions in it are not loaded, and the file is not written over until it "
            "can be read."};
  }
  if (!files_.Exists(path))
    return {};
  const std::vector<std::string> sections = file_.Sections(path);
  // A slot the file no longer holds must not come back as an action the user removed.
  ClearActions(table);
  for (size_t slot = 0; slot < sections.size() && slot < table.size(); ++slot) {
    ActionInfo& action = table[slot];
    action.InUse = true;
    for (const Key& key : kKeys)
      Parse(file_.Read(path, sections[slot], key.name, ""), action, key.field);
  }
  if (sections.size() <= table.size())
    return {};
  return {path + " holds " + std::to_string(sections.size()) + " actions; only the first " +
          std::to_string(table.size()) + " are used."};
}

bool ActionStore::SaveActions(const ActionTable& table, std::string& error) {
  IniText ini;
  for (size_t slot = 0; slot < table.size() && table[slot].InUse; ++slot) {
    ini.Section("Action" + std::to_string(slot));
    for (const Key& key : kKeys)
      ini.Key(key.name, Format(table[slot], key.field));
  }
  const std::string path = Path();
  std::string reason;
  if (SaveWithBackup(files_, path, files_.DataDir() + "Actions.bak", ini.Text(), reason)) {
    unread_ = false;
    return true;
  }
  error = "Unable to write to " + path + ": " + reason;
  return false;
}
