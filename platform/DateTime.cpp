// Dates and times: the proleptic Gregorian calendar over TDateTime and
// TTimeStamp, the FormatDateTime pattern language, date and time parsing,
// and the DOS and Unix time forms.
//
// Every split of a TDateTime goes through DateTimeToTimeStamp, which rounds
// to the millisecond and reads the fraction of a negative value forward
// from midnight; every join of a day and a time goes through
// TimeStampToDateTime, which puts the sign back on the whole value.
#include "DateTime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>

#include "Errors.h"
#include "Numbers.h"
#include "OsFiles.h"

namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;
// Days in 400, 100, 4 and 1 Gregorian years.
constexpr int32_t kDays400 = 146097;
constexpr int32_t kDays100 = 36524;
constexpr int32_t kDays4 = 1461;
constexpr int32_t kDays1 = 365;
// TTimeStamp.Date of 9999-12-31.
constexpr int32_t kMaxStampDate = 3652059;
// TDateTime bounds, exclusive: one day before 0001-01-01 and 10000-01-01.
constexpr double kMinDateTime = -693594.0;
constexpr double kMaxDateTime = 2958466.0;

const int kDaysBefore[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// The TTimeStamp.Date of a valid date.
int32_t StampDateOf(int year, int month, int day) {
  int32_t y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400 + kDaysBefore[IsLeapYear(year)][month - 1] + day;
}

void SplitStampDate(int32_t stampDate, int& year, int& month, int& day) {
  int32_t t = stampDate - 1;
  year = 1 + 400 * (t / kDays400);
  t %= kDays400;
  // The last day of a 400-year cycle and of a 4-year cycle belong to the
  // block before, which is one day longer.
  int32_t centuries = std::min(t / kDays100, 3);
  t -= centuries * kDays100;
  int32_t quads = t / kDays4;
  t -= quads * kDays4;
  int32_t years = std::min(t / kDays1, 3);
  t -= years * kDays1;
  year += 100 * centuries + 4 * quads + years;
  const int* before = kDaysBefore[IsLeapYear(year)];
  month = 1;
  while (t >= before[month]) ++month;
  day = t - before[month - 1] + 1;
}

[[noreturn]] void InvalidDateTime(TDateTime value) {
  throw EConvertError("'%s' is not a valid date and time", {FloatToStr(value)});
}

String Padded(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

// Local milliseconds since 1970-01-01 as a TDateTime.
TDateTime LocalMSecsToDateTime(int64_t msecs) {
  int64_t days = msecs / MSecsPerDay;
  int64_t rest = msecs % MSecsPerDay;
  if (rest < 0) {
    rest += MSecsPerDay;
    --days;
  }
  int64_t stampDate = days + UnixDateDelta + DateDelta;
  if (stampDate < 1 || stampDate > kMaxStampDate)
    throw EConvertError("'%d.%d' is not a valid timestamp", {stampDate, rest});
  return TimeStampToDateTime(TTimeStamp{int32_t(rest), int32_t(stampDate)});
}

TDateTime SystemNow() {
  using namespace std::chrono;
  int64_t utcMs = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  int64_t utcSecs = utcMs / 1000;
  return LocalMSecsToDateTime(utcMs + os::LocalOffsetSeconds(utcSecs) * 1000);
}

std::mutex& ClockLock() {
  static std::mutex lock;
  return lock;
}

TClock& ClockSlot() {
  static TClock clock;
  return clock;
}

// --- FormatDateTime ----------------------------------------------------------

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (Upper(s[at + i]) != Upper(word[i])) return false;
  return true;
}

class DateFormatter {
 public:
  DateFormatter(TDateTime value, const TFormatSettings& fs) : fs_(fs) {
    DecodeDateTime(value, year_, month_, day_, hour_, min_, sec_, msec_);
    dayOfWeek_ = DayOfWeek(value);
  }

  // Nested formats (c, ddddd, dddddd, t, tt) expand two levels deep at
  // most, so that a format naming itself cannot loop.
  void Append(std::string_view format, int depth) {
    char lastLetter = 0;
    size_t i = 0;
    while (i < format.size()) {
      char c = format[i];
      char token = Upper(c);
      size_t run = 1;
      while (i + run < format.size() && Upper(format[i + run]) == token) ++run;
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastLetter == 'H') token = 'N';
        lastLetter = token;
      }
      switch (token) {
        case 'Y':
          out_ += run <= 2 ? Padded(year_ % 100, 2) : Padded(year_, 4);
          break;
        case 'M':
          if (run <= 2) out_ += Padded(month_, int(run));
          else out_ += run == 3 ? fs_.ShortMonthNames[month_ - 1] : fs_.LongMonthNames[month_ - 1];
          break;
        case 'D':
          if (run <= 2) out_ += Padded(day_, int(run));
          else if (run == 3) out_ += fs_.ShortDayNames[dayOfWeek_ - 1];
          else if (run == 4) out_ += fs_.LongDayNames[dayOfWeek_ - 1];
          else Nested(run == 5 ? fs_.ShortDateFormat : fs_.LongDateFormat, depth);
          break;
        case 'H':
          out_ += Padded(TwelveHourAhead(format, i + run) ? (hour_ + 11) % 12 + 1 : hour_, run == 1 ? 1 : 2);
          break;
        case 'N':
          out_ += Padded(min_, run == 1 ? 1 : 2);
          break;
        case 'S':
          out_ += Padded(sec_, run == 1 ? 1 : 2);
          break;
        case 'Z':
          out_ += Padded(msec_, run == 1 ? 1 : 3);
          break;
        case 'T':
          Nested(run == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, depth);
          break;
        case 'C':
          Nested(fs_.ShortDateFormat, depth);
          if (hour_ || min_ || sec_ || msec_) {
            out_ += ' ';
            Nested(fs_.LongTimeFormat, depth);
          }
          break;
        case 'A':
          run = AppendMarker(format, i);
          break;
        case '/':
          run = 1;
          if (fs_.DateSeparator) out_ += fs_.DateSeparator;
          break;
        case ':':
          run = 1;
          if (fs_.TimeSeparator) out_ += fs_.TimeSeparator;
          break;
        case '"':
        case '\'': {
          size_t end = format.find(c, i + 1);
          if (end == std::string_view::npos) end = format.size();
          out_ += format.substr(i + 1, end - i - 1);
          run = std::min(end + 1, format.size()) - i;
          break;
        }
        default:
          run = 1;
          out_ += c;
      }
      i += run;
    }
  }

  const String& Text() const { return out_; }

 private:
  void Nested(std::string_view format, int depth) {
    if (depth < 2) Append(format.empty() ? "C" : format, depth + 1);
  }

  // An hour shows on the 12-hour clock when the next 'a' after it (outside
  // quotes, before another 'h') starts an AM/PM marker.
  static bool TwelveHourAhead(std::string_view format, size_t from) {
    char quote = 0;
    for (size_t i = from; i < format.size(); ++i) {
      char c = format[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '\'' || c == '"') {
        quote = c;
      } else if (Upper(c) == 'H') {
        return false;
      } else if (Upper(c) == 'A') {
        return StartsWithNoCase(format, i, "AM/PM") || StartsWithNoCase(format, i, "A/P") ||
               StartsWithNoCase(format, i, "AMPM");
      }
    }
    return false;
  }

  // "am/pm" and "a/p" copy the pattern's own letters; "ampm" writes the
  // settings' strings. A lone 'a' is copied. Returns the length used.
  size_t AppendMarker(std::string_view format, size_t i) {
    bool pm = hour_ >= 12;
    if (StartsWithNoCase(format, i, "AM/PM")) {
      out_ += format.substr(i + (pm ? 3 : 0), 2);
      return 5;
    }
    if (StartsWithNoCase(format, i, "A/P")) {
      out_ += format[i + (pm ? 2 : 0)];
      return 3;
    }
    if (StartsWithNoCase(format, i, "AMPM")) {
      out_ += pm ? fs_.TimePMString : fs_.TimeAMString;
      return 4;
    }
    out_ += format[i];
    return 1;
  }

  const TFormatSettings& fs_;
  uint16_t year_, month_, day_, hour_, min_, sec_, msec_;
  int dayOfWeek_;
  String out_;
};

