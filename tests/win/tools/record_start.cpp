// A program the Windows tests start: writes its arguments, one a line, and then its
// working folder to "started.txt" in that folder.
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
  std::ofstream out("started.txt", std::ios::binary);
  for (int i = 1; i < argc; ++i)
    out << argv[i] << "\n";
  out << std::filesystem::current_path().string() << "\n";
}
