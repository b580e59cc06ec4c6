// What the four wizard pages share: a borderless white form, maximized in
// the work area that embeds it, with the page's caption, and a helper that
// places a child control.
#pragma once

#include "app/Fonts.h"
#include "platform/ui/Forms.h"

class TPageForm : public TForm {
 public:
  TPageForm(TComponent* owner, const char* caption, int clientWidth, int clientHeight);

 protected:
  template <typename T>
  T* Make(TWinControl* parent, int left, int top, int width, int height) {
    T* control = new T(this);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
  }
};
