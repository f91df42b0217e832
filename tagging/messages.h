// The texts the plug-in shows to the user, exactly as they appear.
#pragma once

namespace msg {

constexpr const wchar_t* CantAddAnything = L"I can not add anything";
constexpr const wchar_t* NoPlayerName = L"No player name is set";
constexpr const wchar_t* CantFindPlayerFor = L"I can not find any player for ";
constexpr const wchar_t* InFideDatabase = L" in FIDE database";
constexpr const wchar_t* NoPlayerWithIdOf = L"No player with ID of ";
constexpr const wchar_t* IsFoundInFideDatabase = L" is found in FIDE database";
constexpr const wchar_t* SearchFideFor = L"Search FIDE for ";
constexpr const wchar_t* InformationAbout = L"The information about ";
constexpr const wchar_t* AlreadyWritten = L" is already written in the game. Nothing new is added.";
constexpr const wchar_t* FollowingAdded = L"The following information is added about ";
constexpr const wchar_t* ReportHeadEnd = L":\r\n";
constexpr const wchar_t* FideIdLine = L"  - FIDE ID - ";
constexpr const wchar_t* TitleLine = L"\r\n  - Title - ";
constexpr const wchar_t* EloLine = L"\r\n  - ELO rating - ";
constexpr const wchar_t* SexLine = L"\r\n  - Sex - ";
constexpr const wchar_t* CountryLine = L"\r\n  - Country code - ";
constexpr const wchar_t* InformationAdded = L"Information added successfully";
constexpr const wchar_t* WhiteNameNotSet =
    L"No information about White is added: the name for White is not set";
constexpr const wchar_t* BlackNameNotSet =
    L"No information about Black is added: the name for Black is not set";
constexpr const wchar_t* WhiteNoPlayerWithIdOf =
    L"No information about White is added: No player with ID of ";
constexpr const wchar_t* BlackNoPlayerWithIdOf =
    L"No information about Black is added: No player with ID of ";
constexpr const wchar_t* CantOpenWebPage = L"I can not open the web page";
constexpr const wchar_t* CantDownloadGames = L"I can not download games";
constexpr const wchar_t* GamesNotSaved = L"Games are not saved";
constexpr const wchar_t* SaveProblem =
    L"Some problem appeared while saving games. The disc is probably write protected.";

}  // namespace msg
