// The check for a newer version on the maker's web site, on demand from the help menus
// and silently after each connection when the user asked for it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/network.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/xml.h"
#include "settings/app_settings.h"

// Where the version file is asked for: `TARVOLIN_UPDATE_HOST` from the environment
// ("host" or "host:port") when set and not empty, so that an administrator can point the
// program at a mirror; else the maker's host the program was built with.
std::string UpdateHost();

// A version as the version file writes it: digits with at most one full stop between
// digits, whatever the user's locale; nullopt for anything else.
std::optional<double> ParseVersion(std::string_view text);

// Whether the address is one the shell may open as a download page: http or https only.
bool IsWebAddress(std::string_view address);

class VersionCheck {
 public:
  VersionCheck(Network& network, XmlReader& xml, Prompts& prompts, Shell& shell,
               const AppSettings& settings, std::string host);

  // The interactive check: every outcome is said.
  void CheckNewVersion1Click();
  // After a connection, when CkbAutoUpdate is on: says something only when a newer
  // version exists.
  void AutoCheckVersion();
  // The program is ending: a check in progress stops at once and says nothing, and no
  // new one starts.
  void Cancel();

  static constexpr const char* kPath = "/en/tvnen.xml";
  static constexpr unsigned kTimeoutMs = 30000;

 private:
  // The window stays responsive during the GET, so a second check can be asked for
  // meanwhile: it is ignored.
  void Check(bool interactive);
  void OfferDownload(const std::string& version, const std::string& address);
  std::optional<std::string> ElementText(const std::string& document,
                                         const std::vector<std::string>& path);

  Network& network_;
  XmlReader& xml_;
  Prompts& prompts_;
  Shell& shell_;
  const AppSettings& settings_;
  const std::string host_;
  bool checking_ = false;
  bool ended_ = false;
};
