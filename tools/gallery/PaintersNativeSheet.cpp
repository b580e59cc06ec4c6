// The native-theme painter's sheets, every drawing operation by family. The
// gallery does not start the theme manager, so these show the painter's
// standard fallback.
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "tools/gallery/PainterSheet.h"

namespace {

const bool registered = gallery::RegisterPainterSheets("native", &TvxWinXPLookAndFeelPainter::Painter());

}  // namespace
