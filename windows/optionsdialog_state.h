// The Options dialog's records, texts and measures, shared by its window
// procedure (optionsdialog.cpp), its layout (optionsdialog_layout.cpp) and
// its drawing (optionsdialog_paint.cpp). Not for other units.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "host/hostdata.h"
#include "host/settings.h"
#include "lumora/hostabi.h"
#include "windows/windowhelpers.h"

namespace optionsdialog {

// One row of the dialog: a label, the flag its "save" box is bound to and
// the flag of its "overwrite" box.
struct OptionRow {
  std::wstring_view label;
  bool Settings::*save;
  bool Settings::*overwrite;
};

inline constexpr OptionRow kRows[4] = {
    {L"Country:", &Settings::saveCountry, &Settings::overwriteCountry},
    {L"Sex:", &Settings::saveSex, &Settings::overwriteSex},
    {L"Title:", &Settings::saveTitle, &Settings::overwriteTitle},
    {L"ELO:", &Settings::saveElo, &Settings::overwriteElo},
};

// Boxes 2r and 2r+1 are row r's "save" and "overwrite" boxes; the last one
// is changeName's.
constexpr int kBoxCount = 9;
constexpr int kChangeNameBox = 8;

inline bool& BoundFlag(int box) {
  if (box == kChangeNameBox) return settings.changeName;
  const OptionRow& row = kRows[box / 2];
  return settings.*(box % 2 == 0 ? row.save : row.overwrite);
}

inline constexpr std::wstring_view kHeading = L"Save the following information about players:";
inline constexpr std::wstring_view kOverwriteLabel = L"Overwrite:";
inline constexpr std::wstring_view kChangeNameLabel = L"Change name, if it is spelled differently in FIDE";
inline constexpr std::wstring_view kFirstInstruction =
    L"You should at first download the list of players from";
// FIDE's domain followed by " and unzip it.".
inline constexpr std::wstring_view kSecondInstruction = L"fide.com and unzip it.";
inline constexpr std::wstring_view kVisitWebsite = L"Visit website";
inline constexpr char kFideDownloadPage[] = "https://ratings.fide.com/download.phtml";

// "New FIDE list" is wider than the host's normal buttons.
constexpr int kNewListButtonWidth = 148;

// The dialog's records and its link's state. They live for the process: the
// host reads the box and button records while the dialog is open and calls
// its procedures without arguments of ours, and the button records hold
// picture references until the library is unloaded.
struct DialogState {
  hostabi::TCheckInf boxes[kBoxCount]{};
  hostabi::TButInf newListButton{}, closeButton{}, saveButton{};
  int overwriteLabelX = 0;  // x of the "Overwrite:" labels, set by the layout
  RECT linkRect{};          // extent of "Visit website", edges included
  bool linkHover = false;
  HWND window = nullptr;  // the open dialog
};

extern DialogState state;

// Click handlers of "New FIDE list" (the import runs inside the click and the
// dialog stays open) and "Close".
void __stdcall ImportNewList();
void __stdcall CloseOptions();

// The host's style values, fetched anew for every layout and paint.
struct Measures {
  int top, bottom, left, right;  // the host's margins
  int boxHeight, boxWidth;       // a check box's size
  const LOGFONTA* bodyFont;
  COLORREF separatorColour;

  // The left edge of the texts and of the column of labels.
  int TextLeft() const { return left + 10; }
};

inline Measures HostMeasures() {
  using namespace hostabi;
  const Margins margins = HostMargins();
  return {margins.top,
          margins.bottom,
          margins.left,
          margins.right,
          HostMetricValue(kCheckBoxHeight),
          HostMetricValue(kCheckBoxWidth),
          HostMetricAs<LOGFONTA>(kBodyFont),
          static_cast<COLORREF>(HostMetricValue(kSeparatorColour))};
}

}  // namespace optionsdialog
