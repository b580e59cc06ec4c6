#include "archive/ZAStrFunc.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <memory>
#include <vector>

#include "platform/OsFiles.h"

// --- Character tables ------------------------------------------------------

namespace {

struct CharTables {
  // equal[a] has bit b set when a and b match without regard to case.
  std::array<std::array<uint64_t, 4>, 256> equal{};
};

bool LocaleRanksArePermutation() {
  std::array<bool, 256> seen{};
  for (int a = 0; a < 256; ++a) {
    const char ca = char(a);
    int rank = 0;
    for (int b = 0; b < 256; ++b) {
      const char cb = char(b);
      if (AnsiCompareStr(std::string_view(&cb, 1), std::string_view(&ca, 1)) < 0) ++rank;
    }
    if (seen[rank]) return false;
    seen[rank] = true;
  }
  return true;
}

CharTables BuildCharTables() {
  CharTables t;
  const bool byUpperCase = LocaleRanksArePermutation();
  std::array<char, 256> upper{};
  for (int c = 0; c < 256; ++c) {
    const char ch = char(c);
    upper[c] = AnsiUpperCase(std::string_view(&ch, 1))[0];
  }
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const char ca = char(a), cb = char(b);
      const bool same = a == b || (byUpperCase
                                       ? upper[a] == upper[b]
                                       : AnsiCompareText(std::string_view(&ca, 1),
                                                         std::string_view(&cb, 1)) == 0);
      if (same) t.equal[a][b / 64] |= uint64_t(1) << (b % 64);
    }
  }
  return t;
}

const CharTables& Tables() {
  static const std::unique_ptr<CharTables> tables = std::make_unique<CharTables>(BuildCharTables());
  return *tables;
}

}  // namespace

bool ZACharsMatch(char a, char b) {
  if (a == b) return true;
  const uint8_t ua = uint8_t(a), ub = uint8_t(b);
  return (Tables().equal[ua][ub / 64] >> (ub % 64)) & 1;
}

// --- Masks -------------------------------------------------------------------

// The matcher walks name and mask from the left: '*' tries the rest of the
// mask at every remaining position of the name except past its end, so a
// trailing "*" matches an empty rest but "**" does not. Evaluated column by
// column from the end of the mask, which keeps it linear in name x mask
// whatever the mask holds.
bool MatchesWildcard(std::string_view name, std::string_view mask, bool ignoreCase) {
  if (mask == "*.*") return true;
  const size_t n = name.size(), m = mask.size();
  // next[i]: the rest of the mask after the current character matches name[i..].
  std::vector<char> next(n + 1), cur(n + 1);
  for (size_t i = 0; i <= n; ++i) next[i] = i == n;  // empty mask
  for (size_t j = m; j-- > 0;) {
    const char mc = mask[j];
    if (j == m - 1 && mc == '*') {
      std::fill(cur.begin(), cur.end(), 1);
    } else {
      cur[n] = 0;  // name used up, mask not
      bool anyLater = false;
      for (size_t i = n; i-- > 0;) {
        if (mc == '*') {
          anyLater = anyLater || next[i];
          cur[i] = anyLater;
        } else if (mc == '?') {
          cur[i] = next[i + 1];
        } else {
          const bool same = ignoreCase ? ZACharsMatch(name[i], mc) : name[i] == mc;
          cur[i] = same && next[i + 1];
        }
      }
    }
    std::swap(cur, next);
  }
  return next[0];
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask.empty()) return false;
  String m(mask);
  String nm(name);
  const size_t star = m.find("*.*");
  if (star != String::npos) m.replace(star, 3, "*");
  const bool noExtension = m.back() == '.';
  if (noExtension) {
    m.pop_back();
    if (!nm.empty() && nm.back() == '.') nm.pop_back();
  }
  if (!MatchesWildcard(nm, m, true)) return false;
  if (!noExtension) return true;
  const String ext = ExtractFileExt(nm);
  return ext.empty() || ext == ".";
}

// --- Paths ---------------------------------------------------------------------

namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

bool HasDrive(std::string_view s) {
  return s.size() >= 2 && s[1] == ':' &&
         ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

bool IsUnc(std::string_view s) { return s.size() >= 2 && IsSep(s[0]) && IsSep(s[1]); }

// Length of the root: "C:\", "\\server\share\", "\" or "" (relative).
size_t RootLength(std::string_view s) {
  if (HasDrive(s)) return s.size() > 2 && IsSep(s[2]) ? 3 : 2;
  if (IsUnc(s)) {
    size_t i = 2;
    for (int part = 0; part < 2 && i < s.size(); ++part) {
      while (i < s.size() && !IsSep(s[i])) ++i;
      if (i < s.size()) ++i;
    }
    return i;
  }
  return !s.empty() && IsSep(s[0]) ? 1 : 0;
}

String NormalizeRoot(std::string_view root) {
  String r(root);
  for (char& c : r)
    if (IsSep(c)) c = PathDelim;
  if (r.size() == 2 && HasDrive(r)) r += PathDelim;  // "C:x" taken as "C:\x"
  if (!r.empty() && !IsSep(r.back())) r += PathDelim;
  return r;
}

}  // namespace

