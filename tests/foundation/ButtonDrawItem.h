// A push button painted as its parent's owner-draw message would have it,
// into a 24-bit bitmap of the button's size: the button tests read its
// pixels there rather than off the screen.
#pragma once

#include <windows.h>

#include "foundation/vxButtons.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Messages.h"

// itemState: the ODS_ flags the system would pass (none by default, so that
// only the button's own state decides).
inline void DrawButtonItem(TvxCustomButton& button, TBitmap& target, UINT itemState = 0) {
  target.SetPixelFormat(pf24bit);
  target.SetSize(button.Width(), button.Height());
  DRAWITEMSTRUCT item{};
  item.hDC = target.Canvas()->Handle();
  item.rcItem = RECT{0, 0, button.Width(), button.Height()};
  item.itemState = itemState;
  TMessage m{CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), 0};
  button.Dispatch(m);
}
