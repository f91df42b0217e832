// replacefile: puts a completely written file in the place of another in one
// step, so that readers see either the old file or the new one.
#pragma once

#include <string>

// Renames from to to, replacing an existing to. Returns false when it could
// not; then to is unchanged. The one call of the core that the platform
// provides: replacefile.cpp (POSIX rename) natively, base/replacefile_win32.cpp
// (MoveFileEx) on Windows.
bool ReplaceFileWith(const std::string& from, const std::string& to);
