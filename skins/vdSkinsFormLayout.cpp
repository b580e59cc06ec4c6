#include "skins/vdSkinsFormLayout.h"

#include <algorithm>
#include <cmath>

#include "foundation/vxGeometry.h"
#include "skins/vdSkinsCore.h"

namespace {

using namespace vdSkinFormStyle;

// The order in which the caption buttons take their places: the window
// icon from the left, the others from the right.
constexpr int kPlacementOrder[] = {fitSystemMenu, fitClose, fitMaximize, fitRestore, fitMinimize, fitHelp};
// Gap between two caption buttons, and what the caption text leaves free
// before the buttons.
constexpr int kButtonGap = 2;
constexpr int kTextRightGap = 5;

TvdSkinFormIconTypes Bit(int type) { return TvdSkinFormIconTypes(1u << type); }

TRect Deflated(const TRect& r, const TRect& by) {
  return {r.Left + by.Left, r.Top + by.Top, r.Right - by.Right, r.Bottom - by.Bottom};
}

bool Contains(const TRect& r, TPoint p) { return vxIsPointInRect(r, p); }

}  // namespace

int vdSkinFormIconHitCode(int iconType) {
  static constexpr int codes[] = {vdHtSysMenu, vdHtHelp, vdHtMinButton, vdHtMaxButton, vdHtMaxButton, vdHtClose};
  return codes[iconType];
}

unsigned vdSkinFormIconSysCommand(int iconType) {
  // SC_DEFAULT, SC_CONTEXTHELP, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_CLOSE.
  static constexpr unsigned commands[] = {0xF160, 0xF180, 0xF020, 0xF030, 0xF120, 0xF060};
  return commands[iconType];
}

// --- Measures of the skin's form elements ----------------------------------------------

TvdSkinFormElementMeasures vdSkinFormMeasureElement(TvdSkinElement* element) {
  TvdSkinFormElementMeasures m;
  if (!element) return m;
  m.Present = true;
  m.ImageSize = element->GetImageSize();
  m.MinSize = element->MinSize();
  m.ContentOffset = element->ContentOffset();
  m.NoResize = element->Image().Stretch() == smNoResize;
  return m;
}

TvdSkinFormSkinMeasures vdSkinFormMeasureSet(const std::array<TvdSkinElement*, 4>& frames,
                                             const std::array<TvdSkinElement*, vdSkinFormIconTypeCount>& buttons) {
  TvdSkinFormSkinMeasures set;
  for (size_t side = 0; side < 4; ++side) set.Frames[side] = vdSkinFormMeasureElement(frames[side]);
  for (size_t type = 0; type < vdSkinFormIconTypeCount; ++type) set.Buttons[type] = vdSkinFormMeasureElement(buttons[type]);
  set.FrameSizes = {set.Frames[fsLeft].ImageSize.cx, 0, set.Frames[fsRight].ImageSize.cx,
                    set.Frames[fsBottom].ImageSize.cy};
  return set;
}

TvdSkinFormSkinMeasures vdSkinFormMeasureSkin(TvdSkin& skin, int frameSet) {
  TvdSkinControlGroup* group = skin.GetGroupByName("Form");
  auto element = [group](const char* name) { return group ? group->GetElementByName(name) : nullptr; };
  const bool small = frameSet == 0;
  const std::array<TvdSkinElement*, 4> frames = {element("FormFrameLeft"), element(small ? "SmallFormCaption" : "FormCaption"),
                                     element("FormFrameRight"), element("FormFrameBottom")};
  std::array<TvdSkinElement*, vdSkinFormIconTypeCount> buttons{};
  if (small) {
    buttons[fitClose] = element("SmallFormButtonClose");
  } else {
    static constexpr const char* names[] = {nullptr, "FormButtonHelp", "FormButtonMinimize", "FormButtonMaximize",
                                            "FormButtonRestore", "FormButtonClose"};
    for (int type = 1; type < vdSkinFormIconTypeCount; ++type) buttons[size_t(type)] = element(names[type]);
  }
  return vdSkinFormMeasureSet(frames, buttons);
}

// --- TvdSkinFormLayout ---------------------------------------------------------------

