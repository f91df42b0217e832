#include "hostsim/script.h"

#include <charconv>

namespace script {

namespace {

// Verbs whose argument is the rest of the line, taken as one text.
bool TakesText(std::string_view verb) {
  for (std::string_view v : {"open", "save", "menu", "menu-list", "wait-window", "wait-closed", "click",
                             "message", "dialog", "screenshot", "menu-show"})
    if (verb == v) return true;
  return false;
}

bool IsNumber(const std::string& word) {
  int value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size();
}

// What is wrong with a step's arguments, or empty.
std::string Check(const Step& s) {
  size_t n = s.words.size();
  const std::string& v = s.verb;
  auto number = [&](size_t i) { return i < n && IsNumber(s.words[i]); };
  if (v == "open" || v == "save" || v == "menu" || v == "wait-window" || v == "wait-closed" || v == "click" ||
      v == "dialog" || v == "screenshot" || v == "menu-show")
    return n == 1 && !s.words[0].empty() ? "" : v + " needs one argument";
  if (v == "menu-list" || v == "message") return "";
  if (v == "rclick" || v == "wait-download" || v == "wait-url" || v == "texts" || v == "menu-hide")
    return n == 0 ? "" : v + " takes no argument";
  if (v == "sort")
    return (n == 1 || (n == 2 && (s.words[1] == "ascending" || s.words[1] == "descending")))
               ? ""
               : "sort needs a column and optionally ascending or descending";
  if (v == "select") return n == 1 && number(0) ? "" : "select needs a position";
  if (v == "header") return n == 0 || (n == 1 && number(0)) ? "" : "header takes a position";
  if (v == "timeout") return n == 1 && number(0) ? "" : "timeout needs seconds";
  if (v == "pause") return n == 1 && number(0) ? "" : "pause needs milliseconds";
  if (v == "check") return n == 1 && number(0) ? "" : "check needs a number";
  if (v == "key") return n >= 1 ? "" : "key needs at least one key";
  if (v == "mouse")
    return n == 3 && number(1) && number(2) &&
                   (s.words[0] == "move" || s.words[0] == "down" || s.words[0] == "up" ||
                    s.words[0] == "click")
               ? ""
               : "mouse needs move, down, up or click and two coordinates";
  if (v == "mouse-busy")
    return n == 1 && (s.words[0] == "on" || s.words[0] == "off") ? "" : "mouse-busy needs on or off";
  if (v == "timers")
    return n == 1 && (s.words[0] == "hold" || s.words[0] == "release") ? "" : "timers needs hold or release";
  if (v == "compare") return n == 2 ? "" : "compare needs two files";
  if (v == "env") return n == 1 || n == 2 ? "" : "env needs a name and optionally a value";
  return "unknown step " + v;
}

std::string_view Trim(std::string_view s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string_view::npos) return {};
  size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

}  // namespace

bool SplitWords(std::string_view text, std::vector<std::string>& words, std::string& error) {
  size_t i = 0;
  while (true) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size()) return true;
    std::string word;
    if (text[i] == '"') {
      ++i;
      bool closed = false;
      while (i < text.size()) {
        char c = text[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < text.size() && (text[i] == '"' || text[i] == '\\')) c = text[i++];
        word += c;
      }
      if (!closed) {
        error = "a quote is not closed";
        return false;
      }
    } else {
      while (i < text.size() && text[i] != ' ' && text[i] != '\t') word += text[i++];
    }
    words.push_back(std::move(word));
  }
}

ParseResult Parse(std::string_view text) {
  ParseResult result;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int number = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    std::string_view line =
        Trim(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    ++number;
    start = end == std::string_view::npos ? text.size() + 1 : end + 1;
    if (line.empty() || line[0] == '#') continue;
    Step step;
    step.line = number;
    step.text = std::string(line);
    size_t space = line.find_first_of(" \t");
    step.verb = std::string(line.substr(0, space));
    std::string_view rest = space == std::string_view::npos ? std::string_view() : Trim(line.substr(space));
    std::string error;
    if (TakesText(step.verb) && !rest.empty() && rest[0] != '"') {
      step.words.emplace_back(rest);
    } else if (!SplitWords(rest, step.words, error)) {
      result.errors.push_back("line " + std::to_string(number) + ": " + error);
      continue;
    }
    if (TakesText(step.verb) && step.words.size() > 1)
      error = "quote the whole argument of " + step.verb;
    else
      error = Check(step);
    if (!error.empty()) {
      result.errors.push_back("line " + std::to_string(number) + ": " + error);
      continue;
    }
    result.steps.push_back(std::move(step));
  }
  return result;
}

bool Expand(std::string_view text, const std::function<bool(const std::string&, std::string&)>& lookup,
            std::string& expanded, std::string& unknown) {
  expanded.clear();
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, 2, "${") == 0) {
      size_t close = text.find('}', i + 2);
      if (close != std::string_view::npos) {
        std::string name(text.substr(i + 2, close - i - 2));
        std::string value;
        if (!lookup(name, value)) {
          unknown = name;
          return false;
        }
        expanded += value;
        i = close + 1;
        continue;
      }
    }
    expanded += text[i++];
  }
  return true;
}

}  // namespace script
