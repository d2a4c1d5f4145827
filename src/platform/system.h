// Port: facts about the operating system the program runs on.
#pragma once

class System {
 public:
  virtual ~System() = default;
  // The platform family: 0 a 16-bit host extension, 1 the consumer family, 2 the NT family.
  virtual int PlatformFamily() = 0;
};
