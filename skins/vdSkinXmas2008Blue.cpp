#include "skins/vdSkinXmas2008Blue.h"

QE_SKIN_MODULE(TvdXmas2008BluePainter, vdSkinXmas2008Blue)