void TvdSkinFormLayout::Calculate(const TvdSkinFormWindowFacts& facts, const TvdSkinFormSystemMetrics& metrics,
                                  const TvdSkinFormSkinMeasures* skin) {
  facts_ = facts;
  metrics_ = metrics;
  skin_ = skin;
  CalculateFrameSizes();
  CalculateWindowBounds();
  CalculateBorders();
  CalculateFrameParts();
  CalculateIcons();
}

const TvdSkinFormElementMeasures* TvdSkinFormLayout::FrameElement(int side) const {
  if (!skin_ || !skin_->Frames[side].Present) return nullptr;
  return &skin_->Frames[side];
}

const TvdSkinFormElementMeasures* TvdSkinFormLayout::ButtonElement(int iconType) const {
  if (!skin_ || !skin_->Buttons[iconType].Present) return nullptr;
  return &skin_->Buttons[iconType];
}

int TvdSkinFormLayout::FramePartSize(int side) const {
  const TvdSkinFormElementMeasures* e = FrameElement(side);
  if (!e) return 0;
  if (side == fsLeft || side == fsRight) return std::max(e->ImageSize.cx, e->MinSize.cx);
  return std::max(e->ImageSize.cy, e->MinSize.cy);
}

void TvdSkinFormLayout::CalculateFrameSizes() {
  clientEdgeSize_ = (facts_.ExStyle & ExClientEdge) ? TSize{metrics_.CxEdge, metrics_.CyEdge} : TSize{};
  // The resize border: its horizontal thickness (the width of the left and
  // right strips) is the right frame's width, its vertical thickness the
  // bottom frame's height.
  frameSize_ = {};
  if (HasBorder() && skin_) frameSize_ = {skin_->FrameSizes.Right, skin_->FrameSizes.Bottom};
  useSystemFrame_ = IsZoomed() || facts_.HasMenu || facts_.IsMDIClient || !facts_.ThemeActive;
  systemFrameSize_ = {};
  if (HasBorder()) {
    const int reduce = IsSizeable() ? 0 : metrics_.BorderWidth;
    systemFrameSize_ = {metrics_.CxFrame - reduce, metrics_.CyFrame - reduce};
  }
  if (useSystemFrame_) {
    frameSize_.cx = std::min(frameSize_.cx, systemFrameSize_.cx);
    frameSize_.cy = std::min(frameSize_.cy, systemFrameSize_.cy);
  }
}

void TvdSkinFormLayout::CalculateWindowBounds() {
  const TRect& w = facts_.WindowScreenRect;
  clientRect_ = vxShiftedRect(facts_.ClientScreenRect, w.Left, w.Top, false);
  windowBounds_ = {0, 0, w.Width(), w.Height()};
  if (useSystemFrame_) {
    const int dx = std::max(0, systemFrameSize_.cx - frameSize_.cx);
    const int dy = std::max(0, systemFrameSize_.cy - frameSize_.cy);
    windowBounds_ = vxInflatedRect(windowBounds_, -dx, -dy);
  }
}

TRect TvdSkinFormLayout::SystemClientOffsets() const {
  const TRect& w = facts_.WindowScreenRect;
  const TRect& c = facts_.ClientScreenRect;
  const int a = c.Left - w.Left - facts_.BorderWidth;
  int t = c.Top - w.Top - facts_.BorderWidth;
  if (facts_.HasMenu && facts_.MenuHeight > 0) t -= facts_.MenuHeight + clientEdgeSize_.cy;
  return {a, t, a, a};
}

void TvdSkinFormLayout::CalculateBorders() {
  borders_ = {};
  menuSeparatorRect_ = {};
  if (IsIconic()) {
    borders_.Top = windowBounds_.Height();
    return;
  }
  if (HasBorder() && skin_) {
    borders_ = {skin_->FrameSizes.Left, 0, skin_->FrameSizes.Right, skin_->FrameSizes.Bottom};
    if (useSystemFrame_) {
      const TRect system = SystemClientOffsets();
      borders_.Left = std::min(borders_.Left, system.Left);
      borders_.Right = std::min(borders_.Right, system.Right);
      borders_.Bottom = std::min(borders_.Bottom, system.Bottom);
    }
  }
  borders_.Top = CalculateCaptionHeight();
  if (facts_.HasMenu) menuSeparatorRect_ = vxRectWithHeight(ContentArea(), 1);
}

