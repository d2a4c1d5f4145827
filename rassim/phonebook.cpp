// A small INI reader and writer for the substitute's phonebook file.
#include "rassim/phonebook.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace rassim {
namespace {

namespace fs = std::filesystem;

bool IsBlank(const IniLine& line) {
  return line.key.empty() && Trim(line.value).empty();
}

// A section body line: `key=value`, or anything else kept verbatim.
IniLine ParseLine(std::string_view raw) {
  const std::string_view text = Trim(raw);
  const size_t equals = text.find('=');
  if (text.empty() || text.front() == ';' || equals == std::string_view::npos) {
    return {"", std::string(raw)};
  }
  const std::string_view key = Trim(text.substr(0, equals));
  if (key.empty()) {
    return {"", std::string(raw)};
  }
  return {std::string(key), std::string(Trim(text.substr(equals + 1)))};
}

std::string_view HeaderName(std::string_view text) {
  text.remove_prefix(1);  // the '['
  return Trim(text.substr(0, text.find(']')));
}

}  // namespace

const std::string* IniSection::Find(std::string_view key) const {
  for (const IniLine& line : lines) {
    if (!line.key.empty() && SameText(line.key, key)) {
      return &line.value;
    }
  }
  return nullptr;
}

void IniSection::Set(std::string_view key, std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  for (IniLine& line : lines) {
    if (!line.key.empty() && SameText(line.key, key)) {
      line.value = value;
      return;
    }
  }
  // New keys go before the blank lines that separate this section from the next.
  auto last = std::find_if_not(lines.rbegin(), lines.rend(), IsBlank).base();
  lines.insert(last, IniLine{std::string(key), std::string(value)});
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (raw.ends_with('\r')) {
      raw.remove_suffix(1);
    }
    if (Trim(raw).starts_with('[')) {
      ini.sections.push_back({std::string(HeaderName(Trim(raw))), {}});
    } else if (ini.sections.empty()) {
      ini.preamble.emplace_back(raw);
    } else {
      ini.sections.back().lines.push_back(ParseLine(raw));
    }
  }
  return ini;
}

std::string IniFile::Format() const {
  std::string text;
  for (const std::string& line : preamble) {
    text += line + "\r\n";
  }
  for (const IniSection& section : sections) {
    text += "[" + section.name + "]\r\n";
    for (const IniLine& line : section.lines) {
      text += line.key.empty() ? line.value : line.key + "=" + line.value;
      text += "\r\n";
    }
  }
  return text;
}

std::string ReadTextFile(const std::string& path) {
  try {
    // Unbuffered: the file is read in a few large pieces, and the program reads it on
    // every call, so a stream buffer per read would cost more than the reading.
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0);
    in.open(fs::path(path), std::ios::binary);
    std::string text;
    char piece[4096];
    while (in.read(piece, sizeof piece) || in.gcount() > 0) {
      text.append(piece, static_cast<size_t>(in.gcount()));
    }
    return text;
  } catch (const std::exception&) {
    return {};
  }
}

IniFile ReadIniFile(const std::string& path) {
  return IniFile::Parse(ReadTextFile(path));
}

bool WriteIniFile(const std::string& path, const IniFile& ini) {
  try {
    const fs::path target(path);
    fs::path temp = target;
    temp += ".tmp";
    std::error_code ignored;
    if (target.has_parent_path()) {
      fs::create_directories(target.parent_path(), ignored);
    }
    std::ofstream out;
    out.rdbuf()->pubsetbuf(nullptr, 0);  // one write of the whole text
    out.open(temp, std::ios::binary | std::ios::trunc);
    out << ini.Format();
    out.close();
    std::error_code error;
    if (out) {
      fs::rename(temp, target, error);
    }
    if (!out || error) {
      fs::remove(temp, ignored);
      return false;
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace rassim
