// A painter that stands for a skin in the tests: one registered under a
// name in the style painter registry, as a skin module registers its own.
#pragma once

#include "foundation/vxLookAndFeelPainters.h"

class TestSkinPainter : public TvxFlatLookAndFeelPainter {
 public:
  static const TestSkinPainter& Painter() {
    static const TestSkinPainter painter;
    return painter;
  }
};
