// The program's options in the current user's registry, and the start-with-Windows entry.
#pragma once

#include <string>
#include <vector>

#include "platform/keyboard.h"
#include "platform/registry.h"
#include "settings/app_settings.h"

// Under HKEY_CURRENT_USER. Booleans and integers are REG_DWORD, texts REG_SZ, hotkeys
// REG_SZ in their text form ("Alt+1"), ConnPWD REG_SZ encoded by EncodePassword.
inline constexpr const char* kSettingsKey = "Software\\Tarvolin";
// Where the settings are, as the problem texts name it.
inline constexpr const char* kSettingsPlace = "HKEY_CURRENT_USER\\Software\\Tarvolin";

// Every field to its default, with HotKey_Dial as the layout reads "Alt+`": 0 when no key
// of the layout is named "`". Rt_LastSelect, kept by the connection table, starts empty.
void SetDefaultSettings(Keyboard& keyboard, AppSettings& settings);

// Reads the settings key, creating it when missing, over the fields of `settings` (which
// should hold the defaults). A missing value keeps its field. A value of another registry
// type also keeps its field, adds a problem text naming it, and loading goes on. A
// UdWaitTime, UdRedialAfter or UdPingSrv outside its range (app_settings.h) is taken to the
// range's nearer end, with a problem text. ConnPWD
// is read, and decoded, only when CkbSetPWD as loaded is set. Returns the problems in
// plain words, for the caller to show once; none when all went well.
std::vector<std::string> LoadSettings(Registry& registry, Keyboard& keyboard, AppSettings& settings,
                                      std::string& Rt_LastSelect,
                                      const std::string& place = kSettingsPlace);

// Writes every field, Left and Top taken from `left` and `top` (the window's position
// now) and ConnPWD encoded. Rt_LastSelect comes last: `selected_entry`, or when that is
// null the stored value stays. False when a value could not be written; nothing is
// written when the key cannot be opened.
bool SaveSettings(Registry& registry, Keyboard& keyboard, const AppSettings& settings, int left,
                  int top, const std::string* selected_entry);

// ProgName, for programs outside this one that look for the executable. False when it
// could not be written.
bool WriteProgName(Registry& registry, const std::string& exe_path);

// `on`: registers `exe_path` in the current user's Run key, never the machine-wide one,
// as "Tarvolin", or as "Tarvolin (<exe_path>)" when "Tarvolin" starts another copy. Off:
// removes this copy's value from the current user's key. Either way a machine-wide value
// naming this copy goes, and a value that names another path is never touched. Returns
// problem texts: a registration the key refused, a value of this copy's that stayed.
std::vector<std::string> ApplyRunOnStartup(Registry& registry, bool on,
                                           const std::string& exe_path);
