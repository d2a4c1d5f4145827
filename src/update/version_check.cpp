// Asking the maker's web site for the newest version, and offering its download.
#include "update/version_check.h"

#include <cstdlib>

#include "platform/numbers.h"
#include "platform/text.h"
#include "tarvolin_version.h"

std::string UpdateHost() {
  const char* host = std::getenv("TARVOLIN_UPDATE_HOST");
  return host && *host ? host : kUpdateHost;
}

std::optional<double> ParseVersion(std::string_view text) {
  const std::size_t point = text.find('.');
  const auto digits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!digits(text.substr(0, point)) ||
      (point != std::string_view::npos && !digits(text.substr(point + 1)))) {
    return std::nullopt;
  }
  return ParseReal(text);
}

bool IsWebAddress(std::string_view address) {
  const std::string lower = AsciiLowerCase(address);
  return lower.starts_with("http://") || lower.starts_with("https://");
}

VersionCheck::VersionCheck(Network& network, XmlReader& xml, Prompts& prompts, Shell& shell,
                           const AppSettings& settings, std::string host)
    : network_(network),
      xml_(xml),
      prompts_(prompts),
      shell_(shell),
      settings_(settings),
      host_(std::move(host)) {}

void VersionCheck::CheckNewVersion1Click() {
  Check(true);
}

void VersionCheck::AutoCheckVersion() {
  if (settings_.CkbAutoUpdate) {
    Check(false);
  }
}

void VersionCheck::Check(bool interactive) {
  if (checking_) {
    return;
  }
  checking_ = true;
  const std::optional<std::string> document = network_.HttpGet(host_, kPath, kTimeoutMs);
  checking_ = false;
  std::optional<std::string> version, address;
  if (document) {
    version = xml_.ElementText(*document, {"Program_Info", "Program_Version"});
    address = xml_.ElementText(*document, {"Web_Info", "Download_URLs", "Primary_Download_URL"});
  }
  // A document without either element, or with a version that is not a number, is no
  // answer: there is nothing sound to offer.
  const std::optional<double> remote = version ? ParseVersion(*version) : std::nullopt;
  if (!remote || !address) {
    if (interactive) {
      prompts_.Error("Can not connect to host.");
    }
    return;
  }
  if (*remote > *ParseVersion(kAppVersion)) {
    OfferDownload(*version, *address);
  } else if (interactive) {
    prompts_.Information("No new version exists.");
  }
}

void VersionCheck::OfferDownload(const std::string& version, const std::string& address) {
  if (!prompts_.AskYesNo("Confirm", "New version " + version + "exists,download now?")) {
    return;
  }
  // The address comes from the network: only a web page may reach the shell, never a
  // program or a file of this machine.
  if (IsWebAddress(address)) {
    shell_.Open(address, nullptr);
  } else {
    prompts_.Error("The download address \"" + address +
                   "\" is not a web address (http or https); it is not opened.");
  }
}
