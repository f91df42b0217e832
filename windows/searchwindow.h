// The extended search window: the user picks one of several candidate
// players for a name, asks for a more tolerant search, skips the name or
// cancels a batch. The window knows only the lines it is given.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

// One candidate's row: the text shown and the FIDE ID behind its link.
struct CandidateLine {
  std::wstring text;
  int32_t fideId = 0;
};

// Shows the window modally, centred on the point in host variables 96 and 97.
// Rows are the candidates 0..n-1, then "Extended search..." when offered,
// "Skip", and "Cancel" when offered. Returns the chosen row, or -1 for
// Escape, for the window being closed, or when the host cannot show windows.
int32_t ChoosePlayer(HWND parent, std::span<const CandidateLine> candidates, const std::wstring& title,
                     bool offerExtended, bool offerCancel);

// Handed to the host with the window.
LRESULT CALLBACK SearchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void __stdcall PaintSearchWindow(HWND window, HDC dc);
// Sizes and places the window; called when it is shown.
void LayoutSearchWindow(HWND window);

// The address of a player's page on the games site.
std::string PlayerPageUrl(int32_t id);
