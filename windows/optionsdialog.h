// The Options dialog, in which the user edits the settings flags,
// starts the import of a new FIDE list and opens FIDE's download page.
#pragma once

#include <windows.h>

// The Options command's handler: runs the dialog.
void __stdcall ShowOptions();

// Handed to the host with the dialog.
LRESULT CALLBACK OptionsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void __stdcall PaintOptionsDialog(HWND window, HDC dc);
// Creates the controls, sizes the window and places it around the mouse.
void BuildOptionsDialog(HWND window);
// Stores the boxes' states into the flags and the settings file and ends the
// dialog. The Save button's click handler; Enter does the same.
void __stdcall SaveOptions();

// Drops the picture references held by the dialog's button records; for
// when the library is unloaded.
void ReleaseOptionsButtons();
