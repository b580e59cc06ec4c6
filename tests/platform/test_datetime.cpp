// Calendar arithmetic, time stamps, the clock, FormatDateTime, date and time
// parsing, and the DOS and Unix time forms.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "platform/OsFiles.h"

namespace {

// Fixes "now" for the lifetime of the object.
class FixedClock {
 public:
  explicit FixedClock(TDateTime now) : old_(SetClock([now] { return now; })) {}
  ~FixedClock() { SetClock(old_); }

 private:
  TClock old_;
};

template <class F>
String ConvertErrorOf(F f) {
  try {
    f();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "(no EConvertError)";
}

// 2024-01-05 (a Friday) 14:07:09.045.
const TDateTime kFriday = EncodeDateTime(2024, 1, 5, 14, 7, 9, 45);

}  // namespace

TEST(DateTime, SerialNumbersOfKnownDays) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2024, 1, 15), 45306);
  EXPECT_EQ(EncodeDate(1970, 1, 1), UnixDateDelta);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  uint16_t y, m, d;
  DecodeDate(45306.75, y, m, d);
  EXPECT_EQ((std::tuple{y, m, d}), (std::tuple{2024, 1, 15}));
  DecodeDate(0, y, m, d);
  EXPECT_EQ((std::tuple{y, m, d}), (std::tuple{1899, 12, 30}));
  EXPECT_EQ(DayOfWeek(0), 7);  // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 15)), 2);
  EXPECT_EQ(DayOfWeek(kFriday), 6);
}

TEST(DateTime, EveryDayOfTheCalendarEncodesAndDecodes) {
  // Walks 0001-01-01 .. 9999-12-31 and checks that serial numbers follow on.
  double expected = -693593;
  for (int year = 1; year <= 9999; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day, ++expected) {
        TDateTime serial = EncodeDate(year, month, day);
        ASSERT_EQ(serial, expected) << year << "-" << month << "-" << day;
        uint16_t y, m, d;
        DecodeDate(serial, y, m, d);
        ASSERT_TRUE(y == year && m == month && d == day) << year << "-" << month << "-" << day;
      }
    }
  }
  EXPECT_EQ(expected, 2958466);
  EXPECT_EQ(DayOfWeek(-693593), 2);  // 0001-01-01 was a Monday
}

TEST(DateTime, LeapYearsAndMonthLengths) {
  struct Case { int year; bool leap; };
  const Case cases[] = {{1600, true}, {1900, false}, {2000, true}, {2023, false}, {2024, true}, {2100, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsLeapYear(c.year), c.leap) << c.year;
    EXPECT_EQ(DaysInMonth(c.year, 2), c.leap ? 29 : 28) << c.year;
  }
  EXPECT_EQ(DaysInMonth(2024, 4), 30);
  EXPECT_EQ(DaysInMonth(2024, 12), 31);
  EXPECT_EQ(DaysInMonth(2024, 13), 0);
  EXPECT_EQ(DaysInMonth(EncodeDate(2023, 2, 10)), 28);
}

TEST(DateTime, EncodeRefusesImpossibleFields) {
  struct Date { int y, m, d; };
  const Date badDates[] = {{2023, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2024, 0, 1}, {2024, 13, 1}, {2024, 4, 31}, {2024, 1, 0}};
  for (const Date& b : badDates) {
    TDateTime v = 123;
    EXPECT_FALSE(TryEncodeDate(b.y, b.m, b.d, v));
    EXPECT_EQ(v, 123);
    EXPECT_EQ(ConvertErrorOf([&] { EncodeDate(b.y, b.m, b.d); }), "Invalid argument to date encode");
  }
  struct Time { int h, n, s, ms; };
  const Time badTimes[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
  for (const Time& b : badTimes)
    EXPECT_EQ(ConvertErrorOf([&] { EncodeTime(b.h, b.n, b.s, b.ms); }), "Invalid argument to time encode");
  EXPECT_EQ(ConvertErrorOf([] { EncodeDateTime(2024, 1, 1, 25, 0, 0, 0); }), "Invalid argument to time encode");
}

TEST(DateTime, TimeOfDayRoundsToTheMillisecond) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  uint16_t h, n, s, ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ((std::tuple{h, n, s, ms}), (std::tuple{23, 59, 59, 999}));
  DecodeTime(EncodeTime(10, 0, 0, 0) - 1e-10, h, n, s, ms);
  EXPECT_EQ((std::tuple{h, n, s, ms}), (std::tuple{10, 0, 0, 0}));
  DecodeTime(kFriday, h, n, s, ms);
  EXPECT_EQ((std::tuple{h, n, s, ms}), (std::tuple{14, 7, 9, 45}));
}

