// The host's services, fetched once at start, and typed calls through them.
// A service the host did not supply is a no-op that returns zero.
#pragma once

#include "lumora/hostabi.h"

struct HostServices {
  // Fetched first, in this order.
  uint32_t hostHandle, hostMetric, hostVariable, registerCommand, unused10000, setGameTag;
  // Fetched only when setGameTag is there, in this order.
  uint32_t unused80, showHostMessage, messageLines, startDownload, registerDownloadTarget, createHostWindow,
      defaultWindowProc, styleButton, paintWindowBackground, placeControl, gameHeaderChanged;
};

// They live for the process: the host hands them over only at start.
extern HostServices hostServices;

// Asks F for every service in the start-up order. Returns false, having asked
// only the first six, when the host lacks SetGameTag.
bool FetchHostServices(hostabi::HostFunction F);

uint32_t HostHandle(uint32_t n);
void* HostMetric(uint32_t n);
uint32_t RegisterCommand(hostabi::TRegRecord* record, hostabi::CommandHandler handler);
void* HostVariable(uint32_t n);
uint32_t RegisterDownloadTarget(const wchar_t* caption, hostabi::DownloadHandler done);
void StyleButton(hostabi::TButInf* button, const wchar_t* caption);
void MessageLines(void* list, const wchar_t* textOrNil);
void SetGameTag(int32_t gameRecordIndex, const char* tag, const char* value);
int32_t CreateHostWindow(const wchar_t* caption, int32_t width, int32_t height, HWND parent, WNDPROC proc,
                         hostabi::PaintCallback paint);
LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PaintWindowBackground(HWND window, HDC dc);
void PlaceControl(hostabi::TCheckInf* box, int32_t x, int32_t y, HWND parent);
void GameHeaderChanged();
void StartDownload(const char* url, uint32_t targetId);
void ShowHostMessage(HWND mainWindow, const wchar_t* caption, int32_t kind);
