#include "vdCore.h"

#include <algorithm>
#include <cstring>

#include "platform/Streams.h"

namespace {

std::unique_ptr<TvdResourceStringsRepository>& Repository() {
  static std::unique_ptr<TvdResourceStringsRepository> instance;
  return instance;
}

TvdOSFlags& Flags() {
  static TvdOSFlags flags = vdComputeOSFlags(vdReadOSVersion());
  return flags;
}

TvdSoftAssertHandler& SoftAssertHandler() {
  static TvdSoftAssertHandler handler;
  return handler;
}

}  // namespace

// Reports a failed soft assertion where a developer sees it.
void vdReportSoftAssert(std::string_view message);

// --- Resource strings -------------------------------------------------------------

TvdProductResourceStrings::TvdProductResourceStrings(String name, const TInitProc& init) : name_(std::move(name)) {
  if (init) init(*this);
}

void TvdProductResourceStrings::AddString(const String& name, TvdResourceString* text) {
  auto at = std::upper_bound(names_.begin(), names_.end(), name,
                             [](const String& n, const auto& entry) { return n < entry.first; });
  names_.insert(at, {name, text});
}

TvdResourceString* TvdProductResourceStrings::Find(std::string_view name) const {
  auto at = std::lower_bound(names_.begin(), names_.end(), name,
                             [](const auto& entry, std::string_view n) { return entry.first < n; });
  return at != names_.end() && at->first == name ? at->second : nullptr;
}

void TvdResourceStringsRepository::RegisterProduct(const String& name,
                                                   const TvdProductResourceStrings::TInitProc& init) {
  products_.push_back(std::make_unique<TvdProductResourceStrings>(name, init));
}

void TvdResourceStringsRepository::UnregisterProduct(const String& name) {
  const int index = IndexOfProduct(name);
  if (index >= 0) products_.erase(products_.begin() + index);
}

int TvdResourceStringsRepository::IndexOfProduct(std::string_view name) const {
  for (size_t i = 0; i < products_.size(); ++i)
    if (products_[i]->Name() == name) return int(i);
  return -1;
}

bool TvdResourceStringsRepository::ReplaceString(std::string_view name, const String& text) {
  bool found = false;
  for (auto& product : products_)
    if (TvdResourceString* s = product->Find(name)) {
      s->Text = text;
      found = true;
    }
  if (found) NotifyListeners();
  return found;
}

void TvdResourceStringsRepository::RestoreStrings() {
  for (auto& product : products_)
    for (int i = 0; i < product->Count(); ++i) product->Strings(i)->Text = product->Strings(i)->Original;
  NotifyListeners();
}

void TvdResourceStringsRepository::NotifyListeners() {
  listeners_.ForEach([](IvdResourceStringsListener& l) { l.TranslationChanged(); });
}

TvdResourceStringsRepository& vdResStringRepositoryInstance() {
  auto& r = Repository();
  if (!r) r = std::make_unique<TvdResourceStringsRepository>();
  return *r;
}

// --- Version flags ------------------------------------------------------------------

TvdOSFlags vdComputeOSFlags(const TvdOSVersion& v) {
  TvdOSFlags f;
  f.Version = v;
  f.OS9xFamily = v.PlatformId == 1;
  f.Win95 = f.OS9xFamily && v.MinorVersion == 0;
  f.Win98 = f.OS9xFamily && v.MinorVersion == 10;
  f.WinMe = f.OS9xFamily && v.MinorVersion == 90;
  f.NTFamily = v.PlatformId == 2;
  f.Win2000 = f.NTFamily && v.MajorVersion == 5 && v.MinorVersion == 0;
  f.Win2000Up = f.NTFamily && v.MajorVersion >= 5;
  f.WinXP = f.NTFamily && v.MajorVersion == 5 && v.MinorVersion > 0;
  f.WinXPUp = f.NTFamily && v.MajorVersion >= 5 && !f.Win2000;
  f.Win2000OrXP = f.Win2000 || f.WinXP;
  f.Vista = f.NTFamily && v.MajorVersion == 6;
  f.VistaUp = f.NTFamily && v.MajorVersion >= 6;
  f.Win7 = f.NTFamily && v.MajorVersion == 6 && v.MinorVersion == 1;
  f.Wow64 = v.Wow64;
  return f;
}

const TvdOSFlags& vdOSFlags() { return Flags(); }

TvdOSFlags vdSetOSFlags(const TvdOSFlags& flags) {
  TvdOSFlags previous = Flags();
  Flags() = flags;
  return previous;
}

// --- Text conversions -----------------------------------------------------------------

int vdAnsiCharCount(std::string_view text) {
  int count = 0;
  for (size_t i = 0; i < text.size(); ++count)
    i += vdIsAnsiLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  return count;
}

