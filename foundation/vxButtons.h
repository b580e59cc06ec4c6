// The push button of the skinned library. TvxButton is the system's push
// button (default and cancel buttons, ModalResult, keyboard, BN_CLICKED)
// drawn by its owner through the look-and-feel painter: face, frame, glyph,
// caption, focus rectangle and, for the drop-down kinds, the arrow. It adds
// colours for each state, a glyph strip of up to four images, a drop-down
// menu (the whole button or a separate arrow part opens it), speed-button
// groups that keep one button down, and hot tracking.
//
// The glyph object keeps the image each state shows in a glyph list shared
// by every button whose glyph has the same size (the process-wide glyph
// cache), built once and drawn with one image-list draw. Where glyph and
// caption go is computed by vxButtonsLayout.h.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "foundation/vxButtonsLayout.h"
#include "foundation/vxControls.h"
#include "foundation/vxLookAndFeels.h"
#include "platform/ui/Actions.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StandardControls.h"

class TvxCustomButton;
class TvxImageList;
class TvxGlyphList;

enum TvxButtonKind { vxbkStandard, vxbkDropDown, vxbkDropDownButton };
enum TvxButtonPaintStyle { bpsDefault, bpsCaption, bpsGlyph };

using TvxButtonGetDrawParamsEvent =
    std::function<void(TvxCustomButton* sender, TvxButtonState state, TColor& color, TFont* font)>;
using TvxButtonDropDownMenuPopupEvent = std::function<void(TObject* sender, TPopupMenu*& popupMenu, bool& handled)>;

// The painter a button draws with: the skin painter of its look-and-feel,
// else the active one; buttons never take the Office 2003 look and use the
// native theme instead (the standard look without one).
TvxLookAndFeelPainterClass vxButtonsPainterClassFor(TvxLookAndFeel* lookAndFeel);

// --- The button's glyph -------------------------------------------------------------

class TvxButtonGlyph : public TObject {
 public:
  // Where the picture comes from: the bitmap, else an image of a list (not
  // the image list's own item record of the same name).
  class TvxImageInfo : public TObject {
   public:
    TvxImageInfo() { glyph_.SetTransparent(true); }
    const char* ClassName() const override { return "TvxImageInfo"; }
    TBitmap* Glyph() { return &glyph_; }
    TvxImageList* Images() const { return images_; }
    int ImageIndex() const { return imageIndex_; }
    // A non-empty bitmap, or a list with a valid index.
    bool HasImage() const;

   private:
    friend class TvxButtonGlyph;
    TBitmap glyph_;
    TvxImageList* images_ = nullptr;
    int imageIndex_ = -1;
  };

  explicit TvxButtonGlyph(TvxCustomButton* button);
  ~TvxButtonGlyph() override;
  const char* ClassName() const override { return "TvxButtonGlyph"; }

  // Copies the bitmap; a strip of up to four square images sets NumGlyphs.
  TBitmap* Glyph() { return imageInfo_.Glyph(); }
  void SetGlyph(TBitmap* bitmap);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  TvxImageList* Images() const { return imageInfo_.images_; }
  void SetImages(TvxImageList* list);
  int ImageIndex() const { return imageInfo_.imageIndex_; }
  void SetImageIndex(int index);

  // The size of one image; (0, 0) without one.
  TSize GetGlyphSize();
  bool HasCaption();
  bool HasGlyph();
  // The index in GlyphList of the image a state shows, built on first use.
  int PrepareStateImage(TvxButtonState state);
  TvxGlyphList* GlyphList() const { return glyphList_; }

  virtual void DrawGlyph(TvxCanvas* canvas, TPoint p, TvxButtonState state);
  virtual void DrawCaption(TvxCanvas* canvas, const String& caption, bool isSkin, bool wordWrap, bool isNative,
                           UINT textFlags, TvxButtonState state, const TRect& r);
  // Places glyph and caption in client (the button's client coordinates)
  // and draws them.
  virtual void Draw(TvxCanvas* canvas, const TRect& client, bool isSkin, bool wordWrap, bool isNative,
                    UINT textFlags, TvxButtonState state, int spacing, int margin, TvxButtonLayout layout,
                    const String& caption, TPoint offset);

