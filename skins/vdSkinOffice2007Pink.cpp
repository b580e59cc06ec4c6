#include "skins/vdSkinOffice2007Pink.h"

QE_SKIN_MODULE(TvdOffice2007PinkPainter, vdSkinOffice2007Pink)
