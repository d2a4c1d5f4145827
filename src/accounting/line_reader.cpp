// Files of one record per line.
#include "accounting/line_reader.h"

namespace {

constexpr std::size_t kShownLineLength = 80;

std::string Shown(std::string_view line) {
  return line.size() <= kShownLineLength ? std::string(line)
                                         : std::string(line.substr(0, kShownLineLength)) + "...";
}

}  // namespace

void LineReader::Feed(std::string_view piece) {
  for (std::size_t end; (end = piece.find('\n')) != std::string_view::npos;) {
    if (partial_.empty()) {
      Next(piece.substr(0, end));
    } else {
      partial_.append(piece.substr(0, end));
      Next(partial_);
      partial_.clear();
    }
    piece.remove_prefix(end + 1);
  }
  partial_.append(piece);
}

void LineReader::Finish() {
  if (!partial_.empty()) {
    Next(partial_);
    partial_.clear();
  }
  AtEnd();
}

void LineReader::Next(std::string_view line) {
  ++number_;
  if (line.ends_with('\r')) {
    line.remove_suffix(1);
  }
  if (!line.empty() && !Line(line)) {
    Bad(line, number_);
  }
}

void LineReader::Bad(std::string_view line, std::size_t number) {
  if (first_bad_.size() < kKeptBadLines) {
    first_bad_.push_back({number, Shown(line)});
  }
  ++bad_count_;
}