// --- Parsing -----------------------------------------------------------------------

enum class DateOrder { MDY, DMY, YMD };

DateOrder OrderOf(std::string_view shortDateFormat) {
  char quote = 0;
  for (char c : shortDateFormat) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    switch (Upper(c)) {
      case '\'':
      case '"': quote = c; break;
      case 'Y': return DateOrder::YMD;
      case 'M': return DateOrder::MDY;
      case 'D': return DateOrder::DMY;
    }
  }
  return DateOrder::MDY;
}

// A cursor over the text being parsed.
struct Scanner {
  std::string_view s;
  size_t pos = 0;

  void SkipBlanks() {
    while (pos < s.size() && s[pos] == ' ') ++pos;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos == s.size();
  }
  // Up to nine digits; digits counts them.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
      if (++digits > 9) return false;
      value = value * 10 + (s[pos++] - '0');
    }
    return digits > 0;
  }
  bool Char(char c) {
    SkipBlanks();
    if (c == 0 || pos >= s.size() || s[pos] != c) return false;
    ++pos;
    return true;
  }
  bool Word(std::string_view word) {
    SkipBlanks();
    if (word.empty() || !StartsWithNoCase(s, pos, word)) return false;
    pos += word.size();
    return true;
  }
};

bool ScanDate(Scanner& sc, const TFormatSettings& fs, TDateTime& value) {
  int n[3], len[3];
  int count = 0;
  if (!sc.Number(n[0], len[0])) return false;
  count = 1;
  while (count < 3 && sc.Char(fs.DateSeparator)) {
    if (!sc.Number(n[count], len[count])) return false;
    ++count;
  }
  if (count < 2) return false;
  int year, month, day, yearLen;
  DateOrder order = OrderOf(fs.ShortDateFormat);
  if (count == 2) {
    year = CurrentYear();
    yearLen = 4;
    month = order == DateOrder::DMY ? n[1] : n[0];
    day = order == DateOrder::DMY ? n[0] : n[1];
  } else if (order == DateOrder::YMD) {
    year = n[0], yearLen = len[0], month = n[1], day = n[2];
  } else if (order == DateOrder::DMY) {
    day = n[0], month = n[1], year = n[2], yearLen = len[2];
  } else {
    month = n[0], day = n[1], year = n[2], yearLen = len[2];
  }
  if (year <= 99 && yearLen <= 2) {
    int window = fs.TwoDigitYearCenturyWindow;
    int base = CurrentYear() - window;
    year += base / 100 * 100;
    if (window > 0 && year < base) year += 100;
  }
  return TryEncodeDate(year, month, day, value);
}

