#include "app/Install.h"

#include <windows.h>

#include <algorithm>

#include "archive/ZipArchiver.h"
#include "platform/FormatSettings.h"
#include "platform/Numbers.h"
#include "platform/OsFiles.h"
#include "platform/Streams.h"
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

namespace {

// The whole part of a number with its grouping marks taken out. A mark
// must close a group of one to three digits (the first) or of exactly
// three, and the last group after a mark has three digits too.
bool Ungroup(const String& whole, String& plain) {
  plain.clear();
  int groupDigits = 0;
  bool grouped = false;
  for (size_t i = 0; i < whole.size(); ++i) {
    const char c = whole[i];
    if (IsGroupingMark(c)) {
      if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3)) return false;
      grouped = true;
      groupDigits = 0;
      continue;
    }
    if (IsDigit(c)) ++groupDigits;
    plain += c;
  }
  return !grouped || groupDigits == 3;
}

}  // namespace

bool ReadCapital(const String& text, Variant& value) {
  String number = Trim(text);
  if (number.empty()) {
    value = Null();
    return true;
  }
  const bool negative = number.size() > 2 && number.front() == '(' && number.back() == ')';
  if (negative) number = Trim(number.substr(1, number.size() - 2));
  const size_t decimal = number.find(FormatSettings().DecimalSeparator);
  const size_t wholeEnd = decimal == String::npos ? number.size() : decimal;
  const bool signed_ = !number.empty() && (number[0] == '-' || number[0] == '+');
  String plain;
  if (!Ungroup(number.substr(signed_, wholeEnd - signed_), plain)) return false;
  plain = number.substr(0, signed_) + plain + number.substr(wholeEnd);
  if (negative && (plain.empty() || signed_)) return false;
  double parsed = 0;
  if (!TryStrToFloat(plain, parsed)) return false;
  value = negative ? -parsed : parsed;
  return true;
}

// --- The package and the target, checked before anything is written ----------------------

namespace {

// The files the installation cannot do without.
const char* const kRequiredEntries[] = {"Quillor.exe", "scg.qec"};

String Backslashed(String name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

// A package cut anywhere has lost its end record; the archiver would
// rebuild a directory from the local headers it still finds.
bool HasEndRecord(const TZABaseArchiver& archiver, const String& fileName) {
  try {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    return TZADirManager(&archiver, ZAZipSignatures, true).FindEndRecord(stream);
  } catch (const Exception&) {
    return false;
  }
}

bool HasEntry(const PackageContents& contents, const char* name) {
  return std::any_of(contents.Files.begin(), contents.Files.end(),
                     [&](const String& file) { return AnsiSameText(file, name); });
}

// The path itself when it exists, else its nearest existing ancestor.
String FirstExisting(String path) {
  while (!path.empty() && !os::FileExists(path) && !os::DirectoryExists(path)) {
    const String parent = ExcludeTrailingPathDelimiter(ExtractFilePath(path));
    if (parent == path) break;
    path = parent;
  }
  return path;
}

// A file that is replaced is renamed over: another program that holds it
// open without sharing its deletion keeps it from being replaced.
bool MayReplace(const String& fileName) {
  const HANDLE h = CreateFileA(fileName.c_str(), DELETE | FILE_WRITE_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

}  // namespace

void AnswerArchiverQuestions(TZABaseArchiver& archiver) {
  archiver.OnPassword = [](TObject*, const String&, String&, bool& skipFile) { skipFile = true; };
  archiver.OnProcessFileFailure = [](TObject*, const String&, TZAProcessOperation, int, int, const String&,
                                     TZAAction& action) { action = fxaAbort; };
}

bool VerifyPackage(TZABaseArchiver& archiver, const String& fileName, PackageContents& contents) {
  contents = PackageContents();
  if (!HasEndRecord(archiver, fileName)) return false;
  archiver.SetFileName(fileName);
  archiver.SetPassword(kPackagePassword);
  try {
    archiver.OpenArchiveMode(ZAModeReadOnly);
    archiver.SelectItemsByMask("*.*", kPackageSearchAttr, "");
    archiver.ProcessSelectedItems(poTest);
    for (int i = 0; i < archiver.FileCount(); ++i) {
      const TDirItem& item = archiver.DirItem(i);
      if (item.IsFolder()) continue;
      contents.Files.push_back(Backslashed(item.Name));
      contents.Size += int64_t(item.UncompressedSize);
    }
    archiver.CloseArchiveFile();
  } catch (const Exception&) {
    archiver.CloseArchiveFile();
    return false;
  }
  return std::all_of(std::begin(kRequiredEntries), std::end(kRequiredEntries),
                     [&](const char* name) { return HasEntry(contents, name); });
}

bool CanWriteProductFolder(const String& productFolder, const PackageContents& contents) {
  const String existing = FirstExisting(productFolder);
  if (!os::DirectoryExists(existing)) return false;
  const String probe = os::CreateTempFile(existing, "QE");
  if (probe.empty()) return false;
  os::RemoveFile(probe);
  const int64_t free = os::DiskFree(existing);
  if (free >= 0 && free < contents.Size) return false;
  for (const String& file : contents.Files) {
    const String target = productFolder + "\\" + file;
    if (os::DirectoryExists(target) || (os::FileExists(target) && !MayReplace(target))) return false;
  }
  return true;
}

// --- Taking back what a failed installation added ----------------------------------------

void TInstallTrace::Note(const String& fileName) {
  if (os::FileExists(fileName)) {
    oldFiles_.push_back(fileName);
    return;
  }
  newFiles_.push_back(fileName);
  for (String folder = ExcludeTrailingPathDelimiter(ExtractFilePath(fileName));
       !folder.empty() && !os::DirectoryExists(folder);) {
    if (std::find(newFolders_.begin(), newFolders_.end(), folder) == newFolders_.end())
      newFolders_.push_back(folder);
    const String parent = ExcludeTrailingPathDelimiter(ExtractFilePath(folder));
    if (parent == folder) break;
    folder = parent;
  }
}

void TInstallTrace::NoteKept(const String& fileName) {
  if (!os::FileExists(fileName)) {
    Note(fileName);
    return;
  }
  try {
    TMemoryStream contents;
    contents.LoadFromFile(fileName);
    const char* bytes = reinterpret_cast<const char*>(contents.Memory());
    keptFiles_.push_back({fileName, String(bytes, size_t(contents.Size()))});
  } catch (const Exception&) {
    oldFiles_.push_back(fileName);
  }
}

namespace {

bool WriteBack(const String& fileName, const String& contents) {
  try {
    TMemoryStream stream;
    stream.Write(contents.data(), int64_t(contents.size()));
    os::FileSetAttr(fileName, faNormal);
    stream.SaveToFile(fileName);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

std::vector<String> TInstallTrace::Undo() const {
  for (const String& file : newFiles_) {
    os::FileSetAttr(file, faNormal);
    os::RemoveFile(file);
  }
  std::vector<String> folders = newFolders_;
  std::sort(folders.begin(), folders.end(), [](const String& a, const String& b) { return a.size() > b.size(); });
  for (const String& folder : folders) os::RemoveDir(folder);
  std::vector<String> stay;
  for (const String& file : oldFiles_)
    if (os::FileExists(file)) stay.push_back(file);
  for (const KeptFile& file : keptFiles_)
    if (!WriteBack(file.Name, file.Contents)) stay.push_back(file.Name);
  return stay;
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
