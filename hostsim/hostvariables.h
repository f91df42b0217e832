// The cells a host hands out through HostVariable, in the layouts the plug-in
// reads, and the one table from variable number to cell. The stand-in host
// and the fake host of the tests both hold them this way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostsim/hostmem.h"
#include "lumora/hostabi.h"

struct HostVariables {
  // The open base; GameList and GameOrder point into it.
  HostBase base;
  int32_t currentGame = 0;  // displayed position
  int32_t windowResult = 0;
  uint8_t mouseBusy = 0;
  int32_t messageX = 0, messageY = 0;
  std::vector<std::wstring> messageLines;
  uint32_t mainWindowObject[16] = {};  // the main window's HWND in field 8
  uint32_t* mainWindowRef = mainWindowObject;
  uint8_t buttonStyleObject[448] = {};  // TButInf templates at 360 and 400
  uint8_t* buttonStyle = buttonStyleObject;

  HostVariables() = default;
  // The pointer cells point into the object itself.
  HostVariables(const HostVariables&) = delete;
  HostVariables& operator=(const HostVariables&) = delete;

  // The address HostVariable(n) answers, or nil for a number the host lacks.
  void* Address(uint32_t n);
};
