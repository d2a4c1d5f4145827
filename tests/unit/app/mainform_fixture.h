// The main controller wired to fakes of every port, with the RAS substitute's engine
// in-process as its RAS, on a fake clock.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/mainform.h"
#include "fakes/fake_app_ports.h"
#include "fakes/fake_hotkeys.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_profile_file.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_ui_loop.h"
#include "fakes/rassim_loader.h"
#include "fakes/temp_phonebook.h"

inline constexpr const char* kLogPath = "C:\\Tarvolin\\DialLog.TXT";

class MainformTest : public ::testing::Test {
 protected:
  explicit MainformTest(
      const std::string& phonebook = "[First]\nStepDelayMs=0\n[Second]\nStepDelayMs=0\n")
      : phonebook_(phonebook) {}

  // Creates the controller (again, like a new start of the program) and runs FormCreate.
  Tmainform& Start(std::vector<std::string> args = {}) {
    form_.reset();
    form_ = std::make_unique<Tmainform>(ports_, view_, std::move(args));
    form_->FormCreate();
    return *form_;
  }

  std::string Log() { return files_.content[kLogPath]; }

  // How many lines of the log contain `text`.
  int LogCount(const std::string& text) {
    int count = 0;
    for (size_t at = Log().find(text); at != std::string::npos; at = Log().find(text, at + 1)) {
      ++count;
    }
    return count;
  }

  // Lets fake time pass, pumping messages all along; fails the test if it could not.
  void Elapse(uint64_t ms) {
    const uint64_t until = clock_.Now() + ms;
    EXPECT_TRUE(ui_.AdvanceTo(until)) << "fake time stopped at " << clock_.Now() << " of " << until;
  }

  TempPhonebook phonebook_;
  RassimLoader loader_;
  RasApi ras_{loader_};
  FakeClock clock_;
  FakeUiLoop ui_{clock_};
  FakeLocale locale_;
  FakeFiles files_;
  FakeShell shell_;
  FakePrompts prompts_;
  FakeRegistry registry_;
  FakeProfileFile profiles_{files_};
  FakeKeyboard keyboard_;
  FakeSound sound_;
  FakeDesktop desktop_;
  FakeSystem system_;
  FakeNetwork network_;
  FakeXml xml_;
  FakeHotKeys hotkeys_;
  MainPorts ports_ = MainPortsBuilder()
                         .WithRas(ras_)
                         .WithUi(ui_)
                         .WithClock(clock_)
                         .WithLocale(locale_)
                         .WithFiles(files_)
                         .WithShell(shell_)
                         .WithPrompts(prompts_)
                         .WithRegistry(registry_)
                         .WithProfiles(profiles_)
                         .WithKeyboard(keyboard_)
                         .WithSound(sound_)
                         .WithDesktop(desktop_)
                         .WithSystem(system_)
                         .WithNetwork(network_)
                         .WithXml(xml_)
                         .WithHotKeys(hotkeys_)
                         .Build();
  FakeMainView view_;
  std::unique_ptr<Tmainform> form_;
};
