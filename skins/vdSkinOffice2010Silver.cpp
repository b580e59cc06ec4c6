#include "skins/vdSkinOffice2010Silver.h"

QE_SKIN_MODULE(TvdOffice2010SilverPainter, vdSkinOffice2010Silver)
