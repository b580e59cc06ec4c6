#include "app/Fonts.h"

void AssignFont(TFont* font, const char* name, int height, TFontStyles style, TColor color) {
  font->SetName(name);
  font->SetHeight(height);
  font->SetStyle(style);
  font->SetColor(color);
}
