// The native-theme painter's sheets, every drawing operation by family,
// twice: with Wine's light theme on ("painter_native_themed_*") and with
// visual styles off, where it falls back to the standard look
// ("painter_native_classic_*").
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "tools/gallery/PainterSheet.h"

namespace {

const bool registered =
    gallery::RegisterPainterSheets("native_themed", &TvxWinXPLookAndFeelPainter::Painter(),
                                   gallery::TSheetLook::Themed) &&
    gallery::RegisterPainterSheets("native_classic", &TvxWinXPLookAndFeelPainter::Painter(),
                                   gallery::TSheetLook::Classic);

}  // namespace
