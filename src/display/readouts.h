// The main window's three read-outs in their four view modes: time, speed, addresses and
// expense of the selected connection.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "dialup/dialup.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/locale.h"
#include "profiles/connection_list.h"
#include "settings/app_settings.h"
#include "display/histogram.h"

enum ViewModes { kViewTime = 0, kViewSpeed = 1, kViewIP = 2, kViewExpense = 3 };

// 0 or less gives "0"; otherwise the digits grouped by three with ",", whatever the locale
// (1234567 gives "1,234,567").
std::string FormatGrouped(int64_t value);

// Three texts; an empty optional leaves the label as it is.
using ReadoutValues = std::array<std::optional<std::string>, 3>;

// What the read-outs ask of the window.
class ReadoutsView {
 public:
  virtual ~ReadoutsView() = default;
  virtual void ShowReadouts(const std::array<std::string, 3>& captions,
                            const ReadoutValues& values) = 0;
  // What read-out `index` (0-2) shows now.
  virtual std::string ReadoutText(int index) = 0;
  // The hint of the third read-out; empty for none.
  virtual void ShowBillingHint(const std::string& hint) = 0;
};

class Readouts {
 public:
  Readouts(TDialUp& dialup, ConnectionList& connections, AppSettings& settings,
           const TransferRing& ring, Locale& locale, Clock& clock, Desktop& desktop,
           ReadoutsView& view);

  // With connections in the list: ViewMode becomes `mode` and the read-outs show it. An
  // empty list changes nothing, not even ViewMode. Where the third read-out shows the
  // billing period's time or expense, its hint tells what is left of the selected
  // connection's budget (BudgetHint); in the Speed view, the connection's volume since its
  // billing day.
  void ShowView(int mode, bool online);

  // The copy menu opens over read-out `tag` (1-3); its item copies that read-out's text,
  // ended by CR LF, to the clipboard.
  void CopyPopPopup(int tag) { copy_tag_ = tag; }
  void Copytoclipboard1Click();

 private:
  ReadoutValues Values(int mode, bool online);
  ReadoutValues Speed(bool online);
  ReadoutValues Addresses();
  std::string BillingHint(int mode);

  TDialUp& dialup_;
  ConnectionList& connections_;
  AppSettings& settings_;
  const TransferRing& ring_;
  Locale& locale_;
  Clock& clock_;
  Desktop& desktop_;
  ReadoutsView& view_;
  int copy_tag_ = 1;
};
