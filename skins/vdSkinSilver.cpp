#include "skins/vdSkinSilver.h"

QE_SKIN_MODULE(TvdSilverPainter, vdSkinSilver)
