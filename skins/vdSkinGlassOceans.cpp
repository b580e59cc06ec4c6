#include "skins/vdSkinGlassOceans.h"

QE_SKIN_MODULE(TvdGlassOceansPainter, vdSkinGlassOceans)
