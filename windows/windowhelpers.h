// What the plug-in's windows share: the host's margins and mouse byte, the
// link cursor, host-styled buttons, placement inside the desktop's work area,
// opening web pages and the set-up of the file dialogs.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "lumora/hostabi.h"

// The margins of a host plug-in window's client area (host metrics), fetched
// anew for every use: the host may change its style between two windows.
struct Margins {
  int32_t top, bottom, left, right;
};
Margins HostMargins();

// The outer width of a window.
int WindowWidth(HWND window);

// True while the host handles the mouse itself (host variable 8): the
// windows then leave mouse moves and releases to it.
bool HostHandlesMouse();

// The hand over a link, the arrow elsewhere.
void ShowLinkCursor(bool overLink);

// The host's push buttons: 28 pixels high; Close, Save and Cancel are
// 105 wide.
constexpr int kButtonHeight = 28;
constexpr int kButtonWidth = 105;

// Makes `button` a host-styled push button: a fresh copy of the host's
// template at `templateOffset` (the previous copy's pictures released), with
// `onClick`, bound to a new "knop" child of `parent` at (x, y) with rounded
// corners, styled by the host with `caption`. `ansiText`, when given, is the
// window's own text before the host styles it (created through the ANSI call).
void MakeHostButton(hostabi::TButInf& button, size_t templateOffset, hostabi::CommandHandler onClick,
                    HWND parent, int x, int y, int width, const wchar_t* caption,
                    const char* ansiText = nullptr);

// Which edges of a window larger than the work area stay in view.
enum class Overflow { kKeepRightBottom, kKeepLeftTop };

// `topLeft` moved so that a window of `size` lies within the work area's
// right and bottom edges and not left of or above 0 (the work area's own
// left and top edges are not used).
POINT KeepInWorkArea(POINT topLeft, SIZE size, const RECT& workArea, Overflow overflow);
RECT DesktopWorkArea();

// Opens a web address in the user's browser.
void OpenWebPage(HWND owner, const char* url);

// The set-up the open and save dialogs share: the full-size record owned by
// `owner`, with one filter entry ("description\0pattern\0"), chosen; the file
// name buffer; the folder it opens in; the extension added to a bare name.
OPENFILENAMEW FileDialog(HWND owner, const wchar_t* filter, std::span<wchar_t> file, const wchar_t* folder,
                         const wchar_t* defaultExtension);
