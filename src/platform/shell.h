// Port: the shell, which opens files and addresses with the programs the user chose.
#pragma once

#include <string>

// How a started program's window first shows, numbered as the system's show commands.
enum class ShowCommand { Hide = 0, ShowMaximized = 3, Show = 5, Minimize = 6 };

class Shell {
 public:
  virtual ~Shell() = default;
  // Performs the verb "Open" on the file, shown normally, parented to `owner`.
  // Does not wait for the program that opens it. False when the shell refused.
  virtual bool Open(const std::string& file, void* owner) = 0;
  // The same with the program's parameters, its working folder (empty: this program's)
  // and how its window shows.
  virtual bool OpenWith(const std::string& file, const std::string& parameters,
                        const std::string& directory, ShowCommand show, void* owner) = 0;
};
