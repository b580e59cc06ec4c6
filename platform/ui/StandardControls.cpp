#include "platform/ui/StandardControls.h"

#include <algorithm>

#include "platform/ui/Actions.h"
#include "platform/ui/Forms.h"

// --- TCustomEdit ----------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(csClickEvents | csSetCaption | csDoubleClicks);
  ChangeBounds(0, 0, 121, 21);
  SetTabStop(true);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "EDIT");
  p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (readOnly_) p.Style |= ES_READONLY;
  if (charCase_ == ecUpperCase) p.Style |= ES_UPPERCASE;
  if (charCase_ == ecLowerCase) p.Style |= ES_LOWERCASE;
  if (borderStyle_ == bsSingle) {
    if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
    else p.Style |= WS_BORDER;
  }
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(Handle(), EM_LIMITTEXT, WPARAM(maxLength_), 0);
  if (passwordChar_) SendMessageA(Handle(), EM_SETPASSWORDCHAR, WPARAM(uint8_t(passwordChar_)), 0);
}

void TCustomEdit::SetMaxLength(int length) {
  maxLength_ = std::max(length, 0);
  if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, WPARAM(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetPasswordChar(char c) {
  if (passwordChar_ == c) return;
  passwordChar_ = c;
  if (HandleAllocated()) {
    SendMessageA(Handle(), EM_SETPASSWORDCHAR, WPARAM(uint8_t(c)), 0);
    Invalidate();
  }
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (charCase_ == value) return;
  charCase_ = value;
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle style) {
  if (borderStyle_ == style) return;
  borderStyle_ = style;
  RecreateWnd();
}

bool TCustomEdit::Modified() { return HandleAllocated() && SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0; }

void TCustomEdit::SetModified(bool value) {
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETMODIFY, value, 0);
}

int TCustomEdit::SelStart() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(start);
}

void TCustomEdit::SetSelStart(int start) { SendMessageA(Handle(), EM_SETSEL, start, start); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(end - start);
}

void TCustomEdit::SetSelLength(int length) {
  int start = SelStart();
  SendMessageA(Handle(), EM_SETSEL, start, start + length);
}

String TCustomEdit::SelText() { return Text().substr(size_t(SelStart()), size_t(SelLength())); }

void TCustomEdit::SetSelText(const String& text) {
  SendMessageA(Handle(), EM_REPLACESEL, 0, LPARAM(text.c_str()));
}

void TCustomEdit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE) Change();
      return;
    case CM_TEXTCHANGED: return;
    case CM_ENTER:
      if (autoSelect_ && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
      TWinControl::Dispatch(m);
      return;
    case CM_CTL3DCHANGED: RecreateWnd(); return;
    default: TWinControl::Dispatch(m);
  }
}

void TCustomMaskEdit::ValidateError() {
  MessageBeep(0);
  throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

// --- TMemo ----------------------------------------------------------------------------------

// The memo's lines, read from and written to its text.
class TMemo::TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TMemo* memo) : memo_(memo) {}
  String Get(int index) const override {
    Load();
    return lines_.Get(index);
  }
  int GetCount() const override {
    Load();
    return lines_.Count();
  }
  void Insert(int index, const String& s) override {
    Load();
    lines_.Insert(index, s);
    Store();
  }
  void Put(int index, const String& s) override {
    Load();
    lines_.Put(index, s);
    Store();
  }
  void Delete(int index) override {
    Load();
    lines_.Delete(index);
    Store();
  }
  void Clear() override { memo_->SetText(String()); }

 protected:
  String GetTextStr() const override { return memo_->Text(); }
  void SetTextStr(std::string_view text) override { memo_->SetText(String(text)); }

 private:
  // Every stored line ends with its own line break, so that a blank last
  // line survives the way back; a text without a final break reads the same.
  void Load() const { lines_.SetText(memo_->Text()); }
  void Store() { memo_->SetText(lines_.Text()); }

  TMemo* memo_;
  mutable TStringList lines_;
};

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(this)) {
  ChangeBounds(0, 0, 185, 89);
  SetAutoSelect(false);
}

TMemo::~TMemo() = default;

TStrings* TMemo::Lines() { return lines_.get(); }

void TMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~(ES_AUTOHSCROLL | ES_PASSWORD);
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
  if (!wordWrap_) p.Style |= ES_AUTOHSCROLL | WS_HSCROLL;
}

void TMemo::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  RecreateWnd();
}

