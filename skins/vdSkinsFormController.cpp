// The skin model's element drawing comes through the skin painter's header,
// which keeps the model's button states apart from the painters' own.
#include "skins/vdSkinsLookAndFeelPainter.h"
#include "skins/vdSkinsCoreDraw.h"
#include "skins/vdSkinsFormController.h"

#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>

#include "foundation/vdUxTheme.h"
#include "foundation/vxGeometry.h"
#include "foundation/vxGraphics.h"
#include "platform/ui/StandardControls.h"

namespace {

// 0x003F, 0x00AE, 0x00AF and 0x0313 are the system's undocumented
// non-client messages: a frame recalculation, two caption repaints and the
// system menu popup of the task bar.
constexpr UINT kFrameChangedNotify = 0x003F;
constexpr UINT kNCUAHDrawCaption = 0x00AE;
constexpr UINT kNCUAHDrawFrame = 0x00AF;
constexpr UINT kPopupSystemMenu = 0x0313;

TRect ToRect(const RECT& r) { return TRect(r); }

bool IsWindows2000() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&v);
#pragma GCC diagnostic pop
  return v.dwMajorVersion == 5 && v.dwMinorVersion == 0;
}

// A memory DC with a bitmap of one size, freed on every path.
class TMemoryCanvas {
 public:
  TMemoryCanvas(HDC compatible, int width, int height)
      : dc_(CreateCompatibleDC(compatible)),
        bitmap_(CreateCompatibleBitmap(compatible, std::max(width, 1), std::max(height, 1))),
        old_(SelectObject(dc_, bitmap_)) {}
  ~TMemoryCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TMemoryCanvas(const TMemoryCanvas&) = delete;
  TMemoryCanvas& operator=(const TMemoryCanvas&) = delete;
  HDC DC() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// SaveDC / RestoreDC around a scope.
class TSavedDC {
 public:
  explicit TSavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~TSavedDC() { RestoreDC(dc_, id_); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC dc_;
  int id_;
};

bool RectVisibleOn(HDC dc, const TRect& r) {
  const RECT rc = r;
  return !r.IsEmpty() && RectVisible(dc, &rc);
}

}  // namespace

// --- Caption buttons ------------------------------------------------------------------------

TvdSkinElementState TvdSkinFormIconInfo::CalculateState() const {
  const TvdSkinFormNonClientAreaInfo* info = Owner->NonClientAreaInfo;
  if (!info->Active()) return esActiveDisabled;
  if (Owner->HotIcon != this || !info->Layout().IsIconEnabled(IconType)) return esNormal;
  if (Owner->PressedIcon == this && (GetAsyncKeyState(VK_LBUTTON) & 0x8000)) return esPressed;
  return esHot;
}

TvdSkinFormIconInfo* TvdSkinFormIconInfoList::Find(int iconType) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->IconType == iconType) return Items(i);
  return nullptr;
}

TvdSkinFormIconInfo* TvdSkinFormIconInfoList::GetOrAdd(int iconType) {
  if (TvdSkinFormIconInfo* icon = Find(iconType)) return icon;
  auto* icon = new TvdSkinFormIconInfo(iconType, this);
  Add(icon);
  return icon;
}

TvdSkinFormIconInfo* TvdSkinFormIconInfoList::IconAt(TPoint p) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->HitBounds.Contains(p)) return Items(i);
  return nullptr;
}

void TvdSkinFormIconInfoList::RemoveNotIn(TvdSkinFormIconTypes set) {
  for (int i = Count() - 1; i >= 0; --i) {
    TvdSkinFormIconInfo* icon = Items(i);
    if (vdSkinFormHasIcon(set, icon->IconType)) continue;
    if (HotIcon == icon) HotIcon = nullptr;
    if (PressedIcon == icon) PressedIcon = nullptr;
    FreeAndDelete(i);
  }
}

bool TvdSkinFormIconInfoList::UpdateStates(TPoint p) {
  HotIcon = IconAt(p);
  bool changed = false;
  for (int i = 0; i < Count(); ++i) {
    const TvdSkinElementState state = Items(i)->CalculateState();
    changed |= state != Items(i)->State;
    Items(i)->State = state;
  }
  return changed;
}

// --- The non-client info --------------------------------------------------------------------

TvdSkinFormNonClientAreaInfo::TvdSkinFormNonClientAreaInfo(TvdSkinFormController* controller)
    : controller_(controller) {
  RefreshCaptionText();
}

TvdSkinFormNonClientAreaInfo::~TvdSkinFormNonClientAreaInfo() {
  if (systemMenuTemplate_) DestroyMenu(systemMenuTemplate_);
}

HWND TvdSkinFormNonClientAreaInfo::Window() const { return controller_->Handle(); }

bool TvdSkinFormNonClientAreaInfo::ThemeActive() {
  if (!themeActiveKnown_) {
    themeActive_ = vdUxIsThemeActive();
    themeActiveKnown_ = true;
  }
  return themeActive_;
}

int TvdSkinFormNonClientAreaInfo::CalculateMenuHeight() const {
  HMENU menu = GetMenu(Window());
  const int count = IsMenu(menu) ? GetMenuItemCount(menu) : 0;
  if (count <= 0) return 0;
  RECT first{}, last{};
  if (!GetMenuItemRect(Window(), menu, 0, &first) || !GetMenuItemRect(Window(), menu, UINT(count - 1), &last))
    return 0;
  return last.bottom - first.top;
}

HICON TvdSkinFormNonClientAreaInfo::GetWindowIcon() const {
  return reinterpret_cast<HICON>(DefWindowProcA(Window(), WM_GETICON, ICON_SMALL2, 0));
}

