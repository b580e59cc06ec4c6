// The calculator keypad and the popup panel it drops down in. The
// calculator draws a display and eighteen keys over the arithmetic of
// FmCalcEngine and takes mouse clicks and keys. A popup panel shows its
// children in a borderless popup window under another control and runs a
// local message loop until the popup is accepted or dismissed.
#pragma once

#include <memory>

#include "framed/FmCalcEngine.h"
#include "framed/FmPanel.h"

class TFmCalculator;

// The keypad's eight colours, addressed by index 0..7.
class TFmCalculatorColors : public TPersistent {
 public:
  explicit TFmCalculatorColors(TFmCalculator* owner = nullptr) : owner_(owner) {}
  const char* ClassName() const override { return "TFmCalculatorColors"; }
  void Assign(const TPersistent* source) override;

  // clNone outside 0..7.
  virtual TColor GetColor(int index) const;
  virtual void SetColor(int index, TColor color);

  TColor NumberFont() const { return colors_[0]; }
  TColor NumberBtns() const { return colors_[1]; }
  TColor OperatorFont() const { return colors_[2]; }
  TColor OperatorBtns() const { return colors_[3]; }
  TColor CommandFont() const { return colors_[4]; }
  TColor CommandBtns() const { return colors_[5]; }
  TColor DisplayFont() const { return colors_[6]; }
  TColor Display() const { return colors_[7]; }

 private:
  TFmCalculator* owner_;
  TColor colors_[8] = {clWindowText, clBtnFace, clWindowText, clBtnFace, clWindowText, clBtnFace, clWindowText, clWindow};
};

class TFmCalculator : public TFmCustomPanel {
 public:
  explicit TFmCalculator(TComponent* owner);
  ~TFmCalculator() override;
  const char* ClassName() const override { return "TFmCalculator"; }

  double Result() const { return engine_.Result(); }
  virtual void SetResult(double value);
  const TFmCalculatorEngine& Engine() const { return engine_; }
  bool BoldButtons() const { return boldButtons_; }
  virtual void SetBoldButtons(bool value);
  TFmCalculatorColors* CalculatorColors() { return &colors_; }
  virtual void SetCalculatorColors(const TFmCalculatorColors* colors) { colors_.Assign(colors); }
  bool ThemeAware() const { return themeAware_; }
  virtual void SetThemeAware(bool value);
  // In a popup the set key shows and Enter accepts.
  bool IsPopup() const { return isPopup_; }
  void SetIsPopup(bool value);
  // The cells as they are laid out now.
  TFmCalculatorLayout Layout();
  // A key press as the mouse or keyboard makes it.
  void PressCell(int cell);

  TNotifyEvent OnChange;
  TNotifyEvent OnSetBtnClick;

  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Click() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  virtual void PaintDisplay(TCanvas* c, const TRect& r, TColor lineColor);
  virtual void PaintKey(TCanvas* c, TRect r, int index);
  virtual void SetHotKey(int index);
  virtual void SetPressedKey(int index);
  virtual void Change();
  virtual void SetBtnClick();

 private:
  bool Themed() const;
  void MeasureAndSize();
  int CellAt(int x, int y);

  TFmCalculatorEngine engine_;
  TFmCalculatorColors colors_{this};
  int pressedKey_ = kNoCell;
  int hotKey_ = 0;
  bool isPopup_ = false;
  TRect pressedRect_;
  int digitHeight_ = 13;
  bool boldButtons_ = false;
  bool themeAware_ = true;
};

// The private message that closes a popup.
constexpr UINT WM_FMCLOSEPOPUP = 0x2423;

class TFmCustomPopup : public TFmCustomPanel {
 public:
  explicit TFmCustomPopup(TComponent* owner);
  const char* ClassName() const override { return "TFmCustomPopup"; }

 protected:
  void Paint() override;
};

class TFmPopup;

class TFmPopupPanel : public TFmCustomPopup {
 public:
  explicit TFmPopupPanel(TComponent* owner);
  ~TFmPopupPanel() override;
  const char* ClassName() const override { return "TFmPopupPanel"; }

  // Shows the panel's children under control (right edges lined up by
  // default) until the popup closes: true when ClosePopup closed it, false
  // when it was dismissed or a popup was already showing.
  bool Popup(TControl* control) { return PopupAt(control, -1, -1); }
  bool PopupAt(TControl* control, int x, int y);
  // Accepts the popup.
  void ClosePopup();
  bool IsPoppedUp() const { return popup_ != nullptr; }
  TFmPopup* CurrentPopup() const { return popup_; }

  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

 protected:
  void DestroyWnd() override;

 private:
  TControl* control_ = nullptr;
  TFmPopup* popup_ = nullptr;
};

// The popup window itself: a borderless WS_POPUP that never activates.
class TFmPopup : public TFmCustomPopup {
 public:
  TFmPopup(TFmPopupPanel* panel, TControl* ownerControl);
  const char* ClassName() const override { return "TFmPopup"; }

  // Shows the popup under its control, or at offsets (x, y) from its
  // top-left corner, and runs the local loop: true when accepted.
  bool Show(int x, int y);
  void SetCancelled(bool value) { cancelled_ = value; }
  TWinControl* FocusTarget() const { return focusTarget_; }

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  void Hide();
  void PostClose();
  void MoveChildren(TWinControl* from, TWinControl* to);

  TFmPopupPanel* panel_;
  TControl* ownerControl_;
  TWinControl* focusTarget_ = nullptr;
  bool cancelled_ = false;
};
