// The skin "Caramel": its painter class, registered under the skin's name.
#pragma once

#include "skins/vdSkinModule.h"

QE_SKIN_PAINTER(TvdCaramelPainter, vdSkinCaramel, "Caramel");
