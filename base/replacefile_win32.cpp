// ReplaceFileWith for the Windows builds of the player database. The C
// library's rename refuses an existing target there, and std::filesystem's
// rename reads a narrow name in the C locale rather than the ANSI code page
// the plug-in's paths are in (a name with "€" or a Cyrillic letter is not
// found), so this calls MoveFileEx on the narrow name itself.
#include <windows.h>

#include "files/replacefile.h"

bool ReplaceFileWith(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
