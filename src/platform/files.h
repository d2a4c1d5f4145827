// Port: the files beside the executable.
#pragma once

#include <string>

class Files {
 public:
  virtual ~Files() = default;
  // The running executable's folder, with a trailing separator.
  virtual std::string ExeDir() = 0;
  // The running executable's full path.
  virtual std::string ExePath() = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Appends text to the file, creating it when missing; the file is closed again
  // before this returns. On failure returns false and the system's reason in `error`.
  virtual bool Append(const std::string& path, const std::string& text, std::string& error) = 0;
};
