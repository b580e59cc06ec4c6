#include "skins/vdSkinMcSkin.h"

QE_SKIN_MODULE(TvdMcSkinPainter, vdSkinMcSkin)
