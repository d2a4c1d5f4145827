// The program's options, each under the name of its registry value.
#pragma once

struct AppSettings {
  bool CkbWriteLogs = true;
  int Left = 200;
  int Top = 200;
};
