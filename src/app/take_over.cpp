// The setup's record of a take-over, and the notice the next start gives of it.
#include "app/take_over.h"

#include <algorithm>

#include "settings/settings_store.h"

namespace {

constexpr const char* kFromValue = "TakenOverFrom";
constexpr const char* kFilesValue = "TakenOver";

std::vector<std::string> SplitNames(const std::string& text) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find(", ", start), text.size());
    if (end > start)
      names.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return names;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator) {
  std::string text;
  for (const std::string& part : parts)
    text += (text.empty() ? "" : separator) + part;
  return text;
}

// The switched-off part: actions start programs and schedules dial and shut down, and both
// came from a folder any user could change.
std::string SwitchedOff(const std::vector<std::string>& files) {
  const auto came = [&files](const char* name) {
    return std::find(files.begin(), files.end(), name) != files.end();
  };
  std::vector<std::string> what, where, boxes;
  if (came("Actions.ini")) {
    what.push_back("actions");
    where.push_back("Action...");
    boxes.push_back("\"Enable all actions\"");
  }
  if (came("Schedules.ini")) {
    what.push_back("schedules");
    where.push_back("Schedule...");
    boxes.push_back("\"Enable all schedules\"");
  }
  if (what.empty())
    return "";
  return "\r\n\r\nAny user could change them there, so the " + Joined(what, " and ") +
         " are switched off: review them under " + Joined(where, " and ") +
         " and switch them on again with " + Joined(boxes, " and ") + ".";
}

}  // namespace

std::optional<TakeOverRecord> TakeTakeOverRecord(Registry& registry) {
  TakeOverRecord record;
  std::string files;
  if (registry.ReadText(RegRoot::CurrentUser, kSettingsKey, kFromValue, record.from) !=
          RegRead::Ok ||
      registry.ReadText(RegRoot::CurrentUser, kSettingsKey, kFilesValue, files) != RegRead::Ok)
    return std::nullopt;
  registry.DeleteValue(RegRoot::CurrentUser, kSettingsKey, kFromValue);
  registry.DeleteValue(RegRoot::CurrentUser, kSettingsKey, kFilesValue);
  record.files = SplitNames(files);
  return record;
}

std::string TakeOverNotice(const TakeOverRecord& record,
                           const std::vector<NumberDifference>& differences) {
  std::string text = "Tarvolin took over from the earlier installation in " + record.from + ": " +
                     Joined(record.files, ", ") + "." + SwitchedOff(record.files);
  if (!differences.empty()) {
    text += "\r\n\r\nThese connections dial a number of their own, not their phonebook entry's:";
    for (const NumberDifference& difference : differences)
      text += "\r\n" + difference.entry + ": " + difference.own + " (the phonebook has " +
              (difference.phonebook.empty() ? std::string("none") : difference.phonebook) + ")";
  }
  return text;
}
