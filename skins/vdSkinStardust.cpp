#include "skins/vdSkinStardust.h"

QE_SKIN_MODULE(TvdStardustPainter, vdSkinStardust)
