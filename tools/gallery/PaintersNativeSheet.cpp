// The native-theme painter's sheets, every drawing operation by family.
// The build's prefix runs without visual styles, so these show the
// standard fallbacks; the "native_themed" sheets are drawn again by a
// gallery run in a prefix with Wine's light theme on (see CMakeLists.txt).
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "tools/gallery/PainterSheet.h"

namespace {

const bool registered = gallery::RegisterPainterSheets("native", &TvxWinXPLookAndFeelPainter::Painter()) &&
                        gallery::RegisterPainterSheets("native_themed", &TvxWinXPLookAndFeelPainter::Painter());

}  // namespace
