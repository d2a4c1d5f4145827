// The start-up password: the check before anything else exists, and its renewal at exit.
// The password waiting for the Options dialog's OK is the Options dialog's own.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/prompts.h"
#include "platform/registry.h"
#include "settings/app_settings.h"

class PasswordProtection {
 public:
  explicit PasswordProtection(Registry& registry) : registry_(registry) {}

  // At exit, with protection on: ConnPWD once more, encoded as the settings save wrote it.
  void WritePasswordAgain(const AppSettings& settings);

 private:
  Registry& registry_;
};

// Runs before the main window exists. With CkbSetPWD on and a ConnPWD stored, `ask` shows
// the prompt and gives the text typed at OK, nullopt for Exit. One attempt: anything but
// the stored password, letter case included, says "Incorrect Password!" through `prompts`
// and returns false, and the program must end at once, saving nothing. True when start-up
// may go on, also when protection is off or no password is stored.
bool CheckStartupPassword(Registry& registry, Prompts& prompts,
                          const std::function<std::optional<std::string>()>& ask);
