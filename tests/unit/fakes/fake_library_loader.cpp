// Made-up libraries for binding tests.
#include "fakes/fake_library_loader.h"

void FakeLibraryLoader::AddLibrary(const std::string& library) {
  libraries_[library].name = library;
}

void FakeLibraryLoader::RemoveExport(const std::string& library, const std::string& symbol) {
  libraries_.at(library).exports.erase(symbol);
}

LibraryLoader::Library FakeLibraryLoader::Load(const std::string& name) {
  load_attempts.push_back(name);
  auto found = libraries_.find(name);
  return found == libraries_.end() ? nullptr : &found->second;
}

void* FakeLibraryLoader::Find(Library library, const std::string& symbol) {
  const auto& exports = static_cast<FakeLibrary*>(library)->exports;
  auto found = exports.find(symbol);
  return found == exports.end() ? nullptr : found->second;
}

void FakeLibraryLoader::Free(Library library) {
  freed.push_back(static_cast<FakeLibrary*>(library)->name);
}