int vdCharsetToCodePage(int charset) {
  static const struct {
    int charset, codePage;
  } kMap[] = {{128, 932},  {129, 949},  {130, 949},  {134, 936},  {136, 950},  {161, 1253}, {162, 1254},
              {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}};
  for (const auto& m : kMap)
    if (m.charset == charset) return m.codePage;
  return 0;
}

String vdVariantToAnsiString(const Variant& v) {
  if (VarArrayDimCount(v) == 1) {
    const size_t count = size_t(int64_t(VarArrayHighBound(v, 1)) - VarArrayLowBound(v, 1) + 1);
    return VarArrayToBytes(v).substr(0, count);
  }
  return VarToStr(v);
}

WideString vdVariantToWideString(const Variant& v) {
  if (VarIsStr(v)) return VarToWideStr(v);
  return vdMultiByteToWide(vdVariantToAnsiString(v), 0);
}

bool vdVariantIsTextOrBytes(const Variant& v) { return VarIsStr(v) || VarArrayDimCount(v) == 1; }

// --- Locale and format settings -------------------------------------------------------

namespace {
constexpr uint32_t kLocaleUserDefault = 0x0400;
constexpr uint32_t kLocaleSList = 0x000C;
}  // namespace

int vdWeekStartDayFromLocaleValue(std::string_view firstDayOfWeek) {
  // The locale counts from Monday (0); the library counts from Sunday.
  const int day = StrToIntDef(firstDayOfWeek, 0);
  return day < 0 || day > 6 ? 1 : (day + 1) % 7;
}

String vdFmtLongDayName(const void*, int index) { return FormatSettings().LongDayNames[(index - 1) % 7]; }
String vdFmtShortDayName(const void*, int index) { return FormatSettings().ShortDayNames[(index - 1) % 7]; }
String vdFmtLongMonthName(const void*, int index) { return FormatSettings().LongMonthNames[(index - 1) % 12]; }
String vdFmtShortMonthName(const void*, int index) { return FormatSettings().ShortMonthNames[(index - 1) % 12]; }
int vdFmtCurrencyDecimals(const void*) { return FormatSettings().CurrencyDecimals; }
int vdFmtCurrencyFormat(const void*) { return FormatSettings().CurrencyFormat; }
int vdFmtNegCurrFormat(const void*) { return FormatSettings().NegCurrFormat; }
String vdFmtCurrencyString(const void*) { return FormatSettings().CurrencyString; }
char vdFmtDateSeparator(const void*) { return FormatSettings().DateSeparator; }
char vdFmtDecimalSeparator(const void*) { return FormatSettings().DecimalSeparator; }
char vdFmtListSeparator(const void*) {
  const String s = vdLocaleInfoText(kLocaleUserDefault, kLocaleSList, ",");
  return s.empty() ? ',' : s[0];
}
char vdFmtThousandSeparator(const void*) { return FormatSettings().ThousandSeparator; }
char vdFmtTimeSeparator(const void*) { return FormatSettings().TimeSeparator; }
String vdFmtLongDateFormat(const void*) { return FormatSettings().LongDateFormat; }
String vdFmtShortDateFormat(const void*) { return FormatSettings().ShortDateFormat; }
String vdFmtLongTimeFormat(const void*) { return FormatSettings().LongTimeFormat; }
String vdFmtShortTimeFormat(const void*) { return FormatSettings().ShortTimeFormat; }
String vdFmtTimeAMString(const void*) { return FormatSettings().TimeAMString; }
String vdFmtTimePMString(const void*) { return FormatSettings().TimePMString; }
void vdFmtSetShortDateFormat(const void*, const String& value) { FormatSettings().ShortDateFormat = value; }

// --- Memory, streams and assertions ---------------------------------------------------

void vdClearMemory(void* address, size_t count) {
  if (count) std::memset(address, 0, count);
}

void vdMoveMemory(const void* source, void* target, size_t count) {
  if (count) std::memmove(target, source, count);
}

void vdStreamWriteInt32(TStream& stream, int32_t value) {
  const uint32_t u = uint32_t(value);
  const uint8_t bytes[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
  stream.WriteBuffer(bytes, 4);
}

void vdSoftAssert(bool condition, std::string_view message) {
#ifndef NDEBUG
  if (condition) return;
  if (SoftAssertHandler())
    SoftAssertHandler()(message);
  else
    vdReportSoftAssert(message);
#else
  (void)condition;
  (void)message;
#endif
}

TvdSoftAssertHandler vdSetSoftAssertHandler(TvdSoftAssertHandler handler) {
  TvdSoftAssertHandler previous = std::move(SoftAssertHandler());
  SoftAssertHandler() = std::move(handler);
  return previous;
}

// --- Module ------------------------------------------------------------------------------

void vdCoreInitialize() {
  Flags() = vdComputeOSFlags(vdReadOSVersion());
  vdWeekStartDay();
}

void vdCoreFinalize() { Repository().reset(); }
