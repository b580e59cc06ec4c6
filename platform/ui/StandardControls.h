// The standard controls the libraries derive from: edits over the system
// EDIT class, buttons and check boxes over BUTTON, the list box over
// LISTBOX, and the panel, label and image that paint themselves.
#pragma once

#include "platform/Lists.h"
#include "platform/ui/Controls.h"

// --- Edits ------------------------------------------------------------------------
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);
  const char* ClassName() const override { return "TCustomEdit"; }

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);  // 0: no limit
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  bool Modified();
  void SetModified(bool value);

  int SelStart();
  void SetSelStart(int start);
  int SelLength();
  void SetSelLength(int length);
  String SelText();
  void SetSelText(const String& text);
  void SelectAll();
  void Clear() { SetText(String()); }

  TNotifyEvent OnChange;

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Change();

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  char passwordChar_ = 0;
  TEditCharCase charCase_ = ecNormal;
  TBorderStyle borderStyle_ = bsSingle;
  bool autoSelect_ = true;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
  const char* ClassName() const override { return "TEdit"; }
};

// A text that its edit mask refuses.
QE_DECLARE_EXCEPTION(EDBEditError, Exception);

// The masked edit's base. The mask engine comes with the editors; here the
// mask is kept and the text passes through unchanged.
class TCustomMaskEdit : public TCustomEdit {
 public:
  explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
  const char* ClassName() const override { return "TCustomMaskEdit"; }
  const String& EditMask() const { return editMask_; }
  void SetEditMask(const String& mask) { editMask_ = mask; }
  bool IsMasked() const { return !editMask_.empty(); }
  String EditText() { return Text(); }

 protected:
  // What a refused text raises; a mask engine calls it when the text does
  // not fit. Descendants may raise a message of their own.
  virtual void ValidateError();

 private:
  String editMask_;
};

// The scroll bars of a multi-line editor.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent* owner);
  ~TMemo() override;
  const char* ClassName() const override { return "TMemo"; }
  // The lines of the text; changing them changes the text.
  TStrings* Lines();
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  class TMemoStrings;
  std::unique_ptr<TMemoStrings> lines_;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
};

// --- Buttons ------------------------------------------------------------------------
class TButtonControl : public TWinControl {
 public:
  explicit TButtonControl(TComponent* owner);
  const char* ClassName() const override { return "TButtonControl"; }

  // The check state an action's Checked sets; a push button has none.
  virtual bool Checked() const { return false; }
  virtual void SetChecked(bool) {}

 protected:
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TControlActionLinkClass GetActionLinkClass() override;
};

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* owner);
  const char* ClassName() const override { return "TButton"; }

  // Enter presses the default button, Escape the cancel button.
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Clicking sets the form's ModalResult to this value when not mrNone.
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  void Click() override;
  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // Shows or hides the system's default-button look. The focus decides: a
  // focused button has it, and the Default button while no other button
  // has the focus (every focus change and a change of Default call it).
  virtual void SetButtonStyle(bool isDefault);

 private:
  // Whether the button has the default look, and takes Enter, while the
  // focus is on focused.
  bool IsActiveWith(TWinControl* focused) const;
  void FocusChanged(TWinControl* focused);

  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
 public:
  explicit TCheckBox(TComponent* owner);
  const char* ClassName() const override { return "TCheckBox"; }

  bool Checked() const override { return state_ == cbChecked; }
  void SetChecked(bool value) override { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  // A change fires OnClick, as a click by the user does.
  void SetState(TCheckBoxState state);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // Unchecked, checked and (when allowed) grayed, in turn.
  virtual void Toggle();

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

// --- List box ------------------------------------------------------------------------
class TListBox : public TWinControl {
 public:
  explicit TListBox(TComponent* owner);
  ~TListBox() override;
  const char* ClassName() const override { return "TListBox"; }

  // The items live in the window while it exists.
  TStrings* Items();
  int ItemIndex();
  void SetItemIndex(int index);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  int ItemHeight();

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  class TListBoxStrings;
  std::unique_ptr<TListBoxStrings> items_;
  TStringList saved_;  // the items while there is no window
  int savedIndex_ = -1;
  bool sorted_ = false;
};

// --- Panel, label, image --------------------------------------------------------------
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* owner);
  const char* ClassName() const override { return "TCustomPanel"; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool value) { fullRepaint_ = value; }
  bool Locked() const { return locked_; }
  void SetLocked(bool value) { locked_ = value; }

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(TRect& rect) override;
  void Paint() override;
  void RealignAfterChange();

 private:
  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
  bool fullRepaint_ = true;
  bool locked_ = false;
};

class TPanel : public TCustomPanel {
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
  const char* ClassName() const override { return "TPanel"; }
};

// Draws a bevel: the outer colour on the top and left sides, the inner
// colour on the bottom and right, width lines thick, shrinking r.
void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, int width);

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);
  const char* ClassName() const override { return "TLabel"; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // On: the label takes the size of its caption.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  // The control its accelerator focuses.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);

  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  // DrawText flags of the label's settings.
  UINT TextFlags() const;
  void AdjustBounds();
  virtual void DoDrawText(TRect& r, UINT flags);

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool autoSize_ = true;
  bool transparent_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  const char* ClassName() const override { return "TImage"; }

  TPicture* Picture() { return &picture_; }
  void SetPicture(TPicture* picture) { picture_.Assign(picture); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // Where the picture is drawn in the client area.
  TRect DestRect();

 protected:
  void Paint() override;

 private:
  void PictureChanged();

  TPicture picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool proportional_ = false;
  bool transparent_ = false;
  bool autoSize_ = false;
};