TEST(DateTime, NegativeValuesKeepTheTimeCountingForward) {
  // 1899-12-29 06:00 is -1.25: the day is -1, the fraction still 6 hours.
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  uint16_t y, m, d, h, n, s, ms;
  DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
  EXPECT_EQ((std::tuple{y, m, d, h}), (std::tuple{1899, 12, 29, 6}));
  DecodeDateTime(-0.25, y, m, d, h, n, s, ms);
  EXPECT_EQ((std::tuple{y, m, d, h}), (std::tuple{1899, 12, 30, 6}));

  TTimeStamp stamp = DateTimeToTimeStamp(-1.25);
  EXPECT_EQ(stamp.Date, DateDelta - 1);
  EXPECT_EQ(stamp.Time, 6 * 3600 * 1000);
  EXPECT_EQ(TimeStampToDateTime(stamp), -1.25);
}

TEST(DateTime, TimeStamps) {
  TTimeStamp zero = DateTimeToTimeStamp(0);
  EXPECT_EQ(zero.Date, DateDelta);
  EXPECT_EQ(zero.Time, 0);
  EXPECT_EQ(DateTimeToTimeStamp(EncodeDate(1, 1, 1)).Date, 1);
  for (TDateTime v : {0.0, kFriday, -693593.5, 2958465.999}) {
    TTimeStamp t = DateTimeToTimeStamp(v);
    EXPECT_NEAR(TimeStampToDateTime(t), v, 1e-9) << v;
    TTimeStamp back = MSecsToTimeStamp(TimeStampToMSecs(t));
    EXPECT_TRUE(back.Date == t.Date && back.Time == t.Time) << v;
  }
  EXPECT_EQ(ConvertErrorOf([] { TimeStampToDateTime(TTimeStamp{0, 0}); }), "'0.0' is not a valid timestamp");
  EXPECT_EQ(ConvertErrorOf([] { TimeStampToDateTime(TTimeStamp{MSecsPerDay, 5}); }),
            "'5.86400000' is not a valid timestamp");
  EXPECT_THROW(MSecsToTimeStamp(-1), EConvertError);
  EXPECT_THROW(MSecsToTimeStamp(std::numeric_limits<double>::quiet_NaN()), EConvertError);
}

TEST(DateTime, ValuesOutsideTheCalendarRaise) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ConvertErrorOf([&] { DateTimeToTimeStamp(nan); }), "'NAN' is not a valid date and time");
  EXPECT_EQ(ConvertErrorOf([] { DateToStr(1e20); }), "'1E20' is not a valid date and time");
  EXPECT_THROW(FormatDateTime("c", -693594.5), EConvertError);
  EXPECT_THROW(DayOfWeek(2958466.5), EConvertError);
  // The last millisecond of 9999 must not round into year 10000.
  EXPECT_THROW(DateTimeToTimeStamp(2958465.999999995), EConvertError);
}

TEST(DateTime, ReplacedClockDrivesNowDateAndTime) {
  const TDateTime fixed = EncodeDateTime(2024, 1, 15, 18, 0, 0, 0);
  TClock old = SetClock([fixed] { return fixed; });
  EXPECT_EQ(Now(), fixed);
  EXPECT_EQ(Date(), 45306);
  EXPECT_EQ(Time(), 0.75);
  EXPECT_EQ(CurrentYear(), 2024);
  TClock mine = SetClock(old);
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine(), fixed);
  if (!old) {
    // The system clock: a plausible local time.
    EXPECT_GE(CurrentYear(), 2024);
    EXPECT_LT(CurrentYear(), 2200);
  }
}

