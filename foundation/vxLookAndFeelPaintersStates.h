// The states of a button as the painters draw it and as a skin element
// answers its text colour for it. Without <windows.h>: the portable skin
// model names them too.
#pragma once

enum TvxButtonState { vxbsDefault, vxbsNormal, vxbsHot, vxbsPressed, vxbsDisabled };
