#include "foundation/vxModules.h"

#include "foundation/vdCore.h"
#include "foundation/vdGDIPlusClasses.h"
#include "foundation/vdGDIPlusAPI.h"
#include "foundation/vdOffice11.h"
#include "foundation/vdThemeManager.h"
#include "foundation/vdUxTheme.h"
#include "foundation/vxClasses.h"
#include "foundation/vxContainer.h"
#include "foundation/vxControls.h"
#include "foundation/vxDrawTextUtils.h"
#include "foundation/vxDWMApi.h"
#include "foundation/vxGeometry.h"
#include "foundation/vxGraphics.h"
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"
#include "foundation/vxLookAndFeels.h"

const std::vector<TvxModule>& vxFoundationModules() {
  static const std::vector<TvxModule> modules = {
      {"vdCore", vdCoreInitialize, vdCoreFinalize},
      {"vxClasses", vxClassesInitialize, vxClassesFinalize},
      {"vxGeometry", vxGeometryInitialize, vxGeometryFinalize},
      {"vdGDIPlusAPI", vdGDIPlusAPIInitialize, vdGDIPlusAPIFinalize},
      {"vxDWMApi", vxDWMApiInitialize, vxDWMApiFinalize},
      {"vdUxTheme", vdUxThemeInitialize, vdUxThemeFinalize},
      {"vdThemeManager", vdThemeManagerInitialize, vdThemeManagerFinalize},
      {"vxDrawTextUtils", vxDrawTextUtilsInitialize, vxDrawTextUtilsFinalize},
      {"vxGraphics", vxGraphicsInitialize, vxGraphicsFinalize},
      {"vdGDIPlusClasses", vdGDIPlusClassesInitialize, vdGDIPlusClassesFinalize},
      {"vdOffice11", vdOffice11Initialize, vdOffice11Finalize},
      {"vxControls", vxControlsInitialize, vxControlsFinalize},
      {"vxLookAndFeels", vxLookAndFeelsInitialize, vxLookAndFeelsFinalize},
      {"vxLookAndFeelPainters", vxLookAndFeelPaintersStart, vxLookAndFeelPaintersStop},
      {"vxContainer", vxContainerInitialize, vxContainerFinalize},
  };
  return modules;
}

void vxStartModules(const std::vector<TvxModule>& modules) {
  for (size_t i = 0; i < modules.size(); ++i) {
    try {
      modules[i].Initialize();
    } catch (...) {
      for (size_t k = i; k-- > 0;) modules[k].Finalize();
      throw;
    }
  }
}

void vxStopModules(const std::vector<TvxModule>& modules) {
  for (size_t i = modules.size(); i-- > 0;) modules[i].Finalize();
}
