// The skin's button sounds: a short one when the mouse enters a button, another when a
// button is pressed, both only with the sound-effects option on.
#pragma once

#include "platform/files.h"
#include "platform/sound.h"
#include "settings/app_settings.h"
#include "display/skin.h"

class ButtonSounds {
 public:
  ButtonSounds(Sound& sound, Files& files, const AppSettings& settings)
      : sound_(sound), files_(files), settings_(settings) {}

  // The mouse is over the button or title button with hover key `key`: plays "Di.wav"
  // beside the program when it has just entered it.
  void Hover(int key);
  // The mouse is over none of them.
  void ClearHover() { hovered_.Clear(); }
  // A button went down: plays "Du.wav" beside the program.
  void PressSound();

  const HoverTable& Hovered() const { return hovered_; }

 private:
  void Play(const char* name);

  Sound& sound_;
  Files& files_;
  const AppSettings& settings_;
  HoverTable hovered_;
};
