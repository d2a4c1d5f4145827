// Schedules.ini: what is written, what reads back, and what a damaged file costs.
#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_app_ports.h"
#include "fakes/fake_profile_file.h"
#include "platform/date_time.h"
#include "schedule/schedule_store.h"

namespace {

constexpr const char* kPath = "C:\\Tarvolin\\Schedules.ini";
constexpr const char* kBackup = "C:\\Tarvolin\\Schedules.bak";

class ScheduleStoreTest : public ::testing::Test {
 protected:
  ScheduleStoreTest() { ClearSchedules(table_); }

  std::vector<std::string> Load() { return store_.LoadSchedules(table_); }

  FakeFiles files_;
  FakeProfileFile profiles_{files_};
  FakeLocale locale_;
  ScheduleStore store_{profiles_, files_, locale_};
  ScheduleTable table_;
};

TEST_F(ScheduleStoreTest, EverySlotInUseIsWrittenWithAllItsKeysAndReadsBack) {
  ScheduleItem weekly{true, kShutDown, kWeekly, 46100, 46000.25, 7,    0.75, 3,
                      0.5,  12,        0.125,   4,     30,       true, 45,   true};
  table_[0] = weekly;
  const ScheduleItem reconnect{
      .InUse = true, .EventType = kReconnect, .Period = kDaily, .ReconnectAfterHours = 24};
  table_[1] = reconnect;
  table_[3] = weekly;  // after a free slot: not written
  locale_.decimal = ',';
  std::string error;
  ASSERT_TRUE(store_.SaveSchedules(table_, error)) << error;
  EXPECT_EQ(profiles_.Sections(kPath), (std::vector<std::string>{"Schedule0", "Schedule1"}));
  EXPECT_EQ(profiles_.Keys(kPath, "Schedule0"),
            (std::vector<std::string>{"EventType", "Period", "DateTime01", "Minute11", "Time21",
                                      "Week31", "Time32", "Month41", "Time42", "Hour51", "Minute52",
                                      "PeriodOfValidity", "Confirm", "ReconnectAfterHours"}));
  EXPECT_EQ(profiles_.Read(kPath, "Schedule0", "DateTime01", ""), "46000,25");

  ClearSchedules(table_);
  table_[0].Performed = true;
  EXPECT_TRUE(Load().empty());
  ScheduleItem expected = weekly;
  TakeRunState(expected, ScheduleItem());  // what ran is the scheduler's to carry over
  EXPECT_EQ(table_[0], expected);
  EXPECT_EQ(table_[1], reconnect);
  EXPECT_FALSE(table_[2].InUse);
}

TEST_F(ScheduleStoreTest, MissingKeysTakeTheirDefaultsAndABadDateTimeCostsOnlyItself) {
  files_.content[kPath] =
      "[Mine]\r\nPeriod=5\r\nHour51=1\r\nDateTime01=1,5\r\nTime21=x\r\nTime32=0\r\nTime42=0\r\n"
      "ReconnectAfterHours=721\r\n"
      "[Other]\r\nEventType=3\r\nDateTime01=2\r\nTime21=0\r\nTime32=0\r\nTime42=0\r\n";
  for (ScheduleItem& slot : table_)
    slot = ScheduleItem{.InUse = true, .Performed = true, .ReconnectAfterHours = 5};
  const std::vector<std::string> problems = Load();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(
      problems[0],
      std::string(kPath) +
          ", section [Mine], key Time21: 'x' is not a valid floating point value; 0 is used.");
  EXPECT_EQ(table_[0].DateTime01, 1.5);
  EXPECT_EQ(table_[0].PeriodOfValidity, 10);
  EXPECT_FALSE(table_[0].Confirm);
  EXPECT_FALSE(table_[0].LoopOrigin);  // the scheduler starts a loop
  EXPECT_FALSE(table_[1].Performed);
  EXPECT_EQ(table_[0].ReconnectAfterHours, kMaxReconnectAfterHours);
  EXPECT_EQ(table_[1].EventType, kReconnect);
  EXPECT_EQ(table_[1].ReconnectAfterHours, 0);  // written before the key existed
  EXPECT_FALSE(table_[2].InUse);                // the file has two schedules now, not a hundred

  files_.content.erase(kPath);
  EXPECT_TRUE(Load().empty());
  EXPECT_TRUE(table_[1].InUse);
}

TEST_F(ScheduleStoreTest, SavingKeepsTheFirstBackupAndMoreThanAHundredSectionsAreReported) {
  std::string error;
  files_.content[kPath] = "first";
  table_.fill(ScheduleItem{.InUse = true});
  ASSERT_TRUE(store_.SaveSchedules(table_, error));
  ASSERT_TRUE(store_.SaveSchedules(table_, error));
  EXPECT_EQ(files_.content[kBackup], "first");
  EXPECT_EQ(profiles_.Sections(kPath).back(), "Schedule99");

  std::string sections;  // without keys, which costs each slot its four date-times
  for (int n = 0; n <= 100; ++n)
    sections += "[S]\r\n";
  files_.content[kPath] = sections;
  const std::vector<std::string> problems = Load();
  EXPECT_EQ(problems.size(), 401u);
  EXPECT_EQ(problems.front(), std::string(kPath) + ", section [S], key DateTime01: '' is not a " +
                                  "valid floating point value; 0 is used.");
  EXPECT_EQ(problems.back(),
            std::string(kPath) + " holds 101 schedules; only the first 100 are loaded.");

  files_.writable = false;
  EXPECT_FALSE(store_.SaveSchedules(table_, error));
  EXPECT_EQ(error, std::string("Unable to write to ") + kPath + ": Access denied.");
}

TEST_F(ScheduleStoreTest, AnyDecimalSeparatorReadsBackAndAnUnreadableFileIsLeftAlone) {
  locale_.decimal = '\'';
  table_[0] = ScheduleItem{.InUse = true, .DateTime01 = 46000.25, .Time21 = 46000.75};
  std::string error;
  ASSERT_TRUE(store_.SaveSchedules(table_, error)) << error;
  EXPECT_EQ(profiles_.Read(kPath, "Schedule0", "DateTime01", ""), "46000'25");
  ClearSchedules(table_);
  EXPECT_TRUE(Load().empty());
  EXPECT_EQ(table_[0].DateTime01, 46000.25);
  locale_.decimal = '.';  // written under another setting: "." and "," still read
  files_.content[kPath] = "[S]\r\nDateTime01=2,5\r\nTime21=3.5\r\nTime32=0\r\nTime42=0\r\n";
  EXPECT_TRUE(Load().empty());
  EXPECT_EQ(table_[0].DateTime01, 2.5);
  EXPECT_EQ(table_[0].Time21, 3.5);

  // Held open by another program: the table stays as it was until a read succeeds.
  files_.unreadable.insert(kPath);
  const std::vector<std::string> problems = Load();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], std::string(kPath) +
                             " cannot be read: The process cannot access the file because it is "
                             "being used by another process.\nThe schedules in it are not "
                             "loaded, and the file is not written over until it can be read.");
  EXPECT_TRUE(store_.Unread());
  EXPECT_EQ(table_[0].DateTime01, 2.5);
  files_.unreadable.clear();
  EXPECT_TRUE(Load().empty());
  EXPECT_FALSE(store_.Unread());
}

}  // namespace
