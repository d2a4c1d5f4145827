// The version file's texts as any server may send them: a version reads as the number its
// digits write, a newer one with an address alone is offered, and only a web address ever
// reaches the shell.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "fakes/fake_app_ports.h"
#include "fuzz_check.h"
#include "platform/text.h"
#include "tarvolin_version.h"
#include "update/version_check.h"

namespace {

bool DigitsWithOnePoint(const std::string& text) {
  const size_t point = text.find('.');
  const auto digits = [](const std::string& part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
  };
  return digits(text.substr(0, point)) &&
         (point == std::string::npos || digits(text.substr(point + 1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string version = input.ConsumeRandomLengthString(64);
  const std::string address = input.ConsumeRemainingBytesAsString();
  const std::optional<double> remote = ParseVersion(version);
  FUZZ_EXPECT(!remote ||
              (DigitsWithOnePoint(version) && *remote == std::strtod(version.c_str(), nullptr)));

  FakeNetwork network;
  network.http_answer = "<version file>";
  FakeXml xml;
  xml.texts = {{"Program_Info/Program_Version", version},
               {"Web_Info/Download_URLs/Primary_Download_URL", address}};
  FakePrompts prompts;
  FakeShell shell;
  AppSettings settings;
  VersionCheck(network, xml, prompts, shell, settings, "127.0.0.1").CheckNewVersion1Click();
  // The check reads both texts without the blanks around them, and offers nothing without
  // an address to get it from.
  const std::optional<double> offered = ParseVersion(std::string(Trim(version)));
  const bool newer =
      offered && *offered > std::strtod(kAppVersion, nullptr) && !Trim(address).empty();
  FUZZ_EXPECT(prompts.questions.size() == (newer ? 1u : 0u));
  FUZZ_EXPECT(prompts.questions.size() + prompts.information.size() + prompts.errors.size() == 1 ||
              (newer && prompts.errors.size() == 1));
  const std::string trimmed(Trim(address));
  const std::string lower = AsciiLowerCase(trimmed);
  const bool web = lower.starts_with("http://") || lower.starts_with("https://");
  FUZZ_EXPECT(shell.opened.empty() || (web && shell.opened == std::vector<std::string>{trimmed}));
  return 0;
}
