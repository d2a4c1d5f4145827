// Actions.ini as anyone may have edited it: the table that loads saves and loads back the
// same, and a sound section after the damage loads whole.
#include "actions/action_store.h"
#include "fakes/fake_app_ports.h"
#include "fakes/fake_profile_file.h"
#include "fuzz_check.h"

namespace {

struct Store {
  explicit Store(const std::string& text) { files.content[store.Path()] = text; }

  ActionTable Load() {
    ActionTable table;
    store.LoadActions(table);
    return table;
  }

  FakeFiles files;
  FakeProfileFile ini{files};
  ActionStore store{ini, files};
};

std::string Saved(const ActionTable& table) {
  Store saved("");
  std::string error;
  FUZZ_EXPECT(saved.store.SaveActions(table, error));
  return saved.files.content[saved.store.Path()];
}

ActionInfo SoundAction() {
  ActionInfo action;
  action.InUse = true;
  action.FileName = "C:\\Tools\\mail.exe";
  action.Directory = "C:\\Tools";
  action.CommandLine = "/check";
  action.WindowStatus = 2;
  action.CloseContainText = false;
  action.AfterConnected = true;
  return action;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string sound = Saved({SoundAction()});
  Store damaged(WithSoundSection(FuzzText(data, size), sound));
  const ActionTable loaded = damaged.Load();
  FUZZ_EXPECT(Store(Saved(loaded)).Load() == loaded);
  const std::vector<std::string> sections = damaged.ini.Sections(damaged.store.Path());
  if (sections.size() <= kActionSlots && !HidesSoundSection(sections))
    FUZZ_EXPECT(loaded[sections.size() - 1] == SoundAction());
  return 0;
}
