// The control file, rassim.ctl beside the phonebook: commands from tests acting from
// outside, carried out by whichever process next looks at its lines.
#include <filesystem>
#include <fstream>

#include "rassim/connection.h"

namespace rassim {

namespace fs = std::filesystem;

// Carries out the lines `drop <entry name>` and `drop *`, then deletes the file.
void ReadControlFile(Engine& engine) {
  try {
    std::lock_guard file_lock(engine.control_mutex);
    const fs::path path = fs::path(PhonebookPath()).parent_path() / "rassim.ctl";
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      return;
    }
    std::vector<std::string> targets;
    for (std::string line; std::getline(in, line);) {
      const std::string_view text = Trim(line);
      const size_t blank = text.find_first_of(" \t");
      if (blank != std::string_view::npos && SameText(text.substr(0, blank), "drop")) {
        targets.emplace_back(Trim(text.substr(blank)));
      }
    }
    in.close();
    std::error_code ignored;
    fs::remove(path, ignored);
    std::lock_guard lock(engine.mutex);
    for (const std::string& target : targets) {
      DropLocked(engine, target);
    }
  } catch (const std::exception&) {
    // An unreadable control file is left for the next look.
  }
}

}  // namespace rassim
