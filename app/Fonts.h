// Sets a font's name, height (negative: character height), style and colour
// in one call, as the forms give them.
#pragma once

#include "platform/ui/Graphics.h"

void AssignFont(TFont* font, const char* name, int height, TFontStyles style, TColor color = clWindowText);
