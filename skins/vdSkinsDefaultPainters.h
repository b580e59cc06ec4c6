// The user skin: the skin stored in the program's resource
// "DefaultUserSkinData", registered as "UserSkin". Every look-and-feel
// repaints when it changes.
//
// The module list of the skins is here too: the user skin, the skin
// painter and the 31 shipped skins, in the order they start.
#pragma once

#include <vector>

#include "foundation/vxModules.h"
#include "skins/vdSkinModule.h"

class TvdSkinUserLookAndFeelPainterInfo : public TvdSkinModulePainterInfo {
 public:
  using TvdSkinModulePainterInfo::TvdSkinModulePainterInfo;
  const char* ClassName() const override { return "TvdSkinUserLookAndFeelPainterInfo"; }
  bool IsUserSkin() const override { return true; }
  void Refresh() override;
};

class TvdSkinsUserSkinPainter : public TvdSkinModulePainter {
 public:
  static const TvdSkinsUserSkinPainter& Painter();

 protected:
  std::unique_ptr<TvdSkinLookAndFeelPainterInfo> CreatePainterData(std::unique_ptr<TvdSkin> skin) const override;

 private:
  TvdSkinsUserSkinPainter()
      : TvdSkinModulePainter("TvdSkinsUserSkinPainter", "vdSkinsDefaultPainters", "UserSkin",
                             "DefaultUserSkinData") {}
};

void vdSkinsDefaultPaintersInitialize();
void vdSkinsDefaultPaintersFinalize();

// The skin modules in start order; they need the foundation's modules
// started (vxFoundationModules).
const std::vector<TvxModule>& vdSkinModules();

class TvdSkinModules {
 public:
  TvdSkinModules() { vxStartModules(vdSkinModules()); }
  ~TvdSkinModules() { vxStopModules(vdSkinModules()); }
  TvdSkinModules(const TvdSkinModules&) = delete;
  TvdSkinModules& operator=(const TvdSkinModules&) = delete;
};
