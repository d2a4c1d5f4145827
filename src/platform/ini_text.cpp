// A whole INI file as text, and its saving beside a backup of the old one.
#include "platform/ini_text.h"

namespace {

bool WouldChangeOnReading(char end) {
  return static_cast<unsigned char>(end) <= ' ' || end == '"' || end == '\'';
}

}  // namespace

std::string IniValue(const std::string& value) {
  if (value.empty() ||
      (!WouldChangeOnReading(value.front()) && !WouldChangeOnReading(value.back())))
    return value;
  return '"' + value + '"';
}

void IniText::Section(const std::string& name) {
  text_ += "[" + name + "]\r\n";
}

void IniText::Key(const std::string& name, const std::string& value) {
  text_ += name + "=" + IniValue(value) + "\r\n";
}

bool SaveWithBackup(Files& files, const std::string& path, const std::string& backup,
                    const std::string& text, std::string& error) {
  std::string old;
  if (!files.Exists(backup) && files.ReadAll(path, old, error)) {
    // A backup that cannot be written costs the user nothing yet: the file itself is
    // still whole, so the save goes on.
    std::string ignored;
    files.ReplaceWhole(backup, old, ignored);
  }
  return files.ReplaceWhole(path, text, error);
}
