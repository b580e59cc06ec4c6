#include "skins/vdSkinOffice2010Black.h"

QE_SKIN_MODULE(TvdOffice2010BlackPainter, vdSkinOffice2010Black)
