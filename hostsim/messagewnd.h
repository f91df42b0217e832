// The host's message window: modal, centred on a point, showing text lines
// of which the last is the caption of its one button. Plug-ins reach it
// through ShowHostMessage; the host uses it for its own reports too.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace messagewnd {

// Kind 0 is a report, 1 a failure. Returns when the user dismissed it.
void Show(HWND owner, const std::wstring& caption, const std::vector<std::wstring>& lines, int32_t kind,
          POINT centre);

// The innermost open message window, or nil.
HWND Innermost();
std::wstring CaptionOf(HWND window);
// Presses its button, as the user would.
void Dismiss(HWND window);

}  // namespace messagewnd