int TvdSkinFormLayout::CalculateCaptionHeight() const {
  if (!HasCaption()) return 0;
  if (useSystemFrame_) return SystemClientOffsets().Top - windowBounds_.Top;
  const TvdSkinFormElementMeasures* caption = FrameElement(fsCaption);
  const TRect offset = caption ? caption->ContentOffset : TRect{};
  return std::max(CalculateIconsHeight(), facts_.TextHeight) + offset.Top + offset.Bottom;
}

int TvdSkinFormLayout::CalculateIconsHeight() const {
  const TvdSkinFormIconTypes visible = VisibleIcons();
  int height = 0;
  for (int type = 0; type < vdSkinFormIconTypeCount; ++type) {
    if (!vdSkinFormHasIcon(visible, type)) continue;
    if (type == fitSystemMenu) {
      height = std::max(height, SystemIconSize().cy);
    } else if (const TvdSkinFormElementMeasures* e = ButtonElement(type)) {
      height = std::max(height, e->MinSize.cy);
    }
  }
  return height;
}

TSize TvdSkinFormLayout::SystemIconSize() const {
  const int side = IsToolWindow() ? metrics_.CySmCaption - 2 * metrics_.CyEdge : metrics_.CySmIcon;
  return {side, side};
}

void TvdSkinFormLayout::CalculateFrameParts() {
  const TRect& w = windowBounds_;
  frameParts_[fsLeft] = {w.Left, w.Top, w.Left + borders_.Left, w.Bottom};
  frameParts_[fsCaption] = {w.Left, w.Top, w.Right, w.Top + borders_.Top};
  frameParts_[fsRight] = {w.Right - borders_.Right, w.Top, w.Right, w.Bottom};
  frameParts_[fsBottom] = {w.Left, w.Bottom - borders_.Bottom, w.Right, w.Bottom};
}

TRect TvdSkinFormLayout::ContentArea() const { return Deflated(windowBounds_, borders_); }

TvdSkinFormIconTypes TvdSkinFormLayout::VisibleIcons() const {
  TvdSkinFormIconTypes set = 0;
  if (facts_.Style & SysMenu) {
    set |= Bit(fitClose);
    if (!IsToolWindow() && !IsDialogFrame()) set |= Bit(fitSystemMenu);
  }
  if (facts_.Style & MinimizeBox) set |= Bit(IsIconic() ? fitRestore : fitMinimize);
  if (facts_.Style & MaximizeBox) set |= Bit(IsZoomed() ? fitRestore : fitMaximize);
  if (IsDialogFrame() && (facts_.ExStyle & ExContextHelp)) set |= Bit(fitHelp);
  return set;
}

TRect TvdSkinFormLayout::CaptionContentRect() const {
  const TvdSkinFormElementMeasures* caption = FrameElement(fsCaption);
  TRect offset = caption ? caption->ContentOffset : TRect{};
  if (useSystemFrame_ && HasCaption()) {
    // The element was drawn for its own height; the system's caption may be
    // lower, and the offsets shrink with it.
    const int captionHeight = borders_.Top;
    double scale = 1;
    if (caption && caption->ImageSize.cy > 0 && captionHeight > 0) scale = double(caption->ImageSize.cy) / captionHeight;
    offset = {int(offset.Left / scale), int(offset.Top / scale), int(offset.Right / scale), int(offset.Bottom / scale)};
  }
  if (IsZoomed()) {
    offset.Left = std::max(offset.Left, frameSize_.cx);
    offset.Right = std::max(offset.Right, frameSize_.cx);
    offset.Top = std::max(offset.Top, frameSize_.cy);
  }
  offset.Left = FramePartSize(fsLeft);
  TRect r = Deflated(frameParts_[fsCaption], offset);
  if (IsToolWindow()) ++r.Top;
  return r;
}

TSize TvdSkinFormLayout::ButtonSize(const TRect& contentRect, const TvdSkinFormElementMeasures* element) const {
  TSize size;
  size.cy = contentRect.Height();
  double ratio = 1;
  if (element && element->MinSize.cy > 0) ratio = double(element->MinSize.cx) / element->MinSize.cy;
  size.cx = int(std::nearbyint(size.cy * ratio));  // halves to even
  if (element && element->NoResize) {
    // An unscaled glyph centres exactly only when both sizes share parity.
    if ((size.cx - element->ImageSize.cx) % 2 != 0) --size.cx;
    if ((size.cy - element->ImageSize.cy) % 2 != 0) --size.cy;
  }
  return size;
}

