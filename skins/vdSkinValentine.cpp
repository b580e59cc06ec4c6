#include "skins/vdSkinValentine.h"

QE_SKIN_MODULE(TvdValentinePainter, vdSkinValentine)