TvdSkinFormWindowFacts TvdSkinFormNonClientAreaInfo::GatherFacts() {
  HWND wnd = Window();
  TvdSkinFormWindowFacts f;
  f.Style = uint32_t(GetWindowLongA(wnd, GWL_STYLE));
  f.ExStyle = uint32_t(GetWindowLongA(wnd, GWL_EXSTYLE));
  f.WindowScreenRect = vxWindowScreenRectOrEmpty(wnd);
  RECT client{};
  GetClientRect(wnd, &client);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  f.ClientScreenRect = vxShiftedRect(ToRect(client), origin.x, origin.y);
  f.IsMDIClient = TvdSkinWinController::IsMDIClient(wnd);
  f.IsMDIChild = TvdSkinWinController::IsMDIChild(wnd);
  // A child window's menu handle is its identifier.
  f.HasMenu = !(f.Style & WS_CHILD) && IsMenu(GetMenu(wnd)) && !f.IsMDIChild;
  f.MenuHeight = f.HasMenu ? CalculateMenuHeight() : 0;
  f.ThemeActive = ThemeActive();
  HMENU sysMenu = GetSystemMenu(wnd, FALSE);
  const UINT closeState = sysMenu ? GetMenuState(sysMenu, SC_CLOSE, MF_BYCOMMAND) : UINT(-1);
  f.CloseEnabled = closeState == UINT(-1) || !(closeState & (MF_GRAYED | MF_DISABLED));
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, captionFont_.Handle());
  SIZE text{};
  GetTextExtentPoint32A(screen, "Wg", 2, &text);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  f.TextHeight = text.cy;
  return f;
}

void TvdSkinFormNonClientAreaInfo::CalculateCaptionFont() {
  NONCLIENTMETRICSA m{};
  m.cbSize = sizeof m;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  metrics_.BorderWidth = m.iBorderWidth;
  const bool tool = GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW;
  captionFont_.SetHandle(CreateFontIndirectA(tool ? &m.lfSmCaptionFont : &m.lfCaptionFont));
  if (skinInfo_ && !tool) captionFont_.SetSize(captionFont_.Size() + skinInfo_->CaptionFontDelta - 1);
}

TvdSkinElement* TvdSkinFormNonClientAreaInfo::FrameElement(int side) const {
  return skinInfo_ ? skinInfo_->FormFrames[FrameSet()][side] : nullptr;
}

TvdSkinElement* TvdSkinFormNonClientAreaInfo::ButtonElement(int iconType) const {
  return skinInfo_ ? skinInfo_->FormButtons[FrameSet()][iconType] : nullptr;
}

void TvdSkinFormNonClientAreaInfo::Calculate() {
  HWND wnd = Window();
  metrics_.CxFrame = GetSystemMetrics(SM_CXFRAME);
  metrics_.CyFrame = GetSystemMetrics(SM_CYFRAME);
  metrics_.CxVScroll = GetSystemMetrics(SM_CXVSCROLL);
  metrics_.CyHScroll = GetSystemMetrics(SM_CYHSCROLL);
  metrics_.CxEdge = GetSystemMetrics(SM_CXEDGE);
  metrics_.CyEdge = GetSystemMetrics(SM_CYEDGE);
  metrics_.CySmCaption = GetSystemMetrics(SM_CYSMCAPTION);
  metrics_.CySmIcon = GetSystemMetrics(SM_CYSMICON);

  skinPainter_ = controller_->GetSkinPainter();
  auto* skinPainter = dynamic_cast<const TvdSkinLookAndFeelPainter*>(skinPainter_);
  skinInfo_ = skinPainter ? skinPainter->GetPainterData() : nullptr;
  CalculateCaptionFont();

  const TvdSkinFormWindowFacts facts = GatherFacts();
  if (skinInfo_) {
    const int set = (facts.ExStyle & WS_EX_TOOLWINDOW) ? 0 : 1;
    measures_ = vdSkinFormMeasureSet(skinInfo_->FormFrames[set], skinInfo_->FormButtons[set]);
  }
  layout_.Calculate(facts, metrics_, skinInfo_ ? &measures_ : nullptr);
  iconHandle_ = GetWindowIcon();

  textShadowColor_ = clBtnShadow;
  activeTextColor_ = TColor(GetSysColor(COLOR_CAPTIONTEXT));
  inactiveTextColor_ = TColor(GetSysColor(COLOR_INACTIVECAPTIONTEXT));
  if (skinInfo_) {
    if (TvdSkinElement* caption = skinInfo_->FormFrames[1][fsCaption]) activeTextColor_ = caption->TextColor();
    if (skinInfo_->Form.TextShadowColor) textShadowColor_ = skinInfo_->Form.TextShadowColor->Value();
    inactiveTextColor_ = skinInfo_->Form.TextColorInactive ? skinInfo_->Form.TextColorInactive->Value() : activeTextColor_;
  }

  icons_.RemoveNotIn(layout_.VisibleIcons());
  for (const TvdSkinFormIcon& placed : layout_.Icons()) {
    TvdSkinFormIconInfo* icon = icons_.GetOrAdd(placed.Type);
    icon->Bounds = placed.Bounds;
    icon->HitBounds = placed.HitBounds;
  }
  UpdateIconStates();
  (void)wnd;
  CalculateScrollBars();
}

void TvdSkinFormNonClientAreaInfo::CalculateScrollBars() {
  HWND wnd = Window();
  const uint32_t style = uint32_t(GetWindowLongA(wnd, GWL_STYLE));
  vdSkinCalculateScrollBars(scrollBars_, style, layout_.ClientRect(), metrics_);
  // Most forms have no bars; the cursor costs round trips to the server.
  if (!scrollBars_.Present[vdSkinScrollHorz] && !scrollBars_.Present[vdSkinScrollVert]) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint p = ScreenToWindow(TPoint(cursor));
  const bool down = GetAsyncKeyState(VK_LBUTTON) & 0x8000;
  for (int bar = vdSkinScrollHorz; bar <= vdSkinScrollVert; ++bar) {
    if (!scrollBars_.Present[bar]) continue;
    const LONG object = bar == vdSkinScrollHorz ? OBJID_HSCROLL : OBJID_VSCROLL;
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (TrackedScrollBar == bar) {
      // Show the thumb where it is dragged: read the bar at the track
      // position without letting the system paint it.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_POS | SIF_TRACKPOS;
      const int kind = bar == vdSkinScrollHorz ? SB_HORZ : SB_VERT;
      GetScrollInfo(wnd, kind, &si);
      controller_->LockRedraw();
      SetScrollPos(wnd, kind, si.nTrackPos, FALSE);
      GetScrollBarInfo(wnd, object, &info);
      SetScrollPos(wnd, kind, si.nPos, FALSE);
      controller_->UnlockRedraw();
    } else if (!GetScrollBarInfo(wnd, object, &info)) {
      continue;
    }
    TvdSkinScrollBarFacts facts;
    facts.LineButton = info.dxyLineButton;
    facts.ThumbTop = info.xyThumbTop;
    facts.ThumbBottom = info.xyThumbBottom;
    for (int i = 0; i < 6; ++i) facts.States[size_t(i)] = info.rgstate[i];
    vdSkinCalculateScrollBarParts(scrollBars_, bar, facts, p, down, TrackedScrollBar == bar);
  }
}

