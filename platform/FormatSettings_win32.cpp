// The user's locale, read once at start through GetLocaleInfoA. Windows
// date formats spell their separator literally ("dd.MM.yyyy"); it is turned
// into '/' here so that FormatDateTime writes DateSeparator, and the time
// formats are built from the 12/24-hour and leading-zero choices.
#include <windows.h>

#include "FormatSettings.h"

namespace {

String LocaleString(LCTYPE type, const String& fallback) {
  char buf[256];
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
  return n > 0 ? String(buf, size_t(n - 1)) : fallback;
}

int LocaleInt(LCTYPE type, int fallback) {
  String s = LocaleString(type, "");
  if (s.empty() || s.find_first_not_of("0123456789") != String::npos) return fallback;
  return std::stoi(s);
}

char LocaleChar(LCTYPE type, char fallback) {
  String s = LocaleString(type, String(1, fallback));
  return s.empty() ? '\0' : s[0];
}

// Replaces the locale's date separator with '/' outside quoted text.
String TranslateDateFormat(const String& format, char separator) {
  String out;
  char quote = 0;
  for (char c : format) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == separator) {
      c = '/';
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace

TFormatSettings LocaleFormatSettings() {
  TFormatSettings fs;
  fs.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, fs.DecimalSeparator);
  fs.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, fs.ThousandSeparator);
  fs.CurrencyString = LocaleString(LOCALE_SCURRENCY, fs.CurrencyString);
  fs.CurrencyFormat = LocaleInt(LOCALE_ICURRENCY, fs.CurrencyFormat);
  fs.NegCurrFormat = LocaleInt(LOCALE_INEGCURR, fs.NegCurrFormat);
  fs.CurrencyDecimals = LocaleInt(LOCALE_ICURRDIGITS, fs.CurrencyDecimals);
  fs.DateSeparator = LocaleChar(LOCALE_SDATE, fs.DateSeparator);
  fs.TimeSeparator = LocaleChar(LOCALE_STIME, fs.TimeSeparator);
  fs.ShortDateFormat =
      TranslateDateFormat(LocaleString(LOCALE_SSHORTDATE, fs.ShortDateFormat), fs.DateSeparator);
  fs.LongDateFormat = TranslateDateFormat(LocaleString(LOCALE_SLONGDATE, fs.LongDateFormat), fs.DateSeparator);

  bool twelveHour = LocaleInt(LOCALE_ITIME, 0) == 0;
  String hour = LocaleInt(LOCALE_ITLZERO, 0) == 1 ? "hh" : "h";
  String marker = twelveHour ? " AMPM" : "";
  bool markerFirst = twelveHour && LocaleInt(LOCALE_ITIMEMARKPOSN, 0) == 1;
  fs.ShortTimeFormat = markerFirst ? "AMPM " + hour + ":mm" : hour + ":mm" + marker;
  fs.LongTimeFormat = markerFirst ? "AMPM " + hour + ":mm:ss" : hour + ":mm:ss" + marker;
  fs.TimeAMString = LocaleString(LOCALE_S1159, fs.TimeAMString);
  fs.TimePMString = LocaleString(LOCALE_S2359, fs.TimePMString);

  for (int i = 0; i < 12; ++i) {
    fs.ShortMonthNames[i] = LocaleString(LOCALE_SABBREVMONTHNAME1 + i, fs.ShortMonthNames[i]);
    fs.LongMonthNames[i] = LocaleString(LOCALE_SMONTHNAME1 + i, fs.LongMonthNames[i]);
  }
  // Windows counts days from Monday (DAYNAME1) to Sunday (DAYNAME7).
  for (int i = 0; i < 7; ++i) {
    int win = (i + 6) % 7;
    fs.ShortDayNames[i] = LocaleString(LOCALE_SABBREVDAYNAME1 + win, fs.ShortDayNames[i]);
    fs.LongDayNames[i] = LocaleString(LOCALE_SDAYNAME1 + win, fs.LongDayNames[i]);
  }
  return fs;
}
