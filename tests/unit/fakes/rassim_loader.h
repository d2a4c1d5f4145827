// Serves the RAS substitute's engine as "rasapi32.dll", so that RasApi binds it in-process
// by the same names as it binds the substitute's DLL.
#pragma once

#include "fakes/fake_library_loader.h"

class RassimLoader : public FakeLibraryLoader {
 public:
  RassimLoader();
};
