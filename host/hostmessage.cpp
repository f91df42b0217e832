#include "host/hostmessage.h"

#include <windows.h>

#include "host/hostdata.h"
#include "host/hostservices.h"

void CentreOnMouse() {
  POINT p{};
  GetCursorPos(&p);
  if (auto* x = HostVariableAs<int32_t>(hostabi::kMessageX)) *x = p.x;
  if (auto* y = HostVariableAs<int32_t>(hostabi::kMessageY)) *y = p.y;
}

void ShowMessage(const std::wstring& caption, const std::wstring& text, int32_t kind) {
  void* lines = HostVariable(hostabi::kMessageLineList);
  MessageLines(lines, nullptr);
  MessageLines(lines, text.c_str());
  MessageLines(lines, L"OK");
  CentreOnMouse();
  ShowHostMessage(MainWindowHandle(), caption.c_str(), kind);
}
