// A profile (INI) file kept as text in FakeFiles, read and written the way the system does.
#pragma once

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fakes/fake_app_ports.h"
#include "platform/profile_file.h"

// Section and key names match without regard to case. Reading trims blanks around the
// value and strips one pair of matching quotes. Writing replaces the key's line, or adds
// it after the section's last line, or adds the section at the end of the file; the file
// is created in FakeFiles when missing.
class FakeProfileFile : public ProfileFile {
 public:
  explicit FakeProfileFile(FakeFiles& files) : files_(files) {}

  std::string Read(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& fallback) override;
  std::vector<std::string> Sections(const std::string& file) override;
  bool Write(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value) override;
  bool DeleteSection(const std::string& file, const std::string& section) override;

  // The key names of a section, in file order.
  std::vector<std::string> Keys(const std::string& file, const std::string& section);

  // Writes still allowed; the next write is refused once this reaches 0. Negative: no limit.
  int writes_left = -1;

 private:
  // The file's lines, none when it is missing: reading never creates the file. Valid until
  // the next call.
  const std::vector<std::string>& FileLines(const std::string& file);
  void Store(const std::string& file, const std::vector<std::string>& lines);

  FakeFiles& files_;
  std::string split_text_;
  std::vector<std::string> split_lines_;
  // Each section's lines (from after its header to the next), by its name in lower case;
  // the first of two alike wins, as in a lookup by the system. Kept with split_lines_: the
  // fuzz targets read files of hundreds of sections key by key.
  std::unordered_map<std::string, std::pair<size_t, size_t>> split_sections_;
};
