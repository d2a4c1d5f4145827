// Wave files, played by the system's multimedia functions.
#include <windows.h>
#include <mmsystem.h>

#include "platform/library_loader_win.h"
#include "platform/win_ports.h"

namespace {

class WinSound : public Sound {
 public:
  // The multimedia library is loaded at the first sound, as many sessions play none; a
  // system without it plays nothing.
  void PlayWave(const std::string& file) override {
    static const auto play = SystemFunction<decltype(&PlaySoundA)>("winmm.dll", "PlaySoundA");
    if (play)
      play(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
  }
};

}  // namespace

std::unique_ptr<Sound> MakeWinSound() {
  return std::make_unique<WinSound>();
}
