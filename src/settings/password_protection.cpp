// The start-up password check, the pending password and its renewal at exit.
#include "settings/password_protection.h"

#include "settings/password.h"
#include "settings/settings_store.h"

void PasswordProtection::WritePasswordAgain(const AppSettings& settings) {
  if (settings.CkbSetPWD)
    registry_.WriteText(RegRoot::CurrentUser, kSettingsKey, "ConnPWD",
                        EncodePassword(settings.ConnPWD));
}

bool CheckStartupPassword(Registry& registry, Prompts& prompts,
                          const std::function<std::optional<std::string>()>& ask) {
  registry.CreateKey(RegRoot::CurrentUser, kSettingsKey);
  uint32_t on = 0;
  if (registry.ReadInt(RegRoot::CurrentUser, kSettingsKey, "CkbSetPWD", on) != RegRead::Ok ||
      on == 0)
    return true;
  std::string stored;
  if (registry.ReadText(RegRoot::CurrentUser, kSettingsKey, "ConnPWD", stored) != RegRead::Ok ||
      stored.empty())
    return true;
  if (ask() == DecodePassword(stored))
    return true;
  prompts.Error("Incorrect Password!");
  return false;
}
