// The read-outs' texts in each view mode, and the transfer ring's samples.
#include "display/readouts.h"

#include <gtest/gtest.h>

#include "app/mainform_fixture.h"
#include "commands/command_ids.h"

namespace {

TEST(Readouts, GroupedNumbersAndTheRingsSamples) {
  EXPECT_EQ(FormatGrouped(1000), "1,000");
  EXPECT_EQ(FormatGrouped(100), "100");
  EXPECT_EQ(FormatGrouped(1234567), "1,234,567");
  EXPECT_EQ(FormatGrouped(-5), "0");

  TransferRing ring;
  ring.TakeSample(true, 5000, 800);
  ring.TakeSample(true, 5600, 900);
  ring.TakeSample(false, 0, 0);
  ring.TakeSample(true, 100, 50);  // re-baselined: the difference wraps to a large value
  EXPECT_EQ(ring.Cells()[1].received, 600);
  EXPECT_EQ(ring.Cells()[1].sent, 100);
  EXPECT_EQ(ring.Cells()[2].received, 0);
  EXPECT_EQ(static_cast<uint32_t>(ring.Cells()[3].received), 100u - 5600u);
  EXPECT_EQ(ring.WriteIndex(), 4);
  ring.ResetLast();
  EXPECT_EQ(ring.LastRecv(), 0);
}

class ReadoutsTest : public MainformTest {
 protected:
  ReadoutsTest()
      : MainformTest("[Good]\nStepDelayMs=0\nServerIP=127.0.0.1\nClientIP=127.0.0.2\n") {}
};

TEST_F(ReadoutsTest, EachViewShowsTheSelectedConnectionAndAnEmptyListChangesNothing) {
  Tmainform& form = Start();
  EXPECT_EQ(view_.readout_captions,
            (std::array<std::string, 3>{"Time", "Today", "Since Billing Day"}));
  form.ControlClick(IDC_BTNVIEWIP);
  EXPECT_EQ(view_.readouts, (std::array<std::string, 3>{"N/A", "N/A", "0"}));  // offline
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  form.ControlClick(IDC_BTNVIEWIP);
  EXPECT_EQ(view_.readouts[0], "127.0.0.1");
  EXPECT_EQ(view_.readouts[1], "127.0.0.2");
  EXPECT_EQ(form.Settings().ViewMode, 2);

  form.ControlClick(IDC_BTNVIEWTIME);
  Elapse(61000);
  EXPECT_EQ(view_.readouts[0].substr(0, 5), "00:01");  // the tick shows the session
  form.ControlClick(IDC_BTNVIEWEXPENSE);
  EXPECT_EQ(view_.readouts, (std::array<std::string, 3>{"0.00", "0.00", "0.00"}));

  // Each read-out copies what it shows, as one line.
  form.CopyPopPopup(1);
  form.ControlClick(IDM_COPYTOCLIPBOARD1);
  EXPECT_EQ(desktop_.clipboard, "0.00\r\n");
  form.ControlClick(IDC_BTNVIEWIP);
  form.CopyPopPopup(2);
  form.ControlClick(IDM_COPYTOCLIPBOARD1);
  EXPECT_EQ(desktop_.clipboard, "127.0.0.2\r\n");

  phonebook_.Write("");
  form.Refresh1Click();
  form.ControlClick(IDC_BTNVIEWSPEED);
  EXPECT_EQ(form.Settings().ViewMode, 2);
  EXPECT_EQ(view_.readout_captions[0], "Server IP");
}

}  // namespace
