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

// What the user answered.
struct SearchAnswer {
  enum class Kind : uint8_t {
    kPlayer,          // the candidate of `row`
    kExtendedSearch,  // "Extended search...": look again, more tolerantly
    kSkip,            // "Skip", Escape, the window closed, or no window at all
    kCancel,          // "Cancel": stop the run over all games
  };
  Kind kind = Kind::kSkip;
  size_t row = 0;  // with kPlayer: into the candidates

  friend bool operator==(const SearchAnswer&, const SearchAnswer&) = default;
};

// Shows the window modally, centred on the point in host variables 96 and 97.
// Rows are the candidates, then "Extended search..." when offered, "Skip",
// and "Cancel" when offered.
SearchAnswer ChoosePlayer(HWND parent, std::span<const CandidateLine> candidates, const std::wstring& title,
                          bool offerExtended, bool offerCancel);

// Handed to the host with the window.
LRESULT CALLBACK SearchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void __stdcall PaintSearchWindow(HWND window, HDC dc);
// Sizes and places the window; called when it is shown.
void LayoutSearchWindow(HWND window);

// The address of a player's page on the games site.
std::string PlayerPageUrl(int32_t id);
