// replacefile: puts a completely written file in the place of another in one
// step, so that readers see either the old file or the new one.
#pragma once

#include <string>

// Renames from to to, replacing an existing to. Returns false when it could
// not; then to is unchanged.
bool ReplaceFileWith(const std::string& from, const std::string& to);
