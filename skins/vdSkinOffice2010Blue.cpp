#include "skins/vdSkinOffice2010Blue.h"

QE_SKIN_MODULE(TvdOffice2010BluePainter, vdSkinOffice2010Blue)
