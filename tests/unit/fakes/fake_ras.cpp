// Entry points that forward to the hooks of the one live FakeRas.
#include "fakes/fake_ras.h"

#include <cassert>
#include <cstdio>
#include <string>

namespace {

FakeRas* current = nullptr;

template <typename Fn>
struct Forward;

template <typename... Args>
struct Forward<uint32_t (*)(Args...)> {
  template <std::function<uint32_t(Args...)> FakeRas::*hook>
  static uint32_t Call(Args... args) {
    return (current->*hook)(args...);
  }
};

// The exported function for one hook.
template <typename Fn, FakeRas::Hook<Fn> FakeRas::*hook>
Fn EntryPoint() {
  return &Forward<Fn>::template Call<hook>;
}

}  // namespace

FakeRas::FakeRas() {
  assert(current == nullptr);
  current = this;

  EnumEntries = [](const char*, const char*, TRasEntryName*, uint32_t*, uint32_t* count) {
    *count = 0;
    return kRasSuccess;
  };
  GetEntryDialParams = [](auto...) { return kRasCannotFindEntry; };
  SetEntryDialParams = [](auto...) { return kRasCannotFindEntry; };
  Dial = [](auto...) { return kRasCannotFindEntry; };
  GetConnectStatus = [](auto...) { return kRasInvalidHandle; };
  HangUp = [](auto...) { return kRasInvalidHandle; };
  GetProjectionInfo = [](auto...) { return kRasInvalidHandle; };
  GetErrorString = [](unsigned code, char* buffer, uint32_t size) {
    std::snprintf(buffer, size, "RAS error %u", code);
    return kRasSuccess;
  };
  CreatePhonebookEntry = [](auto...) { return kRasSuccess; };
  EditPhonebookEntry = [](auto...) { return kRasSuccess; };
  DeleteEntry = [](auto...) { return kRasSuccess; };
  GetConnectionStatistics = [](auto...) { return kRasInvalidHandle; };

  const std::string dll = "rasapi32.dll";
  AddLibrary(dll);
  Export(dll, "RasEnumEntriesA", EntryPoint<RasEnumEntriesFn, &FakeRas::EnumEntries>());
  Export(dll, "RasGetEntryDialParamsA",
         EntryPoint<RasGetEntryDialParamsFn, &FakeRas::GetEntryDialParams>());
  Export(dll, "RasSetEntryDialParamsA",
         EntryPoint<RasSetEntryDialParamsFn, &FakeRas::SetEntryDialParams>());
  Export(dll, "RasDialA", EntryPoint<RasDialFn, &FakeRas::Dial>());
  Export(dll, "RasGetConnectStatusA",
         EntryPoint<RasGetConnectStatusFn, &FakeRas::GetConnectStatus>());
  Export(dll, "RasHangUpA", EntryPoint<RasHangUpFn, &FakeRas::HangUp>());
  Export(dll, "RasGetProjectionInfoA",
         EntryPoint<RasGetProjectionInfoFn, &FakeRas::GetProjectionInfo>());
  Export(dll, "RasGetErrorStringA", EntryPoint<RasGetErrorStringFn, &FakeRas::GetErrorString>());
  Export(dll, "RasCreatePhonebookEntryA",
         EntryPoint<RasCreatePhonebookEntryFn, &FakeRas::CreatePhonebookEntry>());
  Export(dll, "RasEditPhonebookEntryA",
         EntryPoint<RasEditPhonebookEntryFn, &FakeRas::EditPhonebookEntry>());
  Export(dll, "RasDeleteEntry", EntryPoint<RasDeleteEntryFn, &FakeRas::DeleteEntry>());
  Export(dll, "RasGetConnectionStatistics",
         EntryPoint<RasGetConnectionStatisticsFn, &FakeRas::GetConnectionStatistics>());
}

FakeRas::~FakeRas() {
  current = nullptr;
}
