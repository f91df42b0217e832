#include "hostsim/gamelist.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "hostsim/gamebase.h"
#include "hostsim/hoststate.h"
#include "hostsim/pgn.h"
#include "hostsim/transcript.h"

namespace gamelist {

namespace {

constexpr int kColumnWidths[kColumnCount] = {48, 150, 150, 60, 86, 160, 120, 50};
constexpr int kHeaderViewWidth = 300;

WNDPROC listProc = nullptr;
bool releaseSeen = false;
bool refreshPending = false;
std::vector<int32_t> changedRecords;  // since the last refresh; -1 for any

// Right-button releases over the list reach the main window, in its client
// coordinates, so that plug-ins subclassing the main window see them.
void ForwardRelease(HWND list, POINT p, WPARAM keys) {
  MapWindowPoints(list, host.mainWindow, &p, 1);
  SendMessageW(host.mainWindow, WM_RBUTTONUP, keys, MAKELPARAM(p.x, p.y));
}

LRESULT CALLBACK ListProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_RBUTTONUP) {
    releaseSeen = true;
    ForwardRelease(w, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, wp);
  }
  if (m == WM_RBUTTONDOWN) {
    // The list view follows the mouse after a right press and takes the
    // release out of the queue itself (then it notifies a right click); that
    // release is forwarded here, unless it arrived as a message after all.
    releaseSeen = false;
    LRESULT result = CallWindowProcW(listProc, w, m, wp, lp);
    if (!releaseSeen && GetKeyState(VK_RBUTTON) >= 0) {
      DWORD at = GetMessagePos();
      POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
      ScreenToClient(w, &p);
      ForwardRelease(w, p, 0);
    }
    return result;
  }
  return CallWindowProcW(listProc, w, m, wp, lp);
}

std::wstring AnsiToWide(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), w.data(), n);
  return w;
}

// The texts last given to the header view and the main window: setting the
// same text again is skipped (each costs a relayout and, for the title, a
// round trip to the window manager).
std::wstring shownHeader, shownTitle;

void SetText(HWND window, std::wstring& shown, std::wstring text) {
  if (text == shown && GetWindowTextLengthW(window) == static_cast<int>(text.size())) return;
  SetWindowTextW(window, text.c_str());
  shown = std::move(text);
}

void ShowHeader() {
  int32_t record = RecordAt(host.currentGame);
  std::string text;
  if (record >= 0) {
    const HostGame& game = host.base.games[static_cast<size_t>(record)];
    for (const auto& [name, value] : game.tags) text += pgn::TagLine(name.Text(), value.Text()) + "\r\n";
    text += "\r\n";
    if (!game.movetext.Text().empty()) text += std::string(game.movetext.Text()) + "\r\n";
  }
  SetText(host.headerView, shownHeader, AnsiToWide(text));
}

void UpdateTitle() {
  std::wstring title = L"Lumora";
  if (!host.baseName.empty()) title += L" - " + host.baseName + (host.modified ? L" *" : L"");
  SetText(host.mainWindow, shownTitle, std::move(title));
}

}  // namespace

void CreateViews(HWND main) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  host.gameList =
      CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                      WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                      0, 0, 100, 100, main, nullptr, instance, nullptr);
  ListView_SetExtendedListViewStyle(host.gameList, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (int c = 0; c < kColumnCount; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(kColumnNames[c]);
    column.cx = kColumnWidths[c];
    ListView_InsertColumn(host.gameList, c, &column);
  }
  listProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(host.gameList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
  host.headerView =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
                      100, 100, main, nullptr, instance, nullptr);
  HFONT font = CreateFontIndirectA(&host.style.bodyFont);  // lives as long as the views
  SendMessageW(host.gameList, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(host.headerView, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Layout(int width, int height) {
  int listWidth = width > kHeaderViewWidth * 2 ? width - kHeaderViewWidth : width / 2;
  MoveWindow(host.gameList, 0, 0, listWidth, height, TRUE);
  MoveWindow(host.headerView, listWidth, 0, width - listWidth, height, TRUE);
}

void Refresh() {
  if (!host.gameList) return;
  ListView_SetItemCountEx(host.gameList, static_cast<int>(host.base.games.size()), LVSICF_NOSCROLL);
  InvalidateRect(host.gameList, nullptr, TRUE);
  ShowCurrentGame();
  UpdateTitle();
}

void RefreshLater(int32_t record) {
  changedRecords.push_back(record);
  if (refreshPending || !host.mainWindow) return;
  refreshPending = PostMessageW(host.mainWindow, kRefreshViewsMessage, 0, 0) != 0;
  if (!refreshPending) RunPendingRefresh();
}

void RunPendingRefresh() {
  refreshPending = false;
  std::vector<int32_t> changed = std::exchange(changedRecords, {});
  if (!host.gameList || changed.empty()) return;
  std::sort(changed.begin(), changed.end());
  auto isChanged = [&](int32_t record) {
    return changed.front() < 0 || std::binary_search(changed.begin(), changed.end(), record);
  };
  // Only headers changed, so the row count and the selection stand. Rows in
  // view whose game changed are drawn anew; the others show the base as it
  // is when they scroll into view.
  int count = ListView_GetItemCount(host.gameList);
  int top = ListView_GetTopIndex(host.gameList);
  int last = std::min(count, top + ListView_GetCountPerPage(host.gameList) + 1);
  for (int position = top; position < last; ++position)
    if (isChanged(RecordAt(position))) ListView_RedrawItems(host.gameList, position, position);
  if (isChanged(RecordAt(host.currentGame))) ShowHeader();
  UpdateTitle();
}

void ShowCurrentGame() {
  if (!host.gameList) return;
  int count = static_cast<int>(host.base.games.size());
  if (host.currentGame >= 0 && host.currentGame < count) {
    ListView_SetItemState(host.gameList, host.currentGame, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(host.gameList, host.currentGame, FALSE);
  } else {
    ListView_SetItemState(host.gameList, -1, 0, LVIS_SELECTED);
  }
  ShowHeader();
}

LRESULT OnNotify(NMHDR* header) {
  if (header->hwndFrom != host.gameList) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      if (info->item.mask & LVIF_TEXT) {
        std::wstring text = AnsiToWide(ColumnText(RecordAt(info->item.iItem), info->item.iSubItem));
        lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
      }
      return 0;
    }
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      bool selected = (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED);
      if (selected && change->iItem >= 0 && change->iItem != host.currentGame) {
        host.currentGame = change->iItem;
        int32_t record = RecordAt(host.currentGame);
        transcript::Line("current game: position " + std::to_string(host.currentGame) + ", game " +
                         std::to_string(record));
        ShowHeader();
      }
      return 0;
    }
    case LVN_COLUMNCLICK: {
      ClickColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
    }
  }
  return 0;
}

POINT CurrentRowPoint() {
  RECT r{};
  if (host.currentGame >= 0 && ListView_GetItemRect(host.gameList, host.currentGame, &r, LVIR_BOUNDS))
    return POINT{r.left + 20, (r.top + r.bottom) / 2};
  // No row: the empty space below the last one.
  int rows = ListView_GetItemCount(host.gameList);
  if (rows > 0 && ListView_GetItemRect(host.gameList, rows - 1, &r, LVIR_BOUNDS))
    return POINT{r.left + 20, r.bottom + (r.bottom - r.top) * 2};
  return POINT{20, 60};
}

}  // namespace gamelist
