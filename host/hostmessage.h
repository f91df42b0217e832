// The host's message window: texts shown to the user with an OK button,
// centred on the mouse.
#pragma once

#include <cstdint>
#include <string>

// Stores the mouse position as the point on which message and search
// windows are centred.
void CentreOnMouse();
// Shows text in the host's message window, centred on the mouse; kind 0 is
// a report, 1 a failure.
void ShowMessage(const std::wstring& caption, const std::wstring& text, int32_t kind);
