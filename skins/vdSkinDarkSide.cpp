#include "skins/vdSkinDarkSide.h"

QE_SKIN_MODULE(TvdDarkSidePainter, vdSkinDarkSide)
