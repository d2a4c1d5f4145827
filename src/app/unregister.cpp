// What the uninstaller asks of the program before it removes the files.
#include "app/unregister.h"

#include "platform/text.h"
#include "profiles/autodial_registration.h"
#include "settings/settings_store.h"

bool IsUnregisterRequest(const std::vector<std::string>& args) {
  return args.size() == 1 && SameText(args[0], "/unregister");
}

// The start-with-Windows entry first: it needs no RAS, which may fail to bind.
std::vector<std::string> Unregister(Registry& registry, Files& files, TDialUp& dialup) {
  std::vector<std::string> problems = ApplyRunOnStartup(registry, false, files.ExePath());
  for (std::string& problem : AutoDialRegistration(registry, files, dialup).Write(false))
    problems.push_back(std::move(problem));
  return problems;
}
