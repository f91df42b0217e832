// What the verbs of the players tool share: failing with an exit code and a
// one-line message, loading a database that must be intact, writing text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "players/playerdatabase.h"

// Thrown to end the tool with an exit code: 1 bad input, 2 bad command line.
struct Failure {
  int code;
};

// The message and the usage on standard error, then exit code 2.
[[noreturn]] void UsageError(const std::string& why);
// The message on standard error, then exit code 1.
[[noreturn]] void FileError(const std::string& what);

std::optional<int32_t> ParseInt(std::string_view text);

// Loads players.dat; a file that cannot be read or is damaged ends the tool
// with exit code 1 (a damaged file would otherwise read as fewer players).
PlayerDatabase LoadDatabase(const std::string& path, Indexing indexing = Indexing::kBuild);

// Every byte of a file; ends the tool with exit code 1 when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Standard output.
void Write(std::string_view text);
void WriteNumber(int64_t n);
