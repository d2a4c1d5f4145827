// A LibraryLoader over made-up libraries, recording what was loaded and freed.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/library_loader.h"

// Not thread-safe: load and look up from one thread.
class FakeLibraryLoader : public LibraryLoader {
 public:
  // Makes `library` loadable; it exports nothing until Export.
  void AddLibrary(const std::string& library);
  // `function` is any function pointer; the library must have been added.
  template <typename Fn>
  void Export(const std::string& library, const std::string& symbol, Fn function) {
    libraries_.at(library).exports[symbol] = reinterpret_cast<void*>(function);
  }
  void RemoveExport(const std::string& library, const std::string& symbol);

  Library Load(const std::string& name) override;
  void* Find(Library library, const std::string& symbol) override;
  void Free(Library library) override;

  std::vector<std::string> load_attempts;  // every name passed to Load, in order
  std::vector<std::string> freed;          // names of the libraries freed, in order

 private:
  struct FakeLibrary {
    std::string name;
    std::map<std::string, void*> exports;
  };
  std::map<std::string, FakeLibrary> libraries_;  // a handle points at its map value
};
