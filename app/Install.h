// The pieces of the installation that the parameters page runs in order:
// the product folder's names, the checks made before anything is written,
// the yearly exercise file, the registry values and the program's DLL
// search. The shortcuts are in Shortcuts.h.
#pragma once

#include <vector>

#include "platform/Text.h"
#include "platform/Variant.h"

class TZABaseArchiver;

namespace install {

// The installation package, looked up in the current folder, and its
// password.
extern const char kPackageName[];
extern const char kPackagePassword[];
// The configuration database inside the product folder and its password.
extern const char kConfigDatabaseName[];
extern const char kConfigDatabasePassword[];

struct ProductPaths {
  // The folder files are written to: the chosen folder, a backslash and
  // "MERVALDO\Quillor_Pro". A chosen drive root ("D:\") gives a doubled
  // separator, which the file system takes.
  String Product;
  // The same folder as stored in the database and the registry: no
  // doubled separator.
  String Stored;
};
ProductPaths PathsFor(const String& chosenFolder);

// True when the folder already holds an installation of the product.
bool InstallationExists(const String& productFolder);

// The capital as a number: the text as typed or as the numeric edit shows
// it (a negative amount in parentheses). Blanks and thousand separators
// count only where they group whole thousands ("1 000", "1,000,000"); a
// mark anywhere else ("1,5") makes the text no number. An empty text is
// Null, stored as an empty field. False for a text that is not a number.
bool ReadCapital(const String& text, Variant& value);

// Every entry of the package, whatever its attributes.
constexpr int kPackageSearchAttr = 10431;

// Answers the archiver's questions for the installer, so that no prompt of
// the archiver ever shows: a refused password skips the entry (the
// installer's password is fixed; asking the user would only show it), and
// a failed entry aborts the run.
void AnswerArchiverQuestions(TZABaseArchiver& archiver);

// Checks the whole package before anything is written: its directory is
// the one its end record names (a cut package has none), every entry
// decrypts with the package password and matches its CRC, and the entries
// the installation relies on are there. False for a damaged package or one
// that is not ours.
struct PackageContents {
  std::vector<String> Files;  // relative names, backslashed
  int64_t Size = 0;           // of the files once extracted
};
bool VerifyPackage(TZABaseArchiver& archiver, const String& fileName, PackageContents& contents);

// True when the package can be written to the product folder: its first
// existing ancestor is a folder that takes a new file and has room for the
// package, no folder stands where a file goes, and each existing file that
// the installation replaces may be replaced (a running program holds its
// file).
bool CanWriteProductFolder(const String& productFolder, const PackageContents& contents);

// What an installation adds, noted before it starts, so that a failure
// after the point of no return can take it back.
class TInstallTrace {
 public:
  // Notes whether each file, and each folder above it, exists now.
  void Note(const String& fileName);
  // The same for a small file that the run may replace, whose contents are
  // kept when it exists, so that Undo puts it back as it was (a shortcut of
  // an earlier installation must not be left pointing at this one).
  void NoteKept(const String& fileName);
  // Removes the noted files and folders that did not exist when noted
  // (folders only when empty) and writes the kept files back. Returns the
  // noted files that existed and stay, possibly replaced.
  std::vector<String> Undo() const;

 private:
  struct KeptFile {
    String Name;
    String Contents;
  };
  std::vector<String> newFiles_;
  std::vector<String> oldFiles_;
  std::vector<KeptFile> keptFiles_;
  std::vector<String> newFolders_;  // deepest last
};

// Renames "Ex_Data\DBEx_20xx.FDB" to the year's name and deletes the
// template once the year's file is there. An earlier installation's yearly
// file of that year is kept.
void MakeYearlyFile(const String& productFolder, int year);

// Records the installation under HKEY_LOCAL_MACHINE in the 32-bit view,
// where the 32-bit product reads it. False, silently, when the key cannot
// be opened (no right to write there).
bool WriteRegistryValues(const String& storedPath);

// Libraries the program loads by name at run time come from the system
// folder only, never from the folder the package was started from.
void RestrictDllSearchToSystemFolder();

}  // namespace install
