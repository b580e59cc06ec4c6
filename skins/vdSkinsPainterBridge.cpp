// Calls into the skin model that name its button states: this file sees
// only the skins' headers, where that enumeration has its own name.
#include "skins/vdSkinsCore.h"

TColor vdSkinTextColorOfState(TvdSkinElement& element, int buttonState);

TColor vdSkinTextColorOfState(TvdSkinElement& element, int buttonState) {
  return element.GetTextColor(TvxButtonState(buttonState));
}
