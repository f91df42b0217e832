#include "plugin/menus.h"

#include <string>
#include <string_view>

#include "base/guard.h"
#include "host/gamessiteaddress.h"
#include "host/hostdata.h"
#include "host/hostservices.h"
#include "host/paths.h"
#include "plugin/velmarsh.h"
#include "tagging/addinfo.h"
#include "tagging/batch.h"
#include "tagging/gamessite.h"
#include "windows/optionsdialog.h"

CommandIds commandIds;
HMENU menuPopup = nullptr;

namespace {

WNDPROC previousWindowProc = nullptr;  // the host's, which every message goes on to

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_RBUTTONUP) Guarded([] { RebuildMenu(); });
  return CallWindowProcW(previousWindowProc, window, message, wParam, lParam);
}

void InsertEntry(UINT position, uint32_t id, const std::wstring& caption) {
  InsertMenuW(menuPopup, position, MF_BYPOSITION | MF_STRING, id, caption.c_str());
}

// A menu takes '&' as the mark of a shortcut letter; a name shows as
// written only with each '&' doubled.
std::wstring MenuName(std::string_view name) {
  std::wstring text;
  for (wchar_t c : AnsiToWide(name)) {
    if (c == L'&') text += L'&';
    text += c;
  }
  return text;
}

}  // namespace

void SubclassMainWindow() {
  HWND main = MainWindowHandle();
  if (!main) return;
  previousWindowProc =
      reinterpret_cast<WNDPROC>(SetWindowLongW(main, GWL_WNDPROC, reinterpret_cast<LONG>(MainWindowProc)));
}

void RegisterCommandsAndMenus() {
  menuPopup = CreatePopupMenu();
  // One record serves every registration; the host reads only what it owns.
  static hostabi::TRegRecord record{};
  record.zeroField = 0;
  CommandIds& ids = commandIds;
  ids.separator = RegisterCommand(&record, nullptr);
  // Position 57 is a command id: both entries go before the host's item 57.
  InsertMenuW(mainMenu, hostabi::kAnchorCommand, MF_SEPARATOR, ids.separator, L"");
  ids.addWhite = RegisterCommand(&record, AddWhiteCommand);
  InsertMenuW(mainMenu, hostabi::kAnchorCommand, MF_POPUP, reinterpret_cast<UINT_PTR>(menuPopup),
              L"More about players");
  ids.addBlack = RegisterCommand(&record, AddBlackCommand);
  ids.openWhitePage = RegisterCommand(&record, OpenWhitePage);
  ids.openBlackPage = RegisterCommand(&record, OpenBlackPage);
  ids.downloadWhite = RegisterCommand(&record, DownloadWhiteGames);
  ids.downloadBlack = RegisterCommand(&record, DownloadBlackGames);
  ids.addBoth = RegisterCommand(&record, AddBothCommand);
  ids.tagAll = RegisterCommand(&record, TagAllGames);
  ids.options = RegisterCommand(&record, ShowOptions);

  InsertEntry(0, ids.tagAll, L"Add tags for all players");
  InsertMenuW(menuPopup, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuW(menuPopup, 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertEntry(3, ids.options, L"Options...");
}

void RebuildMenu() {
  const CommandIds& ids = commandIds;
  for (uint32_t id : {ids.addWhite, ids.addBlack, ids.openWhitePage, ids.openBlackPage, ids.downloadWhite,
                      ids.downloadBlack, ids.addBoth})
    RemoveMenu(menuPopup, id, MF_BYCOMMAND);

  int32_t game = GameAtPosition(CurrentGame());
  if (game < 0) return;
  auto header = GameHeader(game);
  std::wstring white = MenuName(HeaderValue(header, hostabi::kWhitePosition));
  std::wstring black = MenuName(HeaderValue(header, hostabi::kBlackPosition));
  std::wstring atSite = std::wstring(L" at ") + kGamesSiteHostW;
  InsertEntry(0, ids.addWhite, L"Add tags for " + white);
  InsertEntry(1, ids.addBlack, L"Add tags for " + black);
  InsertEntry(2, ids.addBoth, L"Add tags for both players");
  InsertEntry(5, ids.openWhitePage, white + atSite);
  InsertEntry(6, ids.openBlackPage, black + atSite);
  InsertEntry(7, ids.downloadWhite, L"Download all games " + white);
  InsertEntry(8, ids.downloadBlack, L"Download all games " + black);
}
