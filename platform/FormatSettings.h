// The number, currency, date and time conventions that formatting and
// parsing follow. One process-wide instance: filled from the user's locale
// on Windows, the English (United States) defaults elsewhere; tests may
// change it and put it back.
#pragma once

#include "Text.h"

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  String CurrencyString = "$";
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
  String ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  String LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  // Two-digit years fall in the century window that ends this many years
  // after the current year.
  int TwoDigitYearCenturyWindow = 50;
};

TFormatSettings& FormatSettings();
