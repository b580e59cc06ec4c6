// The welcome page: three smooth labels that greet the user.
#pragma once

#include "app/PageForm.h"
#include "smooth/LuxSmoothLabel.h"

class TForm_Welcome : public TPageForm {
 public:
  explicit TForm_Welcome(TComponent* owner);
  const char* ClassName() const override { return "TForm_Welcome"; }

  TLuxSmoothLabel* LuxSmoothLabel1;
  TLuxSmoothLabel* LuxSmoothLabel2;
  TLuxSmoothLabel* LuxSmoothLabel3;

 private:
  TLuxSmoothLabel* MakeLabel(int left, int top, int width, int height, int fontHeight, const char* text);
};

extern TForm_Welcome* Form_Welcome;
