// Plug-ins: every DLL in the "plugins" folder beside the executable, started
// with the host's service function and stopped when the host ends.
#pragma once

#include <string>
#include <vector>

namespace plugins {

// Loads and starts the plug-ins of the folder, in file-name order.
void LoadAll(const std::wstring& folder);
void StopAll();
// Unloads them; the main window must be gone (plug-ins subclass it).
void UnloadAll();
std::vector<std::wstring> Names();

}  // namespace plugins
