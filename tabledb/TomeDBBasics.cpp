// Field widths, memory-medium names and the text routines of the filter
// engine.
#include "tabledb/TomeDBBasics.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/Errors.h"
#include "platform/FormatSettings.h"
#include "platform/Streams.h"
#include "tabledb/Hash_CheckSum.h"

bool IsIntegerType(uint8_t fieldType) {
  switch (fieldType) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return true;
    default:
      return false;
  }
}

bool IsNumericType(uint8_t fieldType) {
  return IsIntegerType(fieldType) || fieldType == ftLargeint || fieldType == ftFloat ||
         fieldType == ftCurrency;
}

bool IsStringType(uint8_t fieldType) {
  // 15..21 are the blob kinds (blob, memo, graphic, formatted memo, the two
  // OLE kinds, typed binary); 30 and 31 the two large-object kinds.
  return fieldType == ftString || fieldType == ftFixedChar || fieldType == ftWideString ||
         fieldType == ftGuid || (fieldType >= ftBlob && fieldType <= ftTypedBinary) || fieldType == 30 ||
         fieldType == 31;
}

bool IsDateTimeType(uint8_t fieldType) {
  return fieldType == ftDate || fieldType == ftTime || fieldType == ftDateTime;
}

int32_t GetFieldDataSize(uint8_t fieldType, int32_t declaredSize) {
  switch (fieldType) {
    case ftString:
    case ftFixedChar:
      return declaredSize + 1;
    case ftSmallint:
    case ftWord:
    case ftBoolean:
      return 2;
    case ftInteger:
    case ftDate:
    case ftTime:
    case ftAutoInc:
      return 4;
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
    case ftLargeint:
      return 8;
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
      return 0;
    default:
      DatabaseError("General error");
  }
}

// --- Memory-medium names ---------------------------------------------------------

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

int HexValue(char c) {
  if (c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

struct MemoryMediumRegistry {
  std::mutex lock;
  std::map<uint32_t, TMemoryStream*> streams;
  uint32_t lastId = 0;  // id 0 (the bare ":") is never handed out
};

MemoryMediumRegistry& Registry() {
  static MemoryMediumRegistry registry;
  return registry;
}

// The id a valid name spells, or 0 when it spells none that can exist.
uint32_t MemoryMediumId(std::string_view name) {
  uint64_t id = 0;
  for (char c : name.substr(1)) {
    id = id * 16 + uint64_t(HexValue(c));
    if (id > UINT32_MAX) return 0;
  }
  return uint32_t(id);
}

}  // namespace

bool IsMemoryMediumName(std::string_view name) {
  if (name.empty() || name[0] != ':') return false;
  for (char c : name.substr(1))
    if (!IsHexDigit(c)) return false;
  return true;
}

uint32_t RegisterMemoryMedium(TMemoryStream* stream) {
  auto& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.lock);
  do ++registry.lastId;
  while (registry.lastId == 0 || registry.streams.count(registry.lastId));
  registry.streams[registry.lastId] = stream;
  return registry.lastId;
}

void UnregisterMemoryMedium(uint32_t id) {
  auto& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.streams.erase(id);
}

String MemoryMediumName(uint32_t id) { return ":" + IntToHex(id, 1); }

TMemoryStream* MemoryMediumNameToStream(std::string_view name) {
  if (IsMemoryMediumName(name)) {
    auto& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.streams.find(MemoryMediumId(name));
    if (found != registry.streams.end()) return found->second;
  }
  DatabaseErrorFmt("Invalid database name '%s'", {name});
}

// --- Hash shortcuts -----------------------------------------------------------------

String HashText(THashClass hashClass, std::string_view text) { return CalcString(hashClass, nullptr, text); }

uint32_t BufferCRC32(const void* buffer, int64_t size) {
  THash_CRC32 hash;
  hash.Calc(buffer, size);
  hash.Done();
  return LoadLE32(hash.DigestKey());
}

