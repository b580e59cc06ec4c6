#include "skins/vdSkinPumpkin.h"

QE_SKIN_MODULE(TvdPumpkinPainter, vdSkinPumpkin)
