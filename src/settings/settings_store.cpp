// The program's options in the current user's registry, and the start-with-Windows entry.
#include "settings/settings_store.h"

#include <algorithm>
#include <string_view>
#include <variant>

#include "platform/text.h"
#include "settings/hotkey_text.h"
#include "settings/password.h"

namespace {

constexpr RegRoot kRoot = RegRoot::CurrentUser;
constexpr const char* kDefaultDialHotKey = "Alt+`";

struct Password {};    // ConnPWD: stored encoded, read only behind CkbSetPWD
struct LastSelect {};  // Rt_LastSelect: kept beside the connection table, not in AppSettings
// A number the program multiplies into a timer's interval: beyond its range the product
// overflows, so it is taken to the nearer end of the range, as the Options dialog shows it.
struct Bounded {
  int32_t AppSettings::*field;
  UpDownRange range;
};

using Field = std::variant<bool AppSettings::*, int32_t AppSettings::*, std::string AppSettings::*,
                           uint16_t AppSettings::*, Password, LastSelect, Bounded>;

struct Value {
  const char* name;
  Field field;
  const char* read_after = nullptr;  // read right after this value, not in writing order
};

// In writing order. ViewMode and Rt_LastSelect keep their long-standing, earlier places in
// the reading order through read_after.
const Value kValues[] = {
    {"Left", &AppSettings::Left},
    {"Top", &AppSettings::Top},
    {"WindowMax", &AppSettings::WindowMax},
    {"KeepConnection", &AppSettings::KeepConnection},
    {"Language", &AppSettings::Language},
    {"ViewMode", &AppSettings::ViewMode, "WindowMax"},
    {"CkbRunOnStartup", &AppSettings::CkbRunOnStartup},
    {"CkbWriteLogs", &AppSettings::CkbWriteLogs},
    {"CkbMinSpeed", &AppSettings::CkbMinSpeed},
    {"CbMinSpeed", &AppSettings::CbMinSpeed},
    {"CkbSetPWD", &AppSettings::CkbSetPWD},
    {"ConnPWD", Password{}},
    {"CkbAutoDial", &AppSettings::CkbAutoDial},
    {"CkbConnectOnStartup", &AppSettings::CkbConnectOnStartup},
    {"CkbPingSrv", &AppSettings::CkbPingSrv},
    {"UdPingSrv", Bounded{&AppSettings::UdPingSrv, kPingSrvRange}},
    {"CkbCopyIP", &AppSettings::CkbCopyIP},
    {"RgCopyIP", &AppSettings::RgCopyIP},
    {"CkbKeepConnection", &AppSettings::CkbKeepConnection},
    {"UdWaitTime", Bounded{&AppSettings::UdWaitTime, kWaitTimeRange}},
    {"UdRedialAfter", Bounded{&AppSettings::UdRedialAfter, kRedialAfterRange}},
    {"RgConnectOnStartup", &AppSettings::RgConnectOnStartup},
    {"CkbMinToTray", &AppSettings::CkbMinToTray},
    {"CkbAutoUpdate", &AppSettings::CkbAutoUpdate},
    {"CkbAlwaysOnTop", &AppSettings::CkbAlwaysOnTop},
    {"CkbSoundEffect", &AppSettings::CkbSoundEffect},
    {"CkbEnableAllSchedules", &AppSettings::CkbEnableAllSchedules},
    {"CkbEnableAllActions", &AppSettings::CkbEnableAllActions},
    {"CkbEnableHotKeyDial", &AppSettings::CkbEnableHotKeyDial},
    {"HotKey_Dial", &AppSettings::HotKey_Dial},
    {"CkbEnableHotKeyHangup", &AppSettings::CkbEnableHotKeyHangup},
    {"HotKey_Hangup", &AppSettings::HotKey_Hangup},
    {"CkbEnableHotKeyRedial", &AppSettings::CkbEnableHotKeyRedial},
    {"HotKey_Redial", &AppSettings::HotKey_Redial},
    {"CkbEnableHotKeyKeep", &AppSettings::CkbEnableHotKeyKeep},
    {"HotKey_Keep", &AppSettings::HotKey_Keep},
    {"CkbShowMainWhenHotkey", &AppSettings::CkbShowMainWhenHotkey},
    {"HisRecvMax", &AppSettings::HisRecvMax},
    {"HisSentMax", &AppSettings::HisSentMax},
    {"DataRateOf", &AppSettings::DataRateOf},
    {"EnableConnectSound", &AppSettings::EnableConnectSound},
    {"ConnectSoundFile", &AppSettings::ConnectSoundFile},
    {"EnableDisconnectSound", &AppSettings::EnableDisconnectSound},
    {"DisconnectSoundFile", &AppSettings::DisconnectSoundFile},
    {"EnableErrorSound", &AppSettings::EnableErrorSound},
    {"ErrorSoundFile", &AppSettings::ErrorSoundFile},
    {"UdStopAfterFailures", Bounded{&AppSettings::UdStopAfterFailures, kStopAfterRange}},
    {"CkbStopOnRefusal", &AppSettings::CkbStopOnRefusal},
    {"CkbLongerWait", &AppSettings::CkbLongerWait},
    {"CkbNextNumberWhenBusy", &AppSettings::CkbNextNumberWhenBusy},
    {"CkbDetailedLog", &AppSettings::CkbDetailedLog},
    {"CkbDeadLine", &AppSettings::CkbDeadLine},
    {"UdDeadLineEchoes", Bounded{&AppSettings::UdDeadLineEchoes, kDeadLineEchoesRange}},
    {"CkbResumeCheck", &AppSettings::CkbResumeCheck},
    {"UdResumeSettle", Bounded{&AppSettings::UdResumeSettle, kResumeSettleRange}},
    {"CkbPatientRetry", &AppSettings::CkbPatientRetry},
    {"UdPatientRetryMinutes", Bounded{&AppSettings::UdPatientRetryMinutes, kPatientRetryRange}},
    {"CkbNotices", &AppSettings::CkbNotices},
    {"Rt_LastSelect", LastSelect{}, "CkbSoundEffect"},
};

std::vector<const Value*> ReadingOrder() {
  std::vector<const Value*> order;
  for (const auto& value : kValues) {
    if (value.read_after)
      continue;
    order.push_back(&value);
    for (const auto& early : kValues) {
      if (early.read_after && std::string_view(early.read_after) == value.name)
        order.push_back(&early);
    }
  }
  return order;
}

class Reader {
 public:
  Reader(Registry& registry, Keyboard& keyboard, AppSettings& settings, std::string& last_select,
         const std::string& place)
      : registry_(registry),
        keyboard_(keyboard),
        settings_(settings),
        last_select_(last_select),
        place_(place) {}

