// The settings of a portable copy, kept in portable.ini.
#include "settings/portable_registry.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/text.h"
#include "settings/settings_store.h"

namespace {

constexpr const char* kSection = "Settings";
// What no value of the file can be: the profile functions return it for a missing key.
constexpr const char* kMissing = "\x01";

bool FullPath(const std::string& path) {
  return (path.size() > 1 && path[1] == ':') || path.starts_with("\\") || path.starts_with("/");
}

std::string Hex(const std::string& bytes) {
  std::string text;
  char pair[3];
  for (unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

std::optional<std::string> FromHex(std::string_view text) {
  if (text.size() % 2 != 0)
    return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i < text.size(); i += 2) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
    if (error != std::errc() || end != text.data() + i + 2)
      return std::nullopt;
    bytes += static_cast<char>(value);
  }
  return bytes;
}

}  // namespace

std::unique_ptr<Registry> PortableSetUp(std::unique_ptr<Registry> system, Files& files,
                                        ProfileFile& profiles) {
  const std::string file = files.ExeDir() + kPortableFile;
  if (!files.Exists(file))
    return system;
  std::string data_dir = profiles.Read(file, kSection, "DataDir", "");
  if (!data_dir.empty()) {
    if (!FullPath(data_dir))
      data_dir = files.ExeDir() + data_dir;
    if (!data_dir.ends_with("\\") && !data_dir.ends_with("/"))
      data_dir += "\\";
  }
  files.SetPortable(data_dir);
  return std::make_unique<PortableRegistry>(std::move(system), profiles, file);
}

PortableRegistry::PortableRegistry(std::unique_ptr<Registry> system, ProfileFile& profiles,
                                   std::string file)
    : system_(std::move(system)), profiles_(profiles), file_(std::move(file)) {}

// The settings key is the section [Settings]; a key below it, such as
// Software\Tarvolin\AutoDialPrevious\Office, the section [Settings\AutoDialPrevious\Office].
std::optional<std::string> PortableRegistry::Section(RegRoot root, const std::string& key) const {
  const std::string settings = kSettingsKey;
  if (root != RegRoot::CurrentUser || key.size() < settings.size() ||
      !SameText(key.substr(0, settings.size()), settings))
    return std::nullopt;
  const std::string below = key.substr(settings.size());
  if (!below.empty() && below[0] != '\\')
    return std::nullopt;
  return kSection + below;
}

std::optional<std::string> PortableRegistry::Value(const std::string& section,
                                                   const std::string& name) {
  std::string value = profiles_.Read(file_, section, name, kMissing);
  if (value == kMissing)
    return std::nullopt;
  return value;
}

bool PortableRegistry::CreateKey(RegRoot root, const std::string& key) {
  return Section(root, key) || system_->CreateKey(root, key);
}

RegRead PortableRegistry::ReadInt(RegRoot root, const std::string& key, const std::string& name,
                                  uint32_t& value) {
  const std::optional<std::string> section = Section(root, key);
  if (!section)
    return system_->ReadInt(root, key, name, value);
  const std::optional<std::string> text = Value(*section, name);
  if (!text || text->empty())
    return RegRead::Missing;
  uint32_t number = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
  if (error != std::errc() || end != text->data() + text->size())
    return RegRead::WrongType;
  value = number;
  return RegRead::Ok;
}

RegRead PortableRegistry::ReadText(RegRoot root, const std::string& key, const std::string& name,
                                   std::string& value) {
  const std::optional<std::string> section = Section(root, key);
  if (!section)
    return system_->ReadText(root, key, name, value);
  const std::optional<std::string> text = Value(*section, name);
  if (!text)
    return RegRead::Missing;
  value = *text;
  return RegRead::Ok;
}

bool PortableRegistry::WriteInt(RegRoot root, const std::string& key, const std::string& name,
                                uint32_t value) {
  const std::optional<std::string> section = Section(root, key);
  return section ? profiles_.Write(file_, *section, name, std::to_string(value))
                 : system_->WriteInt(root, key, name, value);
}

bool PortableRegistry::WriteText(RegRoot root, const std::string& key, const std::string& name,
                                 const std::string& value) {
  const std::optional<std::string> section = Section(root, key);
  return section ? profiles_.Write(file_, *section, name, value)
                 : system_->WriteText(root, key, name, value);
}

bool PortableRegistry::WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                                   const std::string& bytes) {
  const std::optional<std::string> section = Section(root, key);
  return section ? profiles_.Write(file_, *section, name, Hex(bytes))
                 : system_->WriteBinary(root, key, name, bytes);
}

bool PortableRegistry::ValueExists(RegRoot root, const std::string& key, const std::string& name) {
  const std::optional<std::string> section = Section(root, key);
  return section ? Value(*section, name).has_value() : system_->ValueExists(root, key, name);
}

bool PortableRegistry::DeleteValue(RegRoot root, const std::string& key, const std::string& name) {
  const std::optional<std::string> section = Section(root, key);
  return section ? profiles_.Write(file_, *section, name, "")
                 : system_->DeleteValue(root, key, name);
}

// The settings section itself is never removed: it holds the file's DataDir.
bool PortableRegistry::DeleteKey(RegRoot root, const std::string& key) {
  const std::optional<std::string> section = Section(root, key);
  if (!section)
    return system_->DeleteKey(root, key);
  return *section == kSection || profiles_.DeleteSection(file_, *section);
}

bool PortableRegistry::KeyExists(RegRoot root, const std::string& key) {
  const std::optional<std::string> section = Section(root, key);
  if (!section)
    return system_->KeyExists(root, key);
  const std::vector<std::string> sections = profiles_.Sections(file_);
  return *section == kSection || std::ranges::any_of(sections, [&](const std::string& name) {
    return SameText(name, *section);
  });
}

std::vector<std::string> PortableRegistry::SubKeys(RegRoot root, const std::string& key) {
  return Section(root, key) ? std::vector<std::string>{} : system_->SubKeys(root, key);
}

RegRead PortableRegistry::ReadBytes(RegRoot root, const std::string& key, const std::string& name,
                                    std::string& bytes) {
  const std::optional<std::string> section = Section(root, key);
  if (!section)
    return system_->ReadBytes(root, key, name, bytes);
  const std::optional<std::string> text = Value(*section, name);
  if (!text)
    return RegRead::Missing;
  const std::optional<std::string> decoded = FromHex(*text);
  if (!decoded)
    return RegRead::WrongType;
  bytes = *decoded;
  return RegRead::Ok;
}

RegRead PortableRegistry::ReadPerformanceData(const std::string& objects, size_t size,
                                              std::string& bytes) {
  return system_->ReadPerformanceData(objects, size, bytes);
}
