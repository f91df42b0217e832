#include "host/hostservices.h"

using namespace hostabi;

HostServices hostServices;

bool FetchHostServices(HostFunction F) {
  HostServices& s = hostServices;
  s = HostServices{};
  s.hostHandle = F(kHostHandle);
  s.hostMetric = F(kHostMetric);
  s.hostVariable = F(kHostVariable);
  s.registerCommand = F(kRegisterCommand);
  s.unused10000 = F(kUnusedValue);
  s.setGameTag = F(kSetGameTag);
  if (s.setGameTag == 0) return false;
  s.unused80 = F(kUnusedValue2);
  s.showHostMessage = F(kShowHostMessage);
  s.messageLines = F(kMessageLines);
  s.startDownload = F(kStartDownload);
  s.registerDownloadTarget = F(kRegisterDownloadTarget);
  s.createHostWindow = F(kCreateHostWindow);
  s.defaultWindowProc = F(kDefaultWindowProc);
  s.styleButton = F(kStyleButton);
  s.paintWindowBackground = F(kPaintWindowBackground);
  s.placeControl = F(kPlaceControl);
  s.gameHeaderChanged = F(kGameHeaderChanged);
  return true;
}

namespace {

template <class Fn>
Fn Service(uint32_t address) {
  return reinterpret_cast<Fn>(static_cast<uintptr_t>(address));
}

}  // namespace

uint32_t HostHandle(uint32_t n) {
  auto fn = Service<uint32_t(__stdcall*)(uint32_t)>(hostServices.hostHandle);
  return fn ? fn(n) : 0;
}

void* HostMetric(uint32_t n) {
  auto fn = Service<void*(__stdcall*)(uint32_t)>(hostServices.hostMetric);
  return fn ? fn(n) : nullptr;
}

uint32_t RegisterCommand(TRegRecord* record, CommandHandler handler) {
  auto fn = Service<uint32_t(__stdcall*)(void*, CommandHandler)>(hostServices.registerCommand);
  return fn ? fn(record, handler) : 0;
}

void* HostVariable(uint32_t n) {
  auto fn = Service<void*(__stdcall*)(uint32_t)>(hostServices.hostVariable);
  return fn ? fn(n) : nullptr;
}

uint32_t RegisterDownloadTarget(const wchar_t* caption, DownloadHandler done) {
  auto fn =
      Service<uint32_t(__stdcall*)(const wchar_t*, DownloadHandler)>(hostServices.registerDownloadTarget);
  return fn ? fn(caption, done) : 0;
}

void StyleButton(TButInf* button, const wchar_t* caption) {
  auto fn = Service<void(__stdcall*)(TButInf*, const wchar_t*)>(hostServices.styleButton);
  if (fn) fn(button, caption);
}

void MessageLines(void* list, const wchar_t* textOrNil) {
  auto fn = Service<void(__stdcall*)(void*, const wchar_t*)>(hostServices.messageLines);
  if (fn) fn(list, textOrNil);
}

void SetGameTag(int32_t gameRecordIndex, const char* tag, const char* value) {
  auto fn = Service<void(__stdcall*)(int32_t, const char*, const char*)>(hostServices.setGameTag);
  if (fn) fn(gameRecordIndex, tag, value);
}

int32_t CreateHostWindow(const wchar_t* caption, int32_t width, int32_t height, HWND parent, WNDPROC proc,
                         PaintCallback paint) {
  auto fn = Service<int32_t(__stdcall*)(const wchar_t*, int32_t, int32_t, int32_t, int32_t, HWND, WNDPROC,
                                        PaintCallback)>(hostServices.createHostWindow);
  return fn ? fn(caption, 0, 0, width, height, parent, proc, paint) : 0;
}

LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto fn = Service<WNDPROC>(hostServices.defaultWindowProc);
  return fn ? fn(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

void PaintWindowBackground(HWND window, HDC dc) {
  auto fn = Service<void(__stdcall*)(HWND, HDC)>(hostServices.paintWindowBackground);
  if (fn) fn(window, dc);
}

void PlaceControl(TCheckInf* box, int32_t x, int32_t y, HWND parent) {
  auto fn = Service<void(__stdcall*)(TCheckInf*, int32_t, int32_t, HWND)>(hostServices.placeControl);
  if (fn) fn(box, x, y, parent);
}

void GameHeaderChanged() {
  auto fn = Service<void(__stdcall*)(int32_t)>(hostServices.gameHeaderChanged);
  if (fn) fn(0);
}

void StartDownload(const char* url, uint32_t targetId) {
  auto fn = Service<void(__stdcall*)(const char*, uint32_t)>(hostServices.startDownload);
  if (fn) fn(url, targetId);
}

void ShowHostMessage(HWND mainWindow, const wchar_t* caption, int32_t kind) {
  auto fn = Service<void(__stdcall*)(HWND, const wchar_t*, int32_t, int32_t)>(hostServices.showHostMessage);
  if (fn) fn(mainWindow, caption, -1, kind);
}