  void Read(const Value& value) {
    name_ = value.name;
    std::visit(*this, value.field);
  }

  void operator()(bool AppSettings::*field) {
    uint32_t number = 0;
    if (ReadNumber(number))
      settings_.*field = number != 0;
  }
  void operator()(int32_t AppSettings::*field) {
    uint32_t number = 0;
    if (ReadNumber(number))
      settings_.*field = static_cast<int32_t>(number);
  }
  void operator()(Bounded bounded) {
    uint32_t number = 0;
    if (!ReadNumber(number))
      return;
    const auto value = static_cast<int32_t>(number);
    const UpDownRange range = bounded.range;
    settings_.*bounded.field = std::clamp(value, range.Min, range.Max);
    if (settings_.*bounded.field != value) {
      problems.push_back("The setting \"" + name_ + "\" in " + place_ + " is " +
                         std::to_string(value) + ", outside " + std::to_string(range.Min) + " to " +
                         std::to_string(range.Max) + "; " +
                         std::to_string(settings_.*bounded.field) + " is used.");
    }
  }
  void operator()(std::string AppSettings::*field) { ReadText(settings_.*field); }
  void operator()(uint16_t AppSettings::*field) {
    std::string text;
    if (ReadText(text))
      settings_.*field = TextToShortCut(text, keyboard_);
  }
  void operator()(Password) {
    std::string stored;
    if (settings_.CkbSetPWD && ReadText(stored))
      settings_.ConnPWD = DecodePassword(stored);
  }
  void operator()(LastSelect) { ReadText(last_select_); }

  std::vector<std::string> problems;

 private:
  bool ReadNumber(uint32_t& number) {
    return Accept(registry_.ReadInt(kRoot, kSettingsKey, name_, number), "a number");
  }

  // Leaves `text` alone unless the value is there as a text.
  bool ReadText(std::string& text) {
    std::string read;
    if (!Accept(registry_.ReadText(kRoot, kSettingsKey, name_, read), "a text"))
      return false;
    text = read;
    return true;
  }

  bool Accept(RegRead result, const char* kind) {
    if (result == RegRead::WrongType) {
      problems.push_back("The setting \"" + name_ + "\" in " + place_ + " is not " + kind +
                         "; its default is used.");
    }
    return result == RegRead::Ok;
  }

  Registry& registry_;
  Keyboard& keyboard_;
  AppSettings& settings_;
  std::string& last_select_;
  const std::string& place_;
  std::string name_;
};

class Writer {
 public:
  Writer(Registry& registry, Keyboard& keyboard, const AppSettings& settings,
         const std::string* selected_entry)
      : registry_(registry),
        keyboard_(keyboard),
        settings_(settings),
        selected_entry_(selected_entry) {}

  void Write(const Value& value) {
    name_ = value.name;
    std::visit(*this, value.field);
  }

