// The geometry of a skinned form's non-client area: from the window's
// styles and rectangles, the system metrics and the measures of the skin's
// form elements, where the frame parts, the caption, the caption buttons and
// the caption text lie, which client offsets the window's WM_NCCALCSIZE
// answers, what WM_NCHITTEST answers at a point, and where the window scroll
// bars and their parts are.
//
// Everything here is pure arithmetic on values gathered beforehand (by the
// form's non-client info on Windows, by a table in the tests), so the
// layout never reads the system itself. All rectangles are in window
// coordinates (origin at the window's top-left corner) unless said
// otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

// Window styles and hit-test codes the layout reads and answers (their
// values are the system's).
namespace vdSkinFormStyle {
constexpr uint32_t Border = 0x00800000, Caption = 0x00C00000, ThickFrame = 0x00040000, Maximize = 0x01000000,
                   Minimize = 0x20000000, Child = 0x40000000, SysMenu = 0x00080000, MinimizeBox = 0x00020000,
                   MaximizeBox = 0x00010000, HScroll = 0x00100000, VScroll = 0x00200000;
constexpr uint32_t ExToolWindow = 0x00000080, ExDlgModalFrame = 0x00000001, ExContextHelp = 0x00000400,
                   ExClientEdge = 0x00000200;
}  // namespace vdSkinFormStyle

enum : int {
  vdHtNowhere = 0, vdHtCaption = 2, vdHtSysMenu = 3, vdHtHScroll = 6, vdHtVScroll = 7, vdHtMinButton = 8,
  vdHtMaxButton = 9, vdHtLeft = 10, vdHtRight = 11, vdHtTop = 12, vdHtTopLeft = 13, vdHtTopRight = 14,
  vdHtBottom = 15, vdHtBottomLeft = 16, vdHtBottomRight = 17, vdHtClose = 20, vdHtHelp = 21,
};

// Caption buttons ("icons"), by type.
enum TvdSkinFormIconType : int {
  fitSystemMenu = 0, fitHelp = 1, fitMinimize = 2, fitMaximize = 3, fitRestore = 4, fitClose = 5,
};
constexpr int vdSkinFormIconTypeCount = 6;
using TvdSkinFormIconTypes = uint8_t;  // bit n for type n
constexpr bool vdSkinFormHasIcon(TvdSkinFormIconTypes set, int type) { return set & (1u << type); }

// The hit-test code and the system command of each icon type.
int vdSkinFormIconHitCode(int iconType);
unsigned vdSkinFormIconSysCommand(int iconType);

// Sides of the frame, in the order of the frame parts.
enum TvdSkinFormSide : int { fsLeft = 0, fsCaption = 1, fsRight = 2, fsBottom = 3 };

// What the layout needs of one skin element; Present is False for an
// element the skin lacks.
struct TvdSkinFormElementMeasures {
  bool Present = false;
  TSize ImageSize;  // one part of the element's image
  TSize MinSize;
  TRect ContentOffset;
  bool NoResize = false;  // the image is drawn unscaled (smNoResize)
};

// The form elements of one frame set ("small" for tool windows, "normal").
struct TvdSkinFormSkinMeasures {
  std::array<TvdSkinFormElementMeasures, 4> Frames;                         // by TvdSkinFormSide
  std::array<TvdSkinFormElementMeasures, vdSkinFormIconTypeCount> Buttons;  // by icon type; [0] is never present
  // Left = image width of the left frame, Top = 0, Right = image width of
  // the right frame, Bottom = image height of the bottom frame.
  TRect FrameSizes;
};

class TvdSkin;
class TvdSkinElement;

// The measures of an element (absent for nullptr).
TvdSkinFormElementMeasures vdSkinFormMeasureElement(TvdSkinElement* element);
// The measures of a frame set from its elements: frames by side, buttons by
// icon type (nullptr where the skin has none).
TvdSkinFormSkinMeasures vdSkinFormMeasureSet(const std::array<TvdSkinElement*, 4>& frames,
                                             const std::array<TvdSkinElement*, vdSkinFormIconTypeCount>& buttons);
