#include "skins/vdSkinBlue.h"

QE_SKIN_MODULE(TvdBluePainter, vdSkinBlue)
