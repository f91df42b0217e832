// The transcript: every observable event of a run as one line of UTF-8 text,
// stable between runs (no addresses, handles, timings or absolute paths), so
// that runs can be compared with golden files. Lines are flushed as written.
#pragma once

#include <string>
#include <string_view>

namespace transcript {

// Starts writing to a file ("-" is standard output). Without it lines are
// dropped.
bool Open(const std::wstring& path);
void Close();

// Writes one line; safe from any thread.
void Line(std::string_view text);
// Whether lines are written (a file is open): costly lines need not be built.
bool Writing();

std::string Utf8(std::wstring_view text);
// Narrow text in the ANSI code page, as game data is.
std::string Utf8FromAnsi(std::string_view text);
// A double-quoted form with \\, \", \r, \n, \t and \xHH for other controls.
std::string Quote(std::string_view utf8);
std::string Quote(std::wstring_view text);

}  // namespace transcript
