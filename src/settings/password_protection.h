// The start-up password: the check before anything else exists, the password waiting for
// the Options dialog's OK, and its renewal at exit.
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

  // Right after the settings load: the stored password is the one the Options dialog's OK
  // keeps, until the password dialog confirms another.
  void LoadPendingPassword(const AppSettings& settings) { pending_ = settings.ConnPWD; }
  // The Options dialog's: set by the password dialog's OK (even when the Options dialog is
  // then cancelled), copied into ConnPWD by the Options dialog's OK.
  std::string& PendingPassword() { return pending_; }
  // At exit, with protection on: ConnPWD once more, encoded as the settings save wrote it.
  void WritePasswordAgain(const AppSettings& settings);

 private:
  Registry& registry_;
  std::string pending_;
};

// Runs before the main window exists. With CkbSetPWD on and a ConnPWD stored, `ask` shows
// the prompt and gives the text typed at OK, nullopt for Exit. One attempt: anything but
// the stored password, letter case included, says "Incorrect Password!" through `prompts`
// and returns false, and the program must end at once, saving nothing. True when start-up
// may go on, also when protection is off or no password is stored.
bool CheckStartupPassword(Registry& registry, Prompts& prompts,
                          const std::function<std::optional<std::string>()>& ask);
