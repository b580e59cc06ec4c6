// Hidden utility windows: a message-only window whose messages go to a
// method, for objects that need timers or posted messages without being
// controls (timers, the hint machinery, message windows of the libraries).
#pragma once

#include <windows.h>

#include "platform/ui/Messages.h"

// Messages the method does not answer (Result left 0 and not handled) still
// reach DefWindowProc through DefaultUtilMessage. Exceptions thrown by the
// method go to the application's handler. A message-only window hears no
// broadcasts: hearBroadcasts makes a hidden top-level window instead (theme
// and colour changes come as broadcasts).
HWND AllocateHWnd(TWndMethod method, bool hearBroadcasts = false);
void DeallocateHWnd(HWND window);
void DefaultUtilMessage(HWND window, TMessage& message);
