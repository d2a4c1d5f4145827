// Schedules.ini as anyone may have edited it: the table that loads saves and loads back the
// same, a sound section after the damage loads whole, and the check each second can take
// whatever loaded.
#include <cmath>

#include "fakes/fake_app_ports.h"
#include "fakes/fake_profile_file.h"
#include "fuzz_check.h"
#include "platform/date_time.h"
#include "schedule/due_rules.h"
#include "schedule/schedule_store.h"

namespace {

const double kNow = ToDateTime({2026, 6, 1, 12, 34, 56});

struct Store {
  explicit Store(const std::string& text) { files.content[store.Path()] = text; }

  ScheduleTable Load() {
    ScheduleTable table;
    store.LoadSchedules(table);
    return table;
  }

  FakeFiles files;
  FakeProfileFile ini{files};
  FakeLocale locale;
  ScheduleStore store{ini, files, locale};
};

// Saved texts compare where tables cannot: a date-time of more digits than are written
// loads back as the nearest one written.
std::string Saved(const ScheduleTable& table) {
  Store saved("");
  std::string error;
  FUZZ_EXPECT(saved.store.SaveSchedules(table, error));
  return saved.files.content[saved.store.Path()];
}

ScheduleItem SoundSchedule() {
  ScheduleItem item;
  item.InUse = true;
  item.EventType = kDisconnect;
  item.Period = kWeekly;
  item.Week31 = 5;
  item.Time32 = 0.75;
  item.PeriodOfValidity = 30;
  item.Confirm = true;
  return item;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string sound = Saved({SoundSchedule()});
  Store damaged(WithSoundSection(FuzzText(data, size), sound));
  const ScheduleTable loaded = damaged.Load();
  const std::string saved = Saved(loaded);
  FUZZ_EXPECT(Saved(Store(saved).Load()) == saved);
  const std::vector<std::string> sections = damaged.ini.Sections(damaged.store.Path());
  if (sections.size() <= kScheduleSlots && !HidesSoundSection(sections))
    FUZZ_EXPECT(loaded[sections.size() - 1] == SoundSchedule());
  for (int slot = 0; slot < ScheduleCount(loaded); ++slot) {
    ScheduleItem item = loaded[slot];
    for (double now : {kNow, std::floor(kNow) + 5, kNow + 31}) {  // a day and month apart
      const ScheduleNow at{now, static_cast<uint64_t>(now * 86400000), now - 1};
      StartLoop(item, at);
      if (IsDue(item, at))
        MarkPerformed(item, at);
    }
  }
  return 0;
}
