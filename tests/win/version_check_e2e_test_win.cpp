// End to end: the version check against a web server of this test on 127.0.0.1.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "driver.h"
#include "loopback_win.h"
#include "commands/command_ids.h"

namespace {

// Answers every GET with the version file it was last given, until stopped.
class LocalWebServer {
 public:
  LocalWebServer() {
    listener_ = ListenOnLoopback(port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LocalWebServer() {
    Stop();
    WSACleanup();
  }

  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  void Offer(const std::string& version, const std::string& address) {
    std::lock_guard<std::mutex> lock(mutex_);
    body_ = "<?xml version=\"1.0\"?>\n<Tarvolin><Program_Info><Program_Version>" + version +
            "</Program_Version></Program_Info><Web_Info><Download_URLs><Primary_Download_URL>" +
            address + "</Primary_Download_URL></Download_URLs></Web_Info></Tarvolin>";
  }
  // From now on nothing listens: connections are refused.
  void Stop() {
    if (listener_ != INVALID_SOCKET) {
      closesocket(listener_);
      listener_ = INVALID_SOCKET;
      thread_.join();
    }
  }
  int Requests() const { return requests_; }

 private:
  void Serve() {
    for (SOCKET client; (client = accept(listener_, nullptr, nullptr)) != INVALID_SOCKET;) {
      std::string request;
      char buffer[1024];
      for (int got; request.find("\r\n\r\n") == std::string::npos &&
                    (got = recv(client, buffer, sizeof buffer, 0)) > 0;)
        request.append(buffer, got);
      if (request.starts_with("GET /en/tvnen.xml "))
        ++requests_;
      std::string body;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        body = body_;
      }
      const std::string answer = "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                                 std::to_string(body.size()) + "\r\n\r\n" + body;
      send(client, answer.data(), static_cast<int>(answer.size()), 0);
      shutdown(client, SD_SEND);
      closesocket(client);
    }
  }

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::string body_;
  std::atomic<int> requests_{0};
};

class VersionCheckE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearUserRegistry();
    // The program is started from this process and takes its environment.
    SetEnvironmentVariableA("TARVOLIN_UPDATE_HOST", server_.Host().c_str());
  }
  void TearDown() override { SetEnvironmentVariableA("TARVOLIN_UPDATE_HOST", nullptr); }

  // No message box of the program shows.
  bool Silent() const {
    for (const char* caption : {"Error", "Information", "Confirm"}) {
      if (app_.FindTopLevel(caption))
        return false;
    }
    return true;
  }

  LocalWebServer server_;
  Tarvolin app_;
};

TEST_F(VersionCheckE2E, OnDemandEveryAnswerIsSaidAndOnlyWebAddressesAreOpened) {
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\n"));
  server_.Offer("3.0", "http://127.0.0.1/get");
  app_.Command(IDM_CHECKNEWVERSION1);
  EXPECT_EQ(app_.AnswerMessageBox("Information", "", IDOK), "No new version exists.");
  server_.Offer("3.01", "http://127.0.0.1/get");
  app_.Command(IDM_CHECKNEWVERSION1);
  EXPECT_EQ(app_.AnswerMessageBox("Confirm", "3.01", IDNO), "New version 3.01exists,download now?");
  server_.Offer("3.5", "file:///C:/windows/notepad.exe");
  app_.Command(IDM_CHECKNEWVERSION1);
  EXPECT_EQ(app_.AnswerMessageBox("Confirm", "3.5", IDYES), "New version 3.5exists,download now?");
  EXPECT_NE(app_.AnswerMessageBox("Error", "file:///C:/windows/notepad.exe", IDOK), "");
  server_.Stop();
  app_.Command(IDM_CHECKNEWVERSION1);
  EXPECT_EQ(app_.AnswerMessageBox("Error", "", IDOK), "Can not connect to host.");
}

TEST_F(VersionCheckE2E, AfterConnectingOnlyANewerVersionIsSaid) {
  SetUserRegistryNumber("Software\\Tarvolin", "CkbAutoUpdate", 1);
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\n"));
  server_.Offer("3.5", "http://127.0.0.1/get");
  app_.Click(IDC_BTNDIAL);
  EXPECT_EQ(app_.AnswerMessageBox("Confirm", "", IDNO), "New version 3.5exists,download now?");
  app_.Click(IDC_BTNHANGUP);
  ASSERT_TRUE(WaitUntil([&] { return app_.Text(IDC_LBLONLINE) == "Offline"; }));

  server_.Stop();
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return app_.Text(IDC_LBLONLINE) == "Online"; }));
  // The check runs within the connect, before the server's line is logged: a box it
  // showed would still be up, holding the log line back.
  ASSERT_TRUE(WaitUntil([&] { return app_.LogCount("Connected to server") == 2 || !Silent(); }));
  EXPECT_TRUE(Silent());
  EXPECT_EQ(app_.LogCount("Connected to server"), 2);
}

}  // namespace
