// What every files port does the same way.
#include "platform/files.h"

bool Files::ReadAll(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  return ReadPieces(
      path, [&text](std::string_view piece) { text.append(piece); }, error);
}

bool Files::Unreadable(const std::string& path, std::string& error) {
  return !ReadPieces(
             path, [](std::string_view) {}, error) &&
         !error.empty();
}
