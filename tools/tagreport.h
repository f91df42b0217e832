// The report of a tag run, one tab-separated row per distinct name, and the
// choices a person makes in it: the FIDE ID written into the choice column
// of a row settles that name in the next run.
//
//   name  games  result  fide_id  choice  note  candidate...
//
// A candidate is its FIDE ID, a blank and the search window's line for it.
// Fields escape backslash, tab, line feed and carriage return as \\ \t \n \r.
// Damaged games follow the names as rows with the result "damaged game".
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "tools/tagrun.h"

// Writes the report; false on a write error.
bool WriteReport(std::FILE* out, const TagRun& run);

// The choices of a report file: name -> FIDE ID, for every row whose choice
// column holds one. An empty text when the file is well formed, otherwise
// what is wrong with it (with its line).
std::string ReadChoices(std::string_view text, std::map<std::string, int32_t>& choices);

std::string EscapeField(std::string_view text);
std::string UnescapeField(std::string_view text);
