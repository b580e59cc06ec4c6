// The Windows side of the table database: the "Database Login" dialog that
// asks for a database password, and the timer that drives a database's
// auto-flush. Windows-only (the portable library reaches both through the
// hooks of TomeDBDatabase.h); a program installs them once at start-up.
#pragma once

#include "platform/ui/Forms.h"
#include "tabledb/TomeDBDatabase.h"

// A form made without a form resource, in the system's message font.
class TTomeDBLoginForm : public TForm {
 public:
  explicit TTomeDBLoginForm(TComponent* owner);
  const char* ClassName() const override { return "TTomeDBLoginForm"; }
};

// The dialog for the named database, owned by the application.
TTomeDBLoginForm* CreateLoginDialog(const String& databaseName);
// Shows the dialog modally: true with the password entered on OK, false on
// Cancel. The dialog is freed in every case.
bool ShowTomeDBLoginDialog(const String& databaseName, String& password);
// Flush timers backed by the platform's timer.
TTomeTimerFactory TomeDBWindowsTimerFactory();
// Installs the login dialog and the timer factory.
void InstallTomeDBWindowsHooks();
