// The skin "Coffee": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdCoffeePainter, vdSkinCoffee, "Coffee");
