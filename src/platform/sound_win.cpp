// Wave files, played by the system's multimedia functions.
#include <windows.h>
#include <mmsystem.h>

#include "platform/win_ports.h"

namespace {

class WinSound : public Sound {
 public:
  void PlayWave(const std::string& file) override {
    PlaySoundA(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
  }
};

}  // namespace

std::unique_ptr<Sound> MakeWinSound() {
  return std::make_unique<WinSound>();
}
