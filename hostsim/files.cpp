#include "hostsim/files.h"

#include "base/ownedhandle.h"

namespace files {

bool Read(const std::wstring& path, std::string& bytes, DWORD& error) {
  bytes.clear();
  OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
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
  // Written beside the file first, then put in its place: a write that fails
  // half-way leaves the previous file as it was.
  std::wstring temporary = path + L".tmp";
  bool ok;
  {
    OwnedHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ok = file && (bytes.empty() ||
                  (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                   written == bytes.size()));
  }
  ok = ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  error = ok ? 0 : GetLastError();
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
}

}  // namespace files