// The frame sets of a skin, read from its group "Form": 0 tool windows
// ("SmallFormCaption", "SmallFormButtonClose"), 1 normal windows.
TvdSkinFormSkinMeasures vdSkinFormMeasureSkin(TvdSkin& skin, int frameSet);

// The system metrics the layout uses.
struct TvdSkinFormSystemMetrics {
  int CxFrame = 4, CyFrame = 4;  // SM_CXFRAME, SM_CYFRAME
  int BorderWidth = 1;           // NONCLIENTMETRICS.iBorderWidth
  int CxVScroll = 16, CyHScroll = 16;
  int CxEdge = 2, CyEdge = 2;
  int CySmCaption = 18;  // SM_CYSMCAPTION
  int CySmIcon = 16;     // SM_CYSMICON
};

// The window as the layout sees it at one calculation.
struct TvdSkinFormWindowFacts {
  uint32_t Style = 0, ExStyle = 0;
  TRect WindowScreenRect, ClientScreenRect;
  int BorderWidth = 0;  // the framework form's BorderWidth
  bool HasMenu = false, IsMDIChild = false, IsMDIClient = false;
  bool ThemeActive = false;
  int MenuHeight = 0;
  int TextHeight = 0;  // of "Wg" in the caption font
  // The system menu's close item is not greyed.
  bool CloseEnabled = true;
};

// One caption button.
struct TvdSkinFormIcon {
  int Type = 0;
  TRect Bounds;     // where it is drawn
  TRect HitBounds;  // where it reacts to the mouse
};

// The non-client layout of one window.
class TvdSkinFormLayout {
 public:
  // Computes everything from the facts; skin is nullptr for a window
  // without a skin (frames and elements then count as absent).
  void Calculate(const TvdSkinFormWindowFacts& facts, const TvdSkinFormSystemMetrics& metrics,
                 const TvdSkinFormSkinMeasures* skin);

  // Style tests on the facts of the last calculation.
  bool HasBorder() const { return facts_.Style & vdSkinFormStyle::Border; }
  bool HasCaption() const {
    return (facts_.Style & vdSkinFormStyle::Caption) == vdSkinFormStyle::Caption;
  }
  bool IsSizeable() const { return facts_.Style & vdSkinFormStyle::ThickFrame; }
  bool IsZoomed() const { return facts_.Style & vdSkinFormStyle::Maximize; }
  bool IsIconic() const { return facts_.Style & vdSkinFormStyle::Minimize; }
  bool IsChild() const { return facts_.Style & vdSkinFormStyle::Child; }
  bool IsToolWindow() const { return facts_.ExStyle & vdSkinFormStyle::ExToolWindow; }
  bool IsDialogFrame() const { return facts_.ExStyle & vdSkinFormStyle::ExDlgModalFrame; }
  const TvdSkinFormWindowFacts& Facts() const { return facts_; }

  bool UseSystemFrame() const { return useSystemFrame_; }
  TSize FrameSize() const { return frameSize_; }
  TSize SystemFrameSize() const { return systemFrameSize_; }
  TSize ClientEdgeSize() const { return clientEdgeSize_; }
  const TRect& WindowBounds() const { return windowBounds_; }
  const TRect& ClientRect() const { return clientRect_; }
  const TRect& Borders() const { return borders_; }
  const TRect& FramePart(int side) const { return frameParts_[side]; }
  // WindowBounds inside Borders.
  TRect ContentArea() const;
  const TRect& MenuSeparatorRect() const { return menuSeparatorRect_; }
  const TRect& CaptionTextRect() const { return captionTextRect_; }
  const std::vector<TvdSkinFormIcon>& Icons() const { return icons_; }
  TvdSkinFormIconTypes VisibleIcons() const;
  // The thickness of a side's frame part as the skin draws it: the larger
  // of image and minimal size across the side (0 without element).
  int FramePartSize(int side) const;
  // The frame set in use ("small" for a tool window).
  const TvdSkinFormElementMeasures* FrameElement(int side) const;
  const TvdSkinFormElementMeasures* ButtonElement(int iconType) const;

