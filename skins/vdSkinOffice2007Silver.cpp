#include "skins/vdSkinOffice2007Silver.h"

QE_SKIN_MODULE(TvdOffice2007SilverPainter, vdSkinOffice2007Silver)
