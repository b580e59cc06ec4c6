#include "smooth/LuxSmoothSplashScreen.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr unsigned kActivateDelayMs = 20;
constexpr int kPictureGap = 4;

// --- The mini-HTML of the list lines ----------------------------------------------------
// Tags: <IMG src="name"> draws a picture of the container, <FONT size="n"
// color="#RRGGBB"> ... </FONT> sets the text's pixel height and colour,
// <br> ends the line. Other tags are skipped; text is drawn as it stands.

String AttributeValue(const String& tag, const char* attribute) {
  String lower = LowerCase(tag);
  size_t at = lower.find(String(attribute) + "=");
  if (at == String::npos) return String();
  size_t start = at + strlen(attribute) + 1;
  if (start < tag.size() && tag[start] == '"') {
    size_t end = tag.find('"', start + 1);
    return tag.substr(start + 1, end == String::npos ? String::npos : end - start - 1);
  }
  size_t end = tag.find_first_of(" >", start);
  return tag.substr(start, end == String::npos ? String::npos : end - start);
}

TColor HtmlColor(const String& value, TColor fallback) {
  if (value.size() != 7 || value[0] != '#') return fallback;
  unsigned rgb = 0;
  if (std::sscanf(value.c_str() + 1, "%6x", &rgb) != 1) return fallback;
  return RGBColor(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

struct HtmlStyle {
  int Height;
  TColor Color;
};

// Draws one list line at (left, top) and returns its height; with draw
// false it only measures.
int DrawHtmlLine(HDC dc, const String& html, int left, int top, TFont& baseFont, TGDIPPictureContainer* pictures,
                 bool draw) {
  std::vector<HtmlStyle> styles{{-baseFont.Height() > 0 ? -baseFont.Height() : baseFont.Height(), baseFont.Color()}};
  int x = left, y = top, lineHeight = 0;
  TFont font;
  font.Assign(&baseFont);
  SetBkMode(dc, TRANSPARENT);
  auto drawText = [&](const String& text) {
    if (text.empty()) return;
    font.SetHeight(-styles.back().Height);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
    if (draw) {
      ::SetTextColor(dc, ColorToRGB(styles.back().Color));
      TextOutA(dc, x, y, text.c_str(), int(text.size()));
    }
    SelectObject(dc, old);
    x += size.cx;
    lineHeight = std::max<int>(lineHeight, size.cy);
  };
  size_t i = 0;
  while (i < html.size()) {
    if (html[i] != '<') {
      size_t end = html.find('<', i);
      drawText(html.substr(i, end == String::npos ? String::npos : end - i));
      i = end == String::npos ? html.size() : end;
      continue;
    }
    size_t close = html.find('>', i);
    if (close == String::npos) break;
    const String tag = html.substr(i + 1, close - i - 1);
    const String name = LowerCase(tag.substr(0, tag.find(' ')));
    i = close + 1;
    if (name == "br") {
      y += std::max(lineHeight, styles.back().Height);
      x = left;
      lineHeight = 0;
    } else if (name == "img") {
      TLuxGDIPPicture* picture = pictures ? pictures->FindPicture(AttributeValue(tag, "src")) : nullptr;
      if (!picture || picture->Empty()) continue;
      if (draw) {
        TGPGraphics graphics(dc);
        picture->DrawToGraphics(graphics, TRect(x, y, x + picture->Width(), y + picture->Height()));
      }
      x += picture->Width() + kPictureGap;
      lineHeight = std::max(lineHeight, picture->Height());
    } else if (name == "font") {
      const String size = AttributeValue(tag, "size");
      styles.push_back({size.empty() ? styles.back().Height : StrToIntDef(size, styles.back().Height),
                        HtmlColor(AttributeValue(tag, "color"), styles.back().Color)});
    } else if (name == "/font" && styles.size() > 1) {
      styles.pop_back();
    }
  }
  return y - top + lineHeight;
}

void FillGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  const int height = r.bottom - r.top;
  for (int y = 0; y < height; ++y) {
    auto mix = [&](int a, int b) { return a + (b - a) * y / (height > 1 ? height - 1 : 1); };
    HBRUSH brush = CreateSolidBrush(
        RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)), mix(GetBValue(top), GetBValue(bottom))));
    RECT line{r.left, r.top + y, r.right, r.top + y + 1};
    FillRect(dc, &line, brush);
    DeleteObject(brush);
  }
}

