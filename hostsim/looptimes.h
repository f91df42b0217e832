// Times the host's message loops: how long the host keeps a message before
// it asks for the next one, that is the longest stretch in which it could
// not answer a person (a plug-in's timer tick, say). Every loop of the host
// takes its messages through NextMessage.
#pragma once

#include <windows.h>

#include <cstdint>

namespace looptimes {

// GetMessageW, timed.
BOOL NextMessage(MSG& msg);

struct Figures {
  uint64_t messages = 0;        // taken since the last reset
  double seconds = 0;           // since the last reset
  double cpuSeconds = 0;        // of the GUI thread since the last reset
  double longestBusy = 0;       // milliseconds from taking a message to asking for the next
  UINT longestBusyMessage = 0;  // the message taken before that stretch
  double longestGap = 0;        // milliseconds between taking two messages, waiting included
};

// Starts counting afresh. The stretch going on (the one that opens a window,
// say) counts towards the seconds but not towards the longest times.
void Reset();
Figures Read();

}  // namespace looptimes
