// Text: 8-bit strings in Windows-1252, UTF-16 at the system boundaries, and
// the conversions, comparisons and formatting that every subsystem shares.
//
// A String is a byte string: each char is one Windows-1252 character. Indexes
// taken by the helpers below are 0-based unless a name says otherwise
// (Copy and Pos keep the 1-based positions that stored formats and messages
// are described with).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

using String = std::string;
using AnsiString = std::string;
using WideString = std::u16string;

// --- Conversions between Windows-1252 and UTF-16 / UTF-8 -------------------
WideString AnsiToWide(std::string_view s);
// Characters without a Windows-1252 form become '?'.
String WideToAnsi(std::u16string_view s);
String AnsiToUtf8(std::string_view s);
String Utf8ToAnsi(std::string_view s);
// Malformed UTF-8 becomes U+FFFD; a lone surrogate becomes U+FFFD in UTF-8.
WideString Utf8ToWide(std::string_view s);
String WideToUtf8(std::u16string_view s);

// --- Case mapping and comparison -------------------------------------------
// UpperCase/LowerCase/CompareText touch ASCII letters only. The Ansi* forms
// follow the user's locale: by default the Windows-1252 letter tables, and
// under Windows the system's own, replaceable by tests through TextHooks.
String UpperCase(std::string_view s);
String LowerCase(std::string_view s);
int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

struct TTextHooks {
  // Returns <0, 0 or >0 like strcmp.
  std::function<int(std::string_view, std::string_view, bool ignoreCase)> Compare;
  std::function<char(char)> Upper;
  std::function<char(char)> Lower;
};
// Installs hooks; members left empty keep the default behaviour. Returns the
// previous hooks so that a test can put them back.
TTextHooks SetTextHooks(TTextHooks hooks);
const TTextHooks& TextHooks();

String AnsiUpperCase(std::string_view s);
String AnsiLowerCase(std::string_view s);
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);
bool AnsiSameStr(std::string_view a, std::string_view b);

// --- Small string helpers --------------------------------------------------
String Trim(std::string_view s);       // drops bytes <= ' ' at both ends
String TrimLeft(std::string_view s);
String TrimRight(std::string_view s);
// 1-based substring; out-of-range positions and counts are clamped.
String Copy(std::string_view s, int64_t index1, int64_t count);
// 1-based position of sub in s, 0 when absent.
int64_t Pos(std::string_view sub, std::string_view s);
String QuotedStr(std::string_view s, char quote = '\'');
String StringOfChar(char c, size_t count);
enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
String StringReplace(std::string_view s, std::string_view from, std::string_view to, unsigned flags);

// --- Integers ----------------------------------------------------------------
String IntToStr(int64_t v);
String UIntToStr(uint64_t v);
String IntToHex(uint64_t v, int digits);
// Accepts optional sign, decimal digits or '$'/0x hex; surrounding blanks are
// allowed. Raises EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t def);
int64_t StrToInt64Def(std::string_view s, int64_t def);
bool TryStrToInt(std::string_view s, int32_t& v);
bool TryStrToInt64(std::string_view s, int64_t& v);

// --- Format ----------------------------------------------------------------
// One argument of Format: integers, floats, strings and pointers.
class FormatArg {
 public:
  enum class Kind { Int, UInt, Float, Str, Ptr };
  FormatArg(int v) : kind_(Kind::Int), i_(v) {}
  FormatArg(long v) : kind_(Kind::Int), i_(v) {}
  FormatArg(long long v) : kind_(Kind::Int), i_(v) {}
  FormatArg(unsigned v) : kind_(Kind::UInt), u_(v) {}
  FormatArg(unsigned long v) : kind_(Kind::UInt), u_(v) {}
  FormatArg(unsigned long long v) : kind_(Kind::UInt), u_(v) {}
  FormatArg(double v) : kind_(Kind::Float), f_(v) {}
  FormatArg(const char* v) : kind_(Kind::Str), s_(v ? v : "") {}
  FormatArg(std::string_view v) : kind_(Kind::Str), s_(v) {}
  FormatArg(const String& v) : kind_(Kind::Str), s_(v) {}
  FormatArg(const void* v) : kind_(Kind::Ptr), p_(v) {}

  Kind kind() const { return kind_; }
  int64_t AsInt() const { return kind_ == Kind::UInt ? int64_t(u_) : i_; }
  uint64_t AsUInt() const { return kind_ == Kind::Int ? uint64_t(i_) : u_; }
  double AsFloat() const { return f_; }
  std::string_view AsStr() const { return s_; }
  const void* AsPtr() const { return p_; }

 private:
  Kind kind_;
  int64_t i_ = 0;
  uint64_t u_ = 0;
  double f_ = 0;
  std::string_view s_;
  const void* p_ = nullptr;
};

// The conversions %d %u %x %X %s %f %g %e %n %m %p and %%, with
// "[index:][-][width][.precision]" and '*' for width or precision.
// %.3u pads with zeros to three digits; %x takes an integer. A mismatch
// between a conversion and its argument, or a missing argument, raises
// EConvertError with the message "Format '%s' invalid or incompatible with
// argument".
String Format(std::string_view fmt, std::initializer_list<FormatArg> args);
