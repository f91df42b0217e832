#include "host/starthandles.h"

HWND ownerWindow = nullptr;
HMENU mainMenu = nullptr;
void* mainWindowRef = nullptr;
uint16_t downloadTargetId = 0;
