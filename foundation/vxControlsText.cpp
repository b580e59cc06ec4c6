#include "foundation/vxControlsText.h"

#include "platform/FormatSettings.h"

namespace {

// One walk for both character widths.
template <typename Result, typename View>
Result RemoveMnemonicMarks(View text, bool keepTrailingMark) {
  Result out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out.push_back(text[i]);
    } else if (i + 1 < text.size()) {
      out.push_back(text[++i]);
    } else if (keepTrailingMark) {
      out.push_back('_');
    }
  }
  return out;
}

}  // namespace

String vxRemoveMnemonicMarks(std::string_view text, bool keepTrailingMark) {
  return RemoveMnemonicMarks<String>(text, keepTrailingMark);
}

WideString vxRemoveMnemonicMarksW(std::u16string_view text, bool keepTrailingMark) {
  return RemoveMnemonicMarks<WideString>(text, keepTrailingMark);
}

bool vxIsNumericInputChar(char c, int numberKind) {
  if (c == '+' || c == '-' || (c >= '0' && c <= '9')) return true;
  if (numberKind != 1 && numberKind != 2) return false;
  if (c == FormatSettings().DecimalSeparator) return true;
  return numberKind == 2 && (c == 'e' || c == 'E');
}

bool vxIsNonCharacterKey(unsigned key) {
  // Ranges of virtual-key codes, inclusive: cancel, backspace and tab,
  // clear and return, the modifiers to caps lock, escape, the navigation
  // and editing keys up to help, the Windows keys to scroll lock, the left
  // and right modifiers, the input-method process key, and the OEM keys
  // from attention to clear.
  static constexpr struct { uint8_t First, Last; } kRanges[] = {
      {3, 3},     {8, 9},     {12, 13},   {16, 20},   {27, 27},
      {33, 47},   {91, 145},  {160, 165}, {229, 229}, {246, 254},
  };
  for (const auto& r : kRanges)
    if (key >= r.First && key <= r.Last) return true;
  return false;
}

bool vxIsTextInputChar(char c) { return static_cast<unsigned char>(c) >= 32; }
