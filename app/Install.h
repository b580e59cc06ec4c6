// The pieces of the installation that the parameters page runs in order:
// the product folder's names, the checks made before anything is written,
// the yearly exercise file, the registry values and the program's DLL
// search. The shortcuts are in Shortcuts.h.
#pragma once

#include "platform/Text.h"
#include "platform/Variant.h"

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
// it (blanks and thousand separators between the digits, a negative amount
// in parentheses). An empty text is Null, stored as an empty field. False
// for a text that is not a number.
bool ReadCapital(const String& text, Variant& value);

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