// --- LIKE ---------------------------------------------------------------------------
//
// The pattern is followed in steps over positions (i in the value, j in the
// pattern):
//   1. a "%" that is the pattern's last character matches whatever is left;
//   2. otherwise an exhausted value matches only an exhausted pattern;
//   3. "%" goes on either with the next pattern character at the same value
//      position or with the next value character at the same "%";
//   4. "_" takes one character; any other character must be equal.
// This is ordinary wildcard matching except for step 2: where ordinary
// matching lets a run of two or more "%" at the pattern's end match nothing,
// here they need at least one character ("abc" does not match "abc%%" but
// "abcd" does). So a pattern that ends in two or more "%" matches exactly
// when its part before them matches a prefix that leaves at least one
// character, that is when the value less its last character matches that
// part followed by one "%".
//
// Ordinary wildcard matching only ever needs to retry the latest "%": when
// what follows it fails, that "%" takes one more character. Trying the
// choices of step 3 one after another instead costs time exponential in
// the number of "%". Where a literal character follows the latest "%", the
// retry jumps straight to its next occurrence; and once the pattern's last
// "%" is reached, what follows it can only match the value's end.
//
// Comparing the Windows-1252 bytes gives the same answers as comparing their
// UTF-16 forms: the code page maps each byte to exactly one code unit and no
// two bytes to the same one. Without case, only ASCII letters fold.

namespace {

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
bool IsAsciiLetter(char c) { return FoldAscii(c) >= 'A' && FoldAscii(c) <= 'Z'; }

class WildcardMatcher {
 public:
  WildcardMatcher(std::string_view value, std::string_view pattern, bool fold)
      : v_(value), p_(pattern), fold_(fold) {}

  bool Match() {
    const size_t n = v_.size(), m = p_.size();
    constexpr size_t kNone = std::string_view::npos;
    const size_t lastStar = p_.rfind('%');
    size_t i = 0, j = 0, star = kNone, mark = 0;
    while (i < n) {
      if (j < m && p_[j] == '%') {
        if (j == lastStar) return MatchesEnd(i, p_.substr(j + 1));
        star = j++;
        mark = i;
        ResetFinder();
      } else if (j < m && (p_[j] == '_' || Same(p_[j], v_[i]))) {
        ++i;
        ++j;
      } else if (star == kNone) {
        return false;
      } else {
        // The latest "%" takes one more character; what follows it must
        // start where its first character can match.
        j = star + 1;
        mark = p_[j] == '_' ? mark + 1 : NextOccurrence(p_[j], mark + 1);
        i = mark;
      }
    }
    while (j < m && p_[j] == '%') ++j;
    return j == m;
  }

 private:
  bool Same(char a, char b) const { return a == b || (fold_ && FoldAscii(a) == FoldAscii(b)); }

  // Whether the value from position i on ends with text that matches tail,
  // a pattern without "%".
  bool MatchesEnd(size_t i, std::string_view tail) const {
    if (v_.size() - i < tail.size()) return false;
    const std::string_view end = v_.substr(v_.size() - tail.size());
    for (size_t k = 0; k < tail.size(); ++k)
      if (tail[k] != '_' && !Same(tail[k], end[k])) return false;
    return true;
  }

  size_t Find(char c, size_t from) const {
    const void* hit = from < v_.size() ? std::memchr(v_.data() + from, c, v_.size() - from) : nullptr;
    return hit ? size_t(static_cast<const char*>(hit) - v_.data()) : v_.size();
  }

  // The first position from `from` on whose character matches c. Without
  // case a letter has two forms; each form's last hit is kept, so that no
  // part of the value is searched twice for the same "%".
  size_t NextOccurrence(char c, size_t from) {
    if (!fold_ || !IsAsciiLetter(c)) return Find(c, from);
    const char upper = FoldAscii(c), lower = char(upper + 32);
    if (!upperKnown_ || upperHit_ < from) upperHit_ = Find(upper, from), upperKnown_ = true;
    if (!lowerKnown_ || lowerHit_ < from) lowerHit_ = Find(lower, from), lowerKnown_ = true;
    return std::min(upperHit_, lowerHit_);
  }

  void ResetFinder() { upperKnown_ = lowerKnown_ = false; }

  std::string_view v_, p_;
  bool fold_;
  bool upperKnown_ = false, lowerKnown_ = false;
  size_t upperHit_ = 0, lowerHit_ = 0;
};

}  // namespace

bool MatchLikePattern(std::string_view value, std::string_view pattern, bool caseSensitive) {
  size_t trailing = 0;
  while (trailing < pattern.size() && pattern[pattern.size() - 1 - trailing] == '%') ++trailing;
  if (trailing >= 2) {
    if (value.empty()) return false;
    value.remove_suffix(1);
    pattern.remove_suffix(trailing - 1);
  }
  return WildcardMatcher(value, pattern, !caseSensitive).Match();
}

// --- Locale comparison ----------------------------------------------------------------

