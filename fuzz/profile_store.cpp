// Entries.ini as anyone may have edited it: every profile that loads saves and loads back
// the same, and a sound section after the damage loads whole.
#include "dialup/dialup.h"
#include "fakes/fake_app_ports.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_profile_file.h"
#include "fakes/fake_ras.h"
#include "fakes/fake_ui_loop.h"
#include "fuzz_check.h"
#include "profiles/profile_store.h"

namespace {

// An Entries.ini of its own, and a RAS whose phonebook stores no account.
struct Store {
  explicit Store(const std::string& text) { files.content[store.Path()] = text; }

  EntryInfo Load(const std::string& entry, std::vector<std::string>* problems = nullptr) {
    static FakeRas ras_library;
    static RasApi ras{ras_library};
    static FakeClock clock;
    static FakeUiLoop ui{clock};
    static TDialUp dialup{ras, ui, clock};
    EntryInfo info;
    info.EntryName = entry;
    const std::vector<std::string> said = store.LoadProfile(info, dialup);
    if (problems)
      *problems = said;
    return info;
  }

  FakeFiles files;
  FakeProfileFile ini{files};
  FakeLocale locale;
  ProfileStore store{ini, files, locale};
};

std::string Saved(const EntryInfo& info) {
  Store saved("");
  std::string error;
  FUZZ_EXPECT(saved.store.SaveProfile(info, error));
  return saved.files.content[saved.store.Path()];
}

EntryInfo SoundProfile() {
  EntryInfo info;
  info.EntryName = kSoundSection;
  info.UserName = "alice";
  info.Pwd = "secret";
  info.PN = "555-0101";
  info.PNList = "555-0101^^555-0202^^";
  info.Rates = {1.5, 0.5, true, {{true, 2.25, 8, 18}, {}, {true, 3, 22, 6}}, 17};
  return info;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string sound = Saved(SoundProfile());
  Store damaged(WithSoundSection(FuzzText(data, size), sound));
  const std::vector<std::string> sections = damaged.ini.Sections(damaged.store.Path());
  // Every section loads alike: the first, whatever the fuzzer put there, stands for all.
  const std::string& entry = sections.front();
  if (!entry.empty()) {  // no entry has that name
    const std::string saved = Saved(damaged.Load(entry));
    FUZZ_EXPECT(Saved(Store(saved).Load(entry)) == saved);
  }
  if (!HidesSoundSection(sections)) {
    std::vector<std::string> problems;
    FUZZ_EXPECT(damaged.Load(kSoundSection, &problems) == SoundProfile() && problems.empty());
  }
  return 0;
}
