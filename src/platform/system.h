// Port: facts about the operating system the program runs on.
#pragma once

#include <string>

class System {
 public:
  virtual ~System() = default;
  // The platform family: 0 a 16-bit host extension, 1 the consumer family, 2 the NT family.
  virtual int PlatformFamily() = 0;
  // Asks for the privilege to shut the computer down, then for the shutdown itself. False
  // with the system's reason in `reason` when either is refused.
  virtual bool ShutDown(std::string& reason) = 0;
};
