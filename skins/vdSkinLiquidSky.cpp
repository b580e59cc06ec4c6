#include "skins/vdSkinLiquidSky.h"

QE_SKIN_MODULE(TvdLiquidSkyPainter, vdSkinLiquidSky)
