// Problems with the user's data or the system, each said once per run.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/prompts.h"

// A bad value is read again at every rebuild and dial, and a missing library fails every
// tick: saying each distinct text once is enough. The texts not said before go into one
// error box.
class ProblemReport {
 public:
  explicit ProblemReport(Prompts& prompts) : prompts_(prompts) {}

  void Say(const std::vector<std::string>& problems);

 private:
  Prompts& prompts_;
  std::set<std::string> said_;
};
