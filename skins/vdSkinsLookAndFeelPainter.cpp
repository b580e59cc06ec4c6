// The skin painter's operations, in the order of the painter interface:
// colours, sizes, then drawing. Each reads its slots through SLOT, which
// answers nil while the painter has no painter data, and otherwise calls
// the operation it overrides (the Office 2003 painter's, or a farther
// ancestor's through it).
#include "skins/vdSkinsLookAndFeelPainter.h"

#include <cmath>
#include <numbers>
#include <type_traits>

#include "foundation/vxGraphicsBitmaps.h"
#include "foundation/vxGraphicsBlend.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"

using namespace vxpaint;

namespace {

using Office11 = TvxOffice11LookAndFeelPainter;

TvxExtendedStylePainters*& ModuleRegistry() {
  static TvxExtendedStylePainters* registry = nullptr;
  return registry;
}

bool IsValid(TColor color) { return color != clNone && color != clDefault; }

// A skin colour: its value when present, else parent.
TColor PresentColor(const TvdSkinColor* color, TColor parent) { return color ? color->Value() : parent; }
// Its value when present and valid, else parent.
TColor ValidColor(const TvdSkinColor* color, TColor parent) {
  return color && IsValid(color->Value()) ? color->Value() : parent;
}
TColor ElementColor(const TvdSkinElement* element, TColor parent) { return element ? element->Color() : parent; }
TColor ElementTextColor(const TvdSkinElement* element, TColor parent) {
  return element ? element->TextColor() : parent;
}

TSize ImageSize(TvdSkinElement* element) { return element->GetImageSize(); }
// The image size of one picture of the element when present, else parent.
TSize ImageSizeOr(TvdSkinElement* element, TSize parent) { return element ? element->GetImageSize() : parent; }
TRect ContentOffsetOr(const TvdSkinElement* element, TRect parent) {
  return element ? element->ContentOffset() : parent;
}
TPoint ImagePoint(TvdSkinElement* element) { return vxPointOfSize(element->GetImageSize()); }
TRect OuterRect(const TRect& rect, const TRect& by) {
  return {rect.Left - by.Left, rect.Top - by.Top, rect.Right + by.Right, rect.Bottom + by.Bottom};
}

// Pictures of translucent elements as they were drawn, by element, image,
// state and size: a repaint is one alpha blend of premultiplied pixels
// instead of a GDI+ drawing, which costs a hundred times as much. Elements
// with a background colour fill it through GDI, which writes no alpha, so
// they always draw afresh; so do large ones.
class TElementPictures {
 public:
  bool Draw(HDC dc, TvdSkinElement* element, const TRect& rect, int imageIndex, TvdSkinElementState state) {
    const int w = rect.Width(), h = rect.Height();
    if (w < 1 || h < 1 || w * h > kMaxArea || element->IsColorAssigned() || !element->IsAlphaUsed()) return false;
    const TKey key{element, element->Image().Picture().Bytes().data(), imageIndex, state, w, h};
    TvxBitmap32* picture = Find(key);
    if (!picture) {
      auto made = std::make_unique<TvxBitmap32>(w, h, true);
      element->Draw(made->Canvas()->Handle(), made->GetFullRect(), imageIndex, state);
      picture = made.get();
      if (entries_.size() == kMaxEntries) entries_.erase(entries_.begin());
      entries_.emplace_back(key, std::move(made));
    }
    vxAlphaBlendRaw(dc, picture->Canvas()->Handle(), rect, 255, picture->GetFullRect());
    return true;
  }
  void Flush() { entries_.clear(); }

 private:
  // The picture's bytes too: an element made where a freed one lived has
  // bytes of its own.
  struct TKey {
    const TvdSkinElement* Element;
    const void* Bytes;
    int ImageIndex;
    TvdSkinElementState State;
    int Width, Height;
    bool operator==(const TKey&) const = default;
  };
  static constexpr int kMaxArea = 256 * 64;
  static constexpr size_t kMaxEntries = 256;

  TvxBitmap32* Find(const TKey& key) {
    for (auto& [k, picture] : entries_)
      if (k == key) return picture.get();
    return nullptr;
  }

  std::vector<std::pair<TKey, std::unique_ptr<TvxBitmap32>>> entries_;
};

TElementPictures& Pictures() {
  static TElementPictures pictures;
  return pictures;
}

void DrawElement(TvxCanvas* canvas, TvdSkinElement* element, const TRect& rect, int imageIndex = 0,
                 TvdSkinElementState state = esNormal) {
  HDC dc = canvas->DeviceContext();
  if (!Pictures().Draw(dc, element, rect, imageIndex, state)) element->Draw(dc, rect, imageIndex, state);
}

// Draws with the element's own cache: large areas drawn at one size.
void DrawCached(TvxCanvas* canvas, TvdSkinElement* element, const TRect& rect) {
  element->SetUseCache(true);
  element->Draw(canvas->DeviceContext(), rect);
}

// The element drawn over a larger rectangle, clipped to rect.
void DrawClipped(TvxCanvas* canvas, TvdSkinElement* element, const TRect& rect, const TRect& drawn, int imageIndex,
                 TvdSkinElementState state) {
  SavedClip clip(canvas);
  canvas->IntersectClipWithRect(rect);
  DrawElement(canvas, element, drawn, imageIndex, state);
}

// One of four elements chosen by a side or position 0-3.
template <class Array>
TvdSkinElement* BySide(const Array& elements, int side) {
  return side >= 0 && side < 4 ? elements[size_t(side)] : nullptr;
}

// A 32-bit bitmap of the size of rect, cleared, that an element is drawn
// into and then blended onto the canvas with its alpha.
void BlendBitmap(TvxCanvas* canvas, TvxBitmap32& bitmap, const TRect& rect) {
  vxAlphaBlendRaw(canvas->DeviceContext(), bitmap.Canvas()->Handle(), rect, 255, bitmap.GetFullRect());
}

}  // namespace

// The slot path (a member of the skin info, vdSkinInfo.h), or nil without
// painter data.
#define SLOT(path)                                                          \
  ([&]() -> std::decay_t<decltype(std::declval<TvdSkinInfo&>().path)> {  \
    TvdSkinLookAndFeelPainterInfo* info_ = GetPainterData();               \
    return info_ ? info_->path : nullptr;                                   \
  }())

TvdSkinElementState vdSkinElementStateOf(TvxButtonState state) {
  switch (state) {
    case vxbsDefault: return esActive;
    case vxbsHot: return esHot;
    case vxbsPressed: return esPressed;
    case vxbsDisabled: return esDisabled;
    case vxbsNormal: break;
  }
  return esNormal;
}

const TvdSkinLookAndFeelPainter& TvdSkinLookAndFeelPainter::Painter() {
  static const TvdSkinLookAndFeelPainter painter;
  return painter;
}

TvdSkinLookAndFeelPainterInfo* TvdSkinLookAndFeelPainter::GetPainterData() const {
  TObject* data = nullptr;
  if (TvxExtendedStylePainters* registry = ModuleRegistry(); registry && registry->FindDataOfPainter(this, data))
    return dynamic_cast<TvdSkinLookAndFeelPainterInfo*>(data);
  return nullptr;
}

const char* TvdSkinLookAndFeelPainter::GetModuleName() const { return "vdSkinsLookAndFeelPainter"; }

void vdSkinsLookAndFeelPainterInitialize() { ModuleRegistry() = vxGetStylePainterRegistry(); }
void vdSkinsLookAndFeelPainterFinalize() {
  vdSkinFlushPictures();
  ModuleRegistry() = nullptr;
}

void vdSkinFlushPictures() { Pictures().Flush(); }

// --- Colours ---------------------------------------------------------------------------

TColor TvdSkinLookAndFeelPainter::ContentColor() const {
  return ValidColor(SLOT(SkinColors.ContentColor), Office11::ContentColor());
}
TColor TvdSkinLookAndFeelPainter::ContentEvenColor() const {
  return ValidColor(SLOT(SkinColors.ContentEvenColor), Office11::ContentEvenColor());
}
TColor TvdSkinLookAndFeelPainter::ContentOddColor() const {
  return ValidColor(SLOT(SkinColors.ContentOddColor), Office11::ContentOddColor());
}
TColor TvdSkinLookAndFeelPainter::ContentTextColor() const {
  return ValidColor(SLOT(SkinColors.ContentTextColor), Office11::ContentTextColor());
}

// Inactive and read-only editors without a colour of their own take the
// normal editor's.
TColor TvdSkinLookAndFeelPainter::EditorBackgroundColor(TvxEditorColorKind kind) const {
  const TvdSkinColor* color = SLOT(EditorStateBackgroundColors[size_t(kind)]);
  if (color && IsValid(color->Value())) return color->Value();
  return kind >= eckInactive ? EditorBackgroundColor(eckNormal) : Office11::EditorBackgroundColor(kind);
}
TColor TvdSkinLookAndFeelPainter::EditorTextColor(TvxEditorColorKind kind) const {
  const TvdSkinColor* color = SLOT(EditorStateTextColors[size_t(kind)]);
  if (color && IsValid(color->Value())) return color->Value();
  return kind >= eckInactive ? EditorTextColor(eckNormal) : Office11::EditorTextColor(kind);
}

