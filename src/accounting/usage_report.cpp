// Opening the Usage window.
#include "accounting/usage_report.h"

#include <utility>
#include <vector>

void UsageReport::Usage1Click() {
  std::vector<UsageConnection> connections;
  for (const AccountInfo& row : connections_.Table()) {
    if (row.InUse) {
      connections.push_back({row.EntryName, ports_.locale.AnsiToUtf8(row.EntryName),
                             connections_.ProfileOf(row.EntryName).Limit});
    }
  }
  view_.ShowUsage(UsageModel(std::move(connections), ports_.clock.LocalNow(),
                             {ports_.locale.ListSeparator(), ports_.locale.DecimalSeparator()}),
                  session_.RecordFiles());
}
