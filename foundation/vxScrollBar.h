// A scroll bar that paints itself through a look-and-feel painter instead
// of the system's. It keeps the usual range model, lays out its five parts
// in its view info, repeats a held arrow or page step on its timer, lets the
// thumb be dragged (snapping back when the pointer strays too far) and
// reports through OnScroll and OnChange.
#pragma once

#include <functional>
#include <memory>

#include "foundation/vxControls.h"
#include "foundation/vxGraphics.h"
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeels.h"
#include "foundation/vxScrollBarParts.h"
#include "foundation/vdThemeManager.h"
#include "platform/ui/Controls.h"

class TvxScrollBar;

using TvxScrollEvent = std::function<void(TObject* sender, TScrollCode code, int& position)>;

class TvxScrollBarViewInfo : public TvxScrollBarPartRects {
 public:
  explicit TvxScrollBarViewInfo(TvxScrollBar* scrollBar) : ScrollBar(scrollBar) {}
  virtual ~TvxScrollBarViewInfo() = default;

  virtual void ComputePartRects();
  void Recalculate() { ComputePartRects(); }

  TvxScrollBar* ScrollBar;
  int ThumbnailSize = 0;
};

class TvxScrollBar : public TCustomControl {
 public:
  explicit TvxScrollBar(TComponent* owner);
  ~TvxScrollBar() override;
  const char* ClassName() const override { return "TvxScrollBar"; }

  TvxScrollBarKind Kind() const { return kind_; }
  void SetKind(TvxScrollBarKind kind);
  int Min() const { return range_.Min; }
  void SetMin(int value) { SetScrollParams(value, range_.Max, range_.PageSize, range_.Position, true); }
  int Max() const { return range_.Max; }
  void SetMax(int value) { SetScrollParams(range_.Min, value, range_.PageSize, range_.Position, true); }
  int PageSize() const { return range_.PageSize; }
  void SetPageSize(int value) { SetScrollParams(range_.Min, range_.Max, value, range_.Position, true); }
  int Position() const { return range_.Position; }
  void SetPosition(int value) { SetScrollParams(range_.Min, range_.Max, range_.PageSize, value, true); }
  const TvxScrollBarRange& Range() const { return range_; }
  // The one setter of the four range values; bad values raise
  // "Scrollbar property out of range" and change nothing.
  void SetScrollParams(int min, int max, int pageSize, int position, bool repaint);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value) { smallChange_ = value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value) { largeChange_ = value; }
  bool UnlimitedTracking() const { return unlimitedTracking_; }
  void SetUnlimitedTracking(bool value) { unlimitedTracking_ = value; }

  // The bar's own look-and-feel; setting copies the values of value.
  TvxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }
  void SetLookAndFeel(TvxLookAndFeel* value) { lookAndFeel_->Assign(value); }
  // The painter the look-and-feel chooses for scroll bars.
  const TvxCustomLookAndFeelPainter& Painter() const { return *lookAndFeel_->PainterForThemeClass(tcScrollBar); }

  const TvxScrollBarViewInfo& ViewInfo() const { return *viewInfo_; }
  TvxScrollBarHitPart PressedPart() const { return pressedPart_; }
  TvxScrollBarHitPart HotPart() const { return hotPart_; }
  TvxScrollBarHitPart GetScrollBarPart(TPoint point) const;
  // The repeat timer of a held arrow or page area.
  TvxTimer* Timer() const { return timer_.get(); }
  // Scrolls as the code says, through OnScroll.
  void Scroll(TScrollCode code) { InternalScroll(code); }
  // Ends a press or a thumb drag with its notifications.
  void CancelScrolling();
  // The bar as it paints, into a canvas of the caller's.
  virtual void PaintScrollBar(TvxCanvas* canvas);

  void SetBounds(int left, int top, int width, int height) override;
  void Dispatch(TMessage& message) override;

  std::function<void(TObject*)> OnChange;
  TvxScrollEvent OnScroll;

 protected:
  virtual void NotifyChange();
  virtual void PaintBackground(TvxCanvas* canvas, const TRect& rect);
  virtual void PaintPartInState(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, TvxScrollBarHitPart part);
  virtual void PaintPart(TvxCanvas* canvas, const TRect& rect, TvxScrollBarHitPart part);
  virtual bool IsHotTrackEnabled() const;
  virtual void FireScroll(TScrollCode code, int& position);
  virtual int MinThumbLength() const;

  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  friend class TvxScrollBarViewInfo;
  TvxScrollBarMetrics Metrics() const;
  TvxButtonState PartState(TvxScrollBarHitPart part) const;
  void InternalScroll(TScrollCode code);
  void StepPressedPart();
  void TimerTick();
  void LookAndFeelChanged();
  void ThemeChanged();
  bool CursorOverPressedPart();

  TvxScrollBarKind kind_ = sbHorizontal;
  TvxScrollBarRange range_{0, 100, 0, 0};
  int smallChange_ = 1;
  int largeChange_ = 1;
  bool unlimitedTracking_ = false;
  std::unique_ptr<TvxLookAndFeel> lookAndFeel_;
  TBitmap buffer_;
  std::unique_ptr<TvxCanvas> bufferCanvas_;
  std::unique_ptr<TvxScrollBarViewInfo> viewInfo_;
  std::unique_ptr<TvxTimer> timer_;
  TvdThemeChangedNotificator themeNotifier_;
  TvxScrollBarHitPart pressedPart_ = sbhNone;
  TvxScrollBarHitPart hotPart_ = sbhNone;
  TPoint downPoint_;
  int savedPosition_ = 0;
  TRect savedThumb_;
};
