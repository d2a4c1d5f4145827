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

void VersionCheck::Cancel() {
  ended_ = true;
  if (checking_) {
    network_.CancelHttpGet();
  }
}

void VersionCheck::Check(bool interactive) {
  if (checking_ || ended_) {
    return;
  }
  checking_ = true;
  const std::optional<std::string> document = network_.HttpGet(host_, kPath, kTimeoutMs);
  checking_ = false;
  // The window this would speak over is gone.
  if (ended_) {
    return;
  }
  std::optional<std::string> version, address;
  if (document) {
    version = ElementText(*document, {"Program_Info", "Program_Version"});
    address = ElementText(*document, {"Web_Info", "Download_URLs", "Primary_Download_URL"});
  }
  // A document without a version, or with one that is not a number, is no answer.
  const std::optional<double> remote = version ? ParseVersion(*version) : std::nullopt;
  if (!remote) {
    if (interactive) {
      prompts_.Error("Can not connect to host.");
    }
    return;
  }
  // Without an address there is nothing to download, so nothing newer is on offer.
  if (address && *remote > *ParseVersion(kAppVersion)) {
    OfferDownload(*version, *address);
  } else if (interactive) {
    prompts_.Information("No new version exists.");
  }
}

// The element's text without the blanks and line breaks a hand-edited file puts around it;
// an empty text is as good as none.
std::optional<std::string> VersionCheck::ElementText(const std::string& document,
                                                     const std::vector<std::string>& path) {
  const std::optional<std::string> text = xml_.ElementText(document, path);
  if (!text || Trim(*text).empty()) {
    return std::nullopt;
  }
  return std::string(Trim(*text));
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
