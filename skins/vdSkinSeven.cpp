#include "skins/vdSkinSeven.h"

QE_SKIN_MODULE(TvdSevenPainter, vdSkinSeven)
