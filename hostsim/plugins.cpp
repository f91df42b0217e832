#include "hostsim/plugins.h"

#include <windows.h>

#include <algorithm>

#include "hostsim/services.h"
#include "hostsim/transcript.h"
#include "lumora/hostabi.h"

namespace plugins {

namespace {

struct Plugin {
  std::wstring name;
  HMODULE module;
  void(__stdcall* stop)();
};
std::vector<Plugin> loaded;

}  // namespace

void LoadAll(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*.dll").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
  });

  for (const std::wstring& name : names) {
    std::string label = transcript::Quote(name);
    HMODULE module = LoadLibraryW((folder + L"\\" + name).c_str());
    if (!module) {
      transcript::Line("plugin not loaded " + label + ": error " + std::to_string(GetLastError()));
      continue;
    }
    auto start = reinterpret_cast<void(__stdcall*)(hostabi::HostFunction)>(
        reinterpret_cast<void*>(GetProcAddress(module, "StartLumoraProc")));
    auto stop = reinterpret_cast<void(__stdcall*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "StopLumoraProc")));
    if (!start) {
      transcript::Line("plugin not loaded " + label + ": no StartLumoraProc");
      FreeLibrary(module);
      continue;
    }
    transcript::Line("plugin loaded " + label);
    loaded.push_back({name, module, stop});
    services::TakeAskedCodes();
    start(services::F);
    std::string asked;
    for (uint32_t code : services::TakeAskedCodes()) asked += " " + std::to_string(code);
    transcript::Line("plugin started " + label + ", services asked:" + asked);
  }
}

void StopAll() {
  for (const Plugin& p : loaded) {
    if (p.stop) p.stop();
    transcript::Line("plugin stopped " + transcript::Quote(p.name));
  }
}

void UnloadAll() {
  for (const Plugin& p : loaded) FreeLibrary(p.module);
  loaded.clear();
}

std::vector<std::wstring> Names() {
  std::vector<std::wstring> names;
  for (const Plugin& p : loaded) names.push_back(p.name);
  return names;
}

}  // namespace plugins
