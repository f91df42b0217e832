// Screenshots of a window as PNG files, taken from the screen as shown.
#pragma once

#include <windows.h>

#include <string>

namespace screenshot {

// Repaints the window and its children now.
void Repaint(HWND window);
// Writes the window's screen area to a PNG file; false when it cannot.
bool Take(HWND window, const std::wstring& path, SIZE& size);

}  // namespace screenshot
