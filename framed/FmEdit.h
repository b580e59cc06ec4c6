// The framed edit: the masked edit with a flat frame painted in its
// non-client border (hot while focused or under the mouse), a background
// that follows its state (normal, focused, read-only, disabled), Enter as
// Tab, a cue text, and an optional drop button beside the text. The numeric
// edit filters its keys, reads its text as a number, checks a range when
// left and drops down a calculator.
#pragma once

#include <functional>
#include <memory>

#include "framed/FmCommonController.h"
#include "framed/FmEditNumeric.h"
#include "platform/ui/StandardControls.h"

class TFmCalculatorColors;

using TFmValidateErrorEvent = std::function<void(TObject* sender, String& message)>;

class TFmCustomEdit : public TCustomMaskEdit, public IFmFrameControllerClient {
 public:
  explicit TFmCustomEdit(TComponent* owner);
  ~TFmCustomEdit() override;
  const char* ClassName() const override { return "TFmCustomEdit"; }

  // The text exactly as the masked edit reports it.
  String GetText() { return Text(); }

  TAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TAlignment value);
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }
  bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
  void SetBeepOnInvalidKey(bool value) { beepOnInvalidKey_ = value; }

  TColor DisabledColor() const { return disabledColor_; }
  virtual void SetDisabledColor(TColor value);
  TColor FocusColor() const { return focusColor_; }
  virtual void SetFocusColor(TColor value);
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  virtual void SetReadOnlyColor(TColor value);
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  void SetReadOnlyColorOnFocus(bool value);
  void SetReadOnly(bool value);

  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value) { SetFrameValue(frameColor_, value); }
  TColor FrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor value) { SetFrameValue(frameHotColor_, value); }
  bool FrameHotTrack() const { return frameHotTrack_; }
  virtual void SetFrameHotTrack(bool value);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle value) { SetFrameValue(frameHotStyle_, value); }
  TSides FrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides value) { SetFrameValue(frameSides_, value); }
  TFrameStyle FrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle value) { SetFrameValue(frameStyle_, value); }
  bool FrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  virtual void SetFramingPreference(TFramingPreference value);
  TFmFrameController* FrameController() const { return controller_.Get(); }
  virtual void SetFrameController(TFmFrameController* controller) { controller_.Set(controller); }
  TFmFrameControllerNotifications FrameControllerNotifications() const override { return notifications_; }
  void SetFrameControllerNotifications(TFmFrameControllerNotifications v) { notifications_ = v; }
  // Takes every controller setting that the notifications select, as if
  // set through its property.
  void UpdateFrameFromController() override;

  const String& TextHint() const { return textHint_; }
  void SetTextHint(const String& value);
  bool TextHintVisibleOnFocus() const { return textHintVisibleOnFocus_; }
  void SetTextHintVisibleOnFocus(bool value);

  // Visual styles paint the border instead of the custom frame.
  virtual bool IsThemedFraming() const;
  // A shown frame, unless visual styles paint the border.
  bool PaintsOwnFrame() const;
  bool InControl() const { return inControl_; }
  bool OverControl() const { return overControl_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TFmValidateErrorEvent OnValidateError;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void DoEnter() override;
  void DoExit() override;
  // The masked edit's refusal of a text: OnValidateError may give the
  // message of its own.
  void ValidateError() override;

  virtual void ApplyTextHint(const String& text);
  virtual void ApplyStateColor();
  virtual void ChangeHotState(bool mouse, bool value);
  virtual void InvalidateFrame();
  virtual void ReadOnlyChanged();
  virtual void PaintDropButton(TCanvas* canvas, const TRect& r);
  virtual void DropDown();
  virtual void CloseUp();

  // The drop button beside the text.
  bool DropButtonVisible() const { return dropButtonVisible_; }
  void SetDropButtonVisible(bool value);
  bool DroppedDown() const { return droppedDown_; }
  void DoDropDown();

 private:
  template <typename T>
  void SetFrameValue(T& field, const T& value) {
    if (field == value) return;
    field = value;
    InvalidateFrame();
  }
  void SetShowDropButton(bool value);
  void SetButtonDown(bool down);
  void ReleaseDropButton();
  bool FrameCoversBorder();
  void PaintNonClient();
  void ForceNonClientPaint();
  int DropButtonWidth() const;
  TRect DropButtonRect() const;  // window coordinates

  TAlignment alignment_ = taLeftJustify;
  bool tabOnEnter_ = false;
  bool beepOnInvalidKey_ = true;
  bool updatingColor_ = false;
  TColor disabledColor_ = clBtnFace;
  TColor focusColor_ = clWindow;
  TColor normalColor_ = clWindow;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  TFmFrameControllerLink controller_{this};
  TFmFrameControllerNotifications notifications_ = fcnAll;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = sdAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  TFramingPreference framingPreference_ = fpXPThemes;
  TColor readOnlyColor_ = clInfoBk;
  bool readOnlyColorOnFocus_ = false;
  String textHint_;
  bool textHintVisibleOnFocus_ = false;
  bool dropButtonVisible_ = false;
  bool showDropButton_ = false;
  bool mouseOverButton_ = false;
  bool flatButtons_ = false;
  TColor flatButtonColor_ = clBtnFace;
  bool droppedDown_ = false;
  bool buttonDown_ = false;
  bool inControl_ = false;
  bool overControl_ = false;
  bool frameVisible_ = false;
};

