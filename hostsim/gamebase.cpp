#include "hostsim/gamebase.h"

#include <windows.h>

#include <algorithm>

#include "hostsim/files.h"
#include "hostsim/gamelist.h"
#include "hostsim/hoststate.h"
#include "hostsim/messagewnd.h"
#include "hostsim/transcript.h"

const wchar_t* const kColumnNames[kColumnCount] = {L"#",    L"White", L"Black", L"Result",
                                                   L"Date", L"Event", L"Site",  L"Round"};

namespace {

// Header position of each column's tag; the number column has none.
constexpr int kColumnTag[kColumnCount] = {-1, 4, 5, 6, 2, 0, 1, 3};

int sortColumn = -1;
bool sortDescending = false;

std::wstring Widen(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

void HostReport(const std::wstring& caption, std::vector<std::wstring> lines) {
  lines.push_back(L"OK");
  RECT r{};
  GetWindowRect(host.mainWindow, &r);
  messagewnd::Show(host.mainWindow, caption, lines, 1, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

std::string Lowered(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

int ColumnByName(std::wstring_view name) {
  for (int c = 0; c < kColumnCount; ++c)
    if (CompareStringOrdinal(name.data(), static_cast<int>(name.size()), kColumnNames[c], -1, TRUE) ==
        CSTR_EQUAL)
      return c;
  return -1;
}

std::string ColumnText(int32_t record, int column) {
  if (record < 0 || record >= static_cast<int32_t>(host.base.games.size())) return {};
  if (column == 0) return std::to_string(record + 1);
  const HostGame& game = host.base.games[static_cast<size_t>(record)];
  size_t at = static_cast<size_t>(kColumnTag[column]);
  return at < game.tags.size() ? std::string(game.tags[at].second.Text()) : std::string();
}

namespace {

// Adds a game read or given to the open base.
void AddToBase(pgn::Game&& g) {
  std::vector<std::pair<std::string_view, std::string_view>> tags(g.tags.begin(), g.tags.end());
  host.base.AddGame(tags, g.movetext);
}

// Shows the games added since the base was cleared as the open base.
void ShowNewBase(const std::wstring& name) {
  host.base.Publish();
  sortColumn = -1;
  host.baseName = name;
  host.modified = false;
  host.currentGame = 0;
  gamelist::Refresh();
}

}  // namespace

void LoadGames(std::vector<pgn::Game> games, const std::wstring& name) {
  host.base.Clear();
  for (pgn::Game& g : games) AddToBase(std::move(g));
  ShowNewBase(name);
}

bool OpenBase(const std::wstring& path, const std::wstring& shownName) {
  std::string bytes;
  DWORD error = 0;
  if (!files::Read(path, bytes, error)) {
    transcript::Line("base not opened " + transcript::Quote(shownName) + ": error " + std::to_string(error));
    HostReport(L"The base is not opened",
               {L"The file " + shownName + L" cannot be read (error " + std::to_wstring(error) + L")."});
    return false;
  }
  host.base.Clear();
  pgn::ReadResult read = pgn::ReadEach(bytes, AddToBase);
  size_t slash = path.find_last_of(L"\\/");
  ShowNewBase(slash == std::wstring::npos ? path : path.substr(slash + 1));
  // Saving a damaged base over its file would drop the games left out:
  // Save then asks for a file name, like Save as.
  host.basePath = read.problems.empty() ? path : std::wstring();
  transcript::Line("base opened " + transcript::Quote(shownName) + ": " +
                   std::to_string(host.base.games.size()) + " games");
  if (!read.problems.empty()) {
    std::vector<std::wstring> lines{shownName + L": " + std::to_wstring(host.base.games.size()) +
                                    L" games read, " + std::to_wstring(read.skippedGames) +
                                    L" left out because they are damaged."};
    constexpr size_t kShown = 10;
    for (size_t i = 0; i < read.problems.size() && i < kShown; ++i)
      lines.push_back(L"Line " + std::to_wstring(read.problems[i].line) + L": " +
                      Widen(read.problems[i].what) + L".");
    if (read.problems.size() > kShown)
      lines.push_back(L"... and " + std::to_wstring(read.problems.size() - kShown) + L" more problems.");
    HostReport(L"The base is damaged", lines);
  }
  return true;
}

bool SaveBase(const std::wstring& path, const std::wstring& shownName) {
  std::string text;
  std::vector<std::pair<std::string_view, std::string_view>> tags;
  for (const HostGame& game : host.base.games) {
    tags.clear();
    for (const auto& [tag, value] : game.tags) tags.emplace_back(tag.Text(), value.Text());
    pgn::WriteGame(text, tags, game.movetext.Text());
  }
  DWORD error = 0;
  if (!files::Write(path, text, error)) {
    transcript::Line("base not saved " + transcript::Quote(shownName) + ": error " + std::to_string(error));
    HostReport(L"The base is not saved",
               {L"The file " + shownName + L" cannot be written (error " + std::to_wstring(error) + L")."});
    return false;
  }
  host.modified = false;
  host.basePath = path;
  size_t slash = path.find_last_of(L"\\/");
  host.baseName = slash == std::wstring::npos ? path : path.substr(slash + 1);
  transcript::Line("base saved " + transcript::Quote(shownName) + ": " +
                   std::to_string(host.base.games.size()) + " games");
  gamelist::Refresh();
  return true;
}

int32_t RecordAt(int32_t position) {
  const auto& order = host.base.order;
  if (position < 0 || position >= static_cast<int32_t>(order.size())) return -1;
  return order[static_cast<size_t>(position)];
}

void SortBase(int column, bool descending) {
  if (column < 0 || column >= kColumnCount) return;
  int32_t current = RecordAt(host.currentGame);
  std::vector<int32_t>& order = host.base.order;
  std::vector<std::string> keys(host.base.games.size());
  for (size_t r = 0; r < keys.size(); ++r)
    if (column > 0) keys[r] = Lowered(ColumnText(static_cast<int32_t>(r), column));
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    if (column == 0) return descending ? a > b : a < b;
    const std::string& ka = keys[static_cast<size_t>(a)];
    const std::string& kb = keys[static_cast<size_t>(b)];
    if (ka != kb) return descending ? ka > kb : ka < kb;
    return a < b;
  });
  host.base.PublishOrder();
  sortColumn = column;
  sortDescending = descending;
  if (current >= 0) {
    auto at = std::find(order.begin(), order.end(), current);
    host.currentGame = static_cast<int32_t>(at - order.begin());
  }
  transcript::Line("base sorted by " + transcript::Utf8(kColumnNames[column]) +
                   (descending ? " descending" : " ascending") + ", current game at position " +
                   std::to_string(host.currentGame));
  gamelist::Refresh();
}

void ClickColumn(int column) { SortBase(column, column == sortColumn ? !sortDescending : false); }

void SelectGame(int32_t position) {
  host.currentGame = position;
  int32_t record = RecordAt(position);
  transcript::Line("current game: position " + std::to_string(position) +
                   (record >= 0 ? ", game " + std::to_string(record) : ", no game"));
  gamelist::ShowCurrentGame();
}
