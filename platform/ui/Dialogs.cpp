#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/ui/Clipboard.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StandardControls.h"

namespace {

struct ButtonKind {
  TMsgDlgButtons Button;
  const char* Caption;
  const char* Name;  // the caption without its accelerator, for the copy
  TModalResult Result;
};

// In the order of the row: the system's, with Cancel last.
const ButtonKind kButtonKinds[] = {
    {mbYes, "&Yes", "Yes", mrYes},          {mbNo, "&No", "No", mrNo},
    {mbOK, "OK", "OK", mrOk},               {mbAbort, "&Abort", "Abort", mrAbort},
    {mbRetry, "&Retry", "Retry", mrRetry},  {mbIgnore, "&Ignore", "Ignore", mrIgnore},
    {mbCancel, "Cancel", "Cancel", mrCancel},
};

// The sets the system's message boxes offer.
constexpr TMsgDlgButtons kButtonSets[] = {mbOK,          mbOKCancel,         mbYesNo,
                                          mbYesNoCancel, mbRetry | mbCancel, mbAbortRetryIgnore};

// The button that Escape and the close box press; 0 when none may.
TMsgDlgButtons EscapeButton(TMsgDlgButtons buttons) {
  for (TMsgDlgButtons b : {mbCancel, mbNo})
    if (buttons & b) return b;
  return buttons == mbOK ? mbOK : 0;
}

const char* const kCaptions[] = {"Warning", "Error", "Information", "Confirmation"};
const LPCSTR kIcons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION};

// The font's average character width and its height: a dialog unit is a
// quarter of the one across and an eighth of the other down.
TSize DialogBaseUnits(TFont* font) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  SIZE extent{};
  GetTextExtentPoint32A(dc, kAlphabet, 52, &extent);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

// The font the system's message boxes write in.
void UseMessageFont(TFont* font) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
  HFONT handle = CreateFontIndirectA(&metrics.lfMessageFont);
  font->SetHandle(handle);
  DeleteObject(handle);
}

class TMessageForm : public TForm {
 public:
  TMessageForm(const String& message, TMsgDlgType type, TMsgDlgButtons buttons);
  const char* ClassName() const override { return "TMessageForm"; }
  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;

 private:
  void LayOut(const String& message);
  String CopyText();

  HICON icon_ = nullptr;
  TPoint iconPos_;
  TLabel* message_;
  std::vector<TButton*> buttons_;
  String buttonNames_;  // the row as the copy names it
  TModalResult escapeResult_ = mrNone;
};

TMessageForm::TMessageForm(const String& message, TMsgDlgType type, TMsgDlgButtons buttons) : TForm(nullptr) {
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  SetCaption(type == mtCustom ? Application->Title() : String(kCaptions[type]));
  UseMessageFont(Font());
  if (type != mtCustom) icon_ = LoadIconA(nullptr, kIcons[type]);

  message_ = new TLabel(this);
  message_->SetShowAccelChar(false);
  message_->SetWordWrap(true);
  message_->SetParent(this);
  const TMsgDlgButtons escape = EscapeButton(buttons);
  for (const ButtonKind& kind : kButtonKinds) {
    if (!(buttons & kind.Button)) continue;
    auto* button = new TButton(this);
    button->SetParent(this);
    button->SetCaption(kind.Caption);
    button->SetModalResult(kind.Result);
    button->SetDefault(buttons_.empty());
    button->SetCancel(kind.Button == escape);
    if (kind.Button == escape) escapeResult_ = kind.Result;
    buttons_.push_back(button);
    buttonNames_ += String(kind.Name) + "   ";
  }
  SetActiveControl(buttons_.front());
  LayOut(message);
}

// Margins and gaps in dialog units, as the system lays its dialogs out.
void TMessageForm::LayOut(const String& message) {
  // The label measures its wrapped text on the form's window.
  HandleNeeded();
  const TSize units = DialogBaseUnits(Font());
  auto across = [&](int dialogUnits) { return MulDiv(dialogUnits, units.cx, 4); };
  auto down = [&](int dialogUnits) { return MulDiv(dialogUnits, units.cy, 8); };
  const int marginX = across(8), marginY = down(8);
  const int buttonWidth = across(50), buttonHeight = down(14), buttonGap = across(4);
  const int iconSize = icon_ ? GetSystemMetrics(SM_CXICON) : 0;
  const int textLeft = marginX + (icon_ ? iconSize + across(10) : 0);

  // The message wraps at half the screen's width; a word longer than that
  // widens the form instead.
  message_->SetBounds(textLeft, marginY, Screen->Width() / 2, 0);
  message_->SetCaption(message);
  const int contentHeight = std::max(iconSize, message_->Height());
  // A message shorter than the icon stands level with the icon's middle.
  message_->SetTop(marginY + (contentHeight - message_->Height()) / 2);
  iconPos_ = {marginX, marginY};

  const int count = int(buttons_.size());
  const int rowWidth = count * buttonWidth + (count - 1) * buttonGap;
  const int clientWidth = std::max(message_->Left() + message_->Width() + marginX, rowWidth + 2 * marginX);
  const int rowTop = marginY + contentHeight + down(10);
  for (int i = 0; i < count; ++i)
    buttons_[i]->SetBounds((clientWidth - rowWidth) / 2 + i * (buttonWidth + buttonGap), rowTop, buttonWidth,
                           buttonHeight);
  SetClientSize(clientWidth, rowTop + buttonHeight + marginY);
}

// Owned by the window it speaks for, as the system's message boxes are, the
// dialog stays above that window.
void TMessageForm::CreateParams(TCreateParams& p) {
  TForm::CreateParams(p);
  p.WndParent = Application->DialogOwner();
}

void TMessageForm::CreateWnd() {
  TForm::CreateWnd();
  if (escapeResult_ == mrNone) EnableMenuItem(GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

void TMessageForm::Paint() {
  if (icon_) DrawIcon(Canvas()->Handle(), iconPos_.X, iconPos_.Y, icon_);
  TForm::Paint();
}

// Ctrl+C copies the dialog as text, as the system's message boxes do.
void TMessageForm::KeyDown(uint16_t& key, TShiftState shift) {
  if (key == 'C' && shift == ssCtrl) {
    Clipboard()->SetAsText(CopyText());
    key = 0;
    return;
  }
  TForm::KeyDown(key, shift);
}

// The caption, the message and the buttons, each after a rule, as the
// system's copies are laid out.
String TMessageForm::CopyText() {
  const String rule = "---------------------------\r\n";
  return rule + Caption() + "\r\n" + rule + message_->Caption() + "\r\n" + rule + buttonNames_ + "\r\n" + rule;
}

void TMessageForm::Dispatch(TMessage& m) {
  // The close box and Alt+F4 answer as Escape does.
  if (m.Msg == WM_CLOSE) {
    if (escapeResult_ != mrNone) SetModalResult(escapeResult_);
    return;
  }
  TForm::Dispatch(m);
}

}  // namespace

int MessageDlg(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  if (std::find(std::begin(kButtonSets), std::end(kButtonSets), buttons) == std::end(kButtonSets))
    throw EInvalidArgument("These dialog buttons cannot be shown together");
  Application->CancelHint();
  TMessageForm form(message, type, buttons);
  return form.ShowModal();
}

void ShowMessage(const String& message) { MessageDlg(message, mtCustom, mbOK); }
