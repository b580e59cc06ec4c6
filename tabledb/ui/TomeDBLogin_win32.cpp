// The "Database Login" dialog and the installation of the Windows hooks.
#include "tabledb/ui/TomeDBLogin.h"

#include <memory>

#include "platform/ui/StandardControls.h"

TTomeDBLoginForm::TTomeDBLoginForm(TComponent* owner) : TForm(owner) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    if (HFONT font = CreateFontIndirectA(&metrics.lfMessageFont)) {
      Font()->SetHandle(font);
      DeleteObject(font);
    }
  }
}

namespace {

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height) {
  T* control = new T(owner);
  control->SetName(name);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

}  // namespace

TTomeDBLoginForm* CreateLoginDialog(const String& databaseName) {
  auto form = std::make_unique<TTomeDBLoginForm>(Application);
  form->SetBorderStyle(bsDialog);
  form->Canvas()->Font()->Assign(form->Font());
  form->SetBounds(0, 0, 281, 154);
  form->SetPosition(poScreenCenter);
  form->SetCaption("Database Login");

  auto* panel = Place<TPanel>(form.get(), form.get(), "BackPanel", 8, 8, form->ClientWidth() - 16, 75);
  panel->SetCaption("");
  panel->SetBevelInner(bvRaised);
  panel->SetBevelOuter(bvLowered);

  Place<TLabel>(form.get(), panel, "DatabaseLabel", 12, 15, 60, 13)->SetCaption("Database:");
  Place<TLabel>(form.get(), panel, "PasswordLabel", 12, 45, 60, 13)->SetCaption("Password:");
  const int editWidth = panel->ClientWidth() - 98;
  auto* database = Place<TEdit>(form.get(), panel, "DatabaseEdit", 86, 12, editWidth, 21);
  database->SetReadOnly(true);
  database->SetColor(clBtnFace);
  database->SetTabStop(false);
  database->SetText(databaseName);
  auto* password = Place<TEdit>(form.get(), panel, "PasswordEdit", 86, 42, editWidth, 21);
  password->SetPasswordChar('*');
  password->SetTabOrder(0);
  password->SetText("");
  form->SetActiveControl(password);

  auto* ok = Place<TButton>(form.get(), form.get(), "OkButton", 109, 94, 75, 25);
  ok->SetCaption("&OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = Place<TButton>(form.get(), form.get(), "CancelButton", 191, 94, 75, 25);
  cancel->SetCaption("&Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  return form.release();
}

bool ShowTomeDBLoginDialog(const String& databaseName, String& password) {
  std::unique_ptr<TTomeDBLoginForm> form(CreateLoginDialog(databaseName));
  if (form->ShowModal() != mrOk) return false;
  password = static_cast<TEdit*>(form->FindComponent("PasswordEdit"))->Text();
  return true;
}

void InstallTomeDBWindowsHooks() {
  SetTomeLoginHook(ShowTomeDBLoginDialog);
  SetTomeTimerFactory(TomeDBWindowsTimerFactory());
}
