#include "hostsim/transcript.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace transcript {

namespace {

FILE* out = nullptr;
CRITICAL_SECTION lock;
bool lockReady = false;

}  // namespace

bool Open(const std::wstring& path) {
  if (!lockReady) {
    InitializeCriticalSection(&lock);
    lockReady = true;
  }
  if (path == L"-") {
    // The same bytes as in a file: no CR added before each line end.
    _setmode(_fileno(stdout), _O_BINARY);
    out = stdout;
    return true;
  }
  out = _wfopen(path.c_str(), L"wb");
  return out != nullptr;
}

void Close() {
  if (!lockReady) return;
  EnterCriticalSection(&lock);
  if (out && out != stdout) std::fclose(out);
  out = nullptr;
  LeaveCriticalSection(&lock);
}

bool Writing() { return out != nullptr; }

void Line(std::string_view text) {
  if (!lockReady) return;
  EnterCriticalSection(&lock);
  if (out) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
  }
  LeaveCriticalSection(&lock);
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Utf8FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), w.data(), n);
  return Utf8(w);
}

std::string Quote(std::string_view utf8) {
  std::string q = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '\\': q += "\\\\"; break;
      case '"': q += "\\\""; break;
      case '\r': q += "\\r"; break;
      case '\n': q += "\\n"; break;
      case '\t': q += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", c);
          q += hex;
        } else {
          q += static_cast<char>(c);
        }
    }
  }
  return q + "\"";
}

std::string Quote(std::wstring_view text) { return Quote(Utf8(text)); }

}  // namespace transcript
