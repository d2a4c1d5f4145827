// Port: the system's profile-string (INI file) functions, key by key.
#pragma once

#include <string>
#include <vector>

// Section and key names match without regard to case. Like the system's functions,
// reading trims surrounding blanks and strips one pair of surrounding quotes.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  virtual std::string Read(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& fallback) = 0;
  // The names of the file's sections in file order; none when the file is missing.
  virtual std::vector<std::string> Sections(const std::string& file) = 0;
  // Creates the file and section when missing. False when the system refused the write.
  virtual bool Write(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
  // Removes the section with its keys; true also when there was none.
  virtual bool DeleteSection(const std::string& file, const std::string& section) = 0;
};
