// The script language of unattended runs: one step per line, a verb and its
// arguments; '#' starts a comment line. Parsing is portable; running the
// steps (scriptrun.cpp, scriptsteps.cpp) is the host's.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace script {

struct Step {
  int line = 0;
  std::string text;  // the line as written, trimmed
  std::string verb;
  std::vector<std::string> words;  // the arguments, quotes removed
};

struct ParseResult {
  std::vector<Step> steps;
  std::vector<std::string> errors;  // "line N: what"
};

// Parses and checks every step; the steps are run only when there is no error.
ParseResult Parse(std::string_view text);

// Splits arguments at spaces; a double-quoted word may hold spaces, \" and \\.
// False with a reason when a quote is not closed.
bool SplitWords(std::string_view text, std::vector<std::string>& words, std::string& error);

// Replaces every ${NAME} by lookup(NAME); false with the name when lookup
// knows none.
bool Expand(std::string_view text, const std::function<bool(const std::string&, std::string&)>& lookup,
            std::string& expanded, std::string& unknown);

}  // namespace script
