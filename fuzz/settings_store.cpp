// The settings key as anyone may have edited it: a value of another type counts as a
// missing one and is reported, the values around it load all the same, what loads saves and
// loads back the same, and the numbers that make timer intervals stay within their ranges.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>

#include "fakes/fake_app_ports.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_registry.h"
#include "fuzz_check.h"
#include "settings/options_model.h"
#include "settings/settings_store.h"

namespace {

constexpr RegRoot kRoot = RegRoot::CurrentUser;

struct Loaded {
  AppSettings settings;
  std::string last_select;
  std::vector<std::string> problems;
};

Loaded Load(FakeRegistry& registry) {
  static FakeKeyboard keyboard;
  Loaded loaded;
  SetDefaultSettings(keyboard, loaded.settings);
  loaded.problems = LoadSettings(registry, keyboard, loaded.settings, loaded.last_select);
  return loaded;
}

void Save(FakeRegistry& registry, const AppSettings& settings, const std::string& last_select) {
  FakeKeyboard keyboard;
  FUZZ_EXPECT(
      SaveSettings(registry, keyboard, settings, settings.Left, settings.Top, &last_select));
}

// Rewrites each value as the input says: kept, missing, or a number, text or binary data of
// its own; returns the names of those now of another type than the one saved.
std::set<std::string> Damage(FakeRegistry& registry, FuzzedDataProvider& input) {
  std::set<std::string> other_type;
  const std::map<std::string, FakeRegistry::Value> saved = registry.keys[{kRoot, kSettingsKey}];
  for (const auto& [name, value] : saved) {
    const int change = input.ConsumeIntegralInRange(0, 4);
    if (change == 1) {
      registry.DeleteValue(kRoot, kSettingsKey, name);
    } else if (change == 2) {
      registry.WriteInt(kRoot, kSettingsKey, name, input.ConsumeIntegral<uint32_t>());
    } else if (change == 3) {
      registry.WriteText(kRoot, kSettingsKey, name, input.ConsumeRandomLengthString(24));
    } else if (change == 4) {
      registry.WriteBinary(kRoot, kSettingsKey, name, input.ConsumeRandomLengthString(8));
    }
    const FakeRegistry::Value* now = registry.Find(kRoot, kSettingsKey, name);
    if (now && now->type != value.type)
      other_type.insert(name);
  }
  return other_type;
}

bool Reported(const std::vector<std::string>& problems, const std::string& name) {
  return std::any_of(problems.begin(), problems.end(), [&](const std::string& problem) {
    return problem.find('"' + name + '"') != std::string::npos;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const FakeRegistry saved_once = [] {
    FakeRegistry registry;
    AppSettings settings = Load(registry).settings;
    settings.CkbSetPWD = true;
    settings.ConnPWD = "secret";
    Save(registry, settings, "Office");
    return registry;
  }();
  FuzzedDataProvider input(data, size);
  FakeRegistry registry = saved_once;
  const std::set<std::string> other_type = Damage(registry, input);
  const Loaded loaded = Load(registry);

  FakeRegistry without = registry;
  for (const std::string& name : other_type) {
    without.DeleteValue(kRoot, kSettingsKey, name);
    // Behind an unset CkbSetPWD the password is not read at all.
    FUZZ_EXPECT(Reported(loaded.problems, name) ||
                (name == "ConnPWD" && !loaded.settings.CkbSetPWD));
  }
  const Loaded expected = Load(without);
  FUZZ_EXPECT(loaded.settings == expected.settings && loaded.last_select == expected.last_select);

  FakeRegistry saved;
  Save(saved, loaded.settings, loaded.last_select);
  const Loaded again = Load(saved);
  FUZZ_EXPECT(again.problems.empty() && again.settings == loaded.settings &&
              again.last_select == loaded.last_select);

  // The program multiplies these into milliseconds; the Options dialog's controls bound
  // them, and what loads must be a value the dialog shows as it is.
  FakeFiles files;
  FakeSound sound;
  FakePrompts prompts;
  TOptionForm form(files, sound, prompts);
  form.ShowSettings(loaded.settings);
  const OptionControls& shown = form.Controls();
  FUZZ_EXPECT(shown.UdWaitTime == loaded.settings.UdWaitTime &&
              shown.UdRedialAfter == loaded.settings.UdRedialAfter &&
              shown.UdPingSrv == loaded.settings.UdPingSrv);
  return 0;
}
