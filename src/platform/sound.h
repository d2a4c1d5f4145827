// Port: sounds.
#pragma once

#include <string>

#include "platform/files.h"

class Sound {
 public:
  virtual ~Sound() = default;
  // Plays a wave file by name without waiting; a sound still playing is cut off.
  virtual void PlayWave(const std::string& file) = 0;
};

// Plays `file` when it exists and its name ends in ".wav" in any letter case; an empty
// name, a missing file or any other kind of file plays nothing.
void PlayWaveFile(Sound& sound, Files& files, const std::string& file);
