#include "skins/vdSkinLondonLiquidSky.h"

QE_SKIN_MODULE(TvdLondonLiquidSkyPainter, vdSkinLondonLiquidSky)
