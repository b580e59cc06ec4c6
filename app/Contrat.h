// The agreement page: the licence text in a read-only memo. Whether the
// user accepts it is the main window's check box.
#pragma once

#include "app/PageForm.h"
#include "editors_ext/vxMemo.h"

class TForm_Contrat : public TPageForm {
 public:
  explicit TForm_Contrat(TComponent* owner);
  const char* ClassName() const override { return "TForm_Contrat"; }

  TvxMemo* Memo;
};

extern TForm_Contrat* Form_Contrat;
