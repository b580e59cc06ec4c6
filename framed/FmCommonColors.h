// Colour arithmetic of the framed controls in a 0..240 hue, saturation and
// lightness space, and the small text helpers they share. Portable: the
// windowed part installs the resolver of system colours.
#pragma once

#include <cstdint>
#include <string>

// 0x00BBGGRR for a plain colour; 0xFF0000nn for the system colour nn (the
// same alias as the windowed layer's).
using TColor = int32_t;

// Turns a system colour into RGB; plain colours pass unchanged.
using TSystemColorResolver = uint32_t (*)(TColor color);
void SetSystemColorResolver(TSystemColorResolver resolver);
// RGB of any colour: system colours through the resolver (black without one).
uint32_t ResolveColor(TColor color);

void ColorToHslBytes(TColor color, uint8_t& h, uint8_t& s, uint8_t& l);
TColor HslBytesToColor(uint8_t h, uint8_t s, uint8_t l);
TColor DarkenColor(TColor color, uint8_t amount);
TColor LightenColor(TColor color, uint8_t amount);
// Negative: darker by -adjustment; positive: lighter. The amount is a byte.
TColor ShiftColorLightness(TColor color, int adjustment);
// Hues within 20 and lightness within 60 of each other.
bool ColorsAreClose(TColor a, TColor b);

// Removes single ampersands and turns each doubled one into one; the last
// character is always kept.
std::string StripAccelChars(const std::string& text);
// The first character after leading blanks, '\0' for an empty or blank text.
char FirstNonBlankChar(const std::string& text);
// Bit index of a packed array of 32-bit words.
bool IsBitSet(uint8_t index, const uint32_t* bits);