void TMemo::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    TCustomEdit::Dispatch(m);
    // Tab moves on; Enter stays in the memo only when it wants returns.
    m.Result &= ~DLGC_WANTALLKEYS;
    m.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (wantReturns_ && (GetKeyState(VK_RETURN) < 0)) m.Result |= DLGC_WANTALLKEYS;
    return;
  }
  TCustomEdit::Dispatch(m);
}

// --- Buttons -----------------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TButtonControl::ActionChange(TObject* sender, bool checkDefaults) {
  TWinControl::ActionChange(sender, checkDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(sender); action && (!checkDefaults || !Checked()))
    SetChecked(action->Checked());
}

TControlActionLinkClass TButtonControl::GetActionLinkClass() { return &NewActionLink<TButtonActionLink>; }

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  SetControlStyle(csSetCaption | csDoubleClicks);
  ChangeBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
  TButtonControl::CreateWnd();
  TCustomForm* form = GetParentForm(this);
  FocusChanged(form ? form->ActiveControl() : nullptr);
}

bool TButton::IsActiveWith(TWinControl* focused) const {
  auto* button = dynamic_cast<TButton*>(focused);
  return button ? button == this : default_;
}

void TButton::FocusChanged(TWinControl* focused) { SetButtonStyle(IsActiveWith(focused)); }

void TButton::SetButtonStyle(bool isDefault) {
  if (!HandleAllocated()) return;
  const DWORD style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((DWORD(GetWindowLongA(Handle(), GWL_STYLE)) & BS_TYPEMASK) != style)
    SendMessageA(Handle(), BM_SETSTYLE, style, 1);
}

void TButton::SetDefault(bool value) {
  if (default_ == value) return;
  default_ = value;
  TCustomForm* form = GetParentForm(this);
  FocusChanged(form ? form->ActiveControl() : nullptr);
}

void TButton::Click() {
  if (modalResult_ != 0)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(char(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
      }
      return;
    case CM_DIALOGKEY: {
      // Enter belongs to the button with the default look.
      TCustomForm* form = GetParentForm(this);
      bool enter = m.WParam == VK_RETURN && IsActiveWith(form ? form->ActiveControl() : nullptr);
      bool escape = m.WParam == VK_ESCAPE && cancel_;
      if ((enter || escape) && CanFocus()) {
        Click();
        m.Result = 1;
      }
      return;
    }
    case CM_FOCUSCHANGED: FocusChanged(reinterpret_cast<TWinControl*>(m.LParam)); return;
    case CM_TEXTCHANGED: Invalidate(); return;
    default: TButtonControl::Dispatch(m);
  }
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetControlStyle(csSetCaption | csDoubleClicks);
  SetParentColor(true);
  ChangeBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  // The box changes state in Toggle, not by itself.
  p.Style |= BS_3STATE;
  if (alignment_ == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(Handle(), BM_SETCHECK, WPARAM(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState state) {
  if (state_ == state) return;
  state_ = state;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, WPARAM(state), 0);
  Click();
}

void TCheckBox::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  RecreateWnd();
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCheckBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(char(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        m.Result = 1;
      }
      return;
    default: TButtonControl::Dispatch(m);
  }
}

// --- TListBox ------------------------------------------------------------------------------------

// The items: in the window while it exists, in the saved list otherwise.
class TListBox::TListBoxStrings : public TStrings {
 public:
  explicit TListBoxStrings(TListBox* box) : box_(box) {}
  String Get(int index) const override {
    if (!box_->HandleAllocated()) return box_->saved_.Get(index);
    LRESULT n = SendMessageA(box_->Handle(), LB_GETTEXTLEN, WPARAM(index), 0);
    if (n == LB_ERR) Error("List index out of bounds (%d)", index);
    String s(size_t(n) + 1, '\0');
    SendMessageA(box_->Handle(), LB_GETTEXT, WPARAM(index), LPARAM(s.data()));
    s.resize(size_t(n));
    return s;
  }
  int GetCount() const override {
    if (!box_->HandleAllocated()) return box_->saved_.Count();
    return int(SendMessageA(box_->Handle(), LB_GETCOUNT, 0, 0));
  }
  int Add(const String& s) override {
    if (!box_->HandleAllocated()) return box_->saved_.Add(s);
    LRESULT i = SendMessageA(box_->Handle(), box_->sorted_ ? LB_ADDSTRING : LB_INSERTSTRING,
                             box_->sorted_ ? 0 : WPARAM(-1), LPARAM(s.c_str()));
    if (i < 0) throw EOutOfResources("Out of system resources");
    return int(i);
  }
  void Insert(int index, const String& s) override {
    if (!box_->HandleAllocated()) return box_->saved_.Insert(index, s);
    if (index < 0 || index > GetCount()) Error("List index out of bounds (%d)", index);
    if (SendMessageA(box_->Handle(), LB_INSERTSTRING, WPARAM(index), LPARAM(s.c_str())) < 0)
      throw EOutOfResources("Out of system resources");
  }
  void Delete(int index) override {
    if (!box_->HandleAllocated()) return box_->saved_.Delete(index);
    if (SendMessageA(box_->Handle(), LB_DELETESTRING, WPARAM(index), 0) == LB_ERR)
      Error("List index out of bounds (%d)", index);
  }
  void Clear() override {
    if (!box_->HandleAllocated()) return box_->saved_.Clear();
    SendMessageA(box_->Handle(), LB_RESETCONTENT, 0, 0);
  }

 private:
  TListBox* box_;
};

TListBox::TListBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TListBoxStrings>(this)) {
  ChangeBounds(0, 0, 121, 97);
  SetTabStop(true);
}

