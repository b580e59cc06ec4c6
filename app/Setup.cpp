// Program entry of the setup program.
#include "app/Contrat.h"
#include "app/Finish.h"
#include "app/Install.h"
#include "app/Params.h"
#include "app/Unit_Main.h"
#include "app/Welcome.h"
#include "foundation/vxModules.h"
#include "skins/vdSkinsDefaultPainters.h"
#include "skins/vdSkinsForm.h"

namespace {

// The program block: the five forms in this order, the first being the
// main form; the program ends when it closes. The page forms made here are
// never shown: each navigation step makes a new page.
void RunInstaller() {
  // The control library, the skins and the hook that skins every form,
  // button and panel window from its creation on.
  TvxFoundationModules foundation;
  TvdSkinModules skins;
  TvdSkinsFormModule skinnedForms;
  Application->Initialize();
  Application->SetTitle("Software MERVALDO Installer");
  Application->CreateForm(Form_Main);
  Application->CreateForm(Form_Welcome);
  Application->CreateForm(Form_Contrat);
  Application->CreateForm(Form_Params);
  Application->CreateForm(Form_Finish);
  Application->Run();
  // The forms go while the modules they draw with are still there.
  Application->DestroyComponents();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  install::RestrictDllSearchToSystemFolder();
  RunInstaller();
  return 0;
}
