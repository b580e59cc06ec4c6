#include "skins/vdSkinOffice2007Green.h"

QE_SKIN_MODULE(TvdOffice2007GreenPainter, vdSkinOffice2007Green)