  // The client offsets of WM_NCCALCSIZE, and whether they replace the
  // system's client rectangle.
  TRect ClientOffsets() const;
  bool UsesOwnClientLayout() const;

  // The hit-test code at a point in window coordinates; current is the
  // code known so far (a non-zero one is kept).
  int HitTest(TPoint p, int current) const;
  // The first icon whose HitBounds contain p, or nullptr.
  const TvdSkinFormIcon* IconAt(TPoint p) const;
  bool IsIconEnabled(int iconType) const;

  // Exposed for the tests of the size rule.
  TSize ButtonSize(const TRect& contentRect, const TvdSkinFormElementMeasures* element) const;
  TRect CaptionContentRect() const;
  TSize SystemIconSize() const;

 private:
  void CalculateFrameSizes();
  void CalculateWindowBounds();
  void CalculateBorders();
  void CalculateFrameParts();
  void CalculateIcons();
  int CalculateCaptionHeight() const;
  int CalculateIconsHeight() const;
  // The client offsets the system gave the window (left, top, right, bottom).
  TRect SystemClientOffsets() const;

  TvdSkinFormWindowFacts facts_;
  TvdSkinFormSystemMetrics metrics_;
  const TvdSkinFormSkinMeasures* skin_ = nullptr;

  bool useSystemFrame_ = false;
  TSize frameSize_, systemFrameSize_, clientEdgeSize_;
  TRect windowBounds_, clientRect_, borders_, menuSeparatorRect_, captionTextRect_;
  std::array<TRect, 4> frameParts_{};
  std::vector<TvdSkinFormIcon> icons_;
};

// --- Window scroll bars --------------------------------------------------------------

enum : int { vdSkinScrollHorz = 0, vdSkinScrollVert = 1, vdSkinScrollNone = 2 };
// What the system reports of one bar (SCROLLBARINFO): the arrow length and
// the thumb's ends, measured from the bar's start, and the state flags of
// the bar (0) and its parts 1 to 5.
struct TvdSkinScrollBarFacts {
  int LineButton = 0, ThumbTop = 0, ThumbBottom = 0;
  std::array<uint32_t, 6> States{};
};
// Part states (the button states of the painters): 0 hidden, 1 normal,
// 2 hot, 3 pressed, 4 disabled.
enum : int { vdScrollPartHidden = 0, vdScrollPartNormal = 1, vdScrollPartHot = 2, vdScrollPartPressed = 3,
             vdScrollPartDisabled = 4 };
constexpr uint32_t vdStateSystemUnavailable = 0x1, vdStateSystemPressed = 0x8, vdStateSystemHotTracked = 0x80,
                   vdStateSystemInvisible = 0x8000;

struct TvdSkinScrollBarsLayout {
  bool Present[3] = {};  // horizontal, vertical, size box
  TRect Bars[3];
  std::array<std::array<TRect, 6>, 2> PartRects{};
  std::array<std::array<int, 6>, 2> PartStates{};
};

// The bars from the style and the client rectangle (window coordinates).
void vdSkinCalculateScrollBars(TvdSkinScrollBarsLayout& layout, uint32_t style, const TRect& clientRect,
                               const TvdSkinFormSystemMetrics& metrics);
// The five parts of a present bar; cursor is in window coordinates,
// tracked says the bar's thumb is being dragged.
void vdSkinCalculateScrollBarParts(TvdSkinScrollBarsLayout& layout, int bar, const TvdSkinScrollBarFacts& facts,
                                   TPoint cursor, bool leftButtonDown, bool tracked);
// The visible part under p (bars horizontal first, parts 1 to 5).
bool vdSkinFindScrollPartAt(const TvdSkinScrollBarsLayout& layout, TPoint p, int& bar, int& part);