TColor TvdSkinLookAndFeelPainter::FilterPanelTextColor() const {
  return ElementTextColor(SLOT(Grid.GridFilterPanel), Office11::FilterPanelTextColor());
}
TColor TvdSkinLookAndFeelPainter::GridFixedLineColor() const {
  return ElementColor(SLOT(Grid.GridFixedLine), Office11::GridFixedLineColor());
}
TColor TvdSkinLookAndFeelPainter::VerticalGridFixedLineColor() const {
  return ElementColor(SLOT(Grid.GridFixedLine), Office11::VerticalGridFixedLineColor());
}
TColor TvdSkinLookAndFeelPainter::HeaderAreaColor() const { return HeaderColor(); }
TColor TvdSkinLookAndFeelPainter::GridBackgroundColor() const {
  return ValidColor(SLOT(SkinColors.ContentColor), Office11::GridBackgroundColor());
}
TColor TvdSkinLookAndFeelPainter::GridLineColor() const {
  return ElementColor(SLOT(Grid.GridLine), Office11::GridLineColor());
}
TColor TvdSkinLookAndFeelPainter::GroupByPanelTextColor() const {
  return ElementTextColor(SLOT(Grid.GridGroupPanel), Office11::GroupByPanelTextColor());
}
TColor TvdSkinLookAndFeelPainter::GroupRowColor() const {
  return ElementColor(SLOT(Grid.GroupRow), Office11::GroupRowColor());
}
TColor TvdSkinLookAndFeelPainter::GroupRowTextColor() const {
  return ElementTextColor(SLOT(Grid.GroupRow), Office11::GroupRowTextColor());
}
TColor TvdSkinLookAndFeelPainter::HeaderBackgroundColor() const {
  return PresentColor(SLOT(SkinColors.HeaderBackgroundColor), Office11::HeaderBackgroundColor());
}
TColor TvdSkinLookAndFeelPainter::HeaderBackgroundTextColor() const {
  return PresentColor(SLOT(SkinColors.HeaderBackgroundTextColor), Office11::HeaderBackgroundTextColor());
}
TColor TvdSkinLookAndFeelPainter::HeaderColor() const {
  return ElementColor(SLOT(Common.Header), Office11::HeaderColor());
}
TColor TvdSkinLookAndFeelPainter::HeaderTextColor() const {
  return ElementTextColor(SLOT(Common.Header), Office11::HeaderTextColor());
}
TColor TvdSkinLookAndFeelPainter::HyperLinkTextColor() const {
  return ValidColor(SLOT(Editors.HyperLinkTextColor), Office11::HyperLinkTextColor());
}
TColor TvdSkinLookAndFeelPainter::AlternateLinkTextColor() const { return HyperLinkTextColor(); }

TColor TvdSkinLookAndFeelPainter::VerticalGridBackgroundColor() const {
  const TvdSkinElement* content = SLOT(Form.FormContent);
  return content && content->Color() != clDefault ? content->Color() : Office11::VerticalGridBackgroundColor();
}
TColor TvdSkinLookAndFeelPainter::VerticalGridBandBorderColor() const {
  return ElementColor(SLOT(VerticalGrid.BandBorder), Office11::VerticalGridBandBorderColor());
}
TColor TvdSkinLookAndFeelPainter::VerticalGridCategoryColor() const {
  return ElementColor(SLOT(VerticalGrid.Category), Office11::VerticalGridCategoryColor());
}
TColor TvdSkinLookAndFeelPainter::VerticalGridCategoryTextColor() const {
  return ElementTextColor(SLOT(VerticalGrid.Category), Office11::VerticalGridCategoryTextColor());
}
TColor TvdSkinLookAndFeelPainter::VerticalGridRowHeaderColor() const {
  return ElementColor(SLOT(VerticalGrid.RowHeader), Office11::VerticalGridRowHeaderColor());
}
TColor TvdSkinLookAndFeelPainter::VerticalGridRowHeaderTextColor() const {
  return ElementTextColor(SLOT(VerticalGrid.RowHeader), Office11::VerticalGridRowHeaderTextColor());
}
TColor TvdSkinLookAndFeelPainter::VerticalGridLineColor() const {
  return ElementColor(SLOT(VerticalGrid.GridLine), Office11::VerticalGridLineColor());
}

TColor TvdSkinLookAndFeelPainter::CalendarHeaderColor() const { return HeaderColor(); }
TColor TvdSkinLookAndFeelPainter::CalendarHeaderTextColor(bool) const { return HeaderTextColor(); }
TColor TvdSkinLookAndFeelPainter::CalendarHolidayTextColor() const {
  return ValidColor(SLOT(Editors.CalendarHolidayTextColor), Office11::CalendarHolidayTextColor());
}
TColor TvdSkinLookAndFeelPainter::CalendarInactiveDayTextColor() const {
  return ValidColor(SLOT(Editors.CalendarInactiveDayTextColor), Office11::CalendarInactiveDayTextColor());
}
TColor TvdSkinLookAndFeelPainter::CalendarSelectedDayColor() const {
  return ValidColor(SLOT(Editors.CalendarSelectedDayColor), Office11::CalendarSelectedDayColor());
}
TColor TvdSkinLookAndFeelPainter::CalendarSelectedDayTextColor() const {
  return ValidColor(SLOT(Editors.CalendarSelectedDayTextColor), Office11::CalendarSelectedDayTextColor());
}
TColor TvdSkinLookAndFeelPainter::CalendarSeparatorColor() const {
  return ValidColor(SLOT(Editors.CalendarSeparatorColor), Office11::CalendarSeparatorColor());
}
// Days are never filled: the skin's content shows through.
TColor TvdSkinLookAndFeelPainter::CalendarDayColor() const { return clNone; }
TColor TvdSkinLookAndFeelPainter::CalendarDayTextColor() const {
  return ValidColor(SLOT(Editors.CalendarDayTextColor), Office11::CalendarDayTextColor());
}
TColor TvdSkinLookAndFeelPainter::CalendarTodayFrameColor() const {
  return ValidColor(SLOT(Editors.CalendarTodayFrameColor), Office11::CalendarTodayFrameColor());
}
TColor TvdSkinLookAndFeelPainter::CalendarTodayTextColor() const {
  return ValidColor(SLOT(Editors.CalendarTodayTextColor), Office11::CalendarTodayTextColor());
}

TColor TvdSkinLookAndFeelPainter::SchedulerContentColor() const {
  return PresentColor(SLOT(SkinColors.ContentColor), Office11::SchedulerContentColor());
}
TColor TvdSkinLookAndFeelPainter::SchedulerBackgroundColor() const {
  return PresentColor(SLOT(SkinColors.ContentColor), Office11::SchedulerBackgroundColor());
}
TColor TvdSkinLookAndFeelPainter::SchedulerFrameColor() const {
  return PresentColor(SLOT(SkinColors.ContainerBorderColor), Office11::SchedulerFrameColor());
}
TColor TvdSkinLookAndFeelPainter::SchedulerNavigatorColor() const {
  return PresentColor(SLOT(Scheduler.NavigatorColor), Office11::SchedulerNavigatorColor());
}
TColor TvdSkinLookAndFeelPainter::TimeRulerColor() const {
  const TvdSkinElement* ruler = SLOT(Scheduler.Ruler);
  return ruler && IsValid(ruler->Color()) ? ruler->Color() : Office11::TimeRulerColor();
}
TColor TvdSkinLookAndFeelPainter::TimeRulerTextColor() const {
  const TvdSkinElement* ruler = SLOT(Scheduler.Ruler);
  return ruler && IsValid(ruler->TextColor()) ? ruler->TextColor() : Office11::TimeRulerTextColor();
}
TColor TvdSkinLookAndFeelPainter::SelectedAppointmentTextColor() const { return AppointmentTextColor(); }
TColor TvdSkinLookAndFeelPainter::AppointmentTextColor() const {
  return ElementTextColor(SLOT(Scheduler.Appointment), Office11::AppointmentTextColor());
}
TColor TvdSkinLookAndFeelPainter::SelectionColor() const {
  return PresentColor(SLOT(SkinColors.SelectionColor), Office11::SelectionColor());
}
TColor TvdSkinLookAndFeelPainter::SelectionTextColor() const {
  return PresentColor(SLOT(SkinColors.SelectionTextColor), Office11::SelectionTextColor());
}
TColor TvdSkinLookAndFeelPainter::CardSeparatorColor() const {
  return ElementColor(SLOT(Grid.CardSeparator), Office11::CardSeparatorColor());
}
TColor TvdSkinLookAndFeelPainter::TimeGridHeaderTextColor() const {
  const TvdSkinElement* header = SLOT(Scheduler.TimeGridHeader);
  return header && IsValid(header->TextColor()) ? header->TextColor() : Office11::TimeGridHeaderTextColor();
}
TColor TvdSkinLookAndFeelPainter::TimeGridHeaderAlternateTextColor() const { return TimeGridHeaderTextColor(); }

