#include "skins/vdSkinSpringTime.h"

QE_SKIN_MODULE(TvdSpringtimePainter, vdSkinSpringTime)
