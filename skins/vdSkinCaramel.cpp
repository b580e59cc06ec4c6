#include "skins/vdSkinCaramel.h"

QE_SKIN_MODULE(TvdCaramelPainter, vdSkinCaramel)