TColor TvdSkinLookAndFeelPainter::ButtonGlyphColor(TvxButtonState state, TColor defaultColor) const {
  const TvdSkinElement* button = SLOT(Common.Button);
  if (!button) return Office11::ButtonGlyphColor(state, defaultColor);
  const TvdSkinColor* disabled = SLOT(Common.ButtonDisabledText);
  return state == vxbsDisabled && disabled ? disabled->Value() : button->TextColor();
}

TColor TvdSkinLookAndFeelPainter::Office11GroupRowContentColor(bool selected) const {
  return PresentColor(SLOT(Grid.GroupRowOffice11ContentColor), Office11::Office11GroupRowContentColor(selected));
}
TColor TvdSkinLookAndFeelPainter::Office11GroupRowSeparatorColor() const {
  return PresentColor(SLOT(Grid.GroupRowOffice11SeparatorColor), Office11::Office11GroupRowSeparatorColor());
}
TColor TvdSkinLookAndFeelPainter::Office11GroupRowTextColor() const {
  return PresentColor(SLOT(Grid.GroupRowOffice11TextColor), Office11::Office11GroupRowTextColor());
}
TColor TvdSkinLookAndFeelPainter::GroupByAreaColor() const {
  const TvdSkinElement* panel = SLOT(Grid.GridGroupPanel);
  return panel && IsValid(panel->Color()) ? panel->Color() : Office11::GroupByAreaColor();
}
TColor TvdSkinLookAndFeelPainter::GroupByAreaTextColor() const {
  const TvdSkinElement* panel = SLOT(Grid.GridGroupPanel);
  return panel && IsValid(panel->TextColor()) ? panel->TextColor() : Office11::GroupByAreaTextColor();
}
TColor TvdSkinLookAndFeelPainter::FooterSeparatorColor() const { return GridLineColor(); }

TColor TvdSkinLookAndFeelPainter::SchedulerNavigationButtonTextColor(bool isNext, TvxButtonState state,
                                                                     TColor defaultColor) const {
  TvdSkinElement* button = isNext ? SLOT(Scheduler.NavButtonNext) : SLOT(Scheduler.NavButtonPrev);
  if (!button) return Office11::SchedulerNavigationButtonTextColor(isNext, state, defaultColor);
  const TColor color = vdSkinTextColorOfState(*button, int(state));
  return color == clDefault ? defaultColor : color;
}

TColor TvdSkinLookAndFeelPainter::EditButtonCaptionColor() const {
  return ElementTextColor(SLOT(Editors.EditorButton), Office11::EditButtonCaptionColor());
}
TColor TvdSkinLookAndFeelPainter::ContainerFrameColor(bool highlighted) const {
  return PresentColor(highlighted ? SLOT(SkinColors.ContainerHighlightBorderColor)
                                  : SLOT(SkinColors.ContainerBorderColor),
                      Office11::ContainerFrameColor(highlighted));
}
TColor TvdSkinLookAndFeelPainter::ProgressBarTextColor(bool overFilledPart) const {
  return ValidColor(overFilledPart ? SLOT(Editors.ProgressBarFilledTextColor) : SLOT(Editors.ProgressBarEmptyTextColor),
                    Office11::ProgressBarTextColor(overFilledPart));
}
TColor TvdSkinLookAndFeelPainter::GroupBoxCaptionTextColor(bool enabled, int captionPosition) const {
  if (captionPosition == vxgcpNone) return GroupPanelTextColor();
  const TvdSkinElement* caption =
      BySide(std::array{SLOT(Common.GroupPanelCaptionTop), SLOT(Common.GroupPanelCaptionBottom),
                        SLOT(Common.GroupPanelCaptionLeft), SLOT(Common.GroupPanelCaptionRight)},
             captionPosition);
  return ElementTextColor(caption, Office11::GroupBoxCaptionTextColor(enabled, captionPosition));
}
TColor TvdSkinLookAndFeelPainter::GroupPanelTextColor() const {
  return ElementTextColor(SLOT(Common.GroupPanelNoBorder), Office11::GroupPanelTextColor());
}
TColor TvdSkinLookAndFeelPainter::LayoutControlBackgroundColor() const {
  return PresentColor(SLOT(SkinColors.LayoutControlColor), Office11::LayoutControlBackgroundColor());
}
TColor TvdSkinLookAndFeelPainter::CalculatorButtonTextColor(int buttonKind) const {
  const TvdSkinColor* color = buttonKind >= 0 && buttonKind < 28 ? SLOT(CalcButtonColors[size_t(buttonKind)]) : nullptr;
  return ValidColor(color, Office11::CalculatorButtonTextColor(buttonKind));
}
TColor TvdSkinLookAndFeelPainter::CalculatorBackgroundColor() const {
  return ValidColor(SLOT(SkinColors.ContentColor), Office11::CalculatorBackgroundColor());
}

// --- Sizes and behaviour -----------------------------------------------------------------

int TvdSkinLookAndFeelPainter::ButtonBorderWidth(TvxButtonState state) const {
  return SLOT(Common.Button) ? 0 : Office11::ButtonBorderWidth(state);
}

TRect TvdSkinLookAndFeelPainter::ButtonGroupBorderWidths(int buttonCount, int buttonIndex) const {
  TvdSkinElement* button = SLOT(Editors.EditorButton);
  if (!button) return Office11::ButtonGroupBorderWidths(buttonCount, buttonIndex);
  const TSize image = ImageSize(button), glyph = NavigatorButtonGlyphExtent();
  const int dx = (image.cx - glyph.cx) / 2, dy = (image.cy - glyph.cy) / 2;
  return {dx, dy, dx, dy};
}

int TvdSkinLookAndFeelPainter::ExpandButtonExtent() const {
  TvdSkinElement* plusMinus = SLOT(Grid.PlusMinus);
  return plusMinus ? ImageSize(plusMinus).cy : Office11::ExpandButtonExtent();
}
TSize TvdSkinLookAndFeelPainter::CheckBoxGlyphExtent() const {
  return ImageSizeOr(SLOT(Editors.Checkbox), Office11::CheckBoxGlyphExtent());
}
TSize TvdSkinLookAndFeelPainter::RadioButtonExtent() const {
  return ImageSizeOr(SLOT(Editors.RadioButton), Office11::RadioButtonExtent());
}
int TvdSkinLookAndFeelPainter::LabelLineWidth() const {
  const TvdSkinElement* line = SLOT(Editors.LabelLine);
  return line ? line->MinSize().cy : Office11::LabelLineWidth();
}

TvxBorders TvdSkinLookAndFeelPainter::HeaderOwnBorders(TvxBorders neighbours) const {
  return TvxBorders(Office11::HeaderOwnBorders(neighbours) & ~(neighbours & (Left | Top)));
}
bool TvdSkinLookAndFeelPainter::HeaderIsOpaque() const { return false; }
bool TvdSkinLookAndFeelPainter::HeaderElementIsOpaque() const {
  const TvdSkinElement* header = SLOT(Common.Header);
  return header ? !header->IsAlphaUsed() : Office11::HeaderElementIsOpaque();
}

TRect TvdSkinLookAndFeelPainter::LayoutViewPadding(int partKind) const {
  const TvdSkinRectProperty* padding =
      partKind >= 0 && partKind < 6 ? SLOT(LayoutViewPaddings[size_t(partKind)]) : nullptr;
  return padding ? padding->Value() : Office11::LayoutViewPadding(partKind);
}
TRect TvdSkinLookAndFeelPainter::LayoutViewSpacing(int partKind) const {
  const TvdSkinRectProperty* spacing =
      partKind >= 0 && partKind < 6 ? SLOT(LayoutViewSpacings[size_t(partKind)]) : nullptr;
  return spacing ? spacing->Value() : Office11::LayoutViewSpacing(partKind);
}

int TvdSkinLookAndFeelPainter::FooterCellBorderWidth() const {
  const TvdSkinElement* cell = SLOT(Grid.FooterCell);
  if (!cell) return Office11::FooterCellBorderWidth();
  const TRect& o = cell->ContentOffset();
  return std::max({o.Left, o.Top, o.Right, o.Bottom});
}
bool TvdSkinLookAndFeelPainter::FooterCellsPaintedFirst() const { return false; }
TPoint TvdSkinLookAndFeelPainter::FilterCloseButtonExtent() const {
  TvdSkinElement* close = SLOT(Editors.CloseButton);
  return close ? ImagePoint(close) : Office11::FilterCloseButtonExtent();
}
bool TvdSkinLookAndFeelPainter::IndicatorPaintsCellsFirst() const { return true; }