void DrawHeading(HDC dc, TSplashHeadingText& heading) {
  if (heading.Text().empty()) return;
  HGDIOBJ old = SelectObject(dc, heading.Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  const String& text = heading.Text();
  // A dark outline under the text, drawn in the heading's first colour.
  ::SetTextColor(dc, RGB(20, 30, 50));
  TextOutA(dc, heading.PosX + 1, heading.PosY + 1, text.c_str(), int(text.size()));
  ::SetTextColor(dc, ColorToRGB(heading.ColorStart));
  TextOutA(dc, heading.PosX, heading.PosY, text.c_str(), int(text.size()));
  SelectObject(dc, old);
}

}  // namespace

// --- The window ---------------------------------------------------------------------------

class TLuxSplashWindow : public TCustomControl {
 public:
  TLuxSplashWindow(TLuxSmoothSplashScreen* splash) : TCustomControl(splash), splash_(splash) { SetVisible(false); }
  const char* ClassName() const override { return "TLuxSplashWindow"; }

  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case WM_ERASEBKGND: m.Result = 1; return;
      case WM_CLOSE:
        if (splash_->OnCloseRequest) splash_->OnCloseRequest(splash_);
        return;
      default: TCustomControl::Dispatch(m);
    }
  }

 protected:
  void CreateParams(TCreateParams& p) override {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP;
    p.ExStyle = WS_EX_TOPMOST;
    p.Caption = "Splash";
  }

  void Paint() override {
    const int w = Width(), h = Height();
    // Drawn off screen first, so the blocking host sees no flicker.
    TBitmap buffer;
    buffer.SetSize(w, h);
    splash_->Paint(buffer.Canvas()->Handle(), w, h);
    BitBlt(Canvas()->Handle(), 0, 0, w, h, buffer.Canvas()->Handle(), 0, 0, SRCCOPY);
  }

 private:
  TLuxSmoothSplashScreen* splash_;
};

// --- Content objects -------------------------------------------------------------------------

void TSplashHeadingText::SetText(const String& text) {
  if (text_ == text) return;
  text_ = text;
  splash_->Changed();
}

void TSplashListItem::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) list_->Changed();
}

TSplashListItem* TSplashListItems::Add() {
  items_.push_back(std::make_unique<TSplashListItem>(this));
  return items_.back().get();
}

void TSplashListItems::Clear() {
  items_.clear();
  splash_->Changed();
}

void TSplashListItems::Changed() { splash_->Changed(); }

void TGDIPSplashProgress::SetPosition(double value) {
  if (position_ == value) return;
  position_ = value;
  splash_->Changed();
}

// --- The component ---------------------------------------------------------------------------

TLuxSmoothSplashScreen::TLuxSmoothSplashScreen(TComponent* owner) : TComponent(owner) {}

TLuxSmoothSplashScreen::~TLuxSmoothSplashScreen() { Close(); }

void TLuxSmoothSplashScreen::Loaded() {
  TComponent::Loaded();
  if (closeOnMainFormShow_)
    if (auto* form = dynamic_cast<TCustomForm*>(Owner())) {
      TNotifyEvent formShow = form->OnShow;
      form->OnShow = [this, formShow](TObject* sender) {
        if (!closedOnShow_) {
          closedOnShow_ = true;
          Close();
        }
        if (formShow) formShow(sender);
      };
    }
  if (autoShow_) Show();
}

bool TLuxSmoothSplashScreen::Showing() const { return window_ != nullptr; }

HWND TLuxSmoothSplashScreen::Handle() const { return window_ ? window_->Handle() : nullptr; }

