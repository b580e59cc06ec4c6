// The services every module of the skinned library uses: its exception
// class, the repository of replaceable resource strings grouped by product,
// the flags that describe the running Windows version, text conversions
// between code pages, wide strings and variants, and read access to the
// locale's format settings. Bitmap pixel helpers live with the bitmaps.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Errors.h"
#include "platform/FormatSettings.h"
#include "platform/Interfaces.h"
#include "platform/Variant.h"

class TStream;

QE_DECLARE_EXCEPTION(EvdException, Exception);

// --- Resource strings -------------------------------------------------------------

// One replaceable text of a library: its own text, and the one shown now
// (a translation, or the original again).
struct TvdResourceString {
  explicit TvdResourceString(const char* original) : Original(original), Text(original) {}
  const char* const Original;
  String Text;
};

// Told when the texts of the repository are replaced or restored.
class IvdResourceStringsListener : public IInterface {
 public:
  static constexpr TGUID IID = StringToGUID("{2E98333B-1A56-4599-8A85-C2540E182032}");
  virtual void TranslationChanged() = 0;
};

// One product's (one module's) strings, by name.
class TvdProductResourceStrings {
 public:
  using TInitProc = std::function<void(TvdProductResourceStrings& product)>;
  // Calls init, when given, to add the product's strings.
  TvdProductResourceStrings(String name, const TInitProc& init);

  const String& Name() const { return name_; }
  void AddString(const String& name, TvdResourceString* text);
  int Count() const { return int(names_.size()); }
  const String& Names(int index) const { return names_.at(size_t(index)).first; }
  TvdResourceString* Strings(int index) const { return names_.at(size_t(index)).second; }
  // By exact name; nullptr when absent.
  TvdResourceString* Find(std::string_view name) const;

 private:
  String name_;
  // Kept sorted by name.
  std::vector<std::pair<String, TvdResourceString*>> names_;
};

class TvdResourceStringsRepository {
 public:
  // The same name may be registered twice; each registration is a product.
  void RegisterProduct(const String& name, const TvdProductResourceStrings::TInitProc& init);
  // Frees the first product with exactly this name (letter case counts).
  void UnregisterProduct(const String& name);
  int IndexOfProduct(std::string_view name) const;
  int ProductCount() const { return int(products_.size()); }
  TvdProductResourceStrings& Products(int index) const { return *products_.at(size_t(index)); }

  // Listeners are not owned; one removes itself before it goes.
  void AddListener(IvdResourceStringsListener* listener) { listeners_.Add(listener); }
  void RemoveListener(IvdResourceStringsListener* listener) { listeners_.Remove(listener); }
  int ListenerCount() const { return listeners_.Count(); }

  // Shows text for every string of that name (all products); false when
  // none has it. Listeners are told once.
  bool ReplaceString(std::string_view name, const String& text);
  // Every string shows its own text again; listeners are told.
  void RestoreStrings();

 private:
  void NotifyListeners();

  std::vector<std::unique_ptr<TvdProductResourceStrings>> products_;
  TInterfaceList<IvdResourceStringsListener> listeners_;
};

// The process-wide repository, made on first use, freed by vdCoreFinalize.
TvdResourceStringsRepository& vdResStringRepositoryInstance();

// --- Windows version flags ----------------------------------------------------------

// What the system reports about itself.
struct TvdOSVersion {
  uint32_t PlatformId = 2;  // 1 the 95 family, 2 the NT family
  uint32_t MajorVersion = 0;
  uint32_t MinorVersion = 0;
  bool Wow64 = false;  // a 32-bit process on 64-bit Windows
};

// The flags the theme, DWM, bitmap and painter code test, computed once.
struct TvdOSFlags {
  TvdOSVersion Version;
  bool OS9xFamily = false, Win95 = false, Win98 = false, WinMe = false;
  bool NTFamily = false, Win2000 = false, Win2000Up = false, WinXP = false, WinXPUp = false;
  bool Win2000OrXP = false, Vista = false, VistaUp = false, Win7 = false, Wow64 = false;
};

TvdOSFlags vdComputeOSFlags(const TvdOSVersion& version);
// The running system's version (RtlGetVersion and IsWow64Process on Windows;
// an NT 10.0 system elsewhere).
TvdOSVersion vdReadOSVersion();
const TvdOSFlags& vdOSFlags();
// Replaces the flags (tests); returns the previous ones.
TvdOSFlags vdSetOSFlags(const TvdOSFlags& flags);