// The scroll bar asks with True for a vertical bar.
int TvdSkinLookAndFeelPainter::ScrollBarMinThumbLength(bool vertical) const {
  TvdSkinElement* thumb = vertical ? SLOT(Common.ScrollThumbVert) : SLOT(Common.ScrollThumbHorz);
  if (!thumb) return Office11::ScrollBarMinThumbLength(vertical);
  return vertical ? ImageSize(thumb).cy : ImageSize(thumb).cx;
}
TSize TvdSkinLookAndFeelPainter::SizeGripExtent() const {
  return ImageSizeOr(SLOT(Common.SizeGrip), Office11::SizeGripExtent());
}
TSize TvdSkinLookAndFeelPainter::TabCloseButtonExtent() const {
  const TvdSkinElement* close = SLOT(PageControl.TabHeaderCloseButton);
  return close ? close->MinSize() : Office11::TabCloseButtonExtent();
}

void TvdSkinLookAndFeelPainter::CalculateSchedulerNavigationButtonLayout(bool isNext, bool minimal,
                                                                         int textExtent1, int textExtent2,
                                                                         TRect& bounds, TRect& textRect,
                                                                         TRect& arrowRect) const {
  if (const TvdSkinElement* button = isNext ? SLOT(Scheduler.NavButtonNext) : SLOT(Scheduler.NavButtonPrev)) {
    const int width = button->MinSize().cx;
    if (bounds.Width() < width) {
      if (isNext)
        bounds.Left = bounds.Right - width;
      else
        bounds.Right = bounds.Left + width;
    }
  }
  Office11::CalculateSchedulerNavigationButtonLayout(isNext, minimal, textExtent1, textExtent2, bounds, textRect,
                                                     arrowRect);
}

TRect TvdSkinLookAndFeelPainter::SchedulerEventProgressMargins() const {
  return ContentOffsetOr(SLOT(Editors.ProgressBorder), Office11::SchedulerEventProgressMargins());
}

TvxSchedulerNavigationButtonMetrics TvdSkinLookAndFeelPainter::SchedulerNavigationButtonMetrics(bool isNext) const {
  TvdSkinElement* button = isNext ? SLOT(Scheduler.NavButtonNext) : SLOT(Scheduler.NavButtonPrev);
  TvdSkinElement* arrow = isNext ? SLOT(Scheduler.NavButtonNextArrow) : SLOT(Scheduler.NavButtonPrevArrow);
  if (!button || !arrow) return Office11::SchedulerNavigationButtonMetrics(isNext);
  TvxSchedulerNavigationButtonMetrics metrics;
  metrics.Borders = button->ContentOffset();
  metrics.ArrowSize = ImageSize(arrow);
  metrics.HasText = !button->Image().IsEmpty();
  return metrics;
}

int TvdSkinLookAndFeelPainter::EditButtonTextIndent() const { return 1; }
TSize TvdSkinLookAndFeelPainter::EditButtonExtent() const {
  return ImageSizeOr(SLOT(Editors.EditorButton), Office11::EditButtonExtent());
}
TSize TvdSkinLookAndFeelPainter::NavigatorButtonGlyphExtent() const {
  return ImageSizeOr(SLOT(Editors.Navigator), Office11::NavigatorButtonGlyphExtent());
}
TRect TvdSkinLookAndFeelPainter::ProgressBarFrameWidths(bool vertical) const {
  return ContentOffsetOr(vertical ? SLOT(Editors.ProgressBorderVert) : SLOT(Editors.ProgressBorder),
                         Office11::ProgressBarFrameWidths(vertical));
}

namespace {

// The group box's element for a caption position: with a caption its
// caption part, without one its plain border.
TvdSkinElement* GroupBoxElement(TvdSkinInfo* info, bool captionPart, int position) {
  if (!info) return nullptr;
  const TvdSkinCommonSlots& c = info->Common;
  return captionPart ? BySide(std::array{c.GroupPanelCaptionTop, c.GroupPanelCaptionBottom, c.GroupPanelCaptionLeft,
                                         c.GroupPanelCaptionRight},
                              position)
                     : BySide(std::array{c.GroupPanelTop, c.GroupPanelBottom, c.GroupPanelLeft, c.GroupPanelRight},
                              position);
}

}  // namespace

TRect TvdSkinLookAndFeelPainter::GroupBoxFrameWidths(bool captionPart, int captionPosition) const {
  return ContentOffsetOr(GroupBoxElement(GetPainterData(), captionPart, captionPosition),
                         Office11::GroupBoxFrameWidths(captionPart, captionPosition));
}
// A translucent part shows what lies under the group box.
bool TvdSkinLookAndFeelPainter::GroupBoxNeedsParentBackground(bool captionPart, int captionPosition) const {
  const TvdSkinElement* element = GroupBoxElement(GetPainterData(), captionPart, captionPosition);
  return element ? element->IsAlphaUsed() : Office11::GroupBoxNeedsParentBackground(captionPart, captionPosition);
}

TSize TvdSkinLookAndFeelPainter::TrackBarThumbExtent(bool horizontal) const {
  return ImageSizeOr(horizontal ? SLOT(Editors.TrackBarThumb) : SLOT(Editors.TrackBarThumbVert),
                     Office11::TrackBarThumbExtent(horizontal));
}
int TvdSkinLookAndFeelPainter::TrackBarTrackThickness() const {
  TvdSkinElement* track = SLOT(Editors.TrackBarTrack);
  return track ? ImageSize(track).cy : Office11::TrackBarTrackThickness();
}
TSize TvdSkinLookAndFeelPainter::SplitterExtent(bool horizontal) const {
  TvdSkinElement* splitter = horizontal ? SLOT(Common.SplitterHorz) : SLOT(Common.Splitter);
  if (!splitter) return Office11::SplitterExtent(horizontal);
  const TSize image = ImageSize(splitter), min = splitter->MinSize();
  return {std::max(min.cx, image.cx), std::max(min.cy, image.cy)};
}
TRect TvdSkinLookAndFeelPainter::PrintPreviewPageBorderWidths() const {
  return ContentOffsetOr(SLOT(PrintingSystem.PageBorder), Office11::PrintPreviewPageBorderWidths());
}

// --- Drawing -----------------------------------------------------------------------------

void TvdSkinLookAndFeelPainter::PaintPushButton(TvxCanvas* canvas, const TRect& rect, const String& caption,
                                                TvxButtonState state, bool drawFrame, TColor faceColor,
                                                TColor textColor, bool wordWrap, bool isToolButton) const {
  TvdSkinElement* button = SLOT(Common.Button);
  if (!button)
    return Office11::PaintPushButton(canvas, rect, caption, state, drawFrame, faceColor, textColor, wordWrap,
                                     isToolButton);
  DrawElement(canvas, button, rect, 0, vdSkinElementStateOf(state));
  PaintPushButtonCaption(canvas, vxRectInsideMargins(rect, button->ContentOffset()), caption, state, textColor,
                         wordWrap);
}

// The skin has drawn the background: only the text.
void TvdSkinLookAndFeelPainter::PaintContent(TvxCanvas* canvas, const TRect&, const TRect& textBounds,
                                             TvxButtonState, TAlignment horzAlignment, TTextLayout vertAlignment,
                                             bool multiLine, bool endEllipsis, const String& text, TFont* font,
                                             TColor textColor, TColor, const TvxDrawBackgroundEvent&, bool) const {
  if (text.empty()) return;
  UseFont(canvas, font, textColor);
  TransparentText transparent(canvas);
  canvas->OutputText(text, textBounds, ContentTextFlags(horzAlignment, vertAlignment, multiLine, endEllipsis));
}

void TvdSkinLookAndFeelPainter::PaintFooterPanel(TvxCanvas* canvas, const TRect& rect, TvxBorders borders) const {
  TvdSkinElement* panel = SLOT(Grid.FooterPanel);
  if (!panel) return Office11::PaintFooterPanel(canvas, rect, borders);
  const TRect& o = panel->ContentOffset();
  const int separator = FooterSeparatorHeight();
  SavedClip clip(canvas);
  canvas->ExcludeRectFromClip({rect.Left + o.Left, rect.Top + separator, rect.Right - o.Right, rect.Bottom - o.Bottom});
  // Only the sides asked for show the element's border: the others lie
  // outside rect.
  const TRect out{(borders & Left) ? 0 : o.Left, (borders & Top) ? 0 : separator, (borders & Right) ? 0 : o.Right,
                  (borders & Bottom) ? 0 : o.Bottom};
  DrawElement(canvas, panel, OuterRect(rect, out));
}

