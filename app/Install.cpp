#include "app/Install.h"

#include <windows.h>

#include "platform/FormatSettings.h"
#include "platform/Numbers.h"
#include "platform/OsFiles.h"
#include "platform/ui/Registry.h"

namespace install {

const char kPackageName[] = "qelpkg_Quillor_Pro_5.8_B1_05-11-2021.qep";
const char kPackagePassword[] = "pelurok";
const char kConfigDatabaseName[] = "scg.qec";
const char kConfigDatabasePassword[] = "vorel";

namespace {

const char kProductSubfolder[] = "MERVALDO\\Quillor_Pro";
const char kYearlyTemplate[] = "\\Ex_Data\\DBEx_20xx.FDB";
const char kRegistryKey[] = "\\SOFTWARE\\Software MERVALDO\\";

// What the numeric edit may put between digits: blanks (the French
// grouping is a non-breaking space) and the thousand separator.
bool IsGroupingMark(char c) { return c == ' ' || c == '\xA0' || c == FormatSettings().ThousandSeparator; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

ProductPaths PathsFor(const String& chosenFolder) {
  ProductPaths paths;
  paths.Product = chosenFolder + "\\" + kProductSubfolder;
  const bool endsWithDelimiter = !chosenFolder.empty() && chosenFolder.back() == '\\';
  paths.Stored = chosenFolder + (endsWithDelimiter ? "" : "\\") + kProductSubfolder;
  return paths;
}

bool InstallationExists(const String& productFolder) {
  for (const char* name : {"\\Quillor.exe", "\\scg.qec", "\\Common\\WrkData.FDB"})
    if (os::FileExists(productFolder + name)) return true;
  return false;
}

bool ReadCapital(const String& text, Variant& value) {
  String number = Trim(text);
  if (number.empty()) {
    value = Null();
    return true;
  }
  const bool negative = number.size() > 2 && number.front() == '(' && number.back() == ')';
  if (negative) number = Trim(number.substr(1, number.size() - 2));
  // Grouping marks count only between digits of the whole part.
  const size_t decimal = number.find(FormatSettings().DecimalSeparator);
  const size_t wholeEnd = decimal == String::npos ? number.size() : decimal;
  String plain;
  for (size_t i = 0; i < number.size(); ++i) {
    const char c = number[i];
    const bool betweenDigits = i > 0 && i + 1 < wholeEnd && IsDigit(number[i - 1]) && IsDigit(number[i + 1]);
    if (i < wholeEnd && IsGroupingMark(c) && betweenDigits) continue;
    plain += c;
  }
  if (negative && (plain.empty() || plain[0] == '-' || plain[0] == '+')) return false;
  double parsed = 0;
  if (!TryStrToFloat(plain, parsed)) return false;
  value = negative ? -parsed : parsed;
  return true;
}

void MakeYearlyFile(const String& productFolder, int year) {
  const String templateName = productFolder + kYearlyTemplate;
  const String yearlyName = productFolder + "\\Ex_Data\\DBEx_" + IntToStr(year) + ".FDB";
  os::RenameFile(templateName, yearlyName);
  if (os::FileExists(yearlyName)) os::RemoveFile(templateName);
}

bool WriteRegistryValues(const String& storedPath) {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  registry.SetUse32BitView(true);
  if (!registry.OpenKey(kRegistryKey, true)) return false;
  registry.WriteString("ZLTR Application", "Quillor_Pro");
  registry.WriteString("ZLTR Version", "5.8");
  registry.WriteString("ZLTR Build", "1");
  registry.WriteString("ZLTR Path", storedPath);
  registry.CloseKey();
  return true;
}

void RestrictDllSearchToSystemFolder() {
  SetDllDirectoryA("");
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace install
