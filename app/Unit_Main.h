// The main window: the frame of the four-page wizard. It carries the side
// picture, the work area that embeds the page forms, the Previous, Next and
// Quit buttons and the agreement check box, and while it is created it
// drives the start-up splash through its timed status lines.
//
// Test switch: the environment variable QE_SETUP_SPLASH_WAITS=N (0 to 100)
// shortens every wait of the splash sequence to N percent of its length;
// the sequence is otherwise the same. The end-to-end tests set it for every
// start of the program but one.
#pragma once

#include "editors/vxCheckBox.h"
#include "foundation/vxButtons.h"
#include "framed/FmBHints.h"
#include "framed/FmPanel.h"
#include "platform/ui/Forms.h"
#include "skins/vdSkinsForm.h"
#include "smooth/GDIPPictureContainer.h"
#include "smooth/LuxSmoothSplashScreen.h"

class TForm_Main : public TForm {
 public:
  explicit TForm_Main(TComponent* owner);
  const char* ClassName() const override { return "TForm_Main"; }

  TImage* Image1;
  TImage* Img1;
  TImage* Img2;
  TFmPanel* Panel_Work_Area;
  TvxButton* Btn_Next;
  TvxButton* Btn_Previous;
  TvxButton* Btn_Quit;
  TvxCheckBox* CB_Accept;
  TvdSkinController* vdSkinController1;
  TLuxSmoothSplashScreen* Splash;
  TGDIPPictureContainer* GDIPPictureContainer1;
  TFmBalloonHints* FmBalloonHints1;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void Btn_NextClick(TObject* sender);
  void Btn_PreviousClick(TObject* sender);
  void Btn_QuitClick(TObject* sender);
  void SetSplashProgress(int percent);

  // Makes a new page form owned by the application, stores it in the page's
  // reference and shows it embedded in the work area.
  template <typename TPage>
  void ShowPage(TPage*& reference) {
    reference = new TPage(Application);
    reference->SetParent(Panel_Work_Area);
    reference->SetAlign(alClient);
    reference->Show();
  }

 private:
  void CreateSplash();
  void KeepSplashPushes();
  void SplashCloseRequest();
};

extern TForm_Main* Form_Main;
