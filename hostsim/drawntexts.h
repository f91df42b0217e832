// The texts a plug-in window's paint callback draws, recorded by painting it
// into a metafile: a transcript can show what the window says, not only how
// it looks.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace drawntexts {

struct DrawnText {
  POINT at;  // the reference point the text was drawn at, client coordinates
  std::wstring text;
};

// The texts in the order the plug-in draws them; empty for a window that is
// not an open plug-in window.
std::vector<DrawnText> Of(HWND window);

}  // namespace drawntexts