void TvdSkinLookAndFeelPainter::PaintSchedulerNavigationButton(TvxCanvas* canvas, const TRect& rect,
                                                               const TRect& arrowRect, bool isNext,
                                                               TvxButtonState state) const {
  TvdSkinElement* button = isNext ? SLOT(Scheduler.NavButtonNext) : SLOT(Scheduler.NavButtonPrev);
  TvdSkinElement* arrow = isNext ? SLOT(Scheduler.NavButtonNextArrow) : SLOT(Scheduler.NavButtonPrevArrow);
  if (!button || !arrow) return Office11::PaintSchedulerNavigationButton(canvas, rect, arrowRect, isNext, state);
  const TvdSkinElementState s = vdSkinElementStateOf(state);
  DrawClipped(canvas, button, rect, OuterRect(rect, isNext ? TRect(0, 0, 1, 0) : TRect(1, 0, 0, 0)), 0, s);
  DrawElement(canvas, arrow, arrowRect, 0, s);
}

void TvdSkinLookAndFeelPainter::PaintBorder(TvxCanvas* canvas, const TRect& rect) const {
  const TvdSkinColor* color = SLOT(SkinColors.ContainerBorderColor);
  if (!color) return Office11::PaintBorder(canvas, rect);
  Frame(canvas, rect, color->Value());
}

void TvdSkinLookAndFeelPainter::PaintSeparator(TvxCanvas* canvas, const TRect& rect, bool vertical) const {
  if (!SLOT(Editors.LabelLine) || !SLOT(Editors.LabelLineVert)) return Office11::PaintSeparator(canvas, rect, vertical);
  PaintLabelLine(canvas, CenteredBand(rect, 2, vertical), clDefault, clDefault, vertical);
}

void TvdSkinLookAndFeelPainter::PaintPlainButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState state, int,
                                                 int, TColor) const {
  PaintEditButton(canvas, rect, 2, state, 1);
}

void TvdSkinLookAndFeelPainter::PaintFlatButtonFrame(TvxCanvas*, const TRect&, bool, bool) const {}

void TvdSkinLookAndFeelPainter::PaintExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                  TColor fillColor) const {
  TvdSkinElement* plusMinus = SLOT(Grid.PlusMinus);
  if (!plusMinus) return Office11::PaintExpandButton(canvas, rect, expanded, fillColor);
  DrawElement(canvas, plusMinus, rect, expanded ? 1 : 0);
}

void TvdSkinLookAndFeelPainter::PaintChevronButton(TvxCanvas* canvas, const TRect& rect, TvxButtonState,
                                                   bool expanded, TvxRotation) const {
  PaintExpandButton(canvas, rect, expanded, clDefault);
}

void TvdSkinLookAndFeelPainter::PaintSmallExpandButton(TvxCanvas* canvas, const TRect& rect, bool expanded,
                                                       TColor frameColor, TColor fillColor) const {
  TvdSkinElement* plusMinus = SLOT(Grid.PlusMinus);
  if (!plusMinus) return Office11::PaintSmallExpandButton(canvas, rect, expanded, frameColor, fillColor);
  DrawElement(canvas, plusMinus, rect, expanded ? 1 : 0);
}