// Which half of the day an AM/PM marker names: 0, 12, or -1 for none.
int ScanMarker(Scanner& sc, const TFormatSettings& fs) {
  if (sc.Word(fs.TimeAMString) || sc.Word("AM")) return 0;
  if (sc.Word(fs.TimePMString) || sc.Word("PM")) return 12;
  return -1;
}

bool ScanTime(Scanner& sc, const TFormatSettings& fs, TDateTime& value) {
  int baseHour = ScanMarker(sc, fs);
  int hour, min = 0, sec = 0, msec = 0, len;
  if (!sc.Number(hour, len)) return false;
  if (sc.Char(fs.TimeSeparator)) {
    if (!sc.Number(min, len)) return false;
    if (sc.Char(fs.TimeSeparator)) {
      if (!sc.Number(sec, len)) return false;
      if (sc.Char(fs.DecimalSeparator) && !sc.Number(msec, len)) return false;
    }
  }
  if (baseHour < 0) baseHour = ScanMarker(sc, fs);
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    hour = hour % 12 + baseHour;
  }
  return TryEncodeTime(hour, min, sec, msec, value);
}

TDateTime CombineDateTime(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

struct DosFields {
  int Year, Month, Day, Hour, Min, Sec;
};

DosFields SplitFileDate(int32_t fileDate) {
  uint32_t date = uint32_t(fileDate) >> 16, time = uint32_t(fileDate) & 0xFFFF;
  return {int(date >> 9) + 1980, int(date >> 5 & 15), int(date & 31),
          int(time >> 11),       int(time >> 5 & 63), int(time & 31) * 2};
}

}  // namespace

// --- Calendar ------------------------------------------------------------------

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  const int* before = kDaysBefore[IsLeapYear(year)];
  return before[month] - before[month - 1];
}

int DaysInMonth(TDateTime value) {
  uint16_t y, m, d;
  DecodeDate(value, y, m, d);
  return DaysInMonth(y, m);
}

int DayOfWeek(TDateTime value) { return DateTimeToTimeStamp(value).Date % 7 + 1; }

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < kMinYear || year > kMaxYear || day < 1 || day > DaysInMonth(year, month)) return false;
  result = StampDateOf(year, month, day) - DateDelta;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
  return d;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TTime& result) {
  if (hour < 0 || hour >= HoursPerDay || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 ||
      msec >= MSecsPerSec)
    return false;
  result = double(((hour * 60 + min) * 60 + sec) * MSecsPerSec + msec) / MSecsPerDay;
  return true;
}

