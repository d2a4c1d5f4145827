// The version check's decisions, with the answer of the web site given.
#include "update/version_check.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "fakes/fake_app_ports.h"
#include "tarvolin_version.h"

namespace {

TEST(VersionText, DecimalsWithAFullStopOnly) {
  EXPECT_EQ(ParseVersion("3.01"), 3.01);
  EXPECT_EQ(ParseVersion("4"), 4);
  for (const char* text : {"", ".5", "3.", "3.0.1", "3,5", " 3", "-3", "3.5a"}) {
    EXPECT_EQ(ParseVersion(text), std::nullopt) << text;
  }
  EXPECT_TRUE(IsWebAddress("HTTPS://mirror/x"));
  EXPECT_FALSE(IsWebAddress("file:///C:/setup.exe"));

  setenv("TARVOLIN_UPDATE_HOST", "127.0.0.1:8080", 1);
  EXPECT_EQ(UpdateHost(), "127.0.0.1:8080");
  setenv("TARVOLIN_UPDATE_HOST", "", 1);
  EXPECT_EQ(UpdateHost(), kUpdateHost);
}

class VersionCheckTest : public testing::Test {
 protected:
  void Answer(const std::string& version, const std::string& address) {
    network_.http_answer = "<document/>";
    xml_.texts = {{"Program_Info/Program_Version", version},
                  {"Web_Info/Download_URLs/Primary_Download_URL", address}};
  }

  FakeNetwork network_;
  FakeXml xml_;
  FakePrompts prompts_;
  FakeShell shell_;
  AppSettings settings_;
  VersionCheck check_{network_, xml_, prompts_, shell_, settings_, "127.0.0.1:9"};
};

TEST_F(VersionCheckTest, OnDemandEveryOutcomeIsSaid) {
  check_.CheckNewVersion1Click();  // no answer at all
  EXPECT_EQ(network_.requests, std::vector<std::string>{"127.0.0.1:9/en/tvnen.xml"});
  Answer("3,5", "http://host/get");  // not a version: no answer
  check_.CheckNewVersion1Click();
  Answer(" \n ", "http://host/get");
  check_.CheckNewVersion1Click();
  EXPECT_EQ(prompts_.errors, std::vector<std::string>(3, "Can not connect to host."));

  Answer("3.0", "http://host/get");
  check_.CheckNewVersion1Click();
  Answer("3.5", "http://host/get");  // newer, but nothing to download
  xml_.texts.erase("Web_Info/Download_URLs/Primary_Download_URL");
  check_.CheckNewVersion1Click();
  Answer("3.5", "  ");
  check_.CheckNewVersion1Click();
  EXPECT_EQ(prompts_.information, std::vector<std::string>(3, "No new version exists."));

  Answer("\n  3.01\t", " http://host/get\n");  // as a hand-edited file has them
  check_.CheckNewVersion1Click();
  Answer("3.5", "file:///C:/setup.exe");
  check_.CheckNewVersion1Click();
  EXPECT_EQ(prompts_.questions,
            (std::vector<std::string>{"Confirm: New version 3.01exists,download now?",
                                      "Confirm: New version 3.5exists,download now?"}));
  EXPECT_EQ(shell_.opened, std::vector<std::string>{"http://host/get"});
  ASSERT_EQ(prompts_.errors.size(), 4u);
  EXPECT_NE(prompts_.errors.back().find("file:///C:/setup.exe"), std::string::npos);
}

TEST_F(VersionCheckTest, ACancelledCheckSaysNothingAndNoneStartsAfterIt) {
  Answer("3.5", "http://host/get");
  network_.while_getting = [this] { check_.Cancel(); };
  check_.CheckNewVersion1Click();
  EXPECT_EQ(network_.cancels, 1);
  network_.while_getting = nullptr;
  check_.CheckNewVersion1Click();
  EXPECT_EQ(network_.requests.size(), 1u);
  EXPECT_TRUE(prompts_.errors.empty());
  EXPECT_TRUE(prompts_.questions.empty());
}

TEST_F(VersionCheckTest, AfterConnectingOnlyANewerVersionIsSaid) {
  Answer("3.5", "http://host/get");
  check_.AutoCheckVersion();
  EXPECT_TRUE(network_.requests.empty());  // Auto update is off

  settings_.CkbAutoUpdate = true;
  network_.http_answer.reset();
  check_.AutoCheckVersion();
  Answer("3.0", "http://host/get");
  check_.AutoCheckVersion();
  EXPECT_TRUE(prompts_.errors.empty());
  EXPECT_TRUE(prompts_.information.empty());
  Answer("3.5", "http://host/get");
  prompts_.answer_yes = false;
  check_.AutoCheckVersion();
  EXPECT_EQ(network_.requests.size(), 3u);
  EXPECT_EQ(prompts_.questions.size(), 1u);
  EXPECT_TRUE(shell_.opened.empty());
}

}  // namespace
