// The extended search window: the call that runs it, its window procedure
// and the keyboard and mouse rules by which the user chooses a row.
#include "windows/searchwindow.h"

#include "base/gdi.h"
#include "base/guard.h"
#include "host/gamessiteaddress.h"
#include "host/hostservices.h"
#include "windows/searchwindow_state.h"
#include "windows/windowhelpers.h"

namespace searchwindow {
WindowState state;
}

using namespace searchwindow;

namespace {

// The host's WindowResult, fetched when a window opens: the key and mouse
// handlers end the window through it.
int32_t* resultCell = nullptr;

void EndWindow(int32_t result) {
  if (resultCell) *resultCell = result;
}

// The answer a row gives: the candidates, then the fixed rows that were
// offered; -1 (Escape, the window closed) or no row at all is Skip.
SearchAnswer AnswerOfRow(int32_t row) {
  using enum SearchAnswer::Kind;
  if (row < 0 || row >= RowCount()) return {kSkip};
  if (row < CandidateCount()) return {kPlayer, static_cast<size_t>(row)};
  row -= CandidateCount();
  if (state.offerExtended && row-- == 0) return {kExtendedSearch};
  return {row == 0 ? kSkip : kCancel};
}

// Shows a change without waiting for a paint message.
void RepaintAtOnce(HWND window) {
  WindowDC dc(window);
  if (dc) PaintSearchWindow(window, dc);
}

// The row under a point of the row area (below the top margin, left of the
// link column); -1 outside it. The row may lie past the last one.
int RowAt(HWND window, int x, int y) {
  Margins m = HostMargins();
  if (y <= m.top || x >= LinkLeft(window, m)) return -1;
  return (y - m.top) / RowPitch();
}

// The candidate whose link text lies under a point, or -1: only the text
// itself counts, within its line's vertical band.
int LinkAt(HWND window, int x, int y) {
  Margins m = HostMargins();
  int h = state.lineHeight;
  if (y <= m.top) return -1;
  if (x < LinkLeft(window, m) + kLinkMargin || x > WindowWidth(window) - m.right - kLinkMargin) return -1;
  int row = (y - m.top) / RowPitch();
  if (row >= CandidateCount()) return -1;
  int offset = y - (m.top + row * RowPitch());
  return offset >= h / 4 && offset <= h / 4 + h ? row : -1;
}

void OpenPlayerPage(int32_t fideId) {
  HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(HostHandle(hostabi::kOwnerWindow)));
  std::string url = PlayerPageUrl(fideId);
  OpenWebPage(owner, url.c_str());
}

void OnKey(HWND window, WPARAM key) {
  int last = RowCount() - 1;
  switch (key) {
    case VK_RETURN: EndWindow(state.selectedRow); break;
    case VK_ESCAPE: EndWindow(-1); break;
    case VK_UP:
      state.selectedRow = state.selectedRow - 1 < 0 ? last : state.selectedRow - 1;
      RepaintAtOnce(window);
      break;
    case VK_DOWN:
      state.selectedRow = state.selectedRow + 1 > last ? 0 : state.selectedRow + 1;
      RepaintAtOnce(window);
      break;
  }
}

void OnPress(HWND window, int x, int y) {
  int row = RowAt(window, x, y);
  if (row >= 0 && row < RowCount() && row != state.selectedRow) {
    state.selectedRow = row;
    RepaintAtOnce(window);
  }
  state.pressed = true;
}

// A row is chosen by releasing over the highlighted row after a press in
// this window; the release of the click that opened the window chooses
// nothing. A release over a link opens the page and leaves the window open.
void OnRelease(HWND window, int x, int y) {
  if (state.hoverLink >= 0 && state.hoverLink < CandidateCount())
    OpenPlayerPage(state.candidates[static_cast<size_t>(state.hoverLink)].fideId);
  int row = RowAt(window, x, y);
  if (row >= 0 && row == state.selectedRow && state.pressed) EndWindow(state.selectedRow);
}

void OnMouseMove(HWND window, int x, int y) {
  int link = LinkAt(window, x, y);
  if (link != state.hoverLink) {
    state.hoverLink = link;
    RepaintAtOnce(window);
  }
  ShowLinkCursor(link != -1);
}

}  // namespace

SearchAnswer ChoosePlayer(HWND parent, std::span<const CandidateLine> candidates, const std::wstring& title,
                          bool offerExtended, bool offerCancel) {
  state.candidates = candidates;
  state.title = title;
  state.offerExtended = offerExtended;
  state.offerCancel = offerCancel;
  state.selectedRow = 0;
  state.pressed = false;
  state.hoverLink = -1;
  resultCell = WindowResult();
  // A host that cannot run the window, or could never learn its result,
  // gets no choice rather than a made-up row 0.
  int32_t row = -1;
  if (hostServices.createHostWindow && resultCell)
    row = CreateHostWindow(state.title.c_str(), 10, 10, parent, SearchWindowProc, PaintSearchWindow);
  SearchAnswer answer = AnswerOfRow(row);
  state.candidates = {};  // the caller's lines end with the call
  return answer;
}

LRESULT CALLBACK SearchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Guarded<LRESULT>(0, [&]() -> LRESULT {
    int x = LOWORD(lParam), y = HIWORD(lParam);
    switch (message) {
      case WM_SHOWWINDOW:
        // Laid out when the host shows the window; the owner being restored
        // from a minimised state (lParam SW_PARENTOPENING) sends this again
        // and must not move the window or the highlight back to row 0.
        if (wParam && lParam == 0) LayoutSearchWindow(window);
        break;
      case WM_KEYDOWN: OnKey(window, wParam); return 0;
      case WM_MOUSEMOVE:
        if (HostHandlesMouse()) break;
        OnMouseMove(window, x, y);
        return 0;
      case WM_LBUTTONDOWN: OnPress(window, x, y); return 0;
      case WM_LBUTTONUP:
        if (HostHandlesMouse()) break;
        OnRelease(window, x, y);
        return 0;
    }
    return DefaultWindowProc(window, message, wParam, lParam);
  });
}

std::string PlayerPageUrl(int32_t id) {
  return std::string("https://") + kGamesSiteHost +
         "/public/pinfo.jsp?id=" + std::to_string(static_cast<uint32_t>(id));
}
