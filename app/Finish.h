// The end page: pictures and the closing words, no handlers.
#pragma once

#include "app/PageForm.h"
#include "framed/FmLabel.h"
#include "framed/FmPanel.h"
#include "platform/ui/StandardControls.h"

class TForm_Finish : public TPageForm {
 public:
  explicit TForm_Finish(TComponent* owner);
  const char* ClassName() const override { return "TForm_Finish"; }

  TImage* Image1;
  TImage* Image2;
  TFmLabel* FmLabel1;
  TFmLabel* FmLabel2;
  TFmGroupBox* FmGroupBox1;
  TImage* Image3;
};

extern TForm_Finish* Form_Finish;
