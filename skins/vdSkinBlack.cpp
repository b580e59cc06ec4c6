#include "skins/vdSkinBlack.h"

QE_SKIN_MODULE(TvdBlackPainter, vdSkinBlack)
