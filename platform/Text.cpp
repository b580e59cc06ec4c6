// Windows-1252 text helpers and Format.
#include "Text.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "Errors.h"
#include "FormatSettings.h"
#include "Numbers.h"

namespace {

// Windows-1252 bytes 0x80-0x9F map to these code points; 0 marks the five
// unassigned bytes, which map to themselves (as Windows does).
const char16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ByteToWide(unsigned char c) {
  if (c >= 0x80 && c < 0xA0 && kHigh1252[c - 0x80] != 0) return kHigh1252[c - 0x80];
  return c;
}

int WideToByte(char32_t w) {
  if (w < 0x80 || (w >= 0xA0 && w <= 0xFF)) return int(w);
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == w || (kHigh1252[i] == 0 && w == char32_t(0x80 + i))) return 0x80 + i;
  return -1;
}

// Default locale letter tables: Windows-1252 letters, including the accented
// ones and the few in 0x80-0x9F.
char DefaultUpper(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return char(c - 32);
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return char(c - 32);
  switch (c) {
    case 0x9A: return char(0x8A);
    case 0x9C: return char(0x8C);
    case 0x9E: return char(0x8E);
    case 0xFF: return char(0x9F);
  }
  return ch;
}

char DefaultLower(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'A' && c <= 'Z') return char(c + 32);
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return char(c + 32);
  switch (c) {
    case 0x8A: return char(0x9A);
    case 0x8C: return char(0x9C);
    case 0x8E: return char(0x9E);
    case 0x9F: return char(0xFF);
  }
  return ch;
}

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TTextHooks& Hooks() {
  static TTextHooks hooks;
  return hooks;
}

}  // namespace

WideString AnsiToWide(std::string_view s) {
  WideString w;
  w.reserve(s.size());
  for (char c : s) w.push_back(ByteToWide(static_cast<unsigned char>(c)));
  return w;
}

String WideToAnsi(std::u16string_view s) {
  String out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t w = s[i];
    if (w >= 0xD800 && w < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      ++i;  // a surrogate pair is never in Windows-1252
      out.push_back('?');
      continue;
    }
    int b = WideToByte(w);
    out.push_back(b < 0 ? '?' : char(b));
  }
  return out;
}