inline bool vdOS9xFamily() { return vdOSFlags().OS9xFamily; }
inline bool vdOSWin95() { return vdOSFlags().Win95; }
inline bool vdOSWin98() { return vdOSFlags().Win98; }
inline bool vdOSWinMe() { return vdOSFlags().WinMe; }
inline bool vdOSNTFamily() { return vdOSFlags().NTFamily; }
inline bool vdOSWin2000() { return vdOSFlags().Win2000; }
inline bool vdOSWin2000Up() { return vdOSFlags().Win2000Up; }
inline bool vdOSWinXP() { return vdOSFlags().WinXP; }
inline bool vdOSWinXPUp() { return vdOSFlags().WinXPUp; }
inline bool vdOSWin2000OrXP() { return vdOSFlags().Win2000OrXP; }
inline bool vdOSVista() { return vdOSFlags().Vista; }
inline bool vdOSVistaUp() { return vdOSFlags().VistaUp; }
inline bool vdOSWin7() { return vdOSFlags().Win7; }
inline bool vdOSWow64() { return vdOSFlags().Wow64; }
inline uint32_t vdWin32MajorVersion() { return vdOSFlags().Version.MajorVersion; }

// --- Text conversions -----------------------------------------------------------------

using TvdCharSet = std::bitset<256>;

inline constexpr int CP_UTF8_CODEPAGE = 65001;

// True for a lead byte of a double-byte character in the ANSI code page.
bool vdIsAnsiLeadByte(unsigned char c);
// Characters, a double-byte character of the ANSI code page counting once.
int vdAnsiCharCount(std::string_view text);
inline bool vdCharIsInSet(char c, const TvdCharSet& set) { return set.test(static_cast<unsigned char>(c)); }
// The code page of a double-byte or national font character set; 0 for the
// others (ANSI, default, symbol, OEM).
int vdCharsetToCodePage(int charset);
// byteCount < 0 converts the whole text; a count beyond the text is cut to
// it, so the conversion never reads past its input.
WideString vdMultiByteToWide(std::string_view text, int codePage, int byteCount = -1);
String vdWideToMultiByte(std::u16string_view text, int codePage, int charCount = -1);
inline WideString vdAnsiToWideString(std::string_view text, int codePage) { return vdMultiByteToWide(text, codePage); }
inline String vdWideToAnsiString(std::u16string_view text, int codePage) { return vdWideToMultiByte(text, codePage); }
// The library's strings are single-byte ANSI: the code page is not used.
inline String vdDecodeAnsiString(std::string_view text, int) { return String(text); }
inline String vdEncodeAnsiString(std::string_view text, int) { return String(text); }
// A one-dimensional array: its raw bytes; a string: its text; else VarToStr.
String vdVariantToAnsiString(const Variant& v);
inline String vdAnyVariantToAnsiString(const Variant& v) { return vdVariantToAnsiString(v); }
WideString vdVariantToWideString(const Variant& v);
bool vdVariantIsTextOrBytes(const Variant& v);

// --- Locale and format settings -------------------------------------------------------

// The locale's text for an information type; def when the system has none.
String vdLocaleInfoText(uint32_t locale, uint32_t infoType, const String& def);
// 0 Sunday .. 6 Saturday, from the thread locale's first day of the week
// (read on every call).
int vdWeekStartDay();
// The same from the locale's own value text ("0" Monday .. "6" Sunday).
int vdWeekStartDayFromLocaleValue(std::string_view firstDayOfWeek);

// The process-wide format settings. The first argument is a place for a
// per-call settings record and is not used.
String vdFmtLongDayName(const void*, int index);  // 1 = Sunday
String vdFmtShortDayName(const void*, int index);
String vdFmtLongMonthName(const void*, int index);  // 1 = January
String vdFmtShortMonthName(const void*, int index);
int vdFmtCurrencyDecimals(const void*);
int vdFmtCurrencyFormat(const void*);
int vdFmtNegCurrFormat(const void*);
String vdFmtCurrencyString(const void*);
char vdFmtDateSeparator(const void*);
char vdFmtDecimalSeparator(const void*);
char vdFmtListSeparator(const void*);
char vdFmtThousandSeparator(const void*);
char vdFmtTimeSeparator(const void*);
String vdFmtLongDateFormat(const void*);
String vdFmtShortDateFormat(const void*);
String vdFmtLongTimeFormat(const void*);
String vdFmtShortTimeFormat(const void*);
String vdFmtTimeAMString(const void*);
String vdFmtTimePMString(const void*);
void vdFmtSetShortDateFormat(const void*, const String& value);

// --- Memory, streams and assertions ---------------------------------------------------

void vdClearMemory(void* address, size_t count);
void vdMoveMemory(const void* source, void* target, size_t count);
// 4 little-endian bytes.
void vdStreamWriteInt32(TStream& stream, int32_t value);
// Marks a condition that must hold. Debug builds report a failed one (to
// the debugger's output on Windows, standard error elsewhere); release
// builds do nothing. vdSoftAssertHandler replaces the report (tests).
void vdSoftAssert(bool condition, std::string_view message);
using TvdSoftAssertHandler = std::function<void(std::string_view message)>;
TvdSoftAssertHandler vdSetSoftAssertHandler(TvdSoftAssertHandler handler);

// --- Module ------------------------------------------------------------------------------

// Start-up computes the version flags; shut-down frees the repository and
// the products still registered in it.
void vdCoreInitialize();
void vdCoreFinalize();