int TvdSkinFormNonClientAreaInfo::HitTest(TPoint screenPoint, int current) const {
  return layout_.HitTest(ScreenToWindow(screenPoint), current);
}

bool TvdSkinFormNonClientAreaInfo::FindScrollPartAt(int& bar, int& part) const {
  POINT cursor{};
  GetCursorPos(&cursor);
  return vdSkinFindScrollPartAt(scrollBars_, ScreenToWindow(TPoint(cursor)), bar, part);
}

bool TvdSkinFormNonClientAreaInfo::UpdateIconStates() {
  POINT cursor{};
  GetCursorPos(&cursor);
  return icons_.UpdateStates(ScreenToWindow(TPoint(cursor)));
}

void TvdSkinFormNonClientAreaInfo::UpdatePressedIcon(bool down) {
  if (!down) {
    icons_.PressedIcon = nullptr;
    return;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  icons_.PressedIcon = icons_.IconAt(ScreenToWindow(TPoint(cursor)));
}

void TvdSkinFormNonClientAreaInfo::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  UpdateIconStates();
}

void TvdSkinFormNonClientAreaInfo::SetSizeType(int value) {
  if (sizeType_ == value) return;
  if (layout_.Facts().IsMDIChild && sizeType_ == SIZE_MAXIMIZED) ResetSystemMenu();
  sizeType_ = value;
}

void TvdSkinFormNonClientAreaInfo::RefreshCaptionText() {
  HWND wnd = Window();
  if (TWinControl* control = controller_->Control()) {
    captionText_ = control->Text();
  } else {
    const int length = int(SendMessageA(wnd, WM_GETTEXTLENGTH, 0, 0));
    captionText_.assign(size_t(std::max(length, 0)) + 1, '\0');
    SendMessageA(wnd, WM_GETTEXT, WPARAM(captionText_.size()), LPARAM(captionText_.data()));
    captionText_.resize(strlen(captionText_.c_str()));
  }
  if (layout_.Facts().IsMDIChild) TvdSkinWinControllerHelper::NotifyMDIFrame(wnd);
}

bool TvdSkinFormNonClientAreaInfo::ShowTextShadow() const {
  return active_ && !layout_.IsToolWindow() && textShadowColor_ != clNone && textShadowColor_ != clDefault;
}

void TvdSkinFormNonClientAreaInfo::BuildSystemMenu(HMENU sysMenu) {
  if (systemMenuTemplate_) DestroyMenu(systemMenuTemplate_);
  systemMenuTemplate_ = vxLoadSystemMenuTemplate(layout_.Facts().IsMDIChild ? 1 : 0);
  if (!sysMenu || !systemMenuTemplate_) return;
  DeleteMenu(sysMenu, 0, MF_BYPOSITION);
  HMENU items = GetSubMenu(systemMenuTemplate_, 0);
  vxCopyMenuItems(items ? items : systemMenuTemplate_, sysMenu);
  if (!layout_.HasBorder()) return;
  const uint32_t style = layout_.Facts().Style, exStyle = layout_.Facts().ExStyle;
  const unsigned options = ((style & WS_SYSMENU) ? 1u : 0u) | ((style & WS_MINIMIZEBOX) ? 2u : 0u) |
                           ((style & WS_MAXIMIZEBOX) ? 4u : 0u) | ((exStyle & WS_EX_CONTEXTHELP) ? 8u : 0u);
  vxAdjustSystemMenu(sysMenu, Window(), layout_.IsDialogFrame(), options, true);
}

void TvdSkinFormNonClientAreaInfo::ResetSystemMenu() {
  GetSystemMenu(Window(), TRUE);
  if (layout_.Facts().IsMDIChild) BuildSystemMenu(GetSystemMenu(Window(), FALSE));
}

TPoint TvdSkinFormNonClientAreaInfo::ScreenToWindow(TPoint p) const {
  const TRect& w = layout_.Facts().WindowScreenRect;
  return {p.X - w.Left, p.Y - w.Top};
}

TRect TvdSkinFormNonClientAreaInfo::WindowToScreen(const TRect& r) const {
  const TRect& w = layout_.Facts().WindowScreenRect;
  return vxShiftedRect(r, w.Left, w.Top);
}

HRGN TvdSkinFormNonClientAreaInfo::CreateNonClientRegion() const {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  auto add = [region](const TRect& r) {
    if (r.IsEmpty()) return;
    HRGN part = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  };
  for (int side = 0; side < 4; ++side) add(layout_.FramePart(side));
  if (layout_.Facts().IsMDIClient) {
    const TRect w = layout_.WindowBounds();
    const TSize e = layout_.ClientEdgeSize();
    const TRect inner = vxInflatedRect(w, -e.cx, -e.cy);
    add({w.Left, w.Top, w.Right, inner.Top});
    add({w.Left, inner.Bottom, w.Right, w.Bottom});
    add({w.Left, inner.Top, inner.Left, inner.Bottom});
    add({inner.Right, inner.Top, w.Right, inner.Bottom});
  }
  if (layout_.Facts().HasMenu) add(layout_.MenuSeparatorRect());
  for (int bar = 0; bar < 3; ++bar)
    if (scrollBars_.Present[bar]) add(scrollBars_.Bars[bar]);
  return region;
}

// --- The form painter ---------------------------------------------------------------------

TvdSkinFormPainter::TvdSkinFormPainter(TvdSkinFormNonClientAreaInfo* info)
    : info_(info), vxCanvas_(std::make_unique<TvxCanvas>(&canvas_)),
      contentCache_(std::make_unique<TvdSkinElementCache>()) {
  for (auto& cache : frameCaches_) cache = std::make_unique<TvdSkinElementCache>();
  for (auto& cache : iconCaches_) cache = std::make_unique<TvdSkinElementCache>();
}

TvdSkinFormPainter::~TvdSkinFormPainter() = default;

