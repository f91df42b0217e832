// The common file dialogs of this thread, found and answered from inside the
// process as a person would: the file name typed, then OK or Cancel, and the
// overwrite question answered with Yes.
#pragma once

#include <windows.h>

#include <string>

namespace filedialogs {

// The open or save dialog on screen, or nil.
HWND OpenDialog();
// The question whether to replace an existing file, or nil.
HWND OverwritePrompt();

std::wstring CaptionOf(HWND dialog);
// The file name the dialog suggests.
std::wstring FileNameIn(HWND dialog);
void Answer(HWND dialog, const std::wstring& path);
void Cancel(HWND dialog);
void ConfirmOverwrite(HWND prompt);

}  // namespace filedialogs
