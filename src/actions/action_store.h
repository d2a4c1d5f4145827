// The user's actions: the fixed table of 100 slots and its file Actions.ini beside the
// executable.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile_file.h"

// The four points of a connection's life at which actions run.
enum class PerformAt { BeforeDialing, AfterConnected, WhenDisconnected, WhenErrorOccurs };

constexpr int kRunStart = 0;     // ActionType: open a file, program or address
constexpr int kCloseWindow = 1;  // ActionType: close windows by caption

// Every field is kept whatever the type, so switching an action's type and back loses
// nothing. A default-constructed value is the free slot.
struct ActionInfo {
  bool InUse = false;
  int ActionType = kRunStart;
  std::string FileName;
  std::string Directory;
  std::string CommandLine;
  std::string WindowText;
  bool CloseContainText = true;
  bool BeforeDialing = false;
  bool AfterConnected = false;
  bool WhenDisconnected = false;
  bool WhenErrorOccurs = false;
  int WindowStatus = 0;  // 0 Normal, 1 Maximize, 2 Minimize, 3 Hide

  bool operator==(const ActionInfo&) const = default;
};

// Slots in use are packed from slot 0; readers stop at the first free slot.
constexpr int kActionSlots = 100;
using ActionTable = std::array<ActionInfo, kActionSlots>;

// Every slot free.
void ClearActions(ActionTable& table);
// Whether `point` is one of the action's points.
bool PerformsAt(const ActionInfo& action, PerformAt point);

// One section per action, taken in file order whatever its name; a missing key or a number
// that does not parse takes the free slot's value.
class ActionStore {
 public:
  ActionStore(ProfileFile& file, Files& files);

  std::string Path();

  // Fills the table from the file's sections, the first into slot 0, and frees the slots
  // after the last one read. Without a file, or with one that exists but cannot be read
  // (see Unread), the table stays as it is. Sections beyond the table's size are ignored;
  // the returned text says so.
  std::vector<std::string> LoadActions(ActionTable& table);
  // The file existed at the last load but could not be read: writing it now could lose
  // actions the program never saw. A successful save ends it.
  bool Unread() const { return unread_; }

  // Writes the slots up to the first free one as sections Action0, Action1, ... The old
  // file becomes Actions.bak unless a backup exists; the file is replaced whole, so a
  // failed save leaves the old one. False with a text naming the file and the reason.
  bool SaveActions(const ActionTable& table, std::string& error);

 private:
  ProfileFile& file_;
  Files& files_;
  bool unread_ = false;
};
