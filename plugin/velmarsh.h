// The library's entry points and the host values captured when it starts.
#pragma once

#include <cstdint>

#include "lumora/hostabi.h"

extern "C" {
void __stdcall StartLumoraProc(hostabi::HostFunction F);
void __stdcall StopLumoraProc();
}

#include "host/starthandles.h"
