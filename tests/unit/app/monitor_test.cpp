// The one-second monitor: the keep-alive echo and its count, the tray hint, and the
// addresses copied to the clipboard on connect.
#include <gtest/gtest.h>


#include "mainform_fixture.h"

namespace {

class MonitorTest : public MainformTest {
 protected:
  MonitorTest() : MainformTest("[Good]\nStepDelayMs=0\nServerIP=127.0.0.1\nClientIP=127.0.0.2\n") {}

  Tmainform& StartOnline() {
    Tmainform& form = Start();
    form.Dial1Click();
    EXPECT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
    return form;
  }

  void Ticks(Tmainform& form, int count) {
    for (int i = 0; i < count; ++i)
      form.CheckTimerTimer();
  }
};

TEST_F(MonitorTest, TheKeepAliveEchoGoesEveryUdPingSrvMinutesOfTicksCountedWhileOn) {
  Tmainform& form = StartOnline();
  form.Settings().CkbPingSrv = true;
  form.Settings().UdPingSrv = 2;
  const int counted = form.KeepAliveEcho().PingTickCount();
  Ticks(form, 60 - counted);
  form.Settings().CkbPingSrv = false;  // off: the count holds
  Ticks(form, 500);
  form.Settings().CkbPingSrv = true;
  Ticks(form, 59);
  EXPECT_TRUE(network_.sent.empty());
  Ticks(form, 1);
  ASSERT_EQ(network_.sent.size(), 1u);
  EXPECT_EQ(network_.sent[0].address, 0x7F000001u);
  EXPECT_EQ(network_.sent[0].message.size(), 76u);

  // Without a line nothing goes out, but the ticks still count.
  form.HangUp1Click();
  Ticks(form, 120);
  EXPECT_EQ(network_.sent.size(), 1u);
  EXPECT_EQ(form.KeepAliveEcho().PingTickCount(), 0);
}

TEST_F(MonitorTest, WithoutIcmpTheEchoIsLoggedOnceAndEveryTickStillEnds) {
  network_.mode = IcmpMode::None;
  Tmainform& form = StartOnline();
  form.Settings().CkbPingSrv = true;
  Ticks(form, 3 * 60);
  EXPECT_EQ(LogCount("\tError  \tNo ICMP available\r\n"), 1);
  EXPECT_TRUE(prompts_.errors.empty());
  EXPECT_EQ(form.TrayIcon().Hint(), "Tarvolin [Good] - Online");
  form.HangUp1Click();
  Ticks(form, 1);
  EXPECT_EQ(form.TrayIcon().Hint(), "Tarvolin [Good] - Offline");
}

TEST_F(MonitorTest, TheChosenAddressesGoToTheClipboardOnConnectOnlyWhenAsked) {
  StartOnline();
  EXPECT_EQ(desktop_.clipboard_writes, 0);

  registry_.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "CkbCopyIP", 1);
  registry_.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "RgCopyIP", 2);
  StartOnline();
  EXPECT_EQ(desktop_.clipboard, "Server IP: 127.0.0.1\r\nClient IP: 127.0.0.2\r\n");

  registry_.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", "RgCopyIP", 1);
  StartOnline();
  EXPECT_EQ(desktop_.clipboard, "127.0.0.2\r\n");
  EXPECT_EQ(desktop_.clipboard_writes, 2);
}

}  // namespace
