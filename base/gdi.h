// Owning wrappers for the GDI objects and device contexts that the plug-in's
// windows create while they lay out and paint: each is released when the call
// that made it ends, on every path out of it.
#pragma once

#include <windows.h>

#include <string_view>

// A font, pen or brush, deleted when it goes out of scope. Declare it before
// any SelectedObject that selects it, so that it is put back out of the DC
// before it is deleted.
template <class Handle>
struct OwnedGdiObject {
  Handle handle;

  explicit OwnedGdiObject(Handle h) : handle(h) {}
  ~OwnedGdiObject() {
    if (handle) DeleteObject(handle);
  }
  OwnedGdiObject(const OwnedGdiObject&) = delete;
  OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;

  operator Handle() const { return handle; }
};

using OwnedFont = OwnedGdiObject<HFONT>;
using OwnedPen = OwnedGdiObject<HPEN>;
using OwnedBrush = OwnedGdiObject<HBRUSH>;
using OwnedBitmap = OwnedGdiObject<HBITMAP>;

// Selects an object into a device context and puts the one it replaced back
// when it goes out of scope. Objects selected meanwhile by hand are replaced
// by that original as well.
struct SelectedObject {
  HDC dc;
  HGDIOBJ previous;

  SelectedObject(HDC d, HGDIOBJ object) : dc(d), previous(SelectObject(d, object)) {}
  ~SelectedObject() {
    if (previous && previous != HGDI_ERROR) SelectObject(dc, previous);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
};

// A window's device context (GetDC), released when it goes out of scope.
struct WindowDC {
  HWND window;
  HDC dc;

  explicit WindowDC(HWND w) : window(w), dc(GetDC(w)) {}
  ~WindowDC() {
    if (dc) ReleaseDC(window, dc);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  operator HDC() const { return dc; }
};

// A memory device context compatible with another, deleted when it goes out
// of scope.
struct MemoryDC {
  HDC dc;

  explicit MemoryDC(HDC compatibleWith) : dc(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDC() {
    if (dc) DeleteDC(dc);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  operator HDC() const { return dc; }
};

// A font made from a host LOGFONTA; the system's default font when the host
// gave none.
inline HFONT FontFrom(const LOGFONTA* host, bool underline = false) {
  LOGFONTA font = host ? *host : LOGFONTA{};
  if (underline) font.lfUnderline = TRUE;
  return CreateFontIndirectA(&font);
}

// The extent of a text in the font selected into a device context.
inline SIZE TextExtent(HDC dc, std::wstring_view text) {
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size;
}
