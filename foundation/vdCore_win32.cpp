// The system side of the core services on Windows.
#include <windows.h>

#include "vdCore.h"

void vdReportSoftAssert(std::string_view message) {
  const String text = "Soft assertion failed: " + String(message) + "\n";
  OutputDebugStringA(text.c_str());
}

bool vdIsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

TvdOSVersion vdReadOSVersion() {
  // RtlGetVersion reports the true version whatever the manifest says.
  TvdOSVersion v;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion =
      reinterpret_cast<RtlGetVersionProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  if (rtlGetVersion && rtlGetVersion(&info) == 0) {
    v.PlatformId = info.dwPlatformId;
    v.MajorVersion = info.dwMajorVersion;
    v.MinorVersion = info.dwMinorVersion;
  }
  using IsWow64ProcessProc = BOOL(WINAPI*)(HANDLE, BOOL*);
  auto isWow64 =
      reinterpret_cast<IsWow64ProcessProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  v.Wow64 = isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
  return v;
}

WideString vdMultiByteToWide(std::string_view text, int codePage, int byteCount) {
  if (byteCount >= 0 && size_t(byteCount) < text.size()) text = text.substr(0, size_t(byteCount));
  if (text.empty() || text.size() > size_t(INT_MAX)) return {};
  const DWORD flags = codePage == CP_UTF8_CODEPAGE ? 0 : MB_PRECOMPOSED;
  const int length = MultiByteToWideChar(UINT(codePage), 0, text.data(), int(text.size()), nullptr, 0);
  if (length <= 0) return {};
  WideString out(size_t(length), u'\0');
  const int written = MultiByteToWideChar(UINT(codePage), flags, text.data(), int(text.size()),
                                          reinterpret_cast<wchar_t*>(out.data()), length);
  out.resize(size_t(written > 0 ? written : 0));
  return out;
}

String vdWideToMultiByte(std::u16string_view text, int codePage, int charCount) {
  if (charCount >= 0 && size_t(charCount) < text.size()) text = text.substr(0, size_t(charCount));
  if (text.empty() || text.size() > size_t(INT_MAX)) return {};
  auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = WideCharToMultiByte(UINT(codePage), 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  String out(size_t(length), '\0');
  const int written =
      WideCharToMultiByte(UINT(codePage), 0, wide, int(text.size()), out.data(), length, nullptr, nullptr);
  out.resize(size_t(written > 0 ? written : 0));
  return out;
}

String vdLocaleInfoText(uint32_t locale, uint32_t infoType, const String& def) {
  char buffer[256];
  const int length = GetLocaleInfoA(locale, infoType, buffer, sizeof buffer);
  return length > 0 ? String(buffer, size_t(length - 1)) : def;
}

int vdWeekStartDay() {
  return vdWeekStartDayFromLocaleValue(vdLocaleInfoText(GetThreadLocale(), LOCALE_IFIRSTDAYOFWEEK, "0"));
}
