// The hint window: a top-most popup without activation that shows a
// control's hint. The application makes it through its replaceable hint
// window class, sizes it with CalcHintRect and shows it with ActivateHint.
#pragma once

#include "platform/ui/Controls.h"

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* owner);
  const char* ClassName() const override { return "THintWindow"; }

  // Shows the hint with its window at r (screen coordinates).
  virtual void ActivateHint(const TRect& r, const String& hint);
  // The window rectangle, at (0, 0), that the hint needs at most maxWidth
  // pixels wide.
  virtual TRect CalcHintRect(int maxWidth, const String& hint, void* data);
  // Hides the window (it is made again on the next hint).
  void ReleaseHandle() { DestroyHandle(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
  virtual void NCPaint(HDC dc);
};

// The part of a hint before '|' (the whole hint when there is none).
String GetShortHint(const String& hint);
String GetLongHint(const String& hint);
