// The skin's button sounds.
#include "display/button_sounds.h"

void ButtonSounds::Hover(int key) {
  if (hovered_.Hover(key))
    Play("Di.wav");
}

void ButtonSounds::PressSound() {
  Play("Du.wav");
}

void ButtonSounds::Play(const char* name) {
  if (settings_.CkbSoundEffect)
    PlayWaveFile(sound_, files_, files_.ExeDir() + name);
}