void TvdSkinFormLayout::CalculateIcons() {
  const TvdSkinFormIconTypes visible = VisibleIcons();
  const TRect content = CaptionContentRect();
  TRect r = content;
  icons_.clear();
  for (int type : kPlacementOrder) {
    if (!vdSkinFormHasIcon(visible, type)) continue;
    TvdSkinFormIcon icon;
    icon.Type = type;
    const TSize size = type == fitSystemMenu ? SystemIconSize() : ButtonSize(content, ButtonElement(type));
    if (type == fitSystemMenu) {
      icon.HitBounds = {r.Left, r.Top, r.Left + size.cx, r.Bottom};
      r.Left = icon.HitBounds.Right;
    } else {
      icon.HitBounds = {r.Right - size.cx, r.Top, r.Right, r.Bottom};
      r.Right = icon.HitBounds.Left - kButtonGap;
    }
    icon.Bounds = vxCenteredRectOfSize(icon.HitBounds, size);
    if (IsZoomed()) {
      // The screen edge of a maximized window still hits the button.
      icon.HitBounds.Top = std::min(icon.HitBounds.Top, systemFrameSize_.cy);
      if (type == fitSystemMenu) icon.HitBounds.Left = std::min(icon.HitBounds.Left, systemFrameSize_.cx);
    }
    icons_.push_back(icon);
  }
  r.Right -= kTextRightGap;
  if (const TvdSkinFormElementMeasures* caption = FrameElement(fsCaption)) r.Left += caption->ContentOffset.Left;
  const int top = r.Top + (r.Height() - facts_.TextHeight) / 2;
  captionTextRect_ = {r.Left, top, r.Right, top + facts_.TextHeight};
}

bool TvdSkinFormLayout::IsIconEnabled(int iconType) const {
  switch (iconType) {
    case fitMinimize: return facts_.Style & MinimizeBox;
    case fitMaximize: return facts_.Style & MaximizeBox;
    case fitClose: return facts_.CloseEnabled;
    default: return true;
  }
}

TRect TvdSkinFormLayout::ClientOffsets() const {
  const int b = facts_.BorderWidth;
  TRect r{borders_.Left + b, borders_.Top + b, borders_.Right + b, borders_.Bottom + b};
  if (facts_.Style & VScroll) r.Right += metrics_.CxVScroll;
  if (facts_.Style & HScroll) r.Bottom += metrics_.CyHScroll;
  if (IsZoomed() && IsSizeable()) {
    const int dx = systemFrameSize_.cx - frameSize_.cx, dy = systemFrameSize_.cy - frameSize_.cy;
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
  }
  return r;
}

bool TvdSkinFormLayout::UsesOwnClientLayout() const {
  return HasBorder() && !useSystemFrame_ && !(IsZoomed() && facts_.IsMDIChild);
}

const TvdSkinFormIcon* TvdSkinFormLayout::IconAt(TPoint p) const {
  for (const TvdSkinFormIcon& icon : icons_)
    if (Contains(icon.HitBounds, p)) return &icon;
  return nullptr;
}

int TvdSkinFormLayout::HitTest(TPoint p, int current) const {
  int code = current;
  if (IsSizeable() && !IsZoomed()) {
    const TRect& w = windowBounds_;
    const int cx = frameSize_.cx, cy = frameSize_.cy, caption = borders_.Top;
    const struct {
      TRect Area;
      int Code;
    } zones[] = {
        // Corners first, then the sides.
        {{w.Left, w.Top, w.Left + cx, w.Top + caption}, vdHtTopLeft},
        {{w.Right - cx, w.Top, w.Right, w.Top + caption}, vdHtTopRight},
        {{w.Left, w.Bottom - cy, w.Left + cx, w.Bottom}, vdHtBottomLeft},
        {{w.Right - cx, w.Bottom - cy, w.Right, w.Bottom}, vdHtBottomRight},
        {{w.Left, w.Top + caption, w.Left + cx, w.Bottom}, vdHtLeft},
        {{w.Left, w.Top, w.Right, w.Top + cy}, vdHtTop},
        {{w.Right - cx, w.Top + caption, w.Right, w.Bottom}, vdHtRight},
        {{w.Left, w.Bottom - cy, w.Right, w.Bottom}, vdHtBottom},
    };
    for (const auto& zone : zones)
      if (code == vdHtNowhere && Contains(zone.Area, p)) code = zone.Code;
  }
  if (code != vdHtNowhere) return code;
  if (!Contains(frameParts_[fsCaption], p)) return vdHtNowhere;
  const TvdSkinFormIcon* icon = IconAt(p);
  return icon ? vdSkinFormIconHitCode(icon->Type) : vdHtCaption;
}

