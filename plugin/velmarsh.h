// The library's two exported entries, and (through host/starthandles.h) the
// host values that StartLumoraProc captures.
#pragma once

#include "host/starthandles.h"
#include "lumora/hostabi.h"

extern "C" {
void __stdcall StartLumoraProc(hostabi::HostFunction F);
void __stdcall StopLumoraProc();
}