class TFmEdit : public TFmCustomEdit {
 public:
  explicit TFmEdit(TComponent* owner) : TFmCustomEdit(owner) {}
  const char* ClassName() const override { return "TFmEdit"; }
};

using TFmRangeErrorEvent =
    std::function<void(TObject* sender, double enteredValue, double adjustedValue, bool& autoCorrect)>;

class TFmNumericEdit : public TFmEdit {
 public:
  explicit TFmNumericEdit(TComponent* owner);
  ~TFmNumericEdit() override;
  const char* ClassName() const override { return "TFmNumericEdit"; }

  bool AllowBlank() const { return allowBlank_; }
  void SetAllowBlank(bool value) { allowBlank_ = value; }
  bool AllowScientificNotation() const { return allowScientificNotation_; }
  void SetAllowScientificNotation(bool value) { allowScientificNotation_ = value; }
  double BlankValue() const { return blankValue_; }
  void SetBlankValue(double value) { blankValue_ = value; }
  bool CheckRange() const { return checkRange_; }
  void SetCheckRange(bool value) { checkRange_ = value; }
  bool IntegersOnly() const { return integersOnly_; }
  virtual void SetIntegersOnly(bool value);
  double Min() const { return min_; }
  virtual void SetMin(double value);
  double Max() const { return max_; }
  virtual void SetMax(double value);
  const String& DisplayFormat() const { return displayFormat_; }
  virtual void SetDisplayFormat(const String& format);
  bool CalculatorVisible() const { return DropButtonVisible(); }
  void SetCalculatorVisible(bool value) { SetDropButtonVisible(value); }
  bool CalculatorBoldButtons() const { return calculatorBoldButtons_; }
  void SetCalculatorBoldButtons(bool value) { calculatorBoldButtons_ = value; }
  TFmCalculatorColors* CalculatorColors() const { return calculatorColors_.get(); }
  virtual void SetCalculatorColors(const TFmCalculatorColors* colors);

  // Reading an empty field that allows no blank writes Min into it.
  double Value() { return GetValue(); }
  virtual double GetValue();
  virtual void SetValue(double value);
  int64_t GetIntValue();
  void SetIntValue(int64_t value) { SetValue(double(value)); }

  virtual bool IsValidChar(char c);
  virtual String FormatValue(double value);
  virtual double TextToValue();
  virtual double CheckValueRange(bool& keepFocus, double value);
  virtual void ShowCalculator();

  TFmRangeErrorEvent OnRangeError;

  void Dispatch(TMessage& message) override;

 protected:
  void Loaded() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void DoEnter() override;
  void DoExit() override;
  void Change() override;
  void DropDown() override;
  virtual void RangeError(double enteredValue, double adjustedValue, bool& autoCorrect);

 private:
  TFmNumericRules Rules() const;

  bool allowBlank_ = false;
  bool allowScientificNotation_ = true;
  double blankValue_ = 0;
  bool checkRange_ = false;
  bool integersOnly_ = true;
  double min_ = 0;
  double max_ = 0;
  String displayFormat_ = ",0;(,0)";
  double valueOnEnter_ = 0;
  bool calculatorBoldButtons_ = false;
  std::unique_ptr<TFmCalculatorColors> calculatorColors_;
  bool decimalKeyPressed_ = false;
  bool reformatLock_ = false;
};
