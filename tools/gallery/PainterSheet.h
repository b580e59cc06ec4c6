// The painter sheets: every drawing operation of a painter, in its states,
// labelled with the operation's name. A painter registers five sheets,
// "painter_<name>_<family>": colours, buttons (arrows, borders, push,
// expand and check buttons), headers (headers, grid areas, footers,
// filters), bars (tabs, indicators, scroll bars, size grips) and parts
// (scheduler, clock, progress bars, group boxes, track bars, splitters,
// print preview).
#pragma once

#include "foundation/vxLookAndFeelPainters.h"
#include "tools/gallery/Gallery.h"

namespace gallery {

bool RegisterPainterSheets(const char* name, TvxLookAndFeelPainterClass painter,
                           TSheetLook look = TSheetLook::Prefix);

}  // namespace gallery
