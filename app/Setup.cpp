// Program entry of the setup program.
#include "app/Contrat.h"
#include "app/Finish.h"
#include "app/Install.h"
#include "app/Params.h"
#include "app/Unit_Main.h"
#include "app/Welcome.h"
#include "foundation/vxModules.h"

namespace {

// The program block: the five forms in this order, the first being the
// main form; the program ends when it closes. The page forms made here are
// never shown: each navigation step makes a new page. The control library's
// modules start before the first form and stop after the last one is gone.
void RunInstaller() {
  TvxFoundationModules modules;
  Application->Initialize();
  Application->SetTitle("Software MERVALDO Installer");
  Application->CreateForm(Form_Main);
  Application->CreateForm(Form_Welcome);
  Application->CreateForm(Form_Contrat);
  Application->CreateForm(Form_Params);
  Application->CreateForm(Form_Finish);
  Application->Run();
  Application->DestroyComponents();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  install::RestrictDllSearchToSystemFolder();
  RunInstaller();
  return 0;
}
