// Masks, stored names, OEM names, DOS times.
#include <gtest/gtest.h>

#include "archive/ZAStrFunc.h"
#include "platform/OsFiles.h"

TEST(ZAMasks, MaskRules) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  };
  const Case cases[] = {
      {"a.txt", "*.txt", true},
      {"b.TXT", "*.txt", true},
      {"a.txt.bak", "*.txt", false},
      {"readme", "readme.", true},
      {"readme.txt", "readme.", false},
      {"readme.", "readme.", true},
      {"noext", "*", true},
      {"noext", "*.*", true},
      {"a.b.c", "*.*", true},
      {"abc", "a?c", true},
      {"aXc", "a?c", true},
      {"ac", "a?c", false},
      {"abc", "", false},
      {"docs/b.txt", "docs/*.txt", true},
      {"x", "x*", true},   // a trailing star matches an empty rest
      {"x", "x**", false},  // but two of them need a character
      {"xy", "x**", true},
      {"\xC9T\xC9", "\xE9t\xE9", true},  // case folds beyond ASCII
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*a*a*a*c", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
  EXPECT_FALSE(MatchesWildcard("ABC", "abc", false));
  EXPECT_TRUE(MatchesWildcard("ABC", "abc", true));
}

TEST(ZAMasks, LongNamesStayLinear) {
  const String name(20000, 'a');
  const String mask = "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
  EXPECT_FALSE(MatchesMask(name, mask));
}

TEST(ZAMasks, StoredNameFor) {
  struct Case {
    const char* file;
    const char* base;
    TZAStorePathMode mode;
    const char* stored;
  };
  const Case cases[] = {
      {"C:\\Data\\sub\\x.txt", "C:\\Data", spRelativePath, "sub/x.txt"},
      {"D:\\y.txt", "C:\\Data", spRelativePath, "y.txt"},
      {"sub\\x.txt", "C:\\Data", spRelativePath, "sub/x.txt"},
      {"..\\up.txt", "C:\\Data", spRelativePath, "up.txt"},
      {"C:\\Data\\sub\\x.txt", "C:\\Data", spNoPath, "x.txt"},
      {"C:\\Data\\sub\\x.txt", "C:\\Data", spFullPath, "Data/sub/x.txt"},
      {"C:\\Data\\sub\\x.txt", "C:\\Data", spFullPathWithDrive, "C:/Data/sub/x.txt"},
      {"\\\\srv\\share\\f.txt", "C:\\Data", spFullPath, "share/f.txt"},
      {"C:\\Data\\sub\\", "C:\\Data", spRelativePath, "sub"},
      {"C:\\Data\\sub\\.\\x.", "C:\\Data", spRelativePath, "sub/x"},
      {"c:\\data\\X.TXT", "C:\\Data", spRelativePath, "X.TXT"},
  };
  for (const Case& c : cases) EXPECT_EQ(StoredNameFor(c.file, c.base, c.mode), c.stored) << c.file;
}

TEST(ZAMasks, OemNamesRoundTrip) {
  const String ansi = "R\xE9sum\xE9 \xC7\xE0 \xFC\xF1";
  EXPECT_EQ(ZAAnsiToOem(ansi), "R\x82sum\x82 \x80\x85 \x81\xA4");
  EXPECT_EQ(ZAOemToAnsi(ZAAnsiToOem(ansi)), ansi);
  EXPECT_EQ(ZAOemToAnsi("\xC9"), "?");  // box drawing has no Windows-1252 form
}

TEST(ZAMasks, DosTimesRoundTripAndClamp) {
  // 2021-11-05 14:30:08 local, whatever the zone.
  const uint32_t dos = uint32_t(41) << 25 | 11u << 21 | 5u << 16 | 14u << 11 | 30u << 5 | 4u;
  EXPECT_EQ(ZAUnixToDosDateTime(ZADosDateTimeToUnix(dos)), dos);
  EXPECT_EQ(ZAUnixToDosDateTime(0), uint32_t(1u << 21 | 1u << 16));  // before 1980
  const int64_t odd = ZADosDateTimeToUnix(dos) + 1;                   // two-second steps
  EXPECT_EQ(ZAUnixToDosDateTime(odd), dos);
}
