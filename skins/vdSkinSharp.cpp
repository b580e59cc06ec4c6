#include "skins/vdSkinSharp.h"

QE_SKIN_MODULE(TvdSharpPainter, vdSkinSharp)