  TNotifyEvent OnChange;

 private:
  void ReleaseImages();
  void Changed();
  void PictureChanged();

  TvxCustomButton* button_;
  // The caption's last measurement and what it was measured with.
  String measuredCaption_;
  TRect measureRoom_, measuredRect_;
  UINT measureFlags_ = 0;
  TFont measureFont_;
  TvxGlyphList* glyphList_ = nullptr;
  std::array<int, 4> imageIndexes_{-1, -1, -1, -1};
  int numGlyphs_ = 1;
  TvxImageInfo imageInfo_;
};

// --- Colours and speed-button options ----------------------------------------------

class TvxButtonColors : public TPersistent {
 public:
  explicit TvxButtonColors(TvxCustomButton* button);
  const char* ClassName() const override { return "TvxButtonColors"; }
  void Assign(const TPersistent* source) override;

  TvxButtonAssignedColors AssignedColors() const { return assignedColors_; }
  // Only the designer changes the set: members leave with their colours.
  void SetAssignedColors(TvxButtonAssignedColors value);
  TColor Color(TvxButtonAssignedColor index) const { return colors_[index]; }
  // clNone and clDefault unassign the colour.
  void SetColor(TvxButtonAssignedColor index, TColor value);
  // The face or text colour a state paints with; clDefault: the painter's.
  TColor ColorForState(TvxButtonState state, bool text) const;

  TColor Default() const { return colors_[vxbcDefault]; }
  void SetDefault(TColor v) { SetColor(vxbcDefault, v); }
  TColor DefaultText() const { return colors_[vxbcDefaultText]; }
  void SetDefaultText(TColor v) { SetColor(vxbcDefaultText, v); }
  TColor Normal() const { return colors_[vxbcNormal]; }
  void SetNormal(TColor v) { SetColor(vxbcNormal, v); }
  TColor NormalText() const { return colors_[vxbcNormalText]; }
  void SetNormalText(TColor v) { SetColor(vxbcNormalText, v); }
  TColor Hot() const { return colors_[vxbcHot]; }
  void SetHot(TColor v) { SetColor(vxbcHot, v); }
  TColor HotText() const { return colors_[vxbcHotText]; }
  void SetHotText(TColor v) { SetColor(vxbcHotText, v); }
  TColor Pressed() const { return colors_[vxbcPressed]; }
  void SetPressed(TColor v) { SetColor(vxbcPressed, v); }
  TColor PressedText() const { return colors_[vxbcPressedText]; }
  void SetPressedText(TColor v) { SetColor(vxbcPressedText, v); }
  TColor Disabled() const { return colors_[vxbcDisabled]; }
  void SetDisabled(TColor v) { SetColor(vxbcDisabled, v); }
  TColor DisabledText() const { return colors_[vxbcDisabledText]; }
  void SetDisabledText(TColor v) { SetColor(vxbcDisabledText, v); }

 private:
  TvxCustomButton* button_;
  TvxButtonAssignedColors assignedColors_ = 0;
  std::array<TColor, 10> colors_;
};

class TvxSpeedButtonOptions : public TPersistent {
 public:
  explicit TvxSpeedButtonOptions(TvxCustomButton* owner) : owner_(owner) {}
  const char* ClassName() const override { return "TvxSpeedButtonOptions"; }
  void Assign(const TPersistent* source) override;

  // Buttons of a parent with the same non-zero index form a group in which
  // at most one is down.
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool CanBeFocused() const { return canBeFocused_; }
  void SetCanBeFocused(bool value);
  // The down button of a group may be released by pressing it again.
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  bool Down() const;
  void SetDown(bool value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

 protected:
  TPersistent* GetOwner() const override;

 private:
  friend class TvxCustomButton;
  void Announce();
  void Changed(bool repaintNow);

  bool allowAllUp_ = false;
  bool canBeFocused_ = true;
  int groupIndex_ = 0;
  bool flat_ = false;
  int lockCount_ = 0;
  TvxCustomButton* owner_;
  bool transparent_ = false;
};

// --- The button ----------------------------------------------------------------------

class TvxCustomButton : public TButton, public IvxMouseTrackingCaller {
 public:
  explicit TvxCustomButton(TComponent* owner);
  ~TvxCustomButton() override;
  const char* ClassName() const override { return "TvxCustomButton"; }