String WideToUtf8(std::u16string_view s) {
  String out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t w = s[i];
    if (w >= 0xD800 && w < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      w = 0x10000 + ((w - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (w >= 0xD800 && w < 0xE000) {
      w = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    if (w < 0x80) {
      out.push_back(char(w));
    } else if (w < 0x800) {
      out.push_back(char(0xC0 | (w >> 6)));
      out.push_back(char(0x80 | (w & 0x3F)));
    } else if (w < 0x10000) {
      out.push_back(char(0xE0 | (w >> 12)));
      out.push_back(char(0x80 | ((w >> 6) & 0x3F)));
      out.push_back(char(0x80 | (w & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (w >> 18)));
      out.push_back(char(0x80 | ((w >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((w >> 6) & 0x3F)));
      out.push_back(char(0x80 | (w & 0x3F)));
    }
  }
  return out;
}

WideString Utf8ToWide(std::string_view s) {
  WideString out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t w;
    size_t len;
    if (c < 0x80) { w = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { w = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { w = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { w = c & 0x07; len = 4; }
    else { out.push_back(0xFFFD); ++i; continue; }
    if (i + len > s.size()) { out.push_back(0xFFFD); break; }
    bool ok = true;
    for (size_t k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) { ok = false; break; }
      w = (w << 6) | (cc & 0x3F);
    }
    if (!ok || w > 0x10FFFF) { out.push_back(0xFFFD); ++i; continue; }
    if (w >= 0x10000) {
      out.push_back(char16_t(0xD800 + ((w - 0x10000) >> 10)));
      out.push_back(char16_t(0xDC00 + ((w - 0x10000) & 0x3FF)));
    } else {
      out.push_back(char16_t(w));
    }
    i += len;
  }
  return out;
}

String AnsiToUtf8(std::string_view s) { return WideToUtf8(AnsiToWide(s)); }

String Utf8ToAnsi(std::string_view s) { return WideToAnsi(Utf8ToWide(s)); }

String UpperCase(std::string_view s) {
  String r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
  return r;
}

String LowerCase(std::string_view s) {
  String r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  return r;
}

int CompareStr(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

TTextHooks SetTextHooks(TTextHooks hooks) {
  TTextHooks old = Hooks();
  Hooks() = std::move(hooks);
  return old;
}

const TTextHooks& TextHooks() { return Hooks(); }

String AnsiUpperCase(std::string_view s) {
  const auto& up = Hooks().Upper;
  String r(s);
  for (char& c : r) c = up ? up(c) : DefaultUpper(c);
  return r;
}

String AnsiLowerCase(std::string_view s) {
  const auto& low = Hooks().Lower;
  String r(s);
  for (char& c : r) c = low ? low(c) : DefaultLower(c);
  return r;
}

int AnsiCompareStr(std::string_view a, std::string_view b) {
  if (Hooks().Compare) return Sign(Hooks().Compare(a, b, false));
  return CompareStr(a, b);
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  if (Hooks().Compare) return Sign(Hooks().Compare(a, b, true));
  return CompareStr(AnsiUpperCase(a), AnsiUpperCase(b));
}

bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }
bool AnsiSameStr(std::string_view a, std::string_view b) { return AnsiCompareStr(a, b) == 0; }

String TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
  return String(s.substr(i));
}

String TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ') --n;
  return String(s.substr(0, n));
}

String Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

String Copy(std::string_view s, int64_t index1, int64_t count) {
  if (index1 < 1) index1 = 1;
  if (count <= 0 || index1 > int64_t(s.size())) return String();
  size_t start = size_t(index1 - 1);
  return String(s.substr(start, size_t(std::min<int64_t>(count, int64_t(s.size() - start)))));
}

int64_t Pos(std::string_view sub, std::string_view s) {
  if (sub.empty()) return 0;
  size_t p = s.find(sub);
  return p == std::string_view::npos ? 0 : int64_t(p) + 1;
}

String QuotedStr(std::string_view s, char quote) {
  String r(1, quote);
  for (char c : s) {
    r.push_back(c);
    if (c == quote) r.push_back(c);
  }
  r.push_back(quote);
  return r;
}

String StringOfChar(char c, size_t count) { return String(count, c); }

String StringReplace(std::string_view s, std::string_view from, std::string_view to, unsigned flags) {
  if (from.empty()) return String(s);
  String hay = (flags & rfIgnoreCase) ? AnsiUpperCase(s) : String(s);
  String needle = (flags & rfIgnoreCase) ? AnsiUpperCase(from) : String(from);
  String out;
  size_t pos = 0;
  while (pos <= s.size()) {
    size_t hit = hay.find(needle, pos);
    if (hit == String::npos) break;
    out.append(s.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
    if (!(flags & rfReplaceAll)) break;
  }
  if (pos <= s.size()) out.append(s.substr(pos));
  return out;
}

String IntToStr(int64_t v) { return std::to_string(v); }
String UIntToStr(uint64_t v) { return std::to_string(v); }

String IntToHex(uint64_t v, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", digits < 0 ? 0 : (digits > 16 ? 16 : digits),
                static_cast<unsigned long long>(v));
  return buf;
}

bool TryStrToInt64(std::string_view s, int64_t& v) {
  size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  while (n > i && s[n - 1] == ' ') --n;
  bool neg = false;
  if (i < n && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  int base = 10;
  if (i < n && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= n) return false;
  uint64_t acc = 0;
  const uint64_t limit = neg ? uint64_t(1) << 63 : (base == 16 ? UINT64_MAX : uint64_t(INT64_MAX));
  for (; i < n; ++i) {
    char c = s[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    if (acc > (limit - d) / base) return false;
    acc = acc * base + d;
  }
  v = neg ? int64_t(0 - acc) : int64_t(acc);
  return true;
}

bool TryStrToInt(std::string_view s, int32_t& v) {
  int64_t w;
  if (!TryStrToInt64(s, w)) return false;
  // Hex literals may spell a negative 32-bit value ($FFFFFFFF is -1).
  bool hex = s.find('$') != std::string_view::npos || s.find('x') != std::string_view::npos ||
             s.find('X') != std::string_view::npos;
  if (hex && w >= 0 && w <= int64_t(UINT32_MAX)) {
    v = int32_t(uint32_t(w));
    return true;
  }
  if (w < INT32_MIN || w > INT32_MAX) return false;
  v = int32_t(w);
  return true;
}

int32_t StrToInt(std::string_view s) {
  int32_t v;
  if (!TryStrToInt(s, v)) throw EConvertError("'%s' is not a valid integer value", {s});
  return v;
}

int64_t StrToInt64(std::string_view s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) throw EConvertError("'%s' is not a valid integer value", {s});
  return v;
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
  int32_t v;
  return TryStrToInt(s, v) ? v : def;
}

int64_t StrToInt64Def(std::string_view s, int64_t def) {
  int64_t v;
  return TryStrToInt64(s, v) ? v : def;
}

// --- Format ----------------------------------------------------------------

namespace {

[[noreturn]] void FormatError(std::string_view fmt) {
  // Built by hand: Format itself must not recurse here.
  throw EConvertError("Format '" + String(fmt) + "' invalid or incompatible with argument");
}

String FormatFloatConv(char conv, double v, int prec, const TFormatSettings& fs) {
  switch (conv) {
    case 'f': return FloatToStrF(v, ffFixed, 15, prec < 0 ? 2 : prec, fs);
    case 'n': return FloatToStrF(v, ffNumber, 15, prec < 0 ? 2 : prec, fs);
    case 'm': return FloatToStrF(v, ffCurrency, 15, prec < 0 ? fs.CurrencyDecimals : prec, fs);
    case 'e': return FloatToStrF(v, ffExponent, prec < 0 ? 15 : prec, 3, fs);
    default: return FloatToStrF(v, ffGeneral, prec < 0 ? 15 : prec, 0, fs);
  }
}

}  // namespace

String Format(std::string_view fmt, std::initializer_list<FormatArg> argList) {
  const FormatArg* args = argList.begin();
  const size_t argCount = argList.size();
  const TFormatSettings& fs = FormatSettings();
  String out;
  size_t next = 0;
  size_t i = 0;
  while (i < fmt.size()) {
    char c = fmt[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i >= fmt.size()) FormatError(fmt);
    if (fmt[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    // [index:][-][width][.prec]conv
    auto readNumber = [&](int& value) -> bool {
      if (i < fmt.size() && fmt[i] == '*') {
        ++i;
        if (next >= argCount ||
            (args[next].kind() != FormatArg::Kind::Int && args[next].kind() != FormatArg::Kind::UInt))
          FormatError(fmt);
        value = int(args[next++].AsInt());
        return true;
      }
      bool any = false;
      value = 0;
      while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
        value = std::min(value * 10 + (fmt[i++] - '0'), 100000);
        any = true;
      }
      return any;
    };
    size_t save = i;
    int number;
    if (fmt[i] != '*' && readNumber(number) && i < fmt.size() && fmt[i] == ':') {
      ++i;
      next = size_t(number);
    } else {
      i = save;
    }
    bool left = false;
    if (i < fmt.size() && fmt[i] == '-') {
      left = true;
      ++i;
    }
    int width = -1, prec = -1;
    if (!readNumber(width)) width = -1;
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      if (!readNumber(prec)) prec = 0;
    }
    if (i >= fmt.size()) FormatError(fmt);
    char conv = char(fmt[i++] | 0x20);  // conversions are case-insensitive
    if (next >= argCount) FormatError(fmt);
    const FormatArg& a = args[next++];
    using K = FormatArg::Kind;
    String piece;
    switch (conv) {
      case 'd':
      case 'u': {
        if (a.kind() != K::Int && a.kind() != K::UInt) FormatError(fmt);
        bool neg = conv == 'd' ? a.AsInt() < 0 : false;
        uint64_t mag = conv == 'd' ? (neg ? 0 - uint64_t(a.AsInt()) : uint64_t(a.AsInt()))
                                   : (a.kind() == K::Int ? uint64_t(uint32_t(a.AsInt())) : a.AsUInt());
        if (conv == 'u' && a.kind() == K::Int && a.AsInt() < INT32_MIN) mag = uint64_t(a.AsInt());
        piece = std::to_string(mag);
        if (prec >= 0 && int(piece.size()) < prec) piece.insert(0, size_t(prec) - piece.size(), '0');
        if (neg) piece.insert(0, "-");
        break;
      }
      case 'x': {
        if (a.kind() != K::Int && a.kind() != K::UInt) FormatError(fmt);
        uint64_t v = a.AsUInt();
        if (a.kind() == K::Int && a.AsInt() >= INT32_MIN && a.AsInt() <= INT32_MAX) v = uint32_t(a.AsInt());
        char buf[32];
        std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(v));
        piece = buf;
        if (prec >= 0 && int(piece.size()) < prec) piece.insert(0, size_t(prec) - piece.size(), '0');
        break;
      }
      case 's': {
        if (a.kind() != K::Str) FormatError(fmt);
        piece = String(a.AsStr());
        if (prec >= 0 && int(piece.size()) > prec) piece.resize(size_t(prec));
        break;
      }
      case 'f':
      case 'g':
      case 'e':
      case 'n':
      case 'm': {
        double v;
        if (a.kind() == K::Float) v = a.AsFloat();
        else FormatError(fmt);
        piece = FormatFloatConv(conv, v, prec, fs);
        break;
      }
      case 'p': {
        if (a.kind() != K::Ptr) FormatError(fmt);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%0*llX", int(sizeof(void*) * 2),
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(a.AsPtr())));
        piece = buf;
        break;
      }
      default:
        FormatError(fmt);
    }
    if (width > 0 && int(piece.size()) < width) {
      size_t pad = size_t(width) - piece.size();
      piece = left ? piece + String(pad, ' ') : String(pad, ' ') + piece;
    }
    out += piece;
  }
  return out;
}