void TvdSkinLookAndFeelPainter::PaintCheckBox(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                              TvxCheckBoxState checkState) const {
  TvdSkinElement* checkbox = SLOT(Editors.Checkbox);
  if (!checkbox) return Office11::PaintCheckBox(canvas, rect, state, checkState);
  DrawElement(canvas, checkbox, rect, int(checkState), vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintRadioButton(TvxCanvas* canvas, int x, int y, TvxButtonState state,
                                                 bool checked, bool focused, TColor backgroundColor,
                                                 bool highlighted) const {
  TvdSkinElement* radio = SLOT(Editors.RadioButton);
  if (!radio)
    return Office11::PaintRadioButton(canvas, x, y, state, checked, focused, backgroundColor, highlighted);
  const TRect r = vxRectFromBounds(x, y, ImageSize(radio).cx, ImageSize(radio).cy);
  if (backgroundColor != clDefault) canvas->FillAreaWithColor(r, backgroundColor);
  DrawElement(canvas, radio, r, checked ? 1 : 0, vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintLabelLine(TvxCanvas* canvas, const TRect& rect, TColor darkColor,
                                               TColor lightColor, bool vertical) const {
  TvdSkinElement* line = vertical ? SLOT(Editors.LabelLineVert) : SLOT(Editors.LabelLine);
  if (!line) return Office11::PaintLabelLine(canvas, rect, darkColor, lightColor, vertical);
  DrawElement(canvas, line, rect);
}

void TvdSkinLookAndFeelPainter::PaintHeader(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                            TvxBorders neighbours, TvxBorders borders, TvxButtonState state,
                                            TAlignment horzAlignment, TTextLayout vertAlignment, bool multiLine,
                                            bool endEllipsis, const String& text, TFont* font, TColor textColor,
                                            TColor backgroundColor, const TvxDrawBackgroundEvent& onDrawBackground,
                                            bool isLast, bool isGroup) const {
  TvdSkinElement* header = isLast ? SLOT(Common.HeaderSpecial) : SLOT(Common.Header);
  if (!header)
    return Office11::PaintHeader(canvas, bounds, textBounds, neighbours, borders, state, horzAlignment,
                                 vertAlignment, multiLine, endEllipsis, text, font, textColor, backgroundColor,
                                 onDrawBackground, isLast, isGroup);
  // Sides without a border of their own run under the neighbour's.
  const TRect drawn = ShrinkSides(bounds, TvxBorders(vxAllBorders & ~borders), -1);
  DrawClipped(canvas, header, bounds, drawn, 0, vdSkinElementStateOf(state));
  PaintContent(canvas, HeaderContentBounds(bounds, borders), textBounds, state, horzAlignment, vertAlignment,
               multiLine, endEllipsis, text, font, textColor, backgroundColor, onDrawBackground);
}

// The base's: the header without the Office 2003 painter's plain look.
void TvdSkinLookAndFeelPainter::PaintHeaderPlain(TvxCanvas* canvas, const TRect& bounds, const TRect& textBounds,
                                                 TvxBorders neighbours, TvxBorders borders, TvxButtonState state,
                                                 TAlignment horzAlignment, TTextLayout vertAlignment,
                                                 bool multiLine, bool endEllipsis, const String& text, TFont* font,
                                                 TColor textColor, TColor backgroundColor,
                                                 const TvxDrawBackgroundEvent& onDrawBackground) const {
  TvxCustomLookAndFeelPainter::PaintHeaderPlain(canvas, bounds, textBounds, neighbours, borders, state,
                                                horzAlignment, vertAlignment, multiLine, endEllipsis, text, font,
                                                textColor, backgroundColor, onDrawBackground);
}

void TvdSkinLookAndFeelPainter::PaintHeaderStrip(TvxCanvas* canvas, const TRect& rect, int bandWidth, TColor color,
                                                 const TvxAreaViewParams& viewParams) const {
  const TvdSkinColor* background = SLOT(SkinColors.HeaderBackgroundColor);
  if (!background) return Office11::PaintHeaderStrip(canvas, rect, bandWidth, color, viewParams);
  canvas->FillAreaWithColor(vxInflatedRect(rect, -bandWidth, 0), background->Value());
}

void TvdSkinLookAndFeelPainter::PaintGroupByArea(TvxCanvas* canvas, const TRect& rect, bool transparent,
                                                 TColor color, TBitmap* bitmap) const {
  TvdSkinElement* panel = SLOT(Grid.GridGroupPanel);
  if (!panel) return Office11::PaintGroupByArea(canvas, rect, transparent, color, bitmap);
  DrawElement(canvas, panel, rect);
}

void TvdSkinLookAndFeelPainter::PaintLayoutViewItem(TvxCanvas* canvas, const TRect& rect, int itemState,
                                                    bool focused) const {
  TvdSkinElement* item = SLOT(Grid.LayoutViewItem);
  if (!item) return Office11::PaintLayoutViewItem(canvas, rect, itemState, focused);
  const TvxButtonState state = TvxButtonState(itemState);
  if (state != vxbsNormal) return DrawElement(canvas, item, rect, 0, vdSkinElementStateOf(state));
  // At rest only the sides of a focused item show.
  if (!focused) return;
  const TRect m = item->Image().Margins();
  DrawClipped(canvas, item, rect, OuterRect(rect, m), 0, esNormal);
}

void TvdSkinLookAndFeelPainter::PaintLayoutViewRecordCaption(TvxCanvas* canvas, const TRect& rect, int captionSide,
                                                             int recordState) const {
  TvdSkinLookAndFeelPainterInfo* info = GetPainterData();
  TvdSkinElement* caption = info ? BySide(info->LayoutViewRecordCaptions, captionSide) : nullptr;
  if (!caption) return Office11::PaintLayoutViewRecordCaption(canvas, rect, captionSide, recordState);
  TvdSkinElementState state = esNormal;
  if (recordState == vxbsHot || recordState == vxbsPressed) state = esActive;
  if (recordState == vxbsDisabled) state = esDisabled;
  DrawElement(canvas, caption, rect, 0, state);
}

void TvdSkinLookAndFeelPainter::PaintLayoutViewRecord(TvxCanvas* canvas, const TRect& rect, int captionSide,
                                                      int recordState, TvxBorders borders) const {
  TvdSkinLookAndFeelPainterInfo* info = GetPainterData();
  TvdSkinElement* record =
      info && captionSide >= 0 && captionSide < 5 ? info->LayoutViewRecords[size_t(captionSide)] : nullptr;
  if (!record) return Office11::PaintLayoutViewRecord(canvas, rect, captionSide, recordState, borders);
  DrawElement(canvas, record, rect);
}

void TvdSkinLookAndFeelPainter::PaintLayoutViewRecordExpandButton(TvxCanvas* canvas, const TRect& rect,
                                                                  TvxButtonState state, bool expanded) const {
  TvdSkinElement* button = SLOT(Grid.LayoutViewRecordExpandButton);
  if (!button) return Office11::PaintLayoutViewRecordExpandButton(canvas, rect, state, expanded);
  DrawElement(canvas, button, rect, expanded ? 0 : 1, vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintFooterCell(TvxCanvas* canvas, const TRect& rect, TAlignment horzAlignment,
                                                TTextLayout vertAlignment, bool multiLine, const String& text,
                                                TFont* font, TColor textColor, TColor backgroundColor,
                                                const TvxDrawBackgroundEvent& onDrawBackground) const {
  if (TvdSkinElement* cell = SLOT(Grid.FooterCell)) DrawElement(canvas, cell, rect);
  Office11::PaintFooterCell(canvas, rect, horzAlignment, vertAlignment, multiLine, text, font, textColor,
                            backgroundColor, onDrawBackground);
}

void TvdSkinLookAndFeelPainter::PaintFooterFrame(TvxCanvas* canvas, const TRect& rect) const {
  TvdSkinElement* panel = SLOT(Grid.FooterPanel);
  if (!panel) return Office11::PaintFooterFrame(canvas, rect);
  const TRect& o = panel->ContentOffset();
  SavedClip clip(canvas);
  canvas->ExcludeRectFromClip({rect.Left, rect.Top, rect.Right - o.Right, rect.Bottom - o.Bottom});
  canvas->ExcludeRectFromClip({rect.Left, rect.Top - 1, rect.Right, rect.Top});
  DrawElement(canvas, panel, OuterRect(rect, {o.Left, 1, 0, 0}));
}

void TvdSkinLookAndFeelPainter::PaintFooterCellFrame(TvxCanvas* canvas, const TRect& rect) const {
  if (!SLOT(Grid.FooterCell)) Office11::PaintFooterCellFrame(canvas, rect);
}

void TvdSkinLookAndFeelPainter::PaintFooterBackground(TvxCanvas* canvas, const TRect& rect,
                                                      const TvxAreaViewParams& viewParams) const {
  TvdSkinElement* panel = SLOT(Grid.FooterPanel);
  const bool hasBitmap = viewParams.Bitmap && !viewParams.Bitmap->Empty();
  if (!panel || hasBitmap) return Office11::PaintFooterBackground(canvas, rect, viewParams);
  const TRect& o = panel->ContentOffset();
  DrawElement(canvas, panel, OuterRect(rect, {o.Left, FooterSeparatorHeight(), o.Right, o.Bottom}));
}

void TvdSkinLookAndFeelPainter::PaintFilterCloseButton(TvxCanvas* canvas, const TRect& rect,
                                                       TvxButtonState state) const {
  TvdSkinElement* close = SLOT(Editors.CloseButton);
  if (!close) return Office11::PaintFilterCloseButton(canvas, rect, state);
  DrawElement(canvas, close, rect, 0, vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintFilterDropDownButton(TvxCanvas* canvas, const TRect& rect,
                                                          TvxButtonState state, bool filterActive) const {
  TvdSkinElement* button = filterActive ? SLOT(Grid.FilterButtonActive) : SLOT(Grid.FilterButton);
  if (!button) return Office11::PaintFilterDropDownButton(canvas, rect, state, filterActive);
  DrawElement(canvas, button, rect, 0, vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintFilterPanel(TvxCanvas* canvas, const TRect& rect, bool transparent,
                                                 TColor color, TBitmap* bitmap) const {
  TvdSkinElement* panel = SLOT(Grid.GridFilterPanel);
  if (!panel) return Office11::PaintFilterPanel(canvas, rect, transparent, color, bitmap);
  DrawElement(canvas, panel, rect);
}

void TvdSkinLookAndFeelPainter::PaintFormClientArea(TvxCanvas* canvas, const TRect& rect) const {
  const TvdSkinElement* content = SLOT(Form.FormContent);
  if (!content) return Office11::PaintFormClientArea(canvas, rect);
  canvas->FillAreaWithColor(rect, content->Color());
}

void TvdSkinLookAndFeelPainter::PaintIndicatorCustomizationMark(TvxCanvas* canvas, const TRect& rect,
                                                                TColor color) const {
  TvdSkinElement* images = SLOT(Grid.IndicatorImages);
  if (!images) return Office11::PaintIndicatorCustomizationMark(canvas, rect, color);
  DrawElement(canvas, images, vxCenteredRectOfSize(rect, ImageSize(images)), 2);
}

void TvdSkinLookAndFeelPainter::PaintIndicatorImage(TvxCanvas* canvas, const TRect& rect, int indicatorKind) const {
  TvdSkinElement* images = SLOT(Grid.IndicatorImages);
  if (!images) return Office11::PaintIndicatorImage(canvas, rect, indicatorKind);
  if (indicatorKind <= 0) return;
  const int index = indicatorKind <= 3 ? indicatorKind - 1 : 0;
  DrawElement(canvas, images, vxCenteredRectOfSize(rect, ImageSize(images)), index);
}

void TvdSkinLookAndFeelPainter::PaintIndicatorCell(TvxCanvas* canvas, const TRect& rect, int indicatorKind,
                                                   TColor backgroundColor,
                                                   const TvxDrawBackgroundEvent& onDrawBackground) const {
  if (!SLOT(Common.Header) || !SLOT(Grid.IndicatorImages))
    return Office11::PaintIndicatorCell(canvas, rect, indicatorKind, backgroundColor, onDrawBackground);
  const TRect cell = OuterRect(rect, {0, HeaderBorderWidth(), 0, 0});
  const TvxBorders borders = HeaderOwnBorders(vxAllBorders);
  PaintHeader(canvas, cell, cell, vxAllBorders, borders, vxbsNormal, taLeftJustify, tlCenter, false, false, "",
              nullptr, clDefault, backgroundColor, onDrawBackground);
  PaintIndicatorImage(canvas, rect, indicatorKind);
}

void TvdSkinLookAndFeelPainter::PaintIndicatorCellWithColors(TvxCanvas* canvas, const TRect& rect,
                                                             int indicatorKind, TColor backgroundColor,
                                                             const TvxDrawBackgroundEvent& onDrawBackground) const {
  PaintIndicatorCell(canvas, rect, indicatorKind, backgroundColor, onDrawBackground);
}

void TvdSkinLookAndFeelPainter::PaintScrollBarTrack(TvxCanvas* canvas, const TRect& rect, bool horizontal) const {
  TvdSkinElement* track = horizontal ? SLOT(Common.ScrollContentHorz) : SLOT(Common.ScrollContentVert);
  if (!track) return Office11::PaintScrollBarTrack(canvas, rect, horizontal);
  DrawCached(canvas, track, rect);
}

void TvdSkinLookAndFeelPainter::PaintScrollBarElement(TvxCanvas* canvas, bool horizontal, const TRect& rect,
                                                      TvxScrollBarPart part, TvxButtonState state) const {
  TvdSkinLookAndFeelPainterInfo* info = GetPainterData();
  TvdSkinScrollInfo* drawer =
      info && part > sbpNone ? info->ScrollInfos[horizontal ? 1 : 0][size_t(part)].get() : nullptr;
  if (!drawer || !drawer->Element) return Office11::PaintScrollBarElement(canvas, horizontal, rect, part, state);
  // A page area at rest lets the track show.
  if ((part == sbpPageUp || part == sbpPageDown) && state == vxbsNormal) return;
  drawer->DrawPart(canvas->DeviceContext(), rect, vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintSizeGrip(TvxCanvas* canvas, const TRect& rect) const {
  TvdSkinElement* grip = SLOT(Common.SizeGrip);
  if (!grip) return Office11::PaintSizeGrip(canvas, rect);
  DrawElement(canvas, grip, rect);
}

void TvdSkinLookAndFeelPainter::PaintTabCloseButton(TvxCanvas* canvas, const TRect& rect,
                                                    TvxButtonState state) const {
  TvdSkinElement* close = SLOT(PageControl.TabHeaderCloseButton);
  if (!close) return Office11::PaintTabCloseButton(canvas, rect, state);
  DrawElement(canvas, close, rect, 0, vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintSchedulerDayCaption(TvxCanvas* canvas, const TRect& rect, const String& text,
                                                         TvxBorders neighbours, const TvxViewParams& viewParams,
                                                         int sideArrows, int arrowSize,
                                                         const TvxDrawBackgroundEvent& onDrawBackground) const {
  if (!SLOT(Common.Header))
    return Office11::PaintSchedulerDayCaption(canvas, rect, text, neighbours, viewParams, sideArrows, arrowSize,
                                              onDrawBackground);
  PaintHeader(canvas, rect, rect, neighbours, vxAllBorders, vxbsNormal, taCenter, tlCenter, false, true, text,
              viewParams.Font, viewParams.TextColor, viewParams.Color, onDrawBackground);
  PaintSideArrows(canvas, rect, sideArrows, arrowSize, CalendarHeaderTextColor(false));
}

void TvdSkinLookAndFeelPainter::PaintSchedulerEventProgressBar(TvxCanvas* canvas, const TRect& bounds,
                                                               const TRect& progressRect,
                                                               const TvxAreaViewParams& viewParams,
                                                               bool frameOnly) const {
  TvdSkinElement* border = SLOT(Editors.ProgressBorder);
  TvdSkinElement* chunk = SLOT(Editors.ProgressChunk);
  if (!border || !chunk)
    return Office11::PaintSchedulerEventProgressBar(canvas, bounds, progressRect, viewParams, frameOnly);
  DrawElement(canvas, border, bounds);
  DrawElement(canvas, chunk, progressRect);
}

void TvdSkinLookAndFeelPainter::PaintNavigatorPushButton(TvxCanvas* canvas, const TRect& rect,
                                                         TvxButtonState state) const {
  TvdSkinElement* button = SLOT(Editors.EditorButton);
  if (!button) return Office11::PaintNavigatorPushButton(canvas, rect, state);
  DrawElement(canvas, button, rect, 0, vdSkinElementStateOf(state));
}

TvdSkinClockHands vdSkinClockHands(const TRect& rect, int hour, int minute, int second) {
  constexpr double kPi = std::numbers::pi;
  const double cx = (rect.Left + rect.Right) / 2, cy = (rect.Top + rect.Bottom) / 2;
  const double rx = (rect.Right - rect.Left) / 2.0 - 2, ry = (rect.Bottom - rect.Top) / 2.0 - 2;
  // Halves round to even, as the default rounding mode does.
  const auto at = [&](double a, double fx, double fy) {
    return TPoint(int(std::nearbyint(cx + fx * rx * std::cos(a))), int(std::nearbyint(cy + fy * ry * std::sin(a))));
  };
  // Tip, side, back, other side; the sides stand width / 2 pixels out.
  const auto hand = [&](TPoint (&points)[4], double a, double width, double forward, double backward) {
    const double side = width / 2;
    points[0] = at(a, forward, forward);
    points[1] = TPoint(int(std::nearbyint(cx + side * std::cos(a + kPi / 2))),
                       int(std::nearbyint(cy + side * std::sin(a + kPi / 2))));
    points[2] = at(a + kPi, backward, backward);
    points[3] = TPoint(int(std::nearbyint(cx + side * std::cos(a + 3 * kPi / 2))),
                       int(std::nearbyint(cy + side * std::sin(a + 3 * kPi / 2))));
  };
  TvdSkinClockHands hands;
  hand(hands.Hour, ((hour % 12) * 3600 + minute * 60 + second - 10800) * 2 * kPi / 43200, 9, 0.75, 0.15);
  hand(hands.Minute, (minute * 60 + second - 900) * 2 * kPi / 3600, 7, 0.85, 0.2);
  hands.Second[0] = TPoint(int(cx), int(cy));
  hands.Second[1] = at((second - 15) * 2 * kPi / 60, 0.9, 0.9);
  return hands;
}

void TvdSkinLookAndFeelPainter::PaintClockFace(TvxCanvas* canvas, const TRect& rect, TDateTime time,
                                               TColor backgroundColor) const {
  TvdSkinElement* face = SLOT(Editors.ClockFace);
  TvdSkinElement* glass = SLOT(Editors.ClockGlass);
  if (!face || !glass) return Office11::PaintClockFace(canvas, rect, time, backgroundColor);
  TvxBitmap bitmap(rect.Width(), rect.Height(), pf32bit);
  const TRect r = bitmap.GetFullRect();
  TvxCanvas* b = bitmap.VxCanvas();
  b->FillAreaWithColor(r, backgroundColor);
  DrawElement(b, face, r);
  uint16_t hour, minute, second, msec;
  DecodeTime(time, hour, minute, second, msec);
  const TvdSkinClockHands hands = vdSkinClockHands(r, hour, minute, second);
  FillPolygonInColor(b, hands.Hour, 4, face->TextColor());
  FillPolygonInColor(b, hands.Minute, 4, face->TextColor());
  DrawLine(b, hands.Second[0].X, hands.Second[0].Y, hands.Second[1].X, hands.Second[1].Y);
  DrawElement(b, glass, r);
  BitBlt(canvas->DeviceContext(), rect.Left, rect.Top, r.Width(), r.Height(), b->DeviceContext(), 0, 0, SRCCOPY);
}

void TvdSkinLookAndFeelPainter::PaintEditButton(TvxCanvas* canvas, const TRect& rect, int buttonKind,
                                                TvxButtonState state, int position) const {
  TvdSkinLookAndFeelPainterInfo* info = GetPainterData();
  if (!info || !info->Editors.EditorButton || !info->Editors.CloseButton)
    return Office11::PaintEditButton(canvas, rect, buttonKind, state, position);
  SavedClip clip(canvas);
  canvas->IntersectClipWithRect(rect);
  TvdSkinElement* background = buttonKind == 0 ? info->Editors.CloseButton : info->Editors.EditorButton;
  const bool merge = info->Editors.EditorButtonMergeBorders;
  TRect r = rect;
  // Merged borders run one pixel into the editor and past its frame.
  if (merge) {
    r = vxInflatedRect(r, 0, 1);
    if (position == 0)
      --r.Left;
    else
      ++r.Right;
  }
  DrawElement(canvas, background, r, 0, vdSkinElementStateOf(state));
  const TRect& o = background->ContentOffset();
  TRect content = vxRectInsideMargins(r, o);
  if (merge) {
    if (position == 0)
      content.Left -= o.Left - 1;
    else
      content.Right += o.Right - 1;
  }
  if (buttonKind == 3) {
    // The ellipsis: three squares, 2 pixels apart.
    const int s = content.Width() < 12 ? 1 : 2;
    const TRect row = vxCenteredRect(content, 3 * s + 4, s);
    for (int i = 0; i < 3; ++i)
      canvas->FillAreaWithColor(vxRectFromBounds(row.Left + i * (s + 2), row.Top, s, s),
                                info->Editors.EditorButton->TextColor());
    return;
  }
  TvdSkinElement* glyph = buttonKind >= 0 && buttonKind < 8 ? info->EditButtonGlyphs[size_t(buttonKind)] : nullptr;
  if (glyph) glyph->Glyph().Draw(canvas->DeviceContext(), content, 0, vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintHeaderPanelFiller(TvxCanvas* canvas, TRect& rect) const {
  const TRect r = vxInflatedRect(rect, 1, 0);
  PaintHeader(canvas, r, r, 0, vxAllBorders, vxbsNormal, taLeftJustify, tlCenter, false, false, "", nullptr,
              clDefault, clDefault, nullptr);
}

uint32_t vdSkinGreyedPixel(uint32_t pixel) {
  const uint32_t a = pixel >> 24, r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  const uint32_t grey = (2 * a + b + g + r) / 5;
  return a << 24 | grey << 16 | grey << 8 | grey;
}

void TvdSkinLookAndFeelPainter::PaintNavigatorButtonGlyph(TvxCanvas* canvas, TvxImageList* images, int imageIndex,
                                                          int glyphIndex, const TRect& rect, bool enabled,
                                                          bool useImageList) const {
  TvdSkinElement* navigator = SLOT(Editors.Navigator);
  TvdSkinElement* vertical = SLOT(Editors.NavigatorVert);
  if (!navigator || !vertical || useImageList)
    return Office11::PaintNavigatorButtonGlyph(canvas, images, imageIndex, glyphIndex, rect, enabled, useImageList);
  if (vxIsEmptyRect(rect)) return;
  TvdSkinElement* element = navigator;
  int index = glyphIndex;
  if (index >= navigator->ImageCount()) {
    element = vertical;
    index -= navigator->ImageCount();
  }
  if (enabled) return DrawElement(canvas, element, rect, index);
  TvxBitmap32 bitmap(rect.Width(), rect.Height(), true);
  element->Draw(bitmap.Canvas()->Handle(), bitmap.GetFullRect(), index, esNormal);
  std::vector<uint32_t> pixels;
  bitmap.ReadPixels(pixels);
  for (uint32_t& p : pixels) p = vdSkinGreyedPixel(p);
  bitmap.WritePixels(pixels);
  BlendBitmap(canvas, bitmap, rect);
}

void TvdSkinLookAndFeelPainter::PaintProgressBarFrame(TvxCanvas* canvas, const TRect& rect, bool vertical) const {
  TvdSkinElement* border = vertical ? SLOT(Editors.ProgressBorderVert) : SLOT(Editors.ProgressBorder);
  if (!border) return Office11::PaintProgressBarFrame(canvas, rect, vertical);
  DrawElement(canvas, border, rect);
}

void TvdSkinLookAndFeelPainter::PaintProgressBarChunk(TvxCanvas* canvas, const TRect& rect, bool vertical) const {
  TvdSkinElement* chunk = vertical ? SLOT(Editors.ProgressChunkVert) : SLOT(Editors.ProgressChunk);
  if (!chunk) return Office11::PaintProgressBarChunk(canvas, rect, vertical);
  DrawElement(canvas, chunk, rect);
}

void TvdSkinLookAndFeelPainter::PaintGroupBoxContent(TvxCanvas* canvas, const TRect& rect,
                                                     TRect contentRect) const {
  TvdSkinElement* content = SLOT(Common.GroupPanelNoBorder);
  if (!content) return Office11::PaintGroupBoxContent(canvas, rect, contentRect);
  DrawElement(canvas, content, contentRect);
}

void TvdSkinLookAndFeelPainter::PaintGroupBoxCaption(TvxCanvas* canvas, const TRect& rect,
                                                     int captionPosition) const {
  TvdSkinElement* caption = GroupBoxElement(GetPainterData(), true, captionPosition);
  if (!caption) return Office11::PaintGroupBoxCaption(canvas, rect, captionPosition);
  DrawElement(canvas, caption, rect);
}

void TvdSkinLookAndFeelPainter::PaintGroupBoxBorder(TvxCanvas* canvas, const TRect& rect, int captionPosition,
                                                    TvxBorders borders) const {
  TvdSkinElement* border = GroupBoxElement(GetPainterData(), false, captionPosition);
  TvdSkinElement* content = SLOT(Common.GroupPanelNoBorder);
  if (!border || !content) return Office11::PaintGroupBoxBorder(canvas, rect, captionPosition, borders);
  if (vxIsEmptyRect(rect)) return;
  SavedClip clip(canvas);
  canvas->IntersectClipWithRect(rect);
  const TRect& o = border->ContentOffset();
  const TvdSkinBorders& b = border->Borders();
  TRect inner = rect;
  if (borders & Left) inner.Left += o.Left + b[bLeft].Thin();
  if (borders & Top) inner.Top += o.Top + b[bTop].Thin();
  if (borders & Right) inner.Right -= o.Right + b[bRight].Thin();
  if (borders & Bottom) inner.Bottom -= o.Bottom + b[bBottom].Thin();
  DrawElement(canvas, content, inner);
  canvas->ExcludeRectFromClip(inner);
  DrawElement(canvas, border, rect);
}

void TvdSkinLookAndFeelPainter::PaintGroupBoxExpandButton(TvxCanvas* canvas, const TRect& rect,
                                                          TvxButtonState state, bool expanded,
                                                          TvxRotation rotation) const {
  TvdSkinElement* button = SLOT(Common.GroupExpandButton);
  if (!button) return Office11::PaintGroupBoxExpandButton(canvas, rect, state, expanded, rotation);
  const int index = expanded ? 0 : 1;
  if (rotation == raNone) return DrawElement(canvas, button, rect, index, vdSkinElementStateOf(state));
  const bool quarterTurn = rotation == raPlus90 || rotation == raMinus90;
  TvxBitmap32 bitmap(quarterTurn ? rect.Height() : rect.Width(), quarterTurn ? rect.Width() : rect.Height(), true);
  button->Draw(bitmap.Canvas()->Handle(), bitmap.GetFullRect(), index, vdSkinElementStateOf(state));
  bitmap.RotatePixels(rotation, false);
  BlendBitmap(canvas, bitmap, rect);
}

void TvdSkinLookAndFeelPainter::PaintGroupBoxFrame(TvxCanvas* canvas, const TRect& rect, int state,
                                                   int captionPosition, TvxBorders borders) const {
  if (!GroupBoxElement(GetPainterData(), false, captionPosition) || !SLOT(Common.GroupPanelNoBorder))
    return Office11::PaintGroupBoxFrame(canvas, rect, state, captionPosition, borders);
  PaintGroupBoxBorder(canvas, rect, captionPosition, borders);
}

void TvdSkinLookAndFeelPainter::PaintGroupPanelBorder(TvxCanvas* canvas, const TRect& rect) const {
  TvdSkinElement* panel = SLOT(Common.GroupPanel);
  if (!panel) return Office11::PaintGroupPanelBorder(canvas, rect);
  SavedClip clip(canvas);
  canvas->ExcludeRectFromClip(vxRectInsideMargins(rect, panel->ContentOffset()));
  DrawElement(canvas, panel, rect);
}

void TvdSkinLookAndFeelPainter::PaintGroupPanel(TvxCanvas* canvas, const TRect& rect, bool withBorder) const {
  TvdSkinElement* content = SLOT(Common.GroupPanelNoBorder);
  if (!content) return Office11::PaintGroupPanel(canvas, rect, withBorder);
  DrawElement(canvas, content, rect);
  if (withBorder) PaintGroupPanelBorder(canvas, rect);
}

void TvdSkinLookAndFeelPainter::PaintTrackBarTrack(TvxCanvas* canvas, const TRect& rect, const TRect& selectionRect,
                                                   bool showSelection, bool enabled, bool horizontal,
                                                   TColor color) const {
  TvdSkinElement* track = horizontal ? SLOT(Editors.TrackBarTrack) : SLOT(Editors.TrackBarTrackVert);
  if (!track)
    return Office11::PaintTrackBarTrack(canvas, rect, selectionRect, showSelection, enabled, horizontal, color);
  const int index = enabled ? 0 : 2;
  DrawElement(canvas, track, rect, index);
  if (showSelection) DrawElement(canvas, track, selectionRect, index + 1);
}

void TvdSkinLookAndFeelPainter::PaintTrackBarThumb(TvxCanvas* canvas, const TRect& rect, TvxButtonState state,
                                                   bool horizontal, int shape, TColor color) const {
  TvdSkinLookAndFeelPainterInfo* info = GetPainterData();
  TvdSkinElement* thumb = nullptr;
  if (info && shape >= vxtsPointedTop && shape <= vxtsBox) {
    const TvdSkinEditorsSlots& e = info->Editors;
    thumb = horizontal ? std::array{e.TrackBarThumbUp, e.TrackBarThumb, e.TrackBarThumbBoth}[size_t(shape)]
                       : std::array{e.TrackBarThumbVertUp, e.TrackBarThumbVert, e.TrackBarThumbVertBoth}[size_t(shape)];
  }
  if (!thumb) return Office11::PaintTrackBarThumb(canvas, rect, state, horizontal, shape, color);
  DrawElement(canvas, thumb, rect, 0, vdSkinElementStateOf(state));
}

void TvdSkinLookAndFeelPainter::PaintSplitter(TvxCanvas* canvas, const TRect& rect, bool highlighted, bool dragging,
                                              bool horizontal) const {
  TvdSkinElement* splitter = horizontal ? SLOT(Common.SplitterHorz) : SLOT(Common.Splitter);
  if (!splitter) return Office11::PaintSplitter(canvas, rect, highlighted, dragging, horizontal);
  DrawElement(canvas, splitter, rect, 0, highlighted ? esHot : esNormal);
}

void TvdSkinLookAndFeelPainter::PaintLayoutControlBackground(TvxCanvas* canvas, const TRect& rect) const {
  canvas->FillAreaWithColor(rect, LayoutControlBackgroundColor());
}

void TvdSkinLookAndFeelPainter::PaintPrintPreviewBackground(TvxCanvas* canvas, const TRect& rect) const {
  TvdSkinElement* background = SLOT(PrintingSystem.PreviewBackground);
  if (!background) return Office11::PaintPrintPreviewBackground(canvas, rect);
  DrawCached(canvas, background, rect);
}

void TvdSkinLookAndFeelPainter::PaintPrintPreviewPage(TvxCanvas* canvas, const TRect& bounds, const TRect& pageRect,
                                                      bool selected, bool fillPage) const {
  TvdSkinElement* border = SLOT(PrintingSystem.PageBorder);
  if (!border) return Office11::PaintPrintPreviewPage(canvas, bounds, pageRect, selected, fillPage);
  SavedClip clip(canvas);
  canvas->IntersectClipWithRect(bounds);
  if (fillPage) canvas->FillAreaWithColor(pageRect, TColor(0xFFFFFF));
  canvas->ExcludeRectFromClip(pageRect);
  DrawElement(canvas, border, bounds, 0, selected ? esActive : esNormal);
}

#undef SLOT
