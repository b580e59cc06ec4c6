#include "skins/vdSkinCoffee.h"

QE_SKIN_MODULE(TvdCoffeePainter, vdSkinCoffee)
