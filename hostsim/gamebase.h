// The open base: reading and saving PGN files, the displayed order that a
// click on a column header sorts, and the current game.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hostsim/pgn.h"

// Columns of the game list; the first shows the game's number in the file.
constexpr int kColumnCount = 8;
extern const wchar_t* const kColumnNames[kColumnCount];
// The column of that name (any letter case), or -1.
int ColumnByName(std::wstring_view name);
// The text a column shows for a game record.
std::string ColumnText(int32_t record, int column);

// Replaces the open base by the games of a PGN file. Problems are shown in
// the message window; the games that could be read are kept. `shownName` is
// how the transcript names the file.
bool OpenBase(const std::wstring& path, const std::wstring& shownName);
bool SaveBase(const std::wstring& path, const std::wstring& shownName);
// Replaces the open base by games given in memory.
void LoadGames(std::vector<pgn::Game> games, const std::wstring& name);

// Sorts the displayed order by a column; the current game stays current.
void SortBase(int column, bool descending);
// A click on a column header: sorts by it, the other way round when it is
// already sorted by it.
void ClickColumn(int column);
// Makes a displayed position current. Any value is kept, also one outside
// the base, as a host's variable may hold it.
void SelectGame(int32_t position);
// The record index at a displayed position, or -1.
int32_t RecordAt(int32_t position);
