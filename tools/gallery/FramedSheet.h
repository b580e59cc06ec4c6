// What the framed controls' sheets share.
#pragma once

#include "platform/ui/Graphics.h"

namespace framed_sheet {

// A Tahoma font of the given pixel height, style and colour.
inline void UseFont(TFont* font, int height, TFontStyles style, TColor color) {
  font->SetName("Tahoma");
  font->SetHeight(height);
  font->SetStyle(style);
  font->SetColor(color);
}

}  // namespace framed_sheet
