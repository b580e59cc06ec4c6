// The skinned forms sheet ("skinned_forms"): forms framed by the "Black"
// skin, active and inactive, each holding push buttons in their states and
// a panel, on a page that the skin paints too.
#include <memory>

#include "foundation/vxLookAndFeelPaintersRegistry.h"
#include "platform/ui/StandardControls.h"
#include "skins/vdSkinsDefaultPainters.h"
#include "skins/vdSkinsFormController.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::TPaintedArea;

// The hook runs from this sheet to the end of the program, and the skins
// too unless the skin sheets started them already.
void StartSkinnedForms() {
  static std::unique_ptr<TvdSkinModules> skins;
  TvxExtendedStylePainters* registry = vxGetStylePainterRegistry();
  TvxLookAndFeelPainterClass black = nullptr;
  if (!skins && !(registry && registry->FindPainterByName("Black", black))) skins = std::make_unique<TvdSkinModules>();
  static TvdSkinsFormModule skinnedForms;
}

template <class T>
T* Add(TWinControl* parent, const TRect& bounds, const char* caption) {
  auto* control = new T(parent);
  control->SetParent(parent);
  control->SetBoundsRect(bounds);
  control->SetCaption(caption);
  return control;
}

// A form embedded in the page, with four buttons (normal, default,
// pressed, disabled) and a panel.
TForm* AddForm(TForm* page, const TRect& bounds, const char* caption) {
  auto* form = new TForm(page);
  form->SetParent(page);
  form->SetBoundsRect(bounds);
  form->SetCaption(caption);
  Add<TButton>(form, TRect(16, 16, 116, 44), "&Suivant");
  Add<TButton>(form, TRect(132, 16, 232, 44), "&Précédent")->SetDefault(true);
  Add<TButton>(form, TRect(16, 56, 116, 84), "&Installer");
  Add<TButton>(form, TRect(132, 56, 232, 84), "&Quitter")->SetEnabled(false);
  Add<TPanel>(form, TRect(16, 100, 360, 170), "Panneau");
  form->Show();
  return form;
}

void Build(TForm* page) {
  StartSkinnedForms();
  auto* controller = new TvdSkinController(page);
  controller->SetSkinName("Black");
  page->HandleNeeded();
  TForm* active = AddForm(page, TRect(20, 40, 420, 260), "Fenêtre active");
  TForm* inactive = AddForm(page, TRect(460, 40, 860, 260), "Fenêtre inactive");
  HWND pressed = static_cast<TWinControl*>(active->Controls(2))->Handle();
  SendMessageA(pressed, BM_SETSTATE, TRUE, 0);
  SendMessageA(inactive->Handle(), WM_NCACTIVATE, FALSE, 0);
  new TPaintedArea(page, TRect(20, 8, 900, 30), [](TCanvas* c) {
    // Light text: the skin paints the page dark.
    c->Font()->SetName("Tahoma");
    c->Font()->SetHeight(-11);
    c->Font()->SetColor(clWhite);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(0, 0, "Black skin: a form drawn active and one inactive; buttons normal, default, pressed, disabled");
  });
}

const bool registered = gallery::RegisterSheet("skinned_forms", Build);

}  // namespace
