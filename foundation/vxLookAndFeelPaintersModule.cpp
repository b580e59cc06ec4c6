// The painters module's start and stop, around the shared resources.
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"

void vxLookAndFeelPaintersStart() {
  vxCreateStylePainterRegistry();
  vxLookAndFeelPaintersInitialize();
}

void vxLookAndFeelPaintersStop() {
  vxLookAndFeelPaintersFinalize();
  vxFreeStylePainterRegistry();
}
