// The skin controller: placed on the main form, it names the skin that the
// program's forms, buttons and panels are painted with. The skin painters
// are not in the program yet, so the controller keeps its settings and the
// windows keep their own drawing.
#pragma once

#include "platform/Components.h"

class TvdSkinController : public TComponent {
 public:
  explicit TvdSkinController(TComponent* owner) : TComponent(owner) {}
  const char* ClassName() const override { return "TvdSkinController"; }

  const String& SkinName() const { return skinName_; }
  void SetSkinName(const String& name) { skinName_ = name; }

 private:
  String skinName_;
};
