#include "hostsim/hostvariables.h"

using namespace hostabi;

void* HostVariables::Address(uint32_t n) {
  switch (n) {
    case kMouseBusy: return &mouseBusy;
    case kWindowResult: return &windowResult;
    case kButtonStyle: return &buttonStyle;
    case kCurrentGame: return &currentGame;
    case kMainWindowRef: return &mainWindowRef;
    case kGameOrder: return &base.gameOrderVariable;
    case kMessageX: return &messageX;
    case kMessageY: return &messageY;
    case kMessageLineList: return &messageLines;
    case kGameList: return &base.gameListVariable;
  }
  return nullptr;
}