// --- Window scroll bars ---------------------------------------------------------------

void vdSkinCalculateScrollBars(TvdSkinScrollBarsLayout& layout, uint32_t style, const TRect& c,
                               const TvdSkinFormSystemMetrics& metrics) {
  layout = {};
  TRect& h = layout.Bars[vdSkinScrollHorz];
  TRect& v = layout.Bars[vdSkinScrollVert];
  layout.Present[vdSkinScrollHorz] = style & HScroll;
  layout.Present[vdSkinScrollVert] = style & VScroll;
  if (layout.Present[vdSkinScrollHorz]) h = {c.Left, c.Bottom, c.Right, c.Bottom + metrics.CyHScroll};
  if (layout.Present[vdSkinScrollVert]) v = {c.Right, c.Top, c.Right + metrics.CxVScroll, c.Bottom};
  if (layout.Present[vdSkinScrollHorz] && layout.Present[vdSkinScrollVert]) {
    h.Right = v.Left;
    v.Bottom = h.Top;
    layout.Present[2] = true;
    layout.Bars[2] = {v.Left, h.Top, v.Right, h.Bottom};
  }
}

void vdSkinCalculateScrollBarParts(TvdSkinScrollBarsLayout& layout, int bar, const TvdSkinScrollBarFacts& facts,
                                   TPoint cursor, bool leftButtonDown, bool tracked) {
  const TRect& r = layout.Bars[bar];
  const bool horz = bar == vdSkinScrollHorz;
  const int start = horz ? r.Left : r.Top, end = horz ? r.Right : r.Bottom;
  const int line = facts.LineButton;
  // Each part's span along the bar and the index of its state flags.
  const struct {
    int From, To, StateIndex;
  } spans[6] = {
      {start, end, 0},
      {start, start + line, 1},
      {end - line, end, 5},
      {start + facts.ThumbTop, start + facts.ThumbBottom, 3},
      {start + line, start + facts.ThumbTop, 2},
      {start + facts.ThumbBottom, end - line, 4},
  };
  for (int part = 1; part < 6; ++part) {
    TRect pr = r;
    if (spans[part].To > spans[part].From) pr = horz ? vxRectWithHorzBounds(r, spans[part].From, spans[part].To)
                                                      : vxRectWithVertBounds(r, spans[part].From, spans[part].To);
    layout.PartRects[bar][part] = pr;
    const uint32_t flags = facts.States[spans[part].StateIndex];
    const bool inside = Contains(pr, cursor);
    int state = vdScrollPartNormal;
    if (flags & vdStateSystemInvisible) state = vdScrollPartHidden;
    else if (part == 3 && tracked) state = vdScrollPartPressed;
    else if (flags & vdStateSystemPressed) state = vdScrollPartPressed;
    else if (flags & vdStateSystemUnavailable) state = vdScrollPartDisabled;
    else if ((flags & vdStateSystemHotTracked) || inside)
      state = inside && leftButtonDown ? vdScrollPartPressed : vdScrollPartHot;
    layout.PartStates[bar][part] = state;
  }
}

bool vdSkinFindScrollPartAt(const TvdSkinScrollBarsLayout& layout, TPoint p, int& bar, int& part) {
  for (bar = vdSkinScrollHorz; bar <= vdSkinScrollVert; ++bar) {
    if (!layout.Present[bar]) continue;
    for (part = 1; part < 6; ++part)
      if (layout.PartStates[bar][part] != vdScrollPartHidden && Contains(layout.PartRects[bar][part], p)) return true;
  }
  return false;
}
