// ReplaceFileWith for the Windows builds of the player database: the C
// library's rename refuses an existing target there.
#include <windows.h>

#include "database/replacefile.h"

bool ReplaceFileWith(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
