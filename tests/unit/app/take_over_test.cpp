// The first start after the setup took over an earlier installation's data: what came, what
// came switched off, and each connection that dials a number of its own, said once.
#include <gtest/gtest.h>

#include "mainform_fixture.h"
#include "settings/settings_store.h"

namespace {

constexpr const char* kFrom = "C:\\Program Files\\Tarvolin";

class TakeOverTest : public MainformTest {
 protected:
  TakeOverTest()
      : MainformTest(
            "[First]\nStepDelayMs=0\nPhoneNumber=555-0100\n"
            "[Second]\nStepDelayMs=0\nPhoneNumber=555-0200\n") {}

  void Record(const std::string& files) {
    registry_.WriteText(RegRoot::CurrentUser, kSettingsKey, "TakenOverFrom", kFrom);
    registry_.WriteText(RegRoot::CurrentUser, kSettingsKey, "TakenOver", files);
  }
};

TEST_F(TakeOverTest, TheFirstStartSaysOnceWhatCameWhatIsOffAndWhichNumbersDiffer) {
  Record("Entries.ini, Actions.ini, Schedules.ini, TimeCount.CSV");
  files_.content["C:\\Tarvolin\\Entries.ini"] =
      "[First]\r\nPN=555-0199\r\n[Second]\r\nPN=555-0200\r\n";
  Start();
  ASSERT_EQ(prompts_.information.size(), 1u);
  EXPECT_EQ(prompts_.information[0],
            "Tarvolin took over from the earlier installation in C:\\Program Files\\Tarvolin: "
            "Entries.ini, Actions.ini, Schedules.ini, TimeCount.CSV.\r\n\r\n"
            "Any user could change them there, so the actions and schedules are switched off: "
            "review them under Action... and Schedule... and switch them on again with "
            "\"Enable all actions\" and \"Enable all schedules\".\r\n\r\n"
            "These connections dial a number of their own, not their phonebook entry's:\r\n"
            "First: 555-0199 (the phonebook has 555-0100)");
  EXPECT_FALSE(registry_.ValueExists(RegRoot::CurrentUser, kSettingsKey, "TakenOver"));
  EXPECT_FALSE(registry_.ValueExists(RegRoot::CurrentUser, kSettingsKey, "TakenOverFrom"));

  Start();
  EXPECT_EQ(prompts_.information.size(), 1u) << "said again";
}

TEST_F(TakeOverTest, EachPartIsSaidOnlyForWhatCame) {
  Start();
  EXPECT_TRUE(prompts_.information.empty()) << "a start without a record says nothing";

  Record("Actions.ini, Sessions.csv");
  files_.content["C:\\Tarvolin\\Entries.ini"] = "[First]\r\nPN=\r\n[Second]\r\nPN=555-0200\r\n";
  Start();
  ASSERT_EQ(prompts_.information.size(), 1u);
  EXPECT_EQ(prompts_.information[0],
            "Tarvolin took over from the earlier installation in C:\\Program Files\\Tarvolin: "
            "Actions.ini, Sessions.csv.\r\n\r\n"
            "Any user could change them there, so the actions are switched off: review them "
            "under Action... and switch them on again with \"Enable all actions\".");

  Record("TimeCount.CSV");
  Start();
  ASSERT_EQ(prompts_.information.size(), 2u);
  EXPECT_EQ(prompts_.information[1],
            "Tarvolin took over from the earlier installation in C:\\Program Files\\Tarvolin: "
            "TimeCount.CSV.");
}

}  // namespace
