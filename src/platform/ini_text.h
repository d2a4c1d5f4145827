// Writing a whole INI file at once, in the form the system's profile-string functions
// read, so that a store can save all its sections in one step that cannot be cut short.
#pragma once

#include <string>

#include "platform/files.h"

// The text to write for `value` so that the profile-string functions read back exactly
// `value`. They trim blanks around a value and strip one pair of quotes from it, so a value
// that starts or ends with a blank, another control character or a quote is written
// inside double quotes; any other is written as it is.
std::string IniValue(const std::string& value);

class IniText {
 public:
  // Starts section `name`; the keys added next belong to it.
  void Section(const std::string& name);
  // Writes `value` in its IniValue form.
  void Key(const std::string& name, const std::string& value);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Saves `text` as the file `path`. When the file exists and `backup` does not, the old
// content is kept in `backup` first (an existing backup is never replaced). The file is
// then replaced whole: a crash or a full disk leaves the old content or the new, never
// part of either. False with the system's reason in `error` when the file could not be
// written; the old content then stays.
bool SaveWithBackup(Files& files, const std::string& path, const std::string& backup,
                    const std::string& text, std::string& error);