TTime EncodeTime(int hour, int min, int sec, int msec) {
  TTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
  return t;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& result) {
  TDateTime date;
  TTime time;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time)) return false;
  result = CombineDateTime(date, time);
  return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
  return CombineDateTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day) {
  int y, m, d;
  SplitStampDate(DateTimeToTimeStamp(value).Date, y, m, d);
  year = uint16_t(y);
  month = uint16_t(m);
  day = uint16_t(d);
}

void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec) {
  int32_t ms = DateTimeToTimeStamp(value).Time;
  hour = uint16_t(ms / 3600000);
  min = uint16_t(ms / 60000 % 60);
  sec = uint16_t(ms / 1000 % 60);
  msec = uint16_t(ms % 1000);
}

void DecodeDateTime(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& hour,
                    uint16_t& min, uint16_t& sec, uint16_t& msec) {
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
}

TTimeStamp DateTimeToTimeStamp(TDateTime value) {
  if (!(value > kMinDateTime && value < kMaxDateTime)) InvalidDateTime(value);
  int64_t msecs = std::llround(value * MSecsPerDay);
  TTimeStamp stamp;
  // Division truncates toward zero: the day of -1.25 is -1, its time 06:00.
  stamp.Date = int32_t(DateDelta + msecs / MSecsPerDay);
  stamp.Time = int32_t((msecs < 0 ? -msecs : msecs) % MSecsPerDay);
  // Rounding can carry the last millisecond of 9999-12-31 into year 10000.
  if (stamp.Date > kMaxStampDate) InvalidDateTime(value);
  return stamp;
}

TDateTime TimeStampToDateTime(const TTimeStamp& stamp) {
  if (stamp.Date < 1 || stamp.Date > kMaxStampDate || stamp.Time < 0 || stamp.Time >= MSecsPerDay)
    throw EConvertError("'%d.%d' is not a valid timestamp", {stamp.Date, stamp.Time});
  return CombineDateTime(stamp.Date - DateDelta, double(stamp.Time) / MSecsPerDay);
}

double TimeStampToMSecs(const TTimeStamp& stamp) { return double(stamp.Date) * MSecsPerDay + stamp.Time; }

TTimeStamp MSecsToTimeStamp(double msecs) {
  double days = std::floor(msecs / MSecsPerDay);
  if (!(days >= 0 && days <= kMaxStampDate)) throw EConvertError("'%s' is not a valid timestamp", {FloatToStr(msecs)});
  TTimeStamp stamp;
  stamp.Date = int32_t(days);
  stamp.Time = int32_t(std::llround(msecs - days * MSecsPerDay));
  if (stamp.Time >= MSecsPerDay) stamp.Time = MSecsPerDay - 1;
  return stamp;
}

// --- Clock -----------------------------------------------------------------------

TClock SetClock(TClock clock) {
  std::lock_guard<std::mutex> guard(ClockLock());
  TClock old = std::move(ClockSlot());
  ClockSlot() = std::move(clock);
  return old;
}

TDateTime Now() {
  TClock clock;
  {
    std::lock_guard<std::mutex> guard(ClockLock());
    clock = ClockSlot();
  }
  return clock ? clock() : SystemNow();
}

TDate Date() { return DateTimeToTimeStamp(Now()).Date - DateDelta; }

TTime Time() { return double(DateTimeToTimeStamp(Now()).Time) / MSecsPerDay; }

int CurrentYear() {
  uint16_t y, m, d;
  DecodeDate(Now(), y, m, d);
  return y;
}

// --- Formatting -------------------------------------------------------------------

String FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& fs) {
  DateFormatter f(value, fs);
  f.Append(format.empty() ? "C" : format, 0);
  return f.Text();
}

String FormatDateTime(std::string_view format, TDateTime value) {
  return FormatDateTime(format, value, FormatSettings());
}

String DateToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime(fs.ShortDateFormat, value, fs); }

String DateToStr(TDateTime value) { return DateToStr(value, FormatSettings()); }

String TimeToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime(fs.LongTimeFormat, value, fs); }

String TimeToStr(TDateTime value) { return TimeToStr(value, FormatSettings()); }

String DateTimeToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime("C", value, fs); }

