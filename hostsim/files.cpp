#include "hostsim/files.h"

#include "host/ownedhandle.h"

namespace files {

bool Read(const std::wstring& path, std::string& bytes, DWORD& error) {
  bytes.clear();
  OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = GetLastError();
    return false;
  }
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
    if (got == 0) {
      error = 0;
      return true;
    }
    bytes.append(buffer, got);
  }
  error = GetLastError();
  return false;
}

bool Read(const std::wstring& path, std::string& bytes) {
  DWORD error = 0;
  return Read(path, bytes, error);
}

bool Write(const std::wstring& path, std::string_view bytes, DWORD& error) {
  OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  bool ok = file && (bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                                 &written, nullptr) &&
                                       written == bytes.size()));
  error = ok ? 0 : GetLastError();
  return ok;
}

}  // namespace files