  TvxButtonColors* Colors() { return colors_.get(); }
  void SetColors(const TvxButtonColors* value) { colors_->Assign(value); }
  TvxLookAndFeel* LookAndFeel() { return lookAndFeel_.get(); }
  void SetLookAndFeel(const TvxLookAndFeel* value) { lookAndFeel_->Assign(value); }
  TvxSpeedButtonOptions* SpeedButtonOptions() { return speedButtonOptions_.get(); }
  void SetSpeedButtonOptions(const TvxSpeedButtonOptions* value) { speedButtonOptions_->Assign(value); }
  TvxButtonGlyph* GlyphObject() { return glyph_.get(); }

  TvxButtonKind Kind() const { return kind_; }
  void SetKind(TvxButtonKind value);
  TvxButtonLayout Layout() const { return layout_; }
  void SetLayout(TvxButtonLayout value);
  // Pixels from the edge to the glyph (-1: glyph and caption centred).
  int Margin() const { return margin_; }
  void SetMargin(int value);
  // Pixels between glyph and caption (-1: the free room shared evenly).
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  TvxButtonPaintStyle PaintStyle() const { return paintStyle_; }
  void SetPaintStyle(TvxButtonPaintStyle value);
  TPopupAlignment PopupAlignment() const { return popupAlignment_; }
  void SetPopupAlignment(TPopupAlignment value) { popupAlignment_ = value; }
  TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(TPopupMenu* value);
  // A TPopupMenu or a component with IvxPopupMenuComponent; anything else
  // is taken as none.
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* value);
  // A look-and-feel change recreates the window instead of repainting.
  bool UseSystemPaint() const { return useSystemPaint_; }
  void SetUseSystemPaint(bool value) { useSystemPaint_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  TBitmap* Glyph() { return glyph_->Glyph(); }
  void SetGlyph(TBitmap* value) { glyph_->SetGlyph(value); }
  int NumGlyphs() const { return glyph_->NumGlyphs(); }
  void SetNumGlyphs(int value) { glyph_->SetNumGlyphs(value); }

  // The speed-button values, kept in SpeedButtonOptions.
  bool Down() const;
  void SetDown(bool value) { speedButtonOptions_->SetDown(value); }
  int GroupIndex() const { return speedButtonOptions_->GroupIndex(); }
  void SetGroupIndex(int value) { speedButtonOptions_->SetGroupIndex(value); }
  bool CanBeFocused() const { return speedButtonOptions_->CanBeFocused(); }
  void SetCanBeFocused(bool value) { speedButtonOptions_->SetCanBeFocused(value); }
  bool AllowAllUp() const { return speedButtonOptions_->AllowAllUp(); }
  void SetAllowAllUp(bool value) { speedButtonOptions_->SetAllowAllUp(value); }

  // The system's default-button look, which the focus gives (SetButtonStyle).
  bool DefaultLook() const { return defaultLook_; }
  // An action's check mark is the button's Down.
  bool Checked() const override { return Down(); }
  void SetChecked(bool value) override { SetDown(value); }
  // Also shows the image of the action's list.
  void UpdateAction() override;

  // The caption as the button paints it. Reading the window text sends two
  // messages, each a trip through every message hook of the thread; the
  // text of a button changes only through WM_SETTEXT (or, without a window,
  // SetCaption), which drops the copy.
  const String& PaintedCaption();

  // Whether the drop-down menu shows now.
  bool DroppedDown() const { return (buttonFlags_ & bfMenuShowing) != 0; }
  bool Hot() const { return (buttonFlags_ & bfHot) != 0; }
  // Computed for each paint.
  bool DrawAsDefault() const { return drawAsDefault_; }
  bool DrawAsPressed() const { return drawAsPressed_; }

  // The size that fits the caption in the button's font.
  virtual void GetOptimalSize(TSize& size);
  virtual TvxLookAndFeelPainterClass PainterClass();
  // When true the system draws the button and nothing here paints.
  virtual bool UsesNativeDrawing() { return false; }
  // Grouped with GroupIndex, or never taking the focus.
  bool IsSpeedButtonLike();

  bool CanFocus() override;
  void Click() override;
  void DblClick() override;
  void Dispatch(TMessage& message) override;

  // IvxMouseTrackingCaller
  void MouseTrackingLeave() override { MouseLeave(); }

  TvxButtonDropDownMenuPopupEvent OnDropDownMenuPopup;
  TvxButtonGetDrawParamsEvent OnGetDrawParams;

  // The private messages that open the drop-down menu and say it closed.
  static constexpr UINT DropDownMenuOpenMessage = 0x8098;
  static constexpr UINT DropDownMenuClosedMessage = 0x8099;
  // The width of the arrow part of vxbkDropDownButton.
  static constexpr int ArrowPartWidth = 15;

 protected:
  // Fires OnDropDownMenuPopup; answers whether it showed the menu itself.
  virtual bool DoDropDownMenuPopup(TPopupMenu*& popupMenu);
  virtual bool ShowContextMenu(TComponent* menu, int x, int y);
  // Shows the drop-down menu at a screen point, modal until it closes.
  virtual void PopupDropDownMenu(TPopupMenu* menu, TPoint p);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void DoContextPopup(TPoint mousePos, bool& handled);

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TControlActionLinkClass GetActionLinkClass() override;
  void SetButtonStyle(bool isDefault) override;
  void Notification(TComponent* component, TOperation operation) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  friend class TvxSpeedButtonOptions;
  friend class TvxButtonColors;

  enum : uint8_t {
    bfDown = 1,
    bfHot = 2,
    bfMainPressed = 4,
    bfArrowPressed = 8,
    bfMenuShowing = 16,
    bfAccelClick = 32,
  };

  void DrawItem(const DRAWITEMSTRUCT& item);
  void PaintFace(TvxLookAndFeelPainterClass painter, const TRect& r, TvxButtonState state, TColor face);
  TRect ArrowPartRect();
  void MarkPressedPart(TPoint p);
  void OpenDropDownMenu();
  void DropDownMenuClosed();
  void ButtonPressed(TMessage& message);
  void ContextMenu(TMessage& message);
  void LookAndFeelChanged();
  // The glyph shows the image of the action's list while it has no bitmap.
  void ShowActionImage();
  void SetFlag(uint8_t flag, bool value);
  bool Flag(uint8_t flag) const { return (buttonFlags_ & flag) != 0; }

  uint8_t buttonFlags_ = 0;
  std::optional<String> paintedCaption_;
  TCanvas itemCanvas_;
  TvxCanvas canvas_{&itemCanvas_};
  std::unique_ptr<TvxButtonColors> colors_;
  TPopupMenu* dropDownMenu_ = nullptr;
  bool defaultLook_ = false;
  TvxButtonKind kind_ = vxbkStandard;
  std::unique_ptr<TvxLookAndFeel> lookAndFeel_;
  bool suppressNextDropDown_ = false;
  bool drawAsDefault_ = false;
  bool drawAsPressed_ = false;
  TvxButtonPaintStyle paintStyle_ = bpsDefault;
  TPopupAlignment popupAlignment_ = paLeft;
  TComponent* popupMenu_ = nullptr;
  std::unique_ptr<TvxSpeedButtonOptions> speedButtonOptions_;
  bool useSystemPaint_ = false;
  std::unique_ptr<TvxButtonGlyph> glyph_;
  TvxButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  bool wordWrap_ = false;
};

// Gives the button's glyph the image index of its action.
class TvxButtonActionLink : public TButtonActionLink {
 public:
  explicit TvxButtonActionLink(TControl* client) : TButtonActionLink(client) {}
  // A button that stays loses the action's image.
  ~TvxButtonActionLink() override;
  const char* ClassName() const override { return "TvxButtonActionLink"; }
  void SetImageIndex(int value) override;

 private:
  TvxButtonGlyph* Glyph() const { return static_cast<TvxCustomButton*>(Client())->GlyphObject(); }
};

class TvxButton : public TvxCustomButton {
 public:
  explicit TvxButton(TComponent* owner) : TvxCustomButton(owner) {}
  const char* ClassName() const override { return "TvxButton"; }
};
