// The framed panel and the group box built on it. A panel draws its border
// only on the sides in BorderSides; the installer's work area has none.
#pragma once

#include "framed/FmCommon.h"
#include "platform/ui/StandardControls.h"

class TFmPanel : public TCustomPanel {
 public:
  explicit TFmPanel(TComponent* owner);
  const char* ClassName() const override { return "TFmPanel"; }

  TSides BorderSides() const { return borderSides_; }
  void SetBorderSides(TSides sides);

 protected:
  void Paint() override;

 private:
  TSides borderSides_ = sdAllSides;
};

// A captionless group frame; Transparent takes the parent's colour.
class TFmGroupBox : public TFmPanel {
 public:
  explicit TFmGroupBox(TComponent* owner);
  const char* ClassName() const override { return "TFmGroupBox"; }

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

 protected:
  void Paint() override;

 private:
  bool transparent_ = false;
};
