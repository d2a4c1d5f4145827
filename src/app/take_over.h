// The setup's record of what it took over from an earlier installation, said once at the
// next start: what came from where, what came switched off and where to switch it back on,
// and each connection whose own number is not its phonebook entry's.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "profiles/connection_list.h"

struct TakeOverRecord {
  std::string from;                // the earlier installation's folder
  std::vector<std::string> files;  // the data files that came, by name
};

// The record in the settings key (TakenOverFrom, and TakenOver as "A, B"), deleted as it is
// read so that it is said once; nullopt when there is none.
std::optional<TakeOverRecord> TakeTakeOverRecord(Registry& registry);

std::string TakeOverNotice(const TakeOverRecord& record,
                           const std::vector<NumberDifference>& differences);
