#include "skins/vdSkinLilian.h"

QE_SKIN_MODULE(TvdLilianPainter, vdSkinLilian)
