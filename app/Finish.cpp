#include "app/Finish.h"

#include "app/Pictures.h"

TForm_Finish* Form_Finish = nullptr;

namespace {

void MakeCentredText(TFmLabel* label, int fontHeight, TColor color, const String& text) {
  label->SetAutoSize(false);
  label->SetAlignment(taCenter);
  label->SetWordWrap(true);
  label->SetTransparent(true);
  AssignFont(label->Font(), "MS Sans Serif", fontHeight, fsBold, color);
  label->SetCaption(text);
}

}  // namespace

TForm_Finish::TForm_Finish(TComponent* owner) : TPageForm(owner, "Installation terminé", 632, 402) {
  Image1 = Make<TImage>(this, 0, -83, 632, 197);
  Image1->SetStretch(true);
  pictures::Load(Image1->Picture()->Bitmap(), pictures::kFinishBanner);
  Image2 = Make<TImage>(this, 5, 15, 241, 97);
  Image2->SetStretch(true);
  pictures::Load(Image2->Picture()->Bitmap(), pictures::kFinishProduct);

  FmLabel1 = Make<TFmLabel>(this, 274, 20, 279, 39);
  MakeCentredText(FmLabel1, -12, RGBColor(60, 60, 60),
                  "Félicitation, installation terminée.\rNous vous remercions de choisir nos services et applications.");
  FmLabel2 = Make<TFmLabel>(this, 254, 71, 350, 32);
  MakeCentredText(FmLabel2, -13, RGBColor(32, 66, 123),
                  "Vous pouvez dès maintenant utiliser le logiciel en plein fonctionnalités, juste un click sur le "
                  "raccourci.");

  FmGroupBox1 = Make<TFmGroupBox>(this, 4, 112, 623, 287);
  FmGroupBox1->SetTransparent(true);
  Image3 = Make<TImage>(FmGroupBox1, 533, 195, 81, 88);
  Image3->SetStretch(true);
  pictures::Load(Image3->Picture()->Bitmap(), pictures::kFinishPicture);
}