int CompareFieldStrings(std::string_view s1, std::string_view s2, bool partial, bool ignoreCase,
                        int length) {
  if (partial && length >= 0) {
    s1 = s1.substr(0, size_t(length));
    s2 = s2.substr(0, size_t(length));
  }
  const int result = ignoreCase ? AnsiCompareText(s1, s2) : AnsiCompareStr(s1, s2);
  return (result > 0) - (result < 0);
}

bool IsIntegerText(std::string_view text) {
  int32_t value;
  return TryStrToInt(text, value);
}

// --- Date and time literals -------------------------------------------------------------

namespace {

// Reads a literal from left to right. Blanks are spaces only.
class LiteralScanner {
 public:
  explicit LiteralScanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ == text_.size(); }

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  bool Take(char c) {
    if (pos_ == text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  // Digits after blanks, taken while the value so far is below 1000: "12345"
  // reads 1234 and leaves the 5. Reports how many digits were taken.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && value < 1000) {
      value = value * 10 + (text_[pos_] - '0');
      ++digits;
      ++pos_;
    }
    return digits > 0;
  }

  bool Number(int& value) {
    int digits;
    return Number(value, digits);
  }

  // An AM or PM marker: the locale's text or the English one, in any case.
  // Sets the hour offset 0 or 12.
  bool Marker(int& offset) {
    const auto& settings = FormatSettings();
    const std::pair<std::string_view, int> markers[] = {
        {settings.TimeAMString, 0}, {"AM", 0}, {settings.TimePMString, 12}, {"PM", 12}};
    for (const auto& [marker, hours] : markers) {
      if (!marker.empty() && AnsiSameText(text_.substr(pos_, marker.size()), marker)) {
        pos_ += marker.size();
        offset = hours;
        return true;
      }
    }
    return false;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// month/day/year; a year of one or two digits falls in the window of
// TwoDigitYearCenturyWindow years before the current year.
bool ScanDate(LiteralScanner& scan, TDateTime& value) {
  int month, day, year, yearDigits;
  if (!scan.Number(month)) return false;
  scan.SkipBlanks();
  if (!scan.Take('/') || !scan.Number(day)) return false;
  scan.SkipBlanks();
  if (!scan.Take('/') || !scan.Number(year, yearDigits)) return false;
  if (yearDigits <= 2) {
    const int windowStart = CurrentYear() - FormatSettings().TwoDigitYearCenturyWindow;
    year += windowStart / 100 * 100;
    if (year < windowStart) year += 100;
  }
  return TryEncodeDate(year, month, day, value);
}

// [marker] hour[:minutes[:seconds[<decimal separator>milliseconds]]] [marker]
bool ScanTime(LiteralScanner& scan, TDateTime& value) {
  int offset = -1;
  scan.SkipBlanks();
  if (scan.Marker(offset)) scan.SkipBlanks();
  int hour, minutes = 0, seconds = 0, milliseconds = 0;
  if (!scan.Number(hour)) return false;
  if (scan.Take(':') && !scan.Number(minutes)) return false;
  if (scan.Take(':') && !scan.Number(seconds)) return false;
  if (scan.Take(FormatSettings().DecimalSeparator) && !scan.Number(milliseconds)) return false;
  if (offset < 0) {
    scan.SkipBlanks();
    scan.Marker(offset);
  }
  if (offset >= 0) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + offset;
  }
  scan.SkipBlanks();
  return TryEncodeTime(hour, minutes, seconds, milliseconds, value);
}

}  // namespace

bool TextToDate(std::string_view text, TDateTime& value) {
  LiteralScanner scan(text);
  return ScanDate(scan, value) && scan.AtEnd();
}

bool TextToTime(std::string_view text, TDateTime& value) {
  LiteralScanner scan(text);
  return ScanTime(scan, value) && scan.AtEnd();
}

bool TextToDateTime(std::string_view text, TDateTime& value) {
  LiteralScanner dateFirst(text);
  TDateTime date, time;
  if (ScanDate(dateFirst, date)) {
    if (dateFirst.AtEnd()) {
      value = date;
      return true;
    }
    // Whatever follows the time is not examined.
    if (ScanTime(dateFirst, time)) {
      value = date >= 0 ? date + time : date - time;
      return true;
    }
  }
  LiteralScanner timeOnly(text);
  if (ScanTime(timeOnly, time) && timeOnly.AtEnd()) {
    value = time;
    return true;
  }
  return false;
}
