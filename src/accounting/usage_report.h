// The Usage window as the controller knows it: opened with the connections and their
// budgets, and told when a session was recorded so that it can read the files again.
#pragma once

#include "accounting/session_accounting.h"
#include "accounting/usage_model.h"
#include "ports/main_ports.h"
#include "profiles/connection_list.h"

class UsageView {
 public:
  virtual ~UsageView() = default;
  // Opens the Usage window on `model`, reading the sessions of `files` away from the
  // window's thread; when it is open already, brings it to the front.
  virtual void ShowUsage(UsageModel model, const UsageFiles& files) = 0;
  // A session was recorded: an open Usage window reads the files again.
  virtual void UsageChanged() = 0;
};

class UsageReport {
 public:
  UsageReport(const MainPorts& ports, ConnectionList& connections, SessionAccounting& session,
              UsageView& view)
      : ports_(ports), connections_(connections), session_(session), view_(view) {}

  void Usage1Click();
  void SessionRecorded() { view_.UsageChanged(); }

 private:
  MainPorts ports_;
  ConnectionList& connections_;
  SessionAccounting& session_;
  UsageView& view_;
};
