// Problems said once per run.
#include "platform/problem_report.h"

void ProblemReport::Say(const std::vector<std::string>& problems) {
  std::string text;
  for (const auto& problem : problems) {
    if (said_.insert(problem).second)
      text += problem + "\n";
  }
  if (!text.empty())
    prompts_.Error(text);
}
