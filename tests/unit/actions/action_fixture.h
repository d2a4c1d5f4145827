// An action runner over fakes, whose log lines and shell requests land in one journal.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/action_runner.h"
#include "fakes/fake_app_ports.h"
#include "fakes/fake_clock.h"

// Records each request also as "open FILE" in the journal, after the log's "status" lines.
class JournalShell : public FakeShell {
 public:
  explicit JournalShell(std::vector<std::string>& journal) : journal_(journal) {}
  bool OpenWith(const std::string& file, const std::string& parameters,
                const std::string& directory, ShowCommand show, void* owner) override {
    journal_.push_back("open " + file);
    return FakeShell::OpenWith(file, parameters, directory, show, owner);
  }

 private:
  std::vector<std::string>& journal_;
};

class ActionRunnerFixture : public ::testing::Test {
 protected:
  ActionRunnerFixture() {
    settings_.CkbEnableAllActions = true;
    settings_.CkbWriteLogs = false;
  }

  FakeMainView view_;
  JournalShell shell_{view_.journal};
  FakeDesktop desktop_;
  FakeFiles files_;
  FakeClock clock_;
  FakeLocale locale_;
  FakePrompts prompts_;
  AppSettings settings_;
  ConnectionLog log_{files_, clock_, locale_, prompts_, shell_, view_, settings_};
  ActionRunner runner_{shell_, desktop_, log_, settings_};
  ActionTable table_;
};
