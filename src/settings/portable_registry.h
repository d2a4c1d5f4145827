// A portable copy's settings: the settings key's values in portable.ini beside the
// executable, section [Settings], under the same names, and a key below it in the section
// of its path ([Settings\AutoDialPrevious\Office]). Numbers are written as decimal
// numbers, texts as they are, binary values as hex digits. Every other key is the system
// registry's.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/profile_file.h"
#include "platform/registry.h"

inline constexpr const char* kPortableFile = "portable.ini";

// When portable.ini lies beside the executable: marks `files` portable, with the data
// folder its DataDir= names (relative to the executable's folder unless a full path), and
// returns the registry the program is to use. Otherwise returns `system` as it is.
std::unique_ptr<Registry> PortableSetUp(std::unique_ptr<Registry> system, Files& files,
                                        ProfileFile& profiles);

class PortableRegistry : public Registry {
 public:
  PortableRegistry(std::unique_ptr<Registry> system, ProfileFile& profiles, std::string file);

  // The settings key needs no creating: the file is there.
  bool CreateKey(RegRoot root, const std::string& key) override;
  RegRead ReadInt(RegRoot root, const std::string& key, const std::string& name,
                  uint32_t& value) override;
  RegRead ReadText(RegRoot root, const std::string& key, const std::string& name,
                   std::string& value) override;
  bool WriteInt(RegRoot root, const std::string& key, const std::string& name,
                uint32_t value) override;
  bool WriteText(RegRoot root, const std::string& key, const std::string& name,
                 const std::string& value) override;
  bool WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                   const std::string& bytes) override;
  bool ValueExists(RegRoot root, const std::string& key, const std::string& name) override;
  // In the file the value is emptied: the profile functions keep no other way.
  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
  bool DeleteKey(RegRoot root, const std::string& key) override;
  bool KeyExists(RegRoot root, const std::string& key) override;
  std::vector<std::string> SubKeys(RegRoot root, const std::string& key) override;
  RegRead ReadBytes(RegRoot root, const std::string& key, const std::string& name,
                    std::string& bytes) override;
  RegRead ReadPerformanceData(const std::string& objects, size_t size, std::string& bytes) override;

 private:
  // The key's section in the file; nothing for a key the system registry holds.
  std::optional<std::string> Section(RegRoot root, const std::string& key) const;
  // The value as the file holds it; nothing when it has none.
  std::optional<std::string> Value(const std::string& section, const std::string& name);

  std::unique_ptr<Registry> system_;
  ProfileFile& profiles_;
  std::string file_;
};
