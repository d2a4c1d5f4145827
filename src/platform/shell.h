// Port: the shell, which opens files and addresses with the programs the user chose.
#pragma once

#include <string>

class Shell {
 public:
  virtual ~Shell() = default;
  // Performs the verb "Open" on the file, shown normally, parented to `owner`.
  // Does not wait for the program that opens it. False when the shell refused.
  virtual bool Open(const std::string& file, void* owner) = 0;
};
