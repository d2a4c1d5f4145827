// What the benchmarks that run the real program share: a folder of its own with a copy of
// tarvolin.exe and a phonebook for the RAS substitute, and the start of a program there.
#pragma once

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

// The folder `name` under the temporary one, holding a copy of the tarvolin.exe beside
// this benchmark and `phonebook`, which the substitute is told to read; empty when the
// program could not be copied.
inline std::string ProgramFolder(const std::string& name, const std::string& phonebook) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string bin(self, std::string(self).find_last_of("\\/") + 1);
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + name + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  if (!CopyFileA((bin + "tarvolin.exe").c_str(), (dir + "tarvolin.exe").c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy tarvolin.exe from %s\n", bin.c_str());
    return "";
  }
  std::ofstream(dir + "rasphone.pbk") << phonebook;
  SetEnvironmentVariableA("RASSIM_PHONEBOOK", (dir + "rasphone.pbk").c_str());
  return dir;
}

// Starts `program` with `args` in `dir`; false, having said so, when it could not.
inline bool StartProgram(const std::string& program, const std::string& args,
                         const std::string& dir, PROCESS_INFORMATION& info) {
  std::string command = "\"" + program + "\" " + args;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &startup, &info)) {
    std::fprintf(stderr, "cannot start %s\n", command.c_str());
    return false;
  }
  CloseHandle(info.hThread);
  return true;
}