void TvdSkinFormPainter::BeginPaint(HDC dc) {
  skinPainter_ = info_->SkinPainter();
  skinInfo_ = info_->SkinInfo();
  ownsDC_ = dc == nullptr;
  dc_ = ownsDC_ ? GetDCEx(info_->Window(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS | DCX_VALIDATE) : dc;
  canvas_.SetHandle(dc_);
}

void TvdSkinFormPainter::EndPaint() {
  canvas_.SetHandle(nullptr);
  if (ownsDC_ && dc_) ReleaseDC(info_->Window(), dc_);
  dc_ = nullptr;
  ownsDC_ = false;
}

void TvdSkinFormPainter::ResetCaches() {
  contentCache_->Flush();
  for (auto& cache : frameCaches_) cache->Flush();
  for (auto& cache : iconCaches_) cache->Flush();
}

TvdSkinElementState TvdSkinFormPainter::FrameState() const { return info_->Active() ? esActive : esActiveDisabled; }

void TvdSkinFormPainter::DrawContent(HDC dc, const TRect& r) {
  if (!skinInfo_) return;
  const TRect content = info_->Layout().ContentArea();
  TSavedDC saved(dc);
  IntersectClipRect(dc, content.Left, content.Top, content.Right, content.Bottom);
  IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  RECT clip{};
  if (GetClipBox(dc, &clip) == NULLREGION) return;
  // Drawn over the whole content area, so that its texture stays anchored
  // to the window whatever part is repainted.
  TvdSkinElement* element = vdSkinElementOrEmpty(skinInfo_->Form.FormContent);
  if (element->Image().IsEmpty())
    element->Draw(dc, content, 0, esNormal);
  else
    contentCache_->Draw(dc, element, content, esNormal, 0);
}

void TvdSkinFormPainter::DrawClientBackground() {
  if (!skinInfo_) return;
  const TRect r = info_->Layout().ClientRect();
  TSavedDC saved(dc_);
  OffsetWindowOrgEx(dc_, r.Left, r.Top, nullptr);
  DrawContent(dc_, r);
}

void TvdSkinFormPainter::DrawMDIClientEdge() {
  const TvdSkinFormLayout& l = info_->Layout();
  if (!l.Facts().IsMDIClient || !(l.Facts().ExStyle & WS_EX_CLIENTEDGE) || !skinInfo_) return;
  const TSize e = l.ClientEdgeSize();
  const TRect inner = vxInflatedRect(l.WindowBounds(), -e.cx, -e.cy);
  TSavedDC saved(dc_);
  ExcludeClipRect(dc_, inner.Left, inner.Top, inner.Right, inner.Bottom);
  vdSkinElementOrEmpty(skinInfo_->Form.FormContent)->Draw(dc_, l.WindowBounds(), 0, esNormal);
}

void TvdSkinFormPainter::DrawBorderWidthArea() {
  const TvdSkinFormLayout& l = info_->Layout();
  const int width = l.Facts().BorderWidth;
  if (width <= 0 || l.IsIconic()) return;
  const TRect content = l.ContentArea();
  const TRect inner = vxInflatedRect(content, -width, -width);
  TSavedDC saved(dc_);
  ExcludeClipRect(dc_, inner.Left, inner.Top, inner.Right, inner.Bottom);
  DrawContent(dc_, content);
}

void TvdSkinFormPainter::DrawMenuSeparator() {
  const TvdSkinFormLayout& l = info_->Layout();
  if (!l.Facts().HasMenu || l.IsIconic()) return;
  const RECT r = l.MenuSeparatorRect();
  FillRect(dc_, &r, GetSysColorBrush(COLOR_MENU));
}

void TvdSkinFormPainter::DrawNonClient() {
  DrawMDIClientEdge();
  DrawBorderWidthArea();
  const TRect caption = info_->Layout().FramePart(fsCaption);
  if (!caption.IsEmpty()) {
    // Composed off-screen, so that the caption never flickers.
    TMemoryCanvas memory(dc_, caption.Right, caption.Bottom);
    DrawCaption(memory.DC(), caption, vdSkinElementOrEmpty(info_->FrameElement(fsCaption)));
    BitBlt(dc_, 0, 0, caption.Right, caption.Bottom, memory.DC(), 0, 0, SRCCOPY);
  }
  DrawFrame();
  DrawMenuSeparator();
  DrawWindowScrollBars();
}

void TvdSkinFormPainter::DrawCaption(HDC dc, const TRect& r, TvdSkinElement* element) {
  DrawCaptionBackground(dc, r, element);
  DrawCaptionText(dc, info_->Layout().CaptionTextRect());
  TvdSkinFormIconInfoList& icons = info_->Icons();
  for (int i = 0; i < icons.Count(); ++i) {
    TvdSkinFormIconInfo* icon = icons.Items(i);
    DrawIcon(dc, icon->Bounds, icon->IconType, info_->ButtonElement(icon->IconType), icon->State);
  }
}

void TvdSkinFormPainter::DrawCaptionBackground(HDC dc, TRect r, TvdSkinElement* element) {
  const TvdSkinFormLayout& l = info_->Layout();
  if (l.IsIconic()) {
    // The last row stays as the bottom edge of the minimized window.
    DrawFramePart(dc, r, fsBottom, (l.Facts().ExStyle & WS_EX_LAYERED) != 0, false);
    --r.Bottom;
  }
  frameCaches_[fsCaption]->Draw(dc, element, r, FrameState(), 0);
}

void TvdSkinFormPainter::DrawCaptionText(HDC dc, const TRect& r) {
  const String& text = info_->CaptionText();
  if (text.empty()) return;
  HGDIOBJ oldFont = SelectObject(dc, info_->CaptionFont());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = GetTextColor(dc);
  TRect textRect = r;
  if (info_->ShowTextShadow()) {
    SetTextColor(dc, ColorToRGB(info_->TextShadowColor()));
    DrawTextLine(dc, textRect, text);
  }
  textRect = vxShiftedRect(textRect, -1, -1);
  SetTextColor(dc, ColorToRGB(info_->CaptionTextColor()));
  DrawTextLine(dc, textRect, text);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

void TvdSkinFormPainter::DrawTextLine(HDC dc, const TRect& r, const String& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(std::max(length, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
  RECT rc = r;
  DrawTextW(dc, wide.c_str(), int(wide.size()), &rc,
            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_EDITCONTROL);
}

void TvdSkinFormPainter::DrawIcon(HDC dc, const TRect& r, int iconType, TvdSkinElement* element,
                                  TvdSkinElementState state) {
  if (!RectVisibleOn(dc, r)) return;
  if (iconType == fitSystemMenu) {
    if (HICON icon = info_->IconHandle()) DrawIconEx(dc, r.Left, r.Top, icon, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
    return;
  }
  if (element) iconCaches_[size_t(iconType)]->Draw(dc, element, r, state, 0);
}

void TvdSkinFormPainter::DrawFrame() {
  const TvdSkinFormLayout& l = info_->Layout();
  bool thin = false;
  for (int side = 0; side < 4; ++side) thin |= l.FramePartSize(side) < 3;
  const int captionBottom = l.FramePart(fsCaption).Bottom;
  const TRect bottom = l.FramePart(fsBottom);
  if (thin) {
    DrawFramePart(dc_, bottom, fsBottom, true, true);
    const int sideBottom = l.WindowBounds().Bottom - l.FramePartSize(fsBottom);
    for (int side : {fsLeft, fsRight})
      DrawFramePart(dc_, vxRectWithVertBounds(l.FramePart(side), captionBottom, sideBottom), side, true, true);
    return;
  }
  const bool layered = l.Facts().ExStyle & WS_EX_LAYERED;
  for (int side : {fsLeft, fsRight, fsBottom}) {
    TRect r = l.FramePart(side);
    if (side != fsBottom) r = vxRectWithVertBounds(r, captionBottom, bottom.Top);
    if (RectVisibleOn(dc_, r)) DrawFramePart(dc_, r, side, layered, false);
  }
}

void TvdSkinFormPainter::DrawFramePart(HDC dc, const TRect& r, int side, bool viaBitmap, bool thin) {
  if (r.IsEmpty()) return;
  TvdSkinElement* element = vdSkinElementOrEmpty(info_->FrameElement(side));
  if (!viaBitmap) {
    frameCaches_[size_t(side)]->Draw(dc, element, r, FrameState(), 0);
    return;
  }
  TMemoryCanvas memory(dc, r.Width(), r.Height());
  const TRect whole{0, 0, r.Width(), r.Height()};
  if (skinInfo_) vdSkinElementOrEmpty(skinInfo_->Form.FormContent)->Draw(memory.DC(), whole, 0, esNormal);
  TRect er = whole;
  if (thin) {
    // Only the element's own thickness, at the outer edge.
    const int size = info_->Layout().FramePartSize(side);
    if (side == fsLeft) er.Right = std::min(er.Right, er.Left + size);
    if (side == fsRight) er.Left = std::max(er.Left, er.Right - size);
    if (side == fsBottom) er.Top = std::max(er.Top, er.Bottom - size);
  }
  frameCaches_[size_t(side)]->Draw(memory.DC(), element, er, FrameState(), 0);
  BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), memory.DC(), 0, 0, SRCCOPY);
}

void TvdSkinFormPainter::DrawWindowScrollBars() {
  const TvdSkinScrollBarsLayout& s = info_->ScrollBars();
  if (info_->Layout().IsIconic() || !(s.Present[0] || s.Present[1])) return;
  DrawScrollBars(dc_);
}

void TvdSkinFormPainter::DrawScrollBars(HDC dc) {
  const TvdSkinScrollBarsLayout& s = info_->ScrollBars();
  for (int bar : {vdSkinScrollHorz, vdSkinScrollVert})
    if (s.Present[bar]) DrawScrollBar(dc, bar, s.Bars[bar]);
  if (s.Present[2]) {
    DrawContent(dc, s.Bars[2]);
    if (skinPainter_) skinPainter_->PaintSizeGripAtCorner(vxCanvas_.get(), s.Bars[2], clNone, coBottomRight);
  }
}

void TvdSkinFormPainter::DrawScrollBar(HDC dc, int bar, const TRect& r) {
  if (r.IsEmpty() || !skinPainter_) return;
  const TvdSkinScrollBarsLayout& s = info_->ScrollBars();
  TMemoryCanvas memory(dc, r.Width(), r.Height());
  SetWindowOrgEx(memory.DC(), r.Left, r.Top, nullptr);
  HDC previous = dc_;
  canvas_.SetHandle(memory.DC());
  DrawContent(memory.DC(), r);
  const bool horizontal = bar == vdSkinScrollHorz;
  skinPainter_->PaintScrollBarTrack(vxCanvas_.get(), r, horizontal);
  for (int part = 1; part < 6; ++part) {
    const int state = s.PartStates[size_t(bar)][size_t(part)];
    if (state == vdScrollPartHidden) continue;
    skinPainter_->PaintScrollBarElement(vxCanvas_.get(), horizontal, s.PartRects[size_t(bar)][size_t(part)],
                                        TvxScrollBarPart(part), TvxButtonState(state));
  }
  BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), memory.DC(), r.Left, r.Top, SRCCOPY);
  canvas_.SetHandle(previous);
}

// --- The form controller ------------------------------------------------------------------

TvdSkinFormController::TvdSkinFormController(HWND wnd)
    : TvdSkinWinController(wnd),
      nonClientInfo_(std::make_unique<TvdSkinFormNonClientAreaInfo>(this)),
      formPainter_(std::make_unique<TvdSkinFormPainter>(nonClientInfo_.get())) {
  if (IsStandardFormClass(wnd)) vdPostSkinMessage(wnd, vdSkinTransparentLabelsMessage);
}

TvdSkinFormController::~TvdSkinFormController() {
  UnhookWindowProc();
  vxResetObjectLinks(this);
}

template <class Fn>
bool TvdSkinFormController::Guarded(Fn fn) {
  TvxObjectLink* link = vxNewObjectLink(this);
  fn();
  const bool alive = link->Ref != nullptr;
  vxFreeObjectLink(link);
  return alive;
}

bool TvdSkinFormController::IsSkinActive() const {
  return TvdSkinWinController::IsSkinActive() && nonClientInfo_ != nullptr;
}

void TvdSkinFormController::ResolveSkinPainter() {
  TCustomForm* form = Form();
  if (!form) return;
  for (int i = 0; i < vdSkinControllerCount() && !SkinPainter(); ++i) {
    TvdSkinController* c = vdSkinControllerAt(i);
    if (i == 0) {
      SetSkinPainter(c->GetFormSkinPainter(form));
      continue;
    }
    String name;
    bool found = GetSkinName(name);
    SetSkinPainter(c->DoSkinForm(form, name, found));
  }
}

void TvdSkinFormController::ResetSkinPainter() {
  TvdSkinWinController::ResetSkinPainter();
  if (nonClientInfo_) nonClientInfo_->RefreshCaptionText();
  TCustomForm* form = Form();
  if (!form) return;
  for (int i = vdSkinControllerCount() - 1; i >= 0; --i) {
    TvdSkinController* c = vdSkinControllerAt(i);
    if (c->IsBeingDestroyed()) continue;
    if (!SkinPainter()) {
      SetSkinPainter(c->GetFormSkinPainter(form));
    } else if (vdFormAcceptsSkin(form)) {
      String name;
      bool found = GetSkinName(name);
      SetSkinPainter(c->DoSkinForm(form, name, found));
    } else {
      SetSkinPainter(nullptr);
    }
  }
}

void TvdSkinFormController::UnhookWindowProc() {
  if (IsHooked() && nonClientInfo_) nonClientInfo_->BuildSystemMenu(GetSystemMenu(Handle(), FALSE));
  TvdSkinWinController::UnhookWindowProc();
}

void TvdSkinFormController::RefreshFrame() {
  // A top-level form keeps its client size when its frame changes (the skin
  // came or went), so that what was laid out for that size still fits.
  HWND wnd = Handle();
  const bool keepClientSize = wnd && !(GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD) && !IsZoomed(wnd) && !IsIconic(wnd);
  const TRect clientBefore = vxWindowClientRectOrEmpty(wnd);
  TvdSkinWinController::RefreshFrame();
  if (keepClientSize) {
    const TRect clientAfter = vxWindowClientRectOrEmpty(wnd);
    const int dx = clientBefore.Width() - clientAfter.Width(), dy = clientBefore.Height() - clientAfter.Height();
    const TRect window = vxWindowScreenRectOrEmpty(wnd);
    if ((dx || dy) && !window.IsEmpty())
      SetWindowPos(wnd, nullptr, 0, 0, window.Width() + dx, window.Height() + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (formPainter_) formPainter_->ResetCaches();
  if (!wnd || !nonClientInfo_) return;
  if (IsSkinActive()) {
    UpdateSizeState();
    CalculateNonClient();
    UpdateWindowRegion();
  } else {
    RemoveWindowRegion(false);
  }
}

void TvdSkinFormController::CalculateNonClient() { nonClientInfo_->Calculate(); }

void TvdSkinFormController::UpdateSizeState() {
  nonClientInfo_->SetSizeType(IsZoomed(Handle()) ? SIZE_MAXIMIZED : SIZE_RESTORED);
  nonClientInfo_->ResetSystemMenu();
  UpdateWindowRegion();
}

void TvdSkinFormController::UpdateWindowRegion() {
  HWND wnd = Handle();
  if (!(GetWindowLongA(wnd, GWL_STYLE) & WS_BORDER)) {
    RemoveWindowRegion(true);
    return;
  }
  const TvdSkinFormLayout& l = nonClientInfo_->Layout();
  TRect r = l.WindowBounds();
  if (IsZoomed(wnd) && !GetParent(wnd)) {
    // A maximized top-level window ends at the edges of its monitor.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    HMONITOR monitor = MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST);
    TRect screen;
    if (monitor && GetMonitorInfoA(monitor, &mi)) {
      screen = TRect(mi.rcMonitor);
    } else {
      RECT desktop{};
      GetWindowRect(GetDesktopWindow(), &desktop);
      screen = TRect(desktop);
    }
    const TRect& w = l.Facts().WindowScreenRect;
    vxIntersectRects(r, r, vxShiftedRect(screen, w.Left, w.Top, false));
  }
  SetWindowRgn(wnd, CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom), TRUE);
  regionApplied_ = true;
}

void TvdSkinFormController::RemoveWindowRegion(bool redraw) {
  if (!regionApplied_) return;
  regionApplied_ = false;
  SetWindowRgn(Handle(), nullptr, FALSE);
  if (redraw) vdPostSkinMessage(Handle(), vdSkinRedrawMessage);
}

void TvdSkinFormController::MakeLabelsTransparent() {
  TWinControl* form = Control();
  if (!form) return;
  for (int i = form->ControlCount() - 1; i >= 0; --i)
    if (auto* label = dynamic_cast<TLabel*>(form->Controls(i))) label->SetTransparent(true);
}

void TvdSkinFormController::PaintClientBackground(HDC dc) {
  formPainter_->BeginPaint(dc);
  formPainter_->DrawClientBackground();
  formPainter_->EndPaint();
}

void TvdSkinFormController::PaintNonClient(HDC dc) {
  formPainter_->BeginPaint(dc);
  formPainter_->DrawNonClient();
  formPainter_->EndPaint();
}

void TvdSkinFormController::PaintScrollBars(HDC dc) {
  formPainter_->BeginPaint(dc);
  formPainter_->DrawWindowScrollBars();
  formPainter_->EndPaint();
}

void TvdSkinFormController::LockRedraw() {
  if (redrawLockCount_++ == 0) DefWindowProcA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TvdSkinFormController::UnlockRedraw() {
  if (redrawLockCount_-- == 1) DefWindowProcA(Handle(), WM_SETREDRAW, TRUE, 0);
}

bool TvdSkinFormController::UpdateHotState(bool force) {
  const bool changed = nonClientInfo_->UpdateIconStates();
  const bool wasTracking = vxIsMouseTrackingActive(this);
  bool result;
  int bar = 0, part = 0;
  if (TvdSkinFormIconInfo* hot = nonClientInfo_->Icons().HotIcon) {
    vxStartMouseTracking(nullptr, nonClientInfo_->WindowToScreen(hot->Bounds), this);
    result = changed;
  } else if (nonClientInfo_->FindScrollPartAt(bar, part)) {
    result = !wasTracking;
    vxStartMouseTracking(nullptr,
                         nonClientInfo_->WindowToScreen(nonClientInfo_->ScrollBars().PartRects[size_t(bar)][size_t(part)]),
                         this);
  } else {
    result = changed || wasTracking;
    vxStopMouseTracking(this);
  }
  if (result || force) {
    CalculateNonClient();
    PaintNonClient(nullptr);
  }
  return result;
}

void TvdSkinFormController::MouseLeave() {
  UnlockRedraw();
  UpdateHotState(true);
  UpdateWindow(Handle());
  LockRedraw();
}

void TvdSkinFormController::PopupSystemMenu(TPoint p) {
  if (IsWindows2000() || nonClientInfo_->UseSystemFrame()) vdPostSkinMessage(Handle(), vdSkinRedrawMessage);
  TPMPARAMS params{};
  params.cbSize = sizeof params;
  const UINT command = UINT(TrackPopupMenuEx(GetSystemMenu(Handle(), FALSE), TPM_LEFTALIGN | TPM_RETURNCMD, p.X, p.Y,
                                             Handle(), &params));
  PostMessageA(Handle(), WM_SYSCOMMAND, command, 0);
}

void TvdSkinFormController::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT: WMSetText(message); return;
    case WM_THEMECHANGED: nonClientInfo_->ForgetThemeState(); return;
    case vdSkinTransparentLabelsMessage: MakeLabelsTransparent(); return;
  }
  if (message.Msg == vxSkinRefreshMessage) {
    ResetSkinPainter();
    RefreshFrame();
    return;
  }
  if (!IsSkinActive()) {
    CallDefaultWindowProc(message);
    return;
  }
  if (HandleSkinMessage(message)) return;
  PreProcess(message);
  const UINT msg = message.Msg;
  const WPARAM wParam = message.WParam;
  if (!Guarded([&] { CallDefaultWindowProc(message); })) return;
  message.Msg = msg;
  message.WParam = wParam;
  PostProcess(message);
}

bool TvdSkinFormController::HandleSkinMessage(TMessage& message) {
  if (pendingNonClientRepaint_) {
    PaintNonClient(nullptr);
    pendingNonClientRepaint_ = false;
  }
  switch (message.Msg) {
    case WM_ACTIVATE:
    case WM_MOUSEACTIVATE: WMActivate(message); return true;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return true;
    case kFrameChangedNotify:
      if (Guarded([&] { CallDefaultWindowProc(message); })) RefreshFrame();
      return true;
    case WM_CONTEXTMENU: return WMContextMenu(message);
    case WM_NCCALCSIZE: WMNCCalcSize(message); return true;
    case WM_NCHITTEST: return WMNCHitTest(message);
    case WM_NCPAINT: WMNCPaint(message); return true;
    case WM_NCACTIVATE: WMNCActivate(message); return true;
    case WM_SYNCPAINT:
    case kNCUAHDrawCaption:
    case kNCUAHDrawFrame: PaintNonClient(nullptr); return true;
    case WM_NCMOUSEMOVE:
      if (!UpdateHotState(false)) {
        message.WParam = HTNOWHERE;
        if (Guarded([&] { CallDefaultWindowProc(message); })) PaintNonClient(nullptr);
      }
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDown(message); return true;
    case WM_NCLBUTTONUP: return WMNCLButtonUp(message);
    case WM_SYSCOMMAND: WMSysCommand(message); return true;
    case WM_INITMENU: WMInitMenu(message); return true;
    case kPopupSystemMenu: WMPopupSystemMenu(message); return true;
    default: return HandlePrivateMessage(message);
  }
}

bool TvdSkinFormController::HandlePrivateMessage(TMessage& message) {
  switch (message.Msg) {
    case vdSkinRedrawMessage: Redraw(false); return true;
    case vdSkinRefreshMDIFrameMessage:
      nonClientInfo_->RefreshCaptionText();
      PaintNonClient(nullptr);
      return true;
    case vdSkinUpdateSizeStateMessage: UpdateSizeState(); return true;
    default: return false;
  }
}

void TvdSkinFormController::PreProcess(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: WMPaint(message); break;
    case WM_QUERYOPEN:
    case WM_EXITMENULOOP: nonClientInfo_->ResetSystemMenu(); break;
    case WM_SHOWWINDOW: vdPostSkinMessage(Handle(), vdSkinRedrawMessage); break;
    case WM_NCCREATE:
      RemoveWindowRegion(true);
      CalculateNonClient();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      nonClientInfo_->TrackedScrollBar = LOWORD(message.WParam) == SB_THUMBTRACK
                                             ? (message.Msg == WM_HSCROLL ? vdSkinScrollHorz : vdSkinScrollVert)
                                             : vdSkinScrollNone;
      break;
  }
}

