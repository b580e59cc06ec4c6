#include "skins/vdSkinDarkRoom.h"

QE_SKIN_MODULE(TvdDarkroomPainter, vdSkinDarkRoom)
