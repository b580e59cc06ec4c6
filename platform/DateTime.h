// Dates and times.
//
// A TDateTime counts days since 1899-12-30 00:00 (day 0); its fraction is
// the time of day. Before day 0 the sign belongs to the whole value and the
// fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00.
// Valid values run from 0001-01-01 (-693593) to 9999-12-31 23:59:59.999.
// A TTimeStamp splits a moment into milliseconds since midnight and days
// since 0001-01-01 plus one (1899-12-30 is day 693594).
//
// Formatting and parsing follow the process-wide format settings or an
// explicit TFormatSettings. The current time comes from a replaceable
// clock so that tests can fix "now".
#pragma once

#include <cstdint>
#include <functional>

#include "FormatSettings.h"
#include "Text.h"

using TDateTime = double;
using TDate = double;
using TTime = double;

struct TTimeStamp {
  int32_t Time = 0;  // milliseconds since midnight
  int32_t Date = 0;  // days since 0001-01-01, plus one
};

constexpr int32_t HoursPerDay = 24;
constexpr int32_t MinsPerDay = HoursPerDay * 60;
constexpr int32_t SecsPerDay = MinsPerDay * 60;
constexpr int32_t MSecsPerSec = 1000;
constexpr int32_t MSecsPerDay = SecsPerDay * MSecsPerSec;
// TTimeStamp.Date of 1899-12-30.
constexpr int32_t DateDelta = 693594;
// TDateTime of 1970-01-01.
constexpr int32_t UnixDateDelta = 25569;

// --- Calendar ------------------------------------------------------------------
bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
int DaysInMonth(TDateTime value);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

// Years 1..9999. EncodeDate raises EConvertError "Invalid argument to date
// encode".
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);
// Hours 0..23, minutes and seconds 0..59, milliseconds 0..999.
// EncodeTime raises EConvertError "Invalid argument to time encode".
bool TryEncodeTime(int hour, int min, int sec, int msec, TTime& result);
TTime EncodeTime(int hour, int min, int sec, int msec);
// Date plus time; raises as EncodeDate or EncodeTime.
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec,
                       TDateTime& result);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);

// The value is rounded to the millisecond first. Values outside the valid
// range raise EConvertError "'%s' is not a valid date and time" (as do
// DateTimeToTimeStamp, FormatDateTime and the *ToStr functions).
void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day);
void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec);
void DecodeDateTime(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day,
                    uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec);

TTimeStamp DateTimeToTimeStamp(TDateTime value);
// Raises EConvertError "'%d.%d' is not a valid timestamp" (date, time) for
// a day outside 0001-01-01..9999-12-31 or a time outside
// 0..MSecsPerDay-1.
TDateTime TimeStampToDateTime(const TTimeStamp& stamp);
// Milliseconds since 0001-01-01 minus one day, and back. MSecsToTimeStamp
// raises EConvertError "'%s' is not a valid timestamp" for a value that
// is not a number or lies outside the days a stamp can hold.
double TimeStampToMSecs(const TTimeStamp& stamp);
TTimeStamp MSecsToTimeStamp(double msecs);

// --- Clock -----------------------------------------------------------------------
using TClock = std::function<TDateTime()>;
// Installs the clock that Now, Date and Time read and returns the previous
// one; an empty function restores the system's local time.
TClock SetClock(TClock clock);
TDateTime Now();
TDate Date();  // today, time of day 0
TTime Time();  // the time of day only
// The year of Now().
int CurrentYear();

// --- Formatting -------------------------------------------------------------------
// Pattern letters (any case; others and "quoted" or 'quoted' text are
// copied):
//   c       ShortDateFormat, then a blank and LongTimeFormat unless the time
//           is midnight
//   d dd    day (dd with a leading zero); ddd dddd short and long day name;
//           ddddd ShortDateFormat; dddddd LongDateFormat
//   m mm    month, or minutes right after an h or hh; mmm mmmm month names
//   yy yyyy two- or four-digit year
//   h hh    hour (12-hour when an AM/PM marker follows somewhere)
//   n nn    minutes; s ss seconds; z zzz milliseconds
//   t tt    ShortTimeFormat, LongTimeFormat
//   am/pm a/p  the marker in the pattern's own letters; ampm TimeAMString
//           or TimePMString
//   /  :    DateSeparator, TimeSeparator
// An empty pattern acts as "c".
String FormatDateTime(std::string_view format, TDateTime value);
String FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings);
String DateToStr(TDateTime value);  // ShortDateFormat
String DateToStr(TDateTime value, const TFormatSettings& settings);
String TimeToStr(TDateTime value);  // LongTimeFormat
String TimeToStr(TDateTime value, const TFormatSettings& settings);
String DateTimeToStr(TDateTime value);  // "c"
String DateTimeToStr(TDateTime value, const TFormatSettings& settings);

// --- Parsing -----------------------------------------------------------------------
// A date is two or three numbers separated by DateSeparator in the order of
// ShortDateFormat (month-day-year, day-month-year or year-month-day); a
// missing year is the current year; a year of one or two digits falls in
// the TwoDigitYearCenturyWindow. A time is hours[:minutes[:seconds[.msecs]]]
// with TimeSeparator and the DecimalSeparator, optionally followed or
// preceded by TimeAMString, TimePMString, "AM" or "PM". Blanks around the
// parts are allowed. A date and time is a date followed by a time.
bool TryStrToDate(std::string_view s, TDateTime& value);
bool TryStrToDate(std::string_view s, TDateTime& value, const TFormatSettings& settings);
bool TryStrToTime(std::string_view s, TDateTime& value);
bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);
bool TryStrToDateTime(std::string_view s, TDateTime& value);
bool TryStrToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);
// Raise EConvertError "'%s' is not a valid date", "'%s' is not a valid
// time", "'%s' is not a valid date and time".
TDateTime StrToDate(std::string_view s);
TDateTime StrToDate(std::string_view s, const TFormatSettings& settings);
TDateTime StrToTime(std::string_view s);
TDateTime StrToTime(std::string_view s, const TFormatSettings& settings);
TDateTime StrToDateTime(std::string_view s);
TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings);

// --- File and Unix times -------------------------------------------------------------
// DOS date and time as stored in archives: the date in the high word
// ((year - 1980) << 9 | month << 5 | day), the time in the low word
// (hour << 11 | minute << 5 | second / 2). Seconds round down to even;
// dates outside 1980..2107 give 0.
int32_t DateTimeToFileDate(TDateTime value);
// False, or EConvertError "Invalid argument to date encode" /
// "Invalid argument to time encode", for fields out of range.
bool TryFileDateToDateTime(int32_t fileDate, TDateTime& value);
TDateTime FileDateToDateTime(int32_t fileDate);

// Seconds since 1970-01-01 UTC to local time and back, with the offset the
// system gives for that instant.
TDateTime UnixToDateTime(int64_t unixSeconds);
int64_t DateTimeToUnix(TDateTime value);