String ZABackslashed(String name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

String ZAExpandFileName(std::string_view fileName, std::string_view baseFolder) {
  String path;
  if (RootLength(fileName) > 0) {
    path = fileName;
    if (IsSep(fileName[0]) && !IsUnc(fileName) && HasDrive(baseFolder))
      path = String(baseFolder.substr(0, 2)) + path;  // rooted: the base's drive
  } else {
    String base = baseFolder.empty() ? os::GetCurrentDir() : String(baseFolder);
    if (RootLength(base) == 0) base = ZAExpandFileName(base, os::GetCurrentDir());
    path = base + PathDelim + String(fileName);
  }
  const size_t rootLen = RootLength(path);
  std::vector<String> parts;
  size_t i = rootLen;
  while (i <= path.size()) {
    size_t j = i;
    while (j < path.size() && !IsSep(path[j])) ++j;
    const String part = path.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  String out = NormalizeRoot(std::string_view(path).substr(0, rootLen));
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) out += PathDelim;
    out += parts[k];
  }
  // A trailing separator of the input is kept: it marks a folder.
  if (!parts.empty() && !fileName.empty() && IsSep(fileName.back())) out += PathDelim;
  return out;
}

String StoredNameFor(std::string_view fileName, std::string_view baseFolder,
                     TZAStorePathMode storePath) {
  String full = ZAExpandFileName(fileName, baseFolder);
  if (!full.empty() && IsSep(full.back()) && full.size() > RootLength(full)) full.pop_back();
  if (!full.empty() && full.back() == '.') full.pop_back();

  String name;
  switch (storePath) {
    case spNoPath:
      name = ExtractFileName(full);
      break;
    case spRelativePath: {
      String base = ZAExpandFileName(baseFolder, "");
      if (!base.empty() && !IsSep(base.back())) base += PathDelim;
      const bool inside = full.size() > base.size() &&
                          AnsiSameText(std::string_view(full).substr(0, base.size()), base);
      name = inside ? full.substr(base.size()) : full;
      break;
    }
    case spFullPath:
    case spFullPathWithDrive:
      name = full;
      break;
  }
  if (storePath != spFullPathWithDrive) {
    if (HasDrive(name))
      name.erase(0, 2);
    else if (IsUnc(name))
      name.erase(0, name.find_first_of("\\/", 2));  // "\\server", the share stays
    if (!name.empty() && IsSep(name[0])) name.erase(0, 1);
  }
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

// --- OEM code page -----------------------------------------------------------------

namespace {

// Code page 437, bytes 0x80-0xFF, as UTF-16.
const char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1,
    0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393,
    0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6,
    0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

struct OemTables {
  std::array<char, 256> toAnsi{};
  std::array<char, 256> toOem{};
};

OemTables BuildOemTables() {
  OemTables t;
  for (int c = 0; c < 256; ++c) t.toAnsi[c] = t.toOem[c] = c < 0x80 ? char(c) : '?';
  for (int c = 0x80; c < 0x100; ++c) {
    const String ansi = WideToAnsi(std::u16string_view(&kCp437High[c - 0x80], 1));
    if (ansi.size() != 1 || ansi[0] == '?') continue;
    t.toAnsi[c] = ansi[0];
    t.toOem[uint8_t(ansi[0])] = char(c);
  }
  return t;
}

const OemTables& Oem() {
  static const OemTables tables = BuildOemTables();
  return tables;
}

String MapBytes(std::string_view s, const std::array<char, 256>& table) {
  String out(s);
  for (char& c : out) c = table[uint8_t(c)];
  return out;
}

}  // namespace

String ZAAnsiToOem(std::string_view s) { return MapBytes(s, Oem().toOem); }
String ZAOemToAnsi(std::string_view s) { return MapBytes(s, Oem().toAnsi); }

// --- DOS times -------------------------------------------------------------------

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = int64_t(yoe) + era * 400 + (m <= 2);
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// DOS dates cover 1980-01-01 00:00:00 to 2107-12-31 23:59:58.
constexpr uint32_t kDosMin = (0u << 25 | 1u << 21 | 1u << 16);
constexpr uint32_t kDosMax = (127u << 25 | 12u << 21 | 31u << 16 | 23u << 11 | 59u << 5 | 29u);

}  // namespace

uint32_t ZAUnixToDosDateTime(int64_t unixSeconds) {
  const int64_t local = unixSeconds + os::LocalOffsetSeconds(unixSeconds);
  const int64_t days = FloorDiv(local, 86400);
  const int64_t secs = local - days * 86400;
  int64_t y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  if (y < 1980) return kDosMin;
  if (y > 2107) return kDosMax;
  const uint32_t date = uint32_t(y - 1980) << 9 | m << 5 | d;
  const uint32_t time = uint32_t(secs / 3600) << 11 | uint32_t(secs / 60 % 60) << 5 |
                        uint32_t(secs % 60 / 2);
  return date << 16 | time;
}

int64_t ZADosDateTimeToUnix(uint32_t dosDateTime) {
  const uint32_t date = dosDateTime >> 16, time = dosDateTime & 0xFFFF;
  // Out-of-range fields of foreign archives are clamped, not trusted.
  const unsigned month = std::clamp<unsigned>((date >> 5) & 15, 1, 12);
  const unsigned day = std::clamp<unsigned>(date & 31, 1, 31);
  const int64_t local = DaysFromCivil(1980 + (date >> 9), month, day) * 86400 +
                        std::min<unsigned>(time >> 11, 23) * 3600 +
                        std::min<unsigned>((time >> 5) & 63, 59) * 60 +
                        std::min<unsigned>((time & 31) * 2, 59);
  return local - os::LocalOffsetSeconds(local - os::LocalOffsetSeconds(local));
}

uint32_t ZANowDosDateTime() { return ZAUnixToDosDateTime(int64_t(std::time(nullptr))); }
