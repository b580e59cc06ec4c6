#include "skins/vdSkinOffice2007Blue.h"

QE_SKIN_MODULE(TvdOffice2007BluePainter, vdSkinOffice2007Blue)
