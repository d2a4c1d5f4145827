// `tarvolin.exe /unregister`, which the uninstaller runs while the program's files still
// exist, so that no setting of the system is left naming them.
#pragma once

#include <string>
#include <vector>

#include "dialup/dialup.h"
#include "platform/files.h"
#include "platform/registry.h"

// Whether the arguments ask for it: "/unregister" alone, in any letter case.
bool IsUnregisterRequest(const std::vector<std::string>& args);

// Takes back the automatic-dial registration (this copy's handler in the entries, the
// per-entry values, EnableAutoDial) and the start-with-Windows entry. Shows nothing;
// returns the problems in plain words. A RAS that cannot be bound throws ERasError once
// the start-with-Windows entry is gone.
std::vector<std::string> Unregister(Registry& registry, Files& files, TDialUp& dialup);
