#include "skins/vdSkinOffice2007Black.h"

QE_SKIN_MODULE(TvdOffice2007BlackPainter, vdSkinOffice2007Black)