  void operator()(bool AppSettings::*field) { WriteNumber(settings_.*field ? 1 : 0); }
  void operator()(int32_t AppSettings::*field) {
    WriteNumber(static_cast<uint32_t>(settings_.*field));
  }
  void operator()(Bounded bounded) { (*this)(bounded.field); }
  void operator()(std::string AppSettings::*field) { WriteText(settings_.*field); }
  void operator()(uint16_t AppSettings::*field) {
    WriteText(ShortCutToText(settings_.*field, keyboard_));
  }
  void operator()(Password) { WriteText(EncodePassword(settings_.ConnPWD)); }
  void operator()(LastSelect) {
    if (selected_entry_)
      WriteText(*selected_entry_);
  }

  bool ok = true;

 private:
  void WriteNumber(uint32_t number) {
    ok = registry_.WriteInt(kRoot, kSettingsKey, name_, number) && ok;
  }
  void WriteText(const std::string& text) {
    ok = registry_.WriteText(kRoot, kSettingsKey, name_, text) && ok;
  }

  Registry& registry_;
  Keyboard& keyboard_;
  const AppSettings& settings_;
  const std::string* selected_entry_;
  std::string name_;
};

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Tarvolin";

std::string RunKeyText(RegRoot root) {
  return std::string(root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE\\"
                                                   : "HKEY_CURRENT_USER\\") +
         kRunKey;
}

// Whether the key's value `name` starts this copy; a path in quotes counts as the same.
bool NamesThisCopy(Registry& registry, RegRoot root, const std::string& name,
                   const std::string& exe_path) {
  std::string value;
  if (registry.ReadText(root, kRunKey, name, value) != RegRead::Ok)
    return false;
  std::string_view path = Trim(value);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
    path = path.substr(1, path.size() - 2);
  return SameText(path, exe_path);
}

// "Tarvolin" belongs to the copy or setup that wrote it; another copy's start is kept
// apart under a name of its own.
std::string OtherCopyRunValue(const std::string& exe_path) {
  return std::string(kRunValue) + " (" + exe_path + ")";
}

}  // namespace

void SetDefaultSettings(Keyboard& keyboard, AppSettings& settings) {
  settings = AppSettings{};
  settings.HotKey_Dial = TextToShortCut(kDefaultDialHotKey, keyboard);
}

std::vector<std::string> LoadSettings(Registry& registry, Keyboard& keyboard, AppSettings& settings,
                                      std::string& Rt_LastSelect, const std::string& place) {
  if (!registry.CreateKey(kRoot, kSettingsKey))
    return {"The settings key " + place + " cannot be opened; the defaults are used."};
  Reader reader(registry, keyboard, settings, Rt_LastSelect, place);
  for (const Value* value : ReadingOrder())
    reader.Read(*value);
  return reader.problems;
}

bool SaveSettings(Registry& registry, Keyboard& keyboard, const AppSettings& settings, int left,
                  int top, const std::string* selected_entry) {
  if (!registry.CreateKey(kRoot, kSettingsKey))
    return false;
  AppSettings stored = settings;
  stored.Left = left;
  stored.Top = top;
  Writer writer(registry, keyboard, stored, selected_entry);
  for (const auto& value : kValues)
    writer.Write(value);
  return writer.ok;
}

bool WriteProgName(Registry& registry, const std::string& exe_path) {
  return registry.WriteText(kRoot, kSettingsKey, "ProgName", exe_path);
}

// Only the user's own key: the program lives in a folder its user can write, and a
// machine-wide value would start that exe for every account that logs on. A machine-wide
// value an older version wrote for this copy goes either way.
std::vector<std::string> ApplyRunOnStartup(Registry& registry, bool on,
                                           const std::string& exe_path) {
  std::vector<std::string> problems;
  const RegRoot user = RegRoot::CurrentUser;
  std::string kept;  // the user's value that starts this copy from now on; none when off
  if (on) {
    const bool taken = registry.ValueExists(user, kRunKey, kRunValue) &&
                       !NamesThisCopy(registry, user, kRunValue, exe_path);
    kept = taken ? OtherCopyRunValue(exe_path) : kRunValue;
    if (!registry.WriteText(user, kRunKey, kept, exe_path)) {
      problems.push_back("Tarvolin cannot be set to start with Windows: " + RunKeyText(user) +
                         " cannot be written.");
    }
  }
  for (RegRoot root : {RegRoot::LocalMachine, user}) {
    for (const std::string& name : {std::string(kRunValue), OtherCopyRunValue(exe_path)}) {
      if ((root == user && name == kept) || !NamesThisCopy(registry, root, name, exe_path))
        continue;
      if (!registry.DeleteValue(root, kRunKey, name)) {
        problems.push_back("Tarvolin cannot stop starting with Windows: the value \"" + name +
                           "\" in " + RunKeyText(root) + " cannot be removed.");
      }
    }
  }
  return problems;
}
