// Reading a file of one record per line, a piece at a time, keeping the lines that are no
// record to report.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct BadLine {
  std::size_t number;  // counted from 1
  std::string text;    // its first 80 characters, and "..." when there are more
};

// Hands every line to Line, in order, and keeps the lines that are not a record, the first
// kKeptBadLines and the others counted. Lines end at LF, with or without a CR before it; a
// line cut between two pieces is read whole, and Finish reads a last line that has no end.
// Empty lines are passed over unreported.
class LineReader {
 public:
  virtual ~LineReader() = default;

  void Feed(std::string_view piece);
  void Finish();

  const std::vector<BadLine>& FirstBadLines() const { return first_bad_; }
  std::size_t BadLineCount() const { return bad_count_; }

  static constexpr std::size_t kKeptBadLines = 10;

 protected:
  // A line without its end; false when it is no record.
  virtual bool Line(std::string_view line) = 0;
  // At the end of the text, after its last line.
  virtual void AtEnd() {}
  // Keeps line `number` as one that is no record.
  void Bad(std::string_view line, std::size_t number);
  // The number of the line Line was given last.
  std::size_t LineNumber() const { return number_; }

 private:
  void Next(std::string_view line);

  std::string partial_;  // the start of a line cut by the end of a piece
  std::size_t number_ = 0;
  std::vector<BadLine> first_bad_;
  std::size_t bad_count_ = 0;
};
