#include "skins/vdSkinMoneyTwins.h"

QE_SKIN_MODULE(TvdMoneyTwinsPainter, vdSkinMoneyTwins)
