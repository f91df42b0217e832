#include "hostsim/menutree.h"

#include <map>

#include "hostsim/transcript.h"

namespace menutree {

namespace {

using Snapshot = std::vector<std::pair<std::wstring, std::vector<std::string>>>;  // path, entries
Snapshot last;

std::string EntryText(const Entry& e) {
  if (e.separator) return "-";
  std::string state = std::string(e.disabled ? " (disabled)" : "") + (e.checked ? " (checked)" : "");
  if (e.popup) return "> " + transcript::Quote(ShownCaption(e.caption)) + state;
  return transcript::Quote(ShownCaption(e.caption)) + " id " + std::to_string(e.id) + state;
}

void Collect(HMENU menu, const std::wstring& path, int depth, Snapshot& snapshot) {
  if (!menu || depth > 8) return;
  std::vector<Entry> entries = Entries(menu);
  std::vector<std::string> texts;
  for (const Entry& e : entries) texts.push_back(EntryText(e));
  snapshot.emplace_back(path, texts);
  for (const Entry& e : entries)
    if (e.popup) {
      std::wstring caption = ShownCaption(e.caption);
      Collect(e.popup, path.empty() ? caption : path + L" > " + caption, depth + 1, snapshot);
    }
}

// Marks, by a longest common subsequence, which entries both lists share.
void Match(const std::vector<std::string>& a, const std::vector<std::string>& b, std::vector<bool>& inA,
           std::vector<bool>& inB) {
  size_t n = a.size(), m = b.size();
  std::vector<std::vector<int>> len(n + 1, std::vector<int>(m + 1, 0));
  for (size_t i = n; i-- > 0;)
    for (size_t j = m; j-- > 0;)
      len[i][j] = a[i] == b[j] ? len[i + 1][j + 1] + 1 : std::max(len[i + 1][j], len[i][j + 1]);
  inA.assign(n, false);
  inB.assign(m, false);
  for (size_t i = 0, j = 0; i < n && j < m;) {
    if (a[i] == b[j]) {
      inA[i++] = inB[j++] = true;
    } else if (len[i + 1][j] >= len[i][j + 1]) {
      ++i;
    } else {
      ++j;
    }
  }
}

std::string PathLabel(const std::wstring& path) {
  return path.empty() ? std::string("menu bar") : transcript::Utf8(path);
}

}  // namespace

std::vector<Entry> Entries(HMENU menu) {
  std::vector<Entry> entries;
  int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    wchar_t text[512] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | MIIM_ID | MIIM_STATE;
    info.dwTypeData = text;
    info.cch = 511;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    Entry e;
    e.separator = (info.fType & MFT_SEPARATOR) != 0;
    e.caption = e.separator ? L"" : text;
    e.id = info.wID;
    e.popup = info.hSubMenu;
    e.disabled = (info.fState & MFS_DISABLED) != 0;
    e.checked = (info.fState & MFS_CHECKED) != 0;
    entries.push_back(e);
  }
  return entries;
}

std::wstring ShownCaption(const std::wstring& caption) {
  std::wstring shown;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&') {
      if (i + 1 < caption.size() && caption[i + 1] == L'&') {
        shown += L'&';
        ++i;
      }
      continue;
    }
    if (caption[i] == L'\t') break;  // accelerator text
    shown += caption[i];
  }
  return shown;
}

namespace {

bool FindAnywhere(HMENU menu, const std::wstring& caption, int depth, Entry& found) {
  if (!menu || depth > 8) return false;
  for (const Entry& e : Entries(menu)) {
    if (!e.separator && (e.caption == caption || ShownCaption(e.caption) == caption)) {
      found = e;
      return true;
    }
    if (e.popup && FindAnywhere(e.popup, caption, depth + 1, found)) return true;
  }
  return false;
}

}  // namespace

bool Find(HMENU bar, const std::wstring& path, Entry& found) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    size_t at = path.find(L" > ", start);
    parts.push_back(path.substr(start, at == std::wstring::npos ? std::wstring::npos : at - start));
    if (at == std::wstring::npos) break;
    start = at + 3;
  }
  if (parts.size() == 1) return FindAnywhere(bar, parts[0], 0, found);
  HMENU menu = bar;
  for (size_t k = 0; k < parts.size(); ++k) {
    bool matched = false;
    for (const Entry& e : Entries(menu)) {
      if (e.separator || (e.caption != parts[k] && ShownCaption(e.caption) != parts[k])) continue;
      if (k + 1 == parts.size()) {
        found = e;
        return true;
      }
      if (!e.popup) return false;
      menu = e.popup;
      matched = true;
      break;
    }
    if (!matched) return false;
  }
  return false;
}

std::vector<std::string> Describe(HMENU menu) {
  std::vector<std::string> lines;
  int position = 0;
  for (const Entry& e : Entries(menu))
    lines.push_back("[" + std::to_string(position++) + "] " + EntryText(e));
  return lines;
}

void Remember(HMENU bar) {
  last.clear();
  Collect(bar, L"", 0, last);
}

void ReportChanges(HMENU bar) {
  Snapshot now;
  Collect(bar, L"", 0, now);
  std::map<std::wstring, const std::vector<std::string>*> before;
  for (const auto& [path, entries] : last) before[path] = &entries;
  static const std::vector<std::string> none;
  auto report = [](const std::wstring& path, const std::vector<std::string>& old,
                   const std::vector<std::string>& current) {
    if (old == current) return;
    std::vector<bool> keptOld, keptNew;
    Match(old, current, keptOld, keptNew);
    for (size_t i = 0; i < old.size(); ++i)
      if (!keptOld[i])
        transcript::Line("menu removed from " + PathLabel(path) + ": [" + std::to_string(i) + "] " + old[i]);
    for (size_t j = 0; j < current.size(); ++j)
      if (!keptNew[j])
        transcript::Line("menu inserted into " + PathLabel(path) + ": [" + std::to_string(j) + "] " +
                         current[j]);
  };
  for (const auto& [path, entries] : now) {
    auto it = before.find(path);
    report(path, it == before.end() ? none : *it->second, entries);
    if (it != before.end()) before.erase(it);
  }
  for (const auto& [path, entries] : before) report(path, *entries, none);
  last = std::move(now);
}

}  // namespace menutree
