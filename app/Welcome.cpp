#include "app/Welcome.h"

TForm_Welcome* Form_Welcome = nullptr;

TForm_Welcome::TForm_Welcome(TComponent* owner) : TPageForm(owner, "Welcome", 617, 363) {
  LuxSmoothLabel1 = MakeLabel(48, 21, 521, 68, -27, "Bienvenu dans l'assistant d'installation de Software MERVALDO");
  LuxSmoothLabel2 = MakeLabel(1, 112, 616, 50, -21,
                              "Software MERVALDO Installer v3.7 pour Quillor Pro version 5.8 build 1 , date de "
                              "réalisation : 05/11/2021");
  LuxSmoothLabel3 = MakeLabel(40, 195, 545, 134, -21,
                              "L'assistant d'installation va vous guider dans l'installation de l'application Quillor "
                              "Pro sur votre ordinateur. Veuillez svp bien suivre les étapes requises pour finir "
                              "l'installation. Cliquez sur suivant svp.");
  LuxSmoothLabel3->Caption()->SetColorStart(RGBColor(162, 189, 253));
}

TLuxSmoothLabel* TForm_Welcome::MakeLabel(int left, int top, int width, int height, int fontHeight, const char* text) {
  auto* label = Make<TLuxSmoothLabel>(this, left, top, width, height);
  label->SetWordWrap(true);
  label->Caption()->SetText(text);
  AssignFont(label->Caption()->Font(), "Tahoma", fontHeight, 0);
  label->CaptionShadow()->SetText(text);
  AssignFont(label->CaptionShadow()->Font(), "Tahoma", -27, 0);
  return label;
}