TEST(DateTime, FormatDateTimePatterns) {
  struct Case { const char* pattern; TDateTime value; const char* text; };
  const TDateTime midnight = EncodeDate(2024, 1, 5);
  const TDateTime early = midnight + EncodeTime(0, 30, 0, 0);
  const TDateTime noon = midnight + 0.5;
  const Case cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", kFriday, "2024-01-05 14:07:09.045"},
      {"d/m/yy", kFriday, "5/1/24"},
      {"dd mmm yyyy", kFriday, "05 Jan 2024"},
      {"dddd d mmmm", kFriday, "Friday 5 January"},
      {"ddd", kFriday, "Fri"},
      {"hh:mm", kFriday, "14:07"},        // m after h is minutes
      {"mm", kFriday, "01"},
      {"h:m:s z", kFriday, "14:7:9 45"},
      {"h:mm am/pm", kFriday, "2:07 pm"},
      {"h:mm AM/PM", kFriday, "2:07 PM"},
      {"hh:nn a/p", kFriday, "02:07 p"},
      {"h:nn ampm", kFriday, "2:07 PM"},
      {"h:nn ampm", early, "12:30 AM"},
      {"h:nn ampm", noon, "12:00 PM"},
      {"'Date:' dd", kFriday, "Date: 05"},
      {"\"h\"h", kFriday, "h14"},
      {"c", kFriday, "1/5/2024 2:07:09 PM"},
      {"", kFriday, "1/5/2024 2:07:09 PM"},
      {"c", midnight, "1/5/2024"},
      {"ddddd", kFriday, "1/5/2024"},
      {"dddddd", kFriday, "Friday, January 5, 2024"},
      {"t", kFriday, "2:07 PM"},
      {"tt", kFriday, "2:07:09 PM"},
      {"YYYY x", kFriday, "2024 x"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, c.value), c.text) << c.pattern;

  EXPECT_EQ(DateToStr(kFriday), "1/5/2024");
  EXPECT_EQ(TimeToStr(kFriday), "2:07:09 PM");
  EXPECT_EQ(DateTimeToStr(kFriday), "1/5/2024 2:07:09 PM");
  EXPECT_EQ(DateTimeToStr(EncodeDate(1899, 12, 29) - 0.25), "12/29/1899 6:00:00 AM");

  TFormatSettings fs;
  fs.DateSeparator = '.';
  fs.TimeSeparator = '.';
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", kFriday, fs), "05.01.2024 14.07");
  // A format naming itself stops after two levels instead of looping.
  fs.ShortDateFormat = "ddddd x";
  EXPECT_EQ(FormatDateTime("ddddd", kFriday, fs), " x x");
}

TEST(DateTime, StrToDateFollowsTheShortDateOrder) {
  FixedClock clock(EncodeDate(2024, 6, 1));
  struct Case { const char* format; char separator; const char* text; int y, m, d; };
  const Case cases[] = {
      {"M/d/yyyy", '/', "1/15/2024", 2024, 1, 15},
      {"M/d/yyyy", '/', " 1 / 15 / 2024 ", 2024, 1, 15},
      {"M/d/yyyy", '/', "1/15", 2024, 1, 15},  // the current year
      {"M/d/yyyy", '/', "1/15/0024", 24, 1, 15},
      {"dd/MM/yyyy", '.', "15.01.2024", 2024, 1, 15},
      {"yyyy/MM/dd", '-', "2024-01-15", 2024, 1, 15},
      {"'day' d/M/yy", '/', "15/1/24", 2024, 1, 15},
  };
  for (const Case& c : cases) {
    TFormatSettings fs;
    fs.ShortDateFormat = c.format;
    fs.DateSeparator = c.separator;
    EXPECT_EQ(StrToDate(c.text, fs), EncodeDate(c.y, c.m, c.d)) << c.text;
  }
  const char* bad[] = {"2/30/2024", "13/1/2024", "abc", "1/2/3/4", "", "1/15/2024 10:00", "1//2024", "1/15/2024x"};
  for (const char* b : bad) {
    TDateTime v = 7;
    EXPECT_FALSE(TryStrToDate(b, v)) << b;
    EXPECT_EQ(v, 7) << b;
  }
  EXPECT_EQ(ConvertErrorOf([] { StrToDate("abc"); }), "'abc' is not a valid date");
}

TEST(DateTime, TwoDigitYearsFallInTheCenturyWindow) {
  FixedClock clock(EncodeDate(2024, 6, 1));
  struct Case { int window; const char* text; int year; };
  const Case cases[] = {
      {50, "1/1/73", 2073}, {50, "1/1/74", 1974}, {50, "1/1/99", 1999},
      {50, "1/1/00", 2000}, {50, "1/1/5", 2005},  {0, "1/1/99", 2099},
      {0, "1/1/05", 2005},  {10, "1/1/13", 2113}, {10, "1/1/14", 2014},
  };
  for (const Case& c : cases) {
    TFormatSettings fs;
    fs.TwoDigitYearCenturyWindow = c.window;
    EXPECT_EQ(StrToDate(c.text, fs), EncodeDate(c.year, 1, 1)) << c.window << " " << c.text;
  }
}

