#include "windows/importcmd.h"

#include <commdlg.h>

#include <optional>
#include <utility>

#include "host/hostmessage.h"
#include "host/paths.h"
#include "host/plugindatabase.h"
#include "players/fidelistimport.h"
#include "players/playersfile.h"
#include "windows/windowhelpers.h"

namespace {

constexpr DWORD kPathBufferSize = 1024;
constexpr wchar_t kListNotImported[] = L"I can not import the list of players";
constexpr wchar_t kListNotRead[] =
    L"The list of players could not be read. The previous list of players is kept.";
// One filter entry: description, pattern, and the empty entry that ends the list.
constexpr wchar_t kFilter[] = L"List of players from FIDE\0players_list*.txt\0";

}  // namespace

void ImportCommand(HWND owner) {
  wchar_t path[kPathBufferSize] = {};
  std::wstring folder = ModulePath();
  OPENFILENAMEW dialog = FileDialog(owner, kFilter, path, folder.c_str(), L"txt");
  if (!GetOpenFileNameW(&dialog)) return;
  ImportChosenList(WideToAnsi(std::wstring(path)));
}

bool ImportChosenList(const std::string& path) {
  std::string error;
  std::optional<PlayerDatabase> imported = ImportFideList(path, error, Indexing::kBuild);
  if (!imported) {
    ShowMessage(kListNotImported, kListNotRead, 1);
    return false;
  }
  // A failed write keeps the previous players.dat; the new list serves
  // until the host ends.
  SavePlayers(*imported, PlayersFilePath());
  ReplacePluginDatabase(std::move(*imported));
  return true;
}
