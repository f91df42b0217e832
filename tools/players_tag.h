// players tag: the plug-in's "Add tags for all players" over a PGN file.
#pragma once

#include <string>
#include <vector>

// The verb with the arguments after "tag"; returns the exit code or throws
// Failure.
int Tag(const std::vector<std::string>& args);
