// The portable helpers of the control module: caption clean-up (the "&"
// mnemonic marks) and the classification of typed characters and virtual
// keys. The windowed helpers are in vxControls.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Text.h"

// Copies text without its mnemonic marks: an ampersand is dropped and the
// character after it kept as it is, so "&&" gives one "&". A lone ampersand
// at the end becomes "_" when keepTrailingMark is set and is dropped
// otherwise.
String vxRemoveMnemonicMarks(std::string_view text, bool keepTrailingMark = false);
WideString vxRemoveMnemonicMarksW(std::u16string_view text, bool keepTrailingMark = false);

// The characters a number field accepts: the signs and digits always; with
// numberKind 1 or 2 also the locale's decimal separator; with numberKind 2
// also the exponent letter in either case.
bool vxIsNumericInputChar(char c, int numberKind);
// Keys that produce no character: control, navigation, function and
// modifier keys, and the input-method keys. Codes above 255 are never keys.
bool vxIsNonCharacterKey(unsigned virtualKey);
// A printable character (code 32 or more).
bool vxIsTextInputChar(char c);
