#include "skins/vdSkiniMaginary.h"

QE_SKIN_MODULE(TvdiMaginaryPainter, vdSkiniMaginary)
