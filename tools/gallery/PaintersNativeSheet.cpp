// The native-theme painter's sheets, every drawing operation by family, in
// the look of the theme active in the gallery's prefix (the standard
// fallback when there is none).
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "tools/gallery/PainterSheet.h"

namespace {

const bool registered = gallery::RegisterPainterSheets("native", &TvxWinXPLookAndFeelPainter::Painter());

}  // namespace
