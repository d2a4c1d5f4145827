// Port: sounds.
#pragma once

#include <string>

class Sound {
 public:
  virtual ~Sound() = default;
  // Plays a wave file by name without waiting; a sound still playing is cut off.
  virtual void PlayWave(const std::string& file) = 0;
};
