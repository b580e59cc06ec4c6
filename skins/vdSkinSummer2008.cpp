#include "skins/vdSkinSummer2008.h"

QE_SKIN_MODULE(TvdSummer2008Painter, vdSkinSummer2008)
