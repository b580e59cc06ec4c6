#include "skins/vdSkinModule.h"

#include "foundation/vdGDIPlusAPI.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"

void TvdSkinModulePainterInfo::Refresh() {
  vdSkinFlushPictures();
  TvdSkinLookAndFeelPainterInfo::Refresh();
}

std::unique_ptr<TvdSkinLookAndFeelPainterInfo> TvdSkinModulePainter::CreatePainterData(
    std::unique_ptr<TvdSkin> skin) const {
  return std::make_unique<TvdSkinModulePainterInfo>(std::move(skin));
}

TvdSkinLookAndFeelPainterInfo* TvdSkinModulePainter::GetPainterData() const {
  return vxGetStylePainterRegistry() ? data_ : nullptr;
}

void TvdSkinModulePainter::RegisterSkin() const {
  TvxExtendedStylePainters* registry = vxGetStylePainterRegistry();
  if (!registry || !vdGpIsLibraryAvailable()) return;
  std::unique_ptr<TvdSkinLookAndFeelPainterInfo> data;
  try {
    auto skin = std::make_unique<TvdSkin>(resourceName_);
    skin->LoadFromResource(GetModuleHandleA(nullptr));
    data = CreatePainterData(std::move(skin));
  } catch (const Exception&) {
    // One damaged skin must not keep the program from starting: it is
    // simply not offered.
    return;
  }
  TvdSkinLookAndFeelPainterInfo* bound = data.get();
  // A refused name frees the data in the registry; nothing dangles here.
  if (registry->RegisterPainter(skinName_, this, std::move(data))) data_ = bound;
}

void TvdSkinModulePainter::UnregisterSkin() const {
  TvxExtendedStylePainters* registry = vxGetStylePainterRegistry();
  if (!data_) return;
  data_ = nullptr;
  if (registry) registry->UnregisterPainter(skinName_);
}

void vdSkinModuleInitialize(void (*start)(), void (*stop)()) {
  if (TvdUnitsLoader* loader = vdSharedUnitsLoader()) loader->RegisterUnit(start, stop);
}

void vdSkinModuleFinalize(void (*stop)()) {
  if (TvdUnitsLoader* loader = vdSharedUnitsLoader()) loader->UnregisterUnit(stop);
}
