// Which files the program plays.
#include "platform/sound.h"

#include "platform/text.h"

void PlayWaveFile(Sound& sound, Files& files, const std::string& file) {
  if (file.empty() || !files.Exists(file))
    return;
  const auto dot = file.find_last_of('.');
  if (dot != std::string::npos && AsciiLowerCase(file.substr(dot)) == ".wav")
    sound.PlayWave(file);
}
