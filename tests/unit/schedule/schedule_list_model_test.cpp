// The schedule dialogs' rules: the list's cells, its enable rules, and what adding,
// editing and removing do to the working table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "fakes/fake_app_ports.h"
#include "fakes/fake_clock.h"
#include "platform/date_time.h"
#include "schedule/schedule_list_model.h"

namespace {

const double kNoon = ToDateTime({2026, 6, 1, 12, 0, 0});
const double kMorning = ToDateTime({2001, 2, 3, 8, 5, 9});

class ScheduleListTest : public ::testing::Test {
 protected:
  ScheduleListTest() {
    clock_.SetLocalStart(kNoon);
    ClearSchedules(table_);
  }

  ScheduleListModel Model(bool enabled = true) {
    return ScheduleListModel(table_, enabled, locale_, clock_);
  }

  FakeLocale locale_;
  FakeClock clock_;
  ScheduleTable table_;
};

TEST_F(ScheduleListTest, RowsShowTaskPeriodTimeConfirmAndValidity) {
  const ScheduleItem kinds[] = {
      {.InUse = true, .Period = kOnlyOnce, .DateTime01 = kMorning, .Confirm = true},
      {.InUse = true, .EventType = kDisconnect, .Period = kHourly, .Minute11 = 15},
      {.InUse = true, .EventType = kShutDown, .Period = kDaily, .Time21 = kMorning},
      {.InUse = true, .Period = kWeekly, .Week31 = 0, .Time32 = kMorning},
      {.InUse = true, .Period = kMonthly, .Month41 = 4, .Time42 = kMorning},
      {.InUse = true,
       .EventType = kReconnect,
       .Period = kLoop,
       .Hour51 = 2,
       .Minute52 = 30,
       .PeriodOfValidity = 999},
      {.InUse = true, .EventType = 4, .Period = 6},
  };
  std::copy(std::begin(kinds), std::end(kinds), table_.begin());
  const std::vector<ScheduleRow> expected = {
      {"Connect", "Only once", "2001-02-03 08:05:09", "Yes", "10"},
      {"Disconnect", "Hourly", "15 minutes", "No", "10"},
      {"Shut down PC", "Daily", "08:05:09", "No", "10"},
      {"Connect", "Weekly", "Sunday 08:05:09", "No", "10"},
      {"Connect", "Monthly", "5  08:05:09", "No", "10"},
      {"Reconnect", "Loop", "2hour 30minutes", "No", "999"},
      {"", "", "", "No", "10"},
  };
  EXPECT_EQ(Model().Rows(), expected);
  EXPECT_EQ(DayName(6), "Saturday");
  EXPECT_EQ(DayName(7), "");
}

TEST_F(ScheduleListTest, EditAndRemoveNeedASelectedRowAndEverythingNeedsTheEnableBox) {
  auto on = [](const ScheduleListControls& c) {
    return std::vector<bool>{c.List, c.Add, c.Edit, c.Remove};
  };
  ScheduleListModel model = Model(false);
  EXPECT_EQ(on(model.Controls(true)), std::vector<bool>(4, false));
  model.SetEnableAllSchedules(true);
  EXPECT_EQ(on(model.Controls(false)), (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(on(model.Controls(true)), std::vector<bool>(4, true));
}

TEST_F(ScheduleListTest, StoringAddsEditsAndRearmsRemovingShiftsAndAFullTableTakesNoMore) {
  table_[0] = {.InUse = true,
               .Period = kDaily,
               .LastPerformed = kNoon,
               .Minute11 = 12,
               .Time21 = kMorning,
               .Week31 = 4,
               .Performed = true,
               .ReconnectAfterHours = 24};
  ScheduleListModel model = Model();
  ScheduleFormValues added = *model.NewSchedule();
  EXPECT_FALSE(added.Editing);
  EXPECT_EQ(added.Date01, std::floor(kNoon));
  EXPECT_EQ(added.Time21, kNoon);
  added.Period = kOnlyOnce;
  added.Date01 = ToDateTime({2026, 7, 4});
  added.Time02 = kMorning;
  model.Store(-1, added);
  EXPECT_EQ(model.Result().Table[1].DateTime01, ToDateTime({2026, 7, 4, 8, 5, 9}));
  EXPECT_EQ(model.Result().Source[0], 0);  // unedited: goes on from the live schedule
  EXPECT_EQ(model.Result().Source[1], -1);

  ScheduleFormValues edited = model.EditSchedule(0);
  EXPECT_TRUE(edited.Editing);
  EXPECT_EQ(edited.Period, kDaily);
  EXPECT_EQ(edited.Time21, kMorning);
  EXPECT_EQ(edited.Minute11, 12);  // every type's inputs show what is stored
  EXPECT_EQ(edited.Week31, 4);
  EXPECT_EQ(edited.Time32, kNoon);  // never set: as for a new schedule
  EXPECT_EQ(edited.ReconnectAfterHours, 24);
  edited.Minute11 = 40;  // another type's input: not taken
  edited.Confirm = true;
  edited.Event = kReconnect;
  edited.ReconnectAfterHours = 36;
  model.Store(0, edited);
  const ScheduleItem& daily = model.Result().Table[0];
  EXPECT_FALSE(daily.Performed);  // due again today
  EXPECT_EQ(daily.LastPerformed, 0);
  EXPECT_EQ(daily.Minute11, 12);
  EXPECT_TRUE(daily.Confirm);
  EXPECT_EQ(daily.EventType, kReconnect);
  EXPECT_EQ(daily.ReconnectAfterHours, 36);
  EXPECT_EQ(model.Result().Source[0], -1);
  EXPECT_TRUE(ReconnectHoursEnabled(kReconnect));  // the hours' input, for no other task
  EXPECT_FALSE(ReconnectHoursEnabled(kShutDown));

  edited.Period = kLoop;
  edited.Hour51 = 1;
  model.Store(0, edited);
  EXPECT_FALSE(model.Result().Table[0].LoopOrigin);  // the scheduler starts it anew
  EXPECT_EQ(model.Result().Table[0].Time21, kMorning);

  table_[1] = table_[0];
  ScheduleListModel two = Model();
  two.Remove(0);
  EXPECT_EQ(two.Result().Source[0], 1);
  EXPECT_EQ(two.Result().Source[1], -1);

  model.Remove(0);
  EXPECT_EQ(model.Rows().size(), 1u);
  EXPECT_EQ(model.Result().Table[0].Period, kOnlyOnce);
  model.Remove(0);
  EXPECT_TRUE(model.Rows().empty());

  table_.fill(ScheduleItem{.InUse = true});
  ScheduleListModel full = Model();
  EXPECT_FALSE(full.NewSchedule());
  full.Store(-1, added);
  EXPECT_EQ(full.Result().Table, table_);
}

}  // namespace