String DateTimeToStr(TDateTime value) { return DateTimeToStr(value, FormatSettings()); }

// --- Parsing -----------------------------------------------------------------------

bool TryStrToDate(std::string_view s, TDateTime& value, const TFormatSettings& fs) {
  Scanner sc{s};
  TDateTime d;
  if (!ScanDate(sc, fs, d) || !sc.AtEnd()) return false;
  value = d;
  return true;
}

bool TryStrToDate(std::string_view s, TDateTime& value) { return TryStrToDate(s, value, FormatSettings()); }

bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& fs) {
  Scanner sc{s};
  TDateTime t;
  if (!ScanTime(sc, fs, t) || !sc.AtEnd()) return false;
  value = t;
  return true;
}

bool TryStrToTime(std::string_view s, TDateTime& value) { return TryStrToTime(s, value, FormatSettings()); }

bool TryStrToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& fs) {
  Scanner sc{s};
  TDateTime date, time = 0;
  if (!ScanDate(sc, fs, date)) return TryStrToTime(s, value, fs);
  if (!sc.AtEnd() && (!ScanTime(sc, fs, time) || !sc.AtEnd())) return false;
  value = CombineDateTime(date, time);
  return true;
}

bool TryStrToDateTime(std::string_view s, TDateTime& value) { return TryStrToDateTime(s, value, FormatSettings()); }

TDateTime StrToDate(std::string_view s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDate(s, v, fs)) throw EConvertError("'%s' is not a valid date", {s});
  return v;
}

TDateTime StrToDate(std::string_view s) { return StrToDate(s, FormatSettings()); }

TDateTime StrToTime(std::string_view s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToTime(s, v, fs)) throw EConvertError("'%s' is not a valid time", {s});
  return v;
}

TDateTime StrToTime(std::string_view s) { return StrToTime(s, FormatSettings()); }

TDateTime StrToDateTime(std::string_view s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDateTime(s, v, fs)) throw EConvertError("'%s' is not a valid date and time", {s});
  return v;
}

TDateTime StrToDateTime(std::string_view s) { return StrToDateTime(s, FormatSettings()); }

// --- File and Unix times -------------------------------------------------------------

int32_t DateTimeToFileDate(TDateTime value) {
  uint16_t year, month, day, hour, min, sec, msec;
  DecodeDateTime(value, year, month, day, hour, min, sec, msec);
  if (year < 1980 || year > 2107) return 0;
  uint32_t date = uint32_t(year - 1980) << 9 | uint32_t(month) << 5 | day;
  uint32_t time = uint32_t(hour) << 11 | uint32_t(min) << 5 | uint32_t(sec / 2);
  return int32_t(date << 16 | time);
}

bool TryFileDateToDateTime(int32_t fileDate, TDateTime& value) {
  DosFields f = SplitFileDate(fileDate);
  TDateTime d;
  TTime t;
  if (!TryEncodeDate(f.Year, f.Month, f.Day, d) || !TryEncodeTime(f.Hour, f.Min, f.Sec, 0, t)) return false;
  value = CombineDateTime(d, t);
  return true;
}

TDateTime FileDateToDateTime(int32_t fileDate) {
  DosFields f = SplitFileDate(fileDate);
  return CombineDateTime(EncodeDate(f.Year, f.Month, f.Day), EncodeTime(f.Hour, f.Min, f.Sec, 0));
}

TDateTime UnixToDateTime(int64_t unixSeconds) {
  // Beyond the calendar either way; keeps the products below in range.
  constexpr int64_t kLimit = int64_t(kMaxStampDate) * SecsPerDay;
  if (unixSeconds < -kLimit || unixSeconds > kLimit)
    throw EConvertError("'%d' is not a valid timestamp", {unixSeconds});
  int64_t local = unixSeconds + os::LocalOffsetSeconds(unixSeconds);
  return LocalMSecsToDateTime(local * 1000);
}

int64_t DateTimeToUnix(TDateTime value) {
  TTimeStamp stamp = DateTimeToTimeStamp(value);
  int64_t local = (int64_t(stamp.Date) - DateDelta - UnixDateDelta) * SecsPerDay + stamp.Time / MSecsPerSec;
  // The offset belongs to the UTC instant, which is what is sought: a second
  // look with the first guess settles changes of daylight saving time.
  int64_t guess = local - os::LocalOffsetSeconds(local);
  return local - os::LocalOffsetSeconds(guess);
}
