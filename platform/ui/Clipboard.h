// The text clipboard (CF_TEXT, Windows-1252 bytes).
#pragma once

#include "platform/Text.h"

class TClipboard {
 public:
  // Empty when the clipboard holds no text. Raises EOSError "Cannot open
  // clipboard" when another program holds it.
  String AsText();
  void SetAsText(const String& text);
  bool HasText();
  void Clear();
};

TClipboard* Clipboard();
