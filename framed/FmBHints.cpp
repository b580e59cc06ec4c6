#include "framed/FmBHints.h"

#include "platform/ui/Forms.h"

namespace {

constexpr int kMargin = 6;
constexpr int kCorner = 10;

class TFmBalloonHintWindow : public THintWindow {
 public:
  // The settings are copied: the window may outlive the component.
  TFmBalloonHintWindow(TComponent* owner, TFmBalloonHints* settings)
      : THintWindow(owner), frameColor_(settings->FrameColor()) {
    Font()->Assign(settings->Font());
  }
  const char* ClassName() const override { return "TFmBalloonHintWindow"; }

  TRect CalcHintRect(int maxWidth, const String& hint, void* data) override {
    TRect r = THintWindow::CalcHintRect(maxWidth, hint, data);
    return TRect(0, 0, r.Right + 2 * kMargin, r.Bottom + 2 * kMargin);
  }

 protected:
  void CreateParams(TCreateParams& p) override {
    THintWindow::CreateParams(p);
    p.Style &= ~DWORD(WS_BORDER);
  }

  void Paint() override {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(r);
    canvas->Brush()->SetColor(clInfoBk);
    canvas->Pen()->SetColor(frameColor_);
    canvas->RoundRect(r, kCorner, kCorner);
    canvas->Font()->Assign(Font());
    RECT text = TRect(r.Left + kMargin, r.Top + kMargin, r.Right - kMargin, r.Bottom - kMargin);
    SetBkMode(canvas->Handle(), TRANSPARENT);
    const String caption = Caption();
    DrawTextA(canvas->Handle(), caption.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }

 private:
  TColor frameColor_;
};

}  // namespace

TFmBalloonHints::TFmBalloonHints(TComponent* owner) : TComponent(owner) {
  previousClass_ = Application->HintWindowClass();
  Application->SetHintWindowClass([this](TComponent* hintOwner) { return new TFmBalloonHintWindow(hintOwner, this); });
  // A hint window made from the old class goes; the next one is a balloon.
  if (Application->ShowHint()) {
    Application->SetShowHint(false);
    Application->SetShowHint(true);
  }
}

TFmBalloonHints::~TFmBalloonHints() { Application->SetHintWindowClass(previousClass_); }
