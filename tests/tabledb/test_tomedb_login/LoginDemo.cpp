// A program that opens the table "T" of the encrypted database file named
// on its command line without handing over a password, so that the
// database asks through its login dialog. The exit code tells the test what
// happened: 0 opened with the record it expects, 2 aborted silently, 1 any
// other error (its message in the database's file name + ".err").
#include <cstdio>

#include "tabledb/ui/TomeDBLogin.h"
#include "tabledb/TomeDBTable.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const String file = commandLine;
  Application->Initialize();
  Application->SetTitle("TomeDB Login Demo");
  InstallTomeDBWindowsHooks();
  TTomeTable table(nullptr);
  table.SetDatabaseName(file);
  table.SetTableName("T");
  try {
    table.Open();
  } catch (const EAbort&) {
    return 2;
  } catch (const Exception& e) {
    if (FILE* f = std::fopen((file + ".err").c_str(), "w")) {
      std::fputs(e.Message().c_str(), f);
      std::fclose(f);
    }
    return 1;
  }
  return table.Active() && table.FieldByName("Code")->AsInteger() == 7 ? 0 : 1;
}
