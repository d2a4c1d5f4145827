// Port: loads dynamic libraries and looks up their exports by name.
#pragma once

#include <string>

class LibraryLoader {
 public:
  using Library = void*;

  virtual ~LibraryLoader() = default;
  // Returns nullptr when the library cannot be loaded.
  virtual Library Load(const std::string& name) = 0;
  // Returns nullptr when the library has no export of that name.
  virtual void* Find(Library library, const std::string& symbol) = 0;
  virtual void Free(Library library) = 0;
};
