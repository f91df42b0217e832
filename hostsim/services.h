// The host's services as plug-ins reach them through the service function,
// each one recorded in the transcript where it changes something.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace services {

uint32_t __stdcall F(uint32_t code);
// The codes asked since the last call.
std::vector<uint32_t> TakeAskedCodes();

// Records plug-in windows opened and closed, buttons and check boxes clicked.
void ObservePluginWindows();

// How the transcript names a window: "main window", a plug-in window's
// caption, "no window" or "another window".
std::string WindowLabel(HWND window);

// The host's button templates with their pictures (ButtonStyle).
void CreateButtonTemplates();
// References to the template pictures beyond the host's own.
long ExtraPictureReferences();
void ReleaseButtonTemplates();

}  // namespace services