void TvdSkinFormController::PostProcess(TMessage& message) {
  switch (message.Msg) {
    case WM_DESTROY:
    case WM_MDIDESTROY:
      if (message.WParam == 0) {
        SetSkinPainter(nullptr);
        UnhookWindowProc();
      }
      break;
    case WM_SIZE: WMSize(message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(message); break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      UnlockRedraw();
      Redraw(true);
      LockRedraw();
      break;
    case WM_PRINT: WMPrint(message); break;
  }
}

void TvdSkinFormController::WMActivate(TMessage& message) {
  if (Guarded([&] { CallDefaultWindowProc(message); })) PaintNonClient(nullptr);
}

void TvdSkinFormController::WMEraseBkgnd(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (!dc) return;
  TSavedDC saved(dc);
  PaintClientBackground(dc);
  message.Result = 1;
}

bool TvdSkinFormController::WMContextMenu(TMessage& message) {
  const TPoint p(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
  const int code = nonClientInfo_->HitTest(p, 0);
  if (code != HTCAPTION && code != HTSYSMENU) return false;
  PopupSystemMenu(p);
  message.Result = 0;
  return true;
}

void TvdSkinFormController::WMNCCalcSize(TMessage& message) {
  auto* rect = reinterpret_cast<RECT*>(message.LParam);
  const RECT kept = *rect;
  if (!Guarded([&] { CallDefaultWindowProc(message); })) return;
  CalculateNonClient();
  if (message.WParam && nonClientInfo_->Layout().UsesOwnClientLayout()) {
    const TRect o = nonClientInfo_->Layout().ClientOffsets();
    *rect = {kept.left + o.Left, kept.top + o.Top, kept.right - o.Right, kept.bottom - o.Bottom};
  }
}

bool TvdSkinFormController::WMNCHitTest(TMessage& message) {
  const TPoint p(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
  const int code = nonClientInfo_->HitTest(p, int(message.Result));
  message.Result = code;
  return code != HTNOWHERE && code != HTSYSMENU;
}

void TvdSkinFormController::WMNCPaint(TMessage& message) {
  CalculateNonClient();
  PaintNonClient(nullptr);
  const TvdSkinFormLayout& l = nonClientInfo_->Layout();
  if (l.Facts().HasMenu || l.Facts().IsMDIClient) {
    // The system paints what the skin does not (the menu bar).
    const TRect w = l.Facts().WindowScreenRect;
    HRGN rest = CreateRectRgn(w.Left, w.Top, w.Right, w.Bottom);
    HRGN skinned = nonClientInfo_->CreateNonClientRegion();
    OffsetRgn(skinned, w.Left, w.Top);
    CombineRgn(rest, rest, skinned, RGN_DIFF);
    DeleteObject(skinned);
    if (message.WParam != 1) CombineRgn(rest, rest, reinterpret_cast<HRGN>(message.WParam), RGN_AND);
    TMessage sys = message;
    sys.WParam = WPARAM(rest);
    const bool alive = Guarded([&] { CallDefaultWindowProc(sys); });
    DeleteObject(rest);
    if (!alive) return;
  }
  message.WParam = 1;
  message.Result = 0;
}

void TvdSkinFormController::WMNCActivate(TMessage& message) {
  nonClientInfo_->SetActive(message.WParam != 0);
  HWND wnd = Handle();
  const LONG style = GetWindowLongA(wnd, GWL_STYLE);
  if (style & WS_CHILD) {
    // The system updates its state without painting its own caption; the
    // style comes back whatever the call does.
    SetWindowLongA(wnd, GWL_STYLE, style & ~WS_VISIBLE);
    message.Result = DefWindowProcA(wnd, WM_NCACTIVATE, message.WParam, 0);
    SetWindowLongA(wnd, GWL_STYLE, GetWindowLongA(wnd, GWL_STYLE) | (style & WS_VISIBLE));
  } else {
    message.Result = 1;
  }
  PaintNonClient(nullptr);
}

void TvdSkinFormController::WMNCLButtonDown(TMessage& message) {
  pendingNonClientRepaint_ = true;
  nonClientInfo_->UpdatePressedIcon(true);
  nonClientInfo_->UpdateIconStates();
  const bool scrolling = message.WParam == HTHSCROLL || message.WParam == HTVSCROLL;
  if (scrolling) LockRedraw();
  const TvdSkinFormIconInfo* pressed = nonClientInfo_->Icons().PressedIcon;
  const bool alive = Guarded([&] {
    if (!pressed || pressed->IconType == fitSystemMenu) CallDefaultWindowProc(message);
  });
  if (alive) {
    if (scrolling) UnlockRedraw();
    UpdateHotState(true);
    PaintNonClient(nullptr);
  }
  message.Result = 0;
}

bool TvdSkinFormController::WMNCLButtonUp(TMessage& message) {
  TvdSkinFormIconInfoList& icons = nonClientInfo_->Icons();
  TvdSkinFormIconInfo* pressed = icons.PressedIcon == icons.HotIcon ? icons.PressedIcon : nullptr;
  // The icon under the mouse now decides, not the one hot before.
  POINT cursor{};
  GetCursorPos(&cursor);
  if (pressed && icons.IconAt(nonClientInfo_->ScreenToWindow(TPoint(cursor))) != pressed) pressed = nullptr;
  nonClientInfo_->UpdatePressedIcon(false);
  const int type = pressed ? pressed->IconType : -1;
  const bool enabled = pressed && nonClientInfo_->Layout().IsIconEnabled(type);
  if (!Guarded([&] { UpdateHotState(true); })) return true;
  if (type < 0) return false;
  if (!enabled) return true;
  if (type == fitHelp) return false;
  SendMessageA(Handle(), WM_SYSCOMMAND, vdSkinFormIconSysCommand(type), 0);
  return true;
}

void TvdSkinFormController::WMSysCommand(TMessage& message) {
  if (IsWindows2000() || nonClientInfo_->UseSystemFrame()) vdPostSkinMessage(Handle(), vdSkinRedrawMessage);
  const bool keyMenu = (message.WParam & 0xFFF0) == SC_KEYMENU && message.LParam == ' ';
  const bool alive = Guarded([&] {
    if (keyMenu) LockWindowUpdate(Handle());
    CallDefaultWindowProc(message);
    if (keyMenu) LockWindowUpdate(nullptr);
  });
  if (alive) PaintNonClient(nullptr);
}

void TvdSkinFormController::WMInitMenu(TMessage& message) {
  HWND wnd = Handle();
  message.WParam = WPARAM(GetSystemMenu(wnd, FALSE));
  const LONG style = GetWindowLongA(wnd, GWL_STYLE);
  SetWindowLongA(wnd, GWL_STYLE, style & ~WS_VISIBLE);
  struct TRestore {
    HWND Wnd;
    LONG Visible;
    ~TRestore() {
      if (IsWindow(Wnd)) SetWindowLongA(Wnd, GWL_STYLE, GetWindowLongA(Wnd, GWL_STYLE) | Visible);
    }
  } restore{wnd, style & WS_VISIBLE};
  nonClientInfo_->BuildSystemMenu(HMENU(message.WParam));
  for (int i = 0; i < vdSkinControllerCount(); ++i) vdSkinControllerAt(i)->DoPopupSysMenu(Form(), HMENU(message.WParam));
  CallDefaultWindowProc(message);
}

void TvdSkinFormController::WMPopupSystemMenu(TMessage& message) {
  if (IsWindowEnabled(Handle())) {
    // The handlers get the menu that is shown: the window's system menu.
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    for (int i = 0; i < vdSkinControllerCount(); ++i) vdSkinControllerAt(i)->DoPopupSysMenu(Form(), menu);
    POINT cursor{};
    GetCursorPos(&cursor);
    PopupSystemMenu(TPoint(cursor));
  }
  message.Result = 0;
}

void TvdSkinFormController::WMPaint(TMessage&) {
  nonClientInfo_->CalculateScrollBars();
  const TvdSkinScrollBarsLayout& s = nonClientInfo_->ScrollBars();
  if (s.Present[0] || s.Present[1]) PaintScrollBars(nullptr);
}

void TvdSkinFormController::WMPrint(TMessage& message) {
  if ((message.LParam & PRF_NONCLIENT) && (!(message.LParam & PRF_CHECKVISIBLE) || IsWindowVisible(Handle())))
    PaintNonClient(reinterpret_cast<HDC>(message.WParam));
}

void TvdSkinFormController::WMSetText(TMessage& message) {
  if (!Guarded([&] { CallDefaultWindowProc(message); })) return;
  nonClientInfo_->RefreshCaptionText();
  RefreshFrame();
}

void TvdSkinFormController::WMSize(TMessage& message) {
  if (nonClientInfo_->SizeType() == SIZE_MAXIMIZED) vdPostSkinMessage(Handle(), vdSkinRedrawMessage);
  nonClientInfo_->SetSizeType(int(message.WParam));
}

void TvdSkinFormController::WMWindowPosChanged(TMessage& message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
  if (!(pos->flags & SWP_NOSIZE) || !(pos->flags & SWP_NOMOVE)) {
    CalculateNonClient();
    UpdateWindowRegion();
  }
}