TListBox::~TListBox() { DestroyHandle(); }

TStrings* TListBox::Items() { return items_.get(); }

void TListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "LISTBOX");
  p.Style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  if (sorted_) p.Style |= LBS_SORT;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd() {
  TWinControl::CreateWnd();
  for (int i = 0; i < saved_.Count(); ++i) items_->Add(saved_.Get(i));
  saved_.Clear();
  SendMessageA(Handle(), LB_SETCURSEL, WPARAM(savedIndex_), 0);
}

void TListBox::DestroyWnd() {
  saved_.Clear();
  int n = int(SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) saved_.Add(items_->Get(i));
  savedIndex_ = int(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
  TWinControl::DestroyWnd();
}

int TListBox::ItemIndex() {
  if (!HandleAllocated()) return savedIndex_;
  return int(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
  if (!HandleAllocated()) {
    savedIndex_ = index;
    return;
  }
  if (ItemIndex() == index) return;
  SendMessageA(Handle(), LB_SETCURSEL, WPARAM(index), 0);
}

void TListBox::SetSorted(bool value) {
  if (sorted_ == value) return;
  sorted_ = value;
  if (!HandleAllocated()) {
    saved_.SetSorted(value);
    return;
  }
  RecreateWnd();
}

int TListBox::ItemHeight() { return int(SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0)); }

void TListBox::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == LBN_SELCHANGE) Click();
    if (HIWORD(m.WParam) == LBN_DBLCLK) DblClick();
    return;
  }
  TWinControl::Dispatch(m);
}

// --- TCustomPanel ----------------------------------------------------------------------------------

void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, int width) {
  canvas->Pen()->SetWidth(1);
  --r.Bottom;
  --r.Right;
  for (int i = 0; i < width; ++i) {
    canvas->Pen()->SetColor(topColor);
    TPoint top[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
    canvas->Polyline(top, 3);
    canvas->Pen()->SetColor(bottomColor);
    TPoint bottom[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
    canvas->Polyline(bottom, 3);
    ++r.Left;
    ++r.Top;
    --r.Right;
    --r.Bottom;
  }
  ++r.Bottom;
  ++r.Right;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks);
  SetColor(clBtnFace);
  ChangeBounds(0, 0, 185, 41);
}

void TCustomPanel::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  if (borderStyle_ == bsSingle) {
    if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
    else p.Style |= WS_BORDER;
  }
  p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::RealignAfterChange() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  bevelInner_ = value;
  RealignAfterChange();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  bevelOuter_ = value;
  RealignAfterChange();
}

void TCustomPanel::SetBevelWidth(int value) {
  bevelWidth_ = value;
  RealignAfterChange();
}

void TCustomPanel::SetBorderWidth(int value) {
  borderWidth_ = value;
  RealignAfterChange();
}

void TCustomPanel::SetBorderStyle(TBorderStyle style) {
  if (borderStyle_ == style) return;
  borderStyle_ = style;
  RecreateWnd();
}

void TCustomPanel::AdjustClientRect(TRect& r) {
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  r = TRect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
}

void TCustomPanel::Paint() {
  TRect r = ClientRect();
  auto bevelColors = [](TBevelCut cut, TColor& top, TColor& bottom) {
    top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
  };
  TColor top, bottom;
  if (bevelOuter_ != bvNone) {
    bevelColors(bevelOuter_, top, bottom);
    Frame3D(Canvas(), r, top, bottom, bevelWidth_);
  }
  Frame3D(Canvas(), r, Color(), Color(), borderWidth_);
  if (bevelInner_ != bvNone) {
    bevelColors(bevelInner_, top, bottom);
    Frame3D(Canvas(), r, top, bottom, bevelWidth_);
  }
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  String caption = Caption();
  if (caption.empty()) return;
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->Font()->Assign(Font());
  RECT text = r;
  UINT align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  DrawTextA(Canvas()->Handle(), caption.c_str(), -1, &text, align | DT_VCENTER | DT_SINGLELINE);
  Canvas()->Brush()->SetStyle(bsSolid);
}

void TCustomPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED: Invalidate(); return;
    case WM_WINDOWPOSCHANGED:
      TCustomControl::Dispatch(m);
      if (fullRepaint_) Invalidate();
      return;
    default: TCustomControl::Dispatch(m);
  }
}

// --- TLabel -------------------------------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() | csReplicatable);
  ChangeBounds(0, 0, 65, 17);
  SetParentColor(true);
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS;
  flags |= alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return flags;
}

void TLabel::DoDrawText(TRect& r, UINT flags) {
  String text = Caption();
  // An empty line still has a height when measuring. (push_back, not
  // assignment of " ": inlined into a unity build, the assignment trips a
  // false -Wstringop-overflow of GCC 12.)
  if (text.empty() && (flags & DT_CALCRECT)) text.push_back(' ');
  HDC dc = Canvas()->Handle();
  SelectObject(dc, Font()->Handle());
  RECT rc = r;
  SetBkMode(dc, TRANSPARENT);
  if (!Enabled() && !(flags & DT_CALCRECT)) {
    OffsetRect(&rc, 1, 1);
    ::SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextA(dc, text.c_str(), -1, &rc, flags);
    OffsetRect(&rc, -1, -1);
    ::SetTextColor(dc, ColorToRGB(clBtnShadow));
  } else {
    ::SetTextColor(dc, ColorToRGB(Font()->Color()));
  }
  DrawTextA(dc, text.c_str(), -1, &rc, flags);
  r = TRect(rc);
}

void TLabel::Paint() {
  TRect r = ClientRect();
  if (!transparent_) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
  }
  UINT flags = TextFlags();
  if (layout_ != tlTop) {
    TRect calc = r;
    DoDrawText(calc, flags | DT_CALCRECT);
    int offset = layout_ == tlBottom ? r.Height() - calc.Height() : (r.Height() - calc.Height()) / 2;
    r.Top += offset;
  }
  DoDrawText(r, flags);
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || !Parent() || !Parent()->HandleAllocated()) return;
  TRect r = ClientRect();
  HDC dc = GetDC(nullptr);
  SelectObject(dc, Font()->Handle());
  RECT rc = r;
  String text = Caption().empty() ? String(" ") : Caption();
  DrawTextA(dc, text.c_str(), -1, &rc, TextFlags() | DT_CALCRECT);
  ReleaseDC(nullptr, dc);
  int left = Left();
  int width = rc.right - rc.left;
  if (alignment_ == taRightJustify) left += Width() - width;
  SetBounds(left, Top(), width, rc.bottom - rc.top);
}

void TLabel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
  layout_ = value;
  Invalidate();
}

void TLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
  transparent_ = value;
  SetControlStyle(value ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* control) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = control;
  if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(char(m.WParam), Caption()) &&
          focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
      }
      return;
    default: TGraphicControl::Dispatch(m);
  }
}

// --- TImage ------------------------------------------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() | csReplicatable);
  ChangeBounds(0, 0, 105, 105);
  picture_.OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { picture_.OnChange = nullptr; }

void TImage::PictureChanged() {
  if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0)
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  if (TGraphic* g = picture_.Graphic()) {
    g->SetTransparent(transparent_);
    SetControlStyle(transparent_ ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
  }
  Invalidate();
}

TRect TImage::DestRect() {
  int w = picture_.Width(), h = picture_.Height();
  int cw = ClientWidth(), ch = ClientHeight();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_ && w > 0 && h > 0) {
      double scale = std::min(double(cw) / w, double(ch) / h);
      w = int(w * scale);
      h = int(h * scale);
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r(0, 0, w, h);
  if (center_) r = Bounds((cw - w) / 2, (ch - h) / 2, w, h);
  return r;
}

void TImage::Paint() {
  if (TGraphic* g = picture_.Graphic(); g && !g->Empty()) Canvas()->StretchDraw(DestRect(), g);
}

void TImage::SetStretch(bool value) {
  stretch_ = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  center_ = value;
  Invalidate();
}

void TImage::SetProportional(bool value) {
  proportional_ = value;
  Invalidate();
}

void TImage::SetTransparent(bool value) {
  transparent_ = value;
  PictureChanged();
}

void TImage::SetAutoSize(bool value) {
  autoSize_ = value;
  PictureChanged();
}