void TLuxSmoothSplashScreen::Show() {
  if (window_) return;
  window_ = new TLuxSplashWindow(this);
  const int w = fill_.Picture()->Empty() ? 400 : fill_.Picture()->Width();
  const int h = fill_.Picture()->Empty() ? 300 : fill_.Picture()->Height();
  window_->SetBounds((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h);
  HWND wnd = window_->Handle();
  if (fill_.Opacity() < 255) {
    SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(wnd, 0, fill_.Opacity(), LWA_ALPHA);
  }
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  UpdateWindow(wnd);
}

void TLuxSmoothSplashScreen::Close() {
  if (!window_) return;
  // The host blocked the message loop while the splash showed: what waits
  // for the window (a close request among it) is handled before it goes.
  MSG msg;
  while (PeekMessageA(&msg, window_->Handle(), 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  TLuxSplashWindow* window = window_;
  window_ = nullptr;
  delete window;
}

void TLuxSmoothSplashScreen::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0) Changed();
}

void TLuxSmoothSplashScreen::Changed() {
  if (updateCount_ > 0 || !window_) return;
  RedrawWindow(window_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TLuxSmoothSplashScreen::Paint(HDC dc, int width, int height) {
  RECT all{0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  if (!fill_.Picture()->Empty()) {
    TGPGraphics graphics(dc);
    fill_.Picture()->DrawToGraphics(graphics, TRect(0, 0, width, height));
  }

  DrawHeading(dc, programInfo_.ProgramName);
  DrawHeading(dc, programInfo_.ProgramVersion);

  // The list keeps its last lines in view when they do not all fit.
  const TSplashRect& area = listSettings_.Rect;
  int total = 0;
  for (int i = 0; i < listItems_.Count(); ++i)
    total += DrawHtmlLine(dc, listItems_.Items(i)->HTMLText(), 0, 0, *listSettings_.HTMLFont(), pictureContainer_, false);
  int y = area.Top - std::max(0, total - area.Height);
  HRGN clip = CreateRectRgn(area.Left, area.Top, area.Left + area.Width, area.Top + area.Height);
  SelectClipRgn(dc, clip);
  for (int i = 0; i < listItems_.Count(); ++i)
    y += DrawHtmlLine(dc, listItems_.Items(i)->HTMLText(), area.Left, y, *listSettings_.HTMLFont(), pictureContainer_, true);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);

  if (!progress_.Visible) return;
  RECT bar{progress_.Left, progress_.Top, width - progress_.Left, progress_.Top + progress_.Height};
  HBRUSH border = CreateSolidBrush(ColorToRGB(progress_.BorderColor));
  FrameRect(dc, &bar, border);
  DeleteObject(border);
  InflateRect(&bar, -1, -1);
  const double fraction = progress_.Maximum > 0 ? std::clamp(progress_.Position() / progress_.Maximum, 0.0, 1.0) : 0;
  RECT done = bar;
  done.right = bar.left + int((bar.right - bar.left) * fraction);
  FillGradient(dc, done, ColorToRGB(progress_.ColorStart), ColorToRGB(progress_.ColorEnd));
  char value[64];
  std::snprintf(value, sizeof value, progress_.ValueFormat.c_str(), progress_.Position());
  HGDIOBJ old = SelectObject(dc, progress_.Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(20, 30, 50));
  DrawTextA(dc, value, -1, &bar, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
}

void TLuxSmoothSplashScreen::ActivateFormLater(TWinControl* control) {
  activateTarget_ = control;
  if (!activateTimer_) {
    activateTimer_ = new TTimer(this);
    activateTimer_->SetEnabled(false);
    activateTimer_->SetInterval(kActivateDelayMs);
    activateTimer_->SetOnTimer([this](TObject*) { ClickLater(); });
  }
  activateTimer_->SetEnabled(true);
}

void TLuxSmoothSplashScreen::ClickLater() {
  activateTimer_->SetEnabled(false);
  if (!activateTarget_ || !activateTarget_->HandleAllocated()) return;
  POINT saved{};
  GetCursorPos(&saved);
  TPoint origin = activateTarget_->ClientOrigin();
  SetCursorPos(origin.X, origin.Y);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
  SetCursorPos(saved.x, saved.y);
}
