// The system side of the core services away from Windows: an NT 10.0 system
// with the Windows-1252 ANSI code page and the default locale.
#include <cstdio>

#include "vdCore.h"

void vdReportSoftAssert(std::string_view message) {
  std::fprintf(stderr, "Soft assertion failed: %.*s\n", int(message.size()), message.data());
}

bool vdIsAnsiLeadByte(unsigned char) { return false; }

TvdOSVersion vdReadOSVersion() { return {2, 10, 0, false}; }

// UTF-8 and the ANSI code page (Windows-1252) are converted here; other
// code pages are read as the ANSI one.
WideString vdMultiByteToWide(std::string_view text, int codePage, int byteCount) {
  if (byteCount >= 0 && size_t(byteCount) < text.size()) text = text.substr(0, size_t(byteCount));
  return codePage == CP_UTF8_CODEPAGE ? Utf8ToWide(text) : AnsiToWide(text);
}

String vdWideToMultiByte(std::u16string_view text, int codePage, int charCount) {
  if (charCount >= 0 && size_t(charCount) < text.size()) text = text.substr(0, size_t(charCount));
  return codePage == CP_UTF8_CODEPAGE ? WideToUtf8(text) : WideToAnsi(text);
}

String vdLocaleInfoText(uint32_t, uint32_t, const String& def) { return def; }

int vdWeekStartDay() { return vdWeekStartDayFromLocaleValue("0"); }
