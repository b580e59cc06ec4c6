#include "skins/vdSkinFoggy.h"

QE_SKIN_MODULE(TvdFoggyPainter, vdSkinFoggy)
