#include "tools/tagreport.h"

#include <vector>

#include "tools/numbers.h"

namespace {

constexpr std::string_view kHeader = "name\tgames\tresult\tfide_id\tchoice\tnote\tcandidates\n";
constexpr std::string_view kDamaged = "damaged game";
constexpr size_t kChoiceColumn = 4;

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::string Number(int64_t n) { return n == 0 ? std::string() : std::to_string(n); }

}  // namespace

std::string EscapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

bool WriteReport(std::FILE* out, const TagRun& run) {
  std::string text(kHeader);
  for (const NameRow& row : run.names) {
    text += EscapeField(row.name);
    text += '\t' + std::to_string(row.games);
    text += '\t';
    text += ResultText(row.result);
    text += '\t' + Number(row.fideId);
    text += '\t' + Number(row.choice);
    text += '\t' + EscapeField(row.note);
    for (const SearchHit& c : row.candidates) {
      text += '\t' + std::to_string(run.database->Players()[static_cast<size_t>(c.index)].fideId) + ' ';
      text += EscapeField(DescribePlayer(*run.database, c.index));
    }
    text += '\n';
    if (text.size() > (1 << 16)) {
      if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) return false;
      text.clear();
    }
  }
  for (const DamagedGame& d : run.damaged) {
    text += "\t1\t";
    text += kDamaged;
    text += "\t\t\tgame " + std::to_string(d.game) + ", line " + std::to_string(d.line) + ": " +
            EscapeField(d.problem) + "\n";
  }
  return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

std::string ReadChoices(std::string_view text, std::map<std::string, int32_t>& choices) {
  int64_t number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> fields = SplitFields(line);
    if (number == 1 && fields[0] == "name") continue;  // the header
    if (fields.size() <= kChoiceColumn || (fields.size() > 2 && fields[2] == kDamaged)) continue;
    std::string_view choice = fields[kChoiceColumn];
    while (!choice.empty() && choice.front() == ' ') choice.remove_prefix(1);
    while (!choice.empty() && choice.back() == ' ') choice.remove_suffix(1);
    if (choice.empty()) continue;
    int32_t id = 0;
    if (!ParseNumber(choice, id) || id <= 0)
      return "line " + std::to_string(number) + ": the choice \"" + std::string(choice) +
             "\" is not a FIDE ID";
    choices[UnescapeField(fields[0])] = id;
  }
  return {};
}