TEST(DateTime, StrToTimeReadsTwelveAndTwentyFourHourClocks) {
  struct Case { const char* text; int h, n, s, ms; };
  const Case cases[] = {
      {"10:30", 10, 30, 0, 0},     {"10:30:15", 10, 30, 15, 0}, {"10:30:15.250", 10, 30, 15, 250},
      {"7", 7, 0, 0, 0},           {"2:30 PM", 14, 30, 0, 0},   {"2:30 pm", 14, 30, 0, 0},
      {"12:00 AM", 0, 0, 0, 0},    {"12:00 PM", 12, 0, 0, 0},   {"PM 2:30", 14, 30, 0, 0},
      {" 23:59:59 ", 23, 59, 59, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToTime(c.text), EncodeTime(c.h, c.n, c.s, c.ms)) << c.text;
  const char* bad[] = {"13:00 PM", "0:30 AM", "25:00", "10:60", "10:", "", "abc", "10:30 XM", "10:30:15.1000"};
  for (const char* b : bad) {
    TDateTime v = 7;
    EXPECT_FALSE(TryStrToTime(b, v)) << b;
  }
  EXPECT_EQ(ConvertErrorOf([] { StrToTime("10:60"); }), "'10:60' is not a valid time");

  TFormatSettings fs;
  fs.TimeSeparator = '.';
  fs.TimeAMString = "vorm.";
  fs.TimePMString = "nachm.";
  EXPECT_EQ(StrToTime("2.30 nachm.", fs), EncodeTime(14, 30, 0, 0));
}

TEST(DateTime, StrToDateTimeTakesADateATimeOrBoth) {
  FixedClock clock(EncodeDate(2024, 6, 1));
  EXPECT_EQ(StrToDateTime("1/15/2024 10:30 PM"), 45306 + EncodeTime(22, 30, 0, 0));
  EXPECT_EQ(StrToDateTime("1/15/2024"), 45306);
  EXPECT_EQ(StrToDateTime("10:30"), EncodeTime(10, 30, 0, 0));
  EXPECT_EQ(StrToDateTime("12/29/1899 6:00"), -1.25);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(kFriday)), EncodeDateTime(2024, 1, 5, 14, 7, 9, 0));
  EXPECT_EQ(ConvertErrorOf([] { StrToDateTime("1/15/2024 25:00"); }), "'1/15/2024 25:00' is not a valid date and time");
  TDateTime v;
  EXPECT_FALSE(TryStrToDateTime("1/15/2024 10:30 x", v));
}

TEST(DateTime, DosFileDates) {
  const TDateTime t = EncodeDateTime(2021, 11, 5, 13, 45, 30, 0);
  EXPECT_EQ(DateTimeToFileDate(t), 0x53656DAF);
  EXPECT_EQ(FileDateToDateTime(0x53656DAF), t);
  // Odd seconds round down to even; milliseconds are dropped.
  EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(EncodeDateTime(2021, 11, 5, 13, 45, 31, 900))), t);
  // Years from 2044 set the sign bit.
  const TDateTime late = EncodeDateTime(2107, 12, 31, 23, 59, 58, 0);
  EXPECT_LT(DateTimeToFileDate(late), 0);
  EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(late)), late);
  EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), 0);
  EXPECT_EQ(DateTimeToFileDate(EncodeDate(2108, 1, 1)), 0);

  TDateTime v = 7;
  EXPECT_FALSE(TryFileDateToDateTime(0, v));  // month 0
  EXPECT_EQ(v, 7);
  EXPECT_EQ(ConvertErrorOf([] { FileDateToDateTime(0); }), "Invalid argument to date encode");
  const int32_t badTime = int32_t(0x53650000u | (24u << 11));
  EXPECT_FALSE(TryFileDateToDateTime(badTime, v));
  EXPECT_EQ(ConvertErrorOf([&] { FileDateToDateTime(badTime); }), "Invalid argument to time encode");
}

TEST(DateTime, UnixTimesCarryTheLocalOffset) {
  EXPECT_NEAR(UnixToDateTime(0), UnixDateDelta + os::LocalOffsetSeconds(0) / 86400.0, 1e-9);
  for (int64_t t : {int64_t(0), int64_t(1700000000), int64_t(1720000000) + 43200, int64_t(4102444800)}) {
    EXPECT_EQ(DateTimeToUnix(UnixToDateTime(t)), t) << t;
  }
  EXPECT_THROW(UnixToDateTime(int64_t(1) << 50), EConvertError);
}
