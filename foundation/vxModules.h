// Start-up and shut-down of the control foundation's modules: each starts
// in the order below, after the modules it uses, and they stop in reverse.
// The program starts them once before it makes its first control (a
// TvxFoundationModules in WinMain) and stops them when it ends.
#pragma once

#include <vector>

struct TvxModule {
  const char* Name;
  void (*Initialize)();
  void (*Finalize)();
};

// vdCore, vxClasses, vxGeometry, vdGDIPlusAPI, vxDWMApi, vdUxTheme,
// vdThemeManager, vxDrawTextUtils, vxGraphics, vdGDIPlusClasses, vdOffice11,
// vxControls, vxLookAndFeels (the root look-and-feel), vxLookAndFeelPainters
// (the painter registry and the painters' shared resources), vxContainer
// (the popup-closing hooks).
const std::vector<TvxModule>& vxFoundationModules();

// Starts modules first to last. A module that fails to start stops the ones
// already started, last first, and the failure goes on to the caller.
void vxStartModules(const std::vector<TvxModule>& modules);
void vxStopModules(const std::vector<TvxModule>& modules);

class TvxFoundationModules {
 public:
  TvxFoundationModules() { vxStartModules(vxFoundationModules()); }
  ~TvxFoundationModules() { vxStopModules(vxFoundationModules()); }
  TvxFoundationModules(const TvxFoundationModules&) = delete;
  TvxFoundationModules& operator=(const TvxFoundationModules&) = delete;
};
