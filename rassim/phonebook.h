// A small INI reader and writer for the substitute's phonebook file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace rassim {

// One line of a section. A line that is not `key=value` (a comment, junk) keeps its
// text in `value` with an empty `key`, so that rewriting the file loses nothing.
struct IniLine {
  std::string key;
  std::string value;
};

struct IniSection {
  std::string name;
  std::vector<IniLine> lines;

  // The value of the first line with that key, or nullptr.
  const std::string* Find(std::string_view key) const;
  // Replaces the first value of `key`, or appends the key. A value is cut at its
  // first line break so it can never inject lines into the file.
  void Set(std::string_view key, std::string_view value);
};

struct IniFile {
  std::vector<std::string> preamble;  // lines before the first section, kept verbatim
  std::vector<IniSection> sections;   // in file order

  // Never fails: a line that is neither a header nor `key=value` is kept as is. A
  // header without its closing ']' takes the rest of the line as its name.
  static IniFile Parse(std::string_view text);
  std::string Format() const;
};

// A missing or unreadable file reads as an empty one.
std::string ReadTextFile(const std::string& path);
IniFile ReadIniFile(const std::string& path);
// Writes a temporary file beside `path`, then renames it over `path`, so that a crash
// leaves either the old or the new file, never half of one. Creates missing folders.
bool WriteIniFile(const std::string& path, const IniFile& ini);

}  // namespace rassim
