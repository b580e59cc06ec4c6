// The number, currency, date and time conventions that formatting and
// parsing follow. One process-wide instance: filled from the user's locale
// on Windows (FormatSettings_win32.cpp), the English (United States)
// defaults elsewhere; tests may change it and put it back.
//
// Date and time formats use the FormatDateTime pattern language
// (DateTime.h): '/' and ':' in them stand for DateSeparator and
// TimeSeparator, "AMPM" for TimeAMString/TimePMString.
#pragma once

#include "Text.h"

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  String CurrencyString = "$";
  // Placement of CurrencyString around a positive amount: 0 "$1", 1 "1$",
  // 2 "$ 1", 3 "1 $".
  int CurrencyFormat = 0;
  // Negative amounts, the sixteen layouts Windows knows (LOCALE_INEGCURR):
  // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$",
  // 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1",
  // 13 "1- $", 14 "($ 1)", 15 "(1 $)".
  int NegCurrFormat = 0;
  int CurrencyDecimals = 2;
  char DateSeparator = '/';
  char TimeSeparator = ':';
  String ShortDateFormat = "M/d/yyyy";
  String LongDateFormat = "dddd, MMMM d, yyyy";
  String ShortTimeFormat = "h:mm AMPM";
  String LongTimeFormat = "h:mm:ss AMPM";
  String TimeAMString = "AM";
  String TimePMString = "PM";
  String ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  String LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
  // Index 0 is Sunday.
  String ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  String LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  // A two-digit year is read into the hundred years that start this many
  // years before the current year; 0 reads it into the current century.
  int TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings, filled by the first call from
// LocaleFormatSettings().
TFormatSettings& FormatSettings();
// The conventions of the user's locale: read from the system on Windows,
// the defaults above elsewhere.
TFormatSettings LocaleFormatSettings();
