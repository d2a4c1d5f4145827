// A profile (INI) file kept as text in FakeFiles, read and written the way the system does.
#include "fakes/fake_profile_file.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#include "platform/text.h"

namespace {

using Lines = std::vector<std::string>;

struct Span {
  size_t begin;  // the first line after the section's header
  size_t end;    // the next header, or the end of the file
};

Lines Split(const std::string& text) {
  Lines lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) {
    lines.push_back(text.substr(start));
  }
  for (std::string& line : lines) {
    if (line.ends_with('\r')) {
      line.pop_back();
    }
  }
  return lines;
}

std::optional<std::string_view> Header(std::string_view line) {
  if (line.find('[') == std::string_view::npos) {
    return std::nullopt;  // the quick answer for most lines
  }
  line = Trim(line);
  if (!line.starts_with('[') || line.find(']') == std::string_view::npos) {
    return std::nullopt;
  }
  return Trim(line.substr(1, line.find(']') - 1));
}

std::optional<std::string_view> KeyName(std::string_view line) {
  const size_t equals = line.find('=');
  if (Header(line) || equals == std::string_view::npos) {
    return std::nullopt;
  }
  return Trim(line.substr(0, equals));
}

// The line of the next header after line `header`, or the end of the file.
size_t SectionEnd(const Lines& lines, size_t header) {
  size_t end = header + 1;
  while (end < lines.size() && !Header(lines[end])) {
    ++end;
  }
  return end;
}

std::optional<Span> FindSection(const Lines& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (Header(lines[i]) && SameText(*Header(lines[i]), section)) {
      return Span{i + 1, SectionEnd(lines, i)};
    }
  }
  return std::nullopt;
}

std::optional<Span> IndexedSection(
    const std::unordered_map<std::string, std::pair<size_t, size_t>>& sections,
    std::string_view section) {
  const auto found = sections.find(AsciiLowerCase(section));
  if (found == sections.end()) {
    return std::nullopt;
  }
  return Span{found->second.first, found->second.second};
}

std::optional<size_t> FindKey(const Lines& lines, Span span, std::string_view key) {
  for (size_t i = span.begin; i < span.end; ++i) {
    if (KeyName(lines[i]) && SameText(*KeyName(lines[i]), key)) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace

const std::vector<std::string>& FakeProfileFile::FileLines(const std::string& file) {
  static const std::string kMissing;
  const auto found = files_.content.find(file);
  const std::string& text = found == files_.content.end() ? kMissing : found->second;
  if (text != split_text_) {
    split_text_ = text;
    split_lines_ = Split(text);
    split_sections_.clear();
    for (size_t i = 0; i < split_lines_.size(); ++i) {
      if (const std::optional<std::string_view> name = Header(split_lines_[i])) {
        split_sections_.emplace(AsciiLowerCase(*name),
                                std::pair(i + 1, SectionEnd(split_lines_, i)));
      }
    }
  }
  return split_lines_;
}

std::string FakeProfileFile::Read(const std::string& file, const std::string& section,
                                  const std::string& key, const std::string& fallback) {
  const Lines& lines = FileLines(file);
  const std::optional<Span> span = IndexedSection(split_sections_, section);
  const std::optional<size_t> line = span ? FindKey(lines, *span, key) : std::nullopt;
  if (!line) {
    return fallback;
  }
  std::string_view value = Trim(std::string_view(lines[*line]).substr(lines[*line].find('=') + 1));
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool FakeProfileFile::Write(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& value) {
  if (writes_left == 0) {
    return false;
  }
  writes_left -= writes_left > 0;
  Lines lines = FileLines(file);
  const std::string line = key + "=" + value;
  if (const std::optional<Span> span = FindSection(lines, section)) {
    if (const std::optional<size_t> old = FindKey(lines, *span, key)) {
      lines[*old] = line;
    } else {
      size_t after = span->end;
      while (after > span->begin && Trim(lines[after - 1]).empty()) {
        --after;
      }
      lines.insert(lines.begin() + after, line);
    }
  } else {
    lines.insert(lines.end(), {"[" + section + "]", line});
  }
  Store(file, lines);
  return true;
}

bool FakeProfileFile::DeleteSection(const std::string& file, const std::string& section) {
  if (writes_left == 0) {
    return false;
  }
  writes_left -= writes_left > 0;
  Lines lines = FileLines(file);
  if (const std::optional<Span> span = FindSection(lines, section)) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(span->begin - 1),
                lines.begin() + static_cast<std::ptrdiff_t>(span->end));
    Store(file, lines);
  }
  return true;
}

void FakeProfileFile::Store(const std::string& file, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& each : lines) {
    text += each + "\r\n";
  }
  files_.content[file] = text;
}

std::vector<std::string> FakeProfileFile::Sections(const std::string& file) {
  std::vector<std::string> names;
  for (const std::string& line : FileLines(file)) {
    if (Header(line)) {
      names.emplace_back(*Header(line));
    }
  }
  return names;
}

std::vector<std::string> FakeProfileFile::Keys(const std::string& file,
                                               const std::string& section) {
  const Lines& lines = FileLines(file);
  std::vector<std::string> keys;
  if (const std::optional<Span> span = IndexedSection(split_sections_, section)) {
    for (size_t i = span->begin; i < span->end; ++i) {
      if (KeyName(lines[i])) {
        keys.emplace_back(*KeyName(lines[i]));
      }
    }
  }
  return keys;
}
