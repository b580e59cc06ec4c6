#include "foundation/vxButtons.h"

#include <windowsx.h>

#include <algorithm>

#include "foundation/vdUxTheme.h"
#include "foundation/vxGraphicsBitmaps.h"
#include "foundation/vxGraphicsBlend.h"
#include "foundation/vxButtonsGlyphList.h"
#include "foundation/vxLookAndFeelPaintersNative.h"

TvxLookAndFeelPainterClass vxButtonsPainterClassFor(TvxLookAndFeel* lookAndFeel) {
  if (TvxLookAndFeelPainterClass skin = lookAndFeel->SkinPainter()) return skin;
  TvxLookAndFeelPainterClass painter = lookAndFeel->ActivePainter();
  if (!painter || painter->StyleId() == lfsOffice11)
    return vdThemeClassUsable(tcButton) && painter ? &TvxWinXPLookAndFeelPainter::Painter()
                                                   : &TvxStandardLookAndFeelPainter::Painter();
  return painter;
}

// --- Glyph lists and cache -----------------------------------------------------------

TvxGlyphList::TvxGlyphList(int width, int height) : TvxImageList(nullptr) { SetSize(width, height); }

TvxGlyphList::~TvxGlyphList() = default;

int TvxGlyphList::AddImage(TBitmap* image, TBitmap* mask) {
  const int index = used_.OpenBit();
  if (index == used_.Size()) {
    AddWithMask(image, mask);
    used_.SetSize(index + 1);
  } else {
    ReplaceImage(index, image, mask);
  }
  used_.SetBits(index, true);
  ++usedCount_;
  KeepBlendImage(index);
  return index;
}

namespace {

// The colour bytes of an image of list drawn transparently over a field of
// one grey level, rows bottom-up.
std::vector<uint32_t> DrawnOver(HIMAGELIST list, int index, int width, int height, uint8_t level) {
  TvxBitmap32 field(width, height);
  std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0x010101u * level);
  field.WritePixels(pixels);
  ImageList_DrawEx(list, index, field.Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  field.ReadPixels(pixels);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// A channel of a blend of premultiplied colour s with alpha a over d.
int Blended(int s, int a, int d) { return s + (d * (255 - a) + 127) / 255; }

}  // namespace

void TvxGlyphList::KeepBlendImage(int index) {
  const int w = Width(), h = Height();
  const std::vector<uint32_t> black = DrawnOver(Handle(), index, w, h, 0);
  const std::vector<uint32_t> white = DrawnOver(Handle(), index, w, h, 255);
  constexpr int kGrey = 90;
  const std::vector<uint32_t> grey = DrawnOver(Handle(), index, w, h, kGrey);
  // Over black a blend leaves the premultiplied colour; over white it adds
  // 255 - alpha to every channel.
  std::vector<uint32_t> cell(black.size());
  bool blendable = true;
  for (size_t i = 0; i < cell.size() && blendable; ++i) {
    const int alpha = 255 - int(white[i] & 0xFF) + int(black[i] & 0xFF);
    for (int shift = 0; shift < 24 && blendable; shift += 8) {
      const int s = int(black[i] >> shift & 0xFF);
      blendable = 255 - int(white[i] >> shift & 0xFF) + s == alpha && s <= alpha &&
                  Blended(s, alpha, kGrey) == int(grey[i] >> shift & 0xFF);
    }
    cell[i] = uint32_t(alpha) << 24 | black[i];
  }
  if (int(blendable_.size()) <= index) blendable_.resize(size_t(index) + 1, false);
  blendable_[size_t(index)] = blendable;
  if (!blendable) return;

  // Cell index takes rows index * h on from the top; rows are stored
  // bottom-up, so the cells already kept move up as the strip grows.
  const int rows = std::max(blendImages_ ? blendImages_->Height() : 0, (index + 1) * h);
  std::vector<uint32_t> strip(size_t(w) * size_t(rows), 0);
  if (blendImages_) {
    std::vector<uint32_t> kept;
    blendImages_->ReadPixels(kept);
    std::copy(kept.begin(), kept.end(), strip.end() - std::ptrdiff_t(kept.size()));
  }
  std::copy(cell.begin(), cell.end(), strip.begin() + std::ptrdiff_t(size_t(rows - (index + 1) * h) * size_t(w)));
  if (!blendImages_ || blendImages_->Height() != rows) blendImages_ = std::make_unique<TvxBitmap32>(w, rows);
  blendImages_->WritePixels(strip);
}

void TvxGlyphList::DrawImage(int index, HDC dc, int x, int y) {
  const int w = Width(), h = Height();
  if (DrawsByBlend(index) &&
      vxAlphaBlendRaw(dc, blendImages_->Canvas()->Handle(), TRect(x, y, x + w, y + h), 255,
                      TRect(0, index * h, w, index * h + h)))
    return;
  ImageList_DrawEx(Handle(), index, dc, x, y, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

void TvxGlyphList::ReleaseImage(int index) {
  if (index < 0 || index >= used_.Size() || !used_.Bits(index)) return;
  used_.SetBits(index, false);
  --usedCount_;
}

TvxGlyphList* TvxGlyphCache::GetList(int width, int height) {
  for (auto it = glyphLists_.rbegin(); it != glyphLists_.rend(); ++it)
    if ((*it)->Width() == width && (*it)->Height() == height) return it->get();
  glyphLists_.push_back(std::make_unique<TvxGlyphList>(width, height));
  return glyphLists_.back().get();
}

void TvxGlyphCache::ReturnList(TvxGlyphList* list) {
  if (!list || list->UsedCount() != 0) return;
  std::erase_if(glyphLists_, [list](const std::unique_ptr<TvxGlyphList>& l) { return l.get() == list; });
}

namespace {

std::unique_ptr<TvxGlyphCache> glyphCache;
int glyphObjectCount = 0;

}  // namespace

TvxGlyphCache* vxGlyphCacheInstance() { return glyphCache.get(); }

// --- TvxButtonGlyph --------------------------------------------------------------------

bool TvxButtonGlyph::TvxImageInfo::HasImage() const {
  return !glyph_.Empty() || vxIsImageIndexValid(images_, imageIndex_);
}

TvxButtonGlyph::TvxButtonGlyph(TvxCustomButton* button) : button_(button) {
  if (glyphObjectCount++ == 0 && !glyphCache) glyphCache = std::make_unique<TvxGlyphCache>();
  imageInfo_.Glyph()->OnChange = [this](TObject*) { PictureChanged(); };
}

TvxButtonGlyph::~TvxButtonGlyph() {
  imageInfo_.Glyph()->OnChange = nullptr;
  ReleaseImages();
  if (--glyphObjectCount == 0 && glyphCache && glyphCache->IsEmpty()) glyphCache.reset();
}

void TvxButtonGlyph::Changed() {
  if (OnChange) OnChange(this);
}

void TvxButtonGlyph::PictureChanged() {
  ReleaseImages();
  Changed();
}

void TvxButtonGlyph::ReleaseImages() {
  for (int& index : imageIndexes_) {
    if (index != -1 && glyphList_) glyphList_->ReleaseImage(index);
    index = -1;
  }
  if (glyphList_ && glyphCache) glyphCache->ReturnList(glyphList_);
  glyphList_ = nullptr;
}

void TvxButtonGlyph::SetGlyph(TBitmap* bitmap) {
  TBitmap* glyph = imageInfo_.Glyph();
  glyph->OnChange = nullptr;
  if (bitmap)
    glyph->Assign(bitmap);
  else
    glyph->SetSize(0, 0);
  glyph->OnChange = [this](TObject*) { PictureChanged(); };
  numGlyphs_ = vxNumGlyphsForBitmap(glyph->Width(), glyph->Height());
  PictureChanged();
}

void TvxButtonGlyph::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (numGlyphs_ == value) return;
  numGlyphs_ = value;
  PictureChanged();
}

void TvxButtonGlyph::SetImages(TvxImageList* list) {
  if (imageInfo_.images_ == list) return;
  imageInfo_.images_ = list;
  if (imageInfo_.glyph_.Empty() && imageInfo_.imageIndex_ != -1) PictureChanged();
}

void TvxButtonGlyph::SetImageIndex(int index) {
  if (imageInfo_.imageIndex_ == index) return;
  imageInfo_.imageIndex_ = index;
  if (imageInfo_.glyph_.Empty() && imageInfo_.images_) PictureChanged();
}

TSize TvxButtonGlyph::GetGlyphSize() {
  if (!imageInfo_.HasImage()) return {0, 0};
  TBitmap* glyph = imageInfo_.Glyph();
  const TSize size = glyph->Empty() ? TSize{Images()->Width(), Images()->Height()} : TSize{glyph->Width(), glyph->Height()};
  return {size.cx / numGlyphs_, size.cy};
}

bool TvxButtonGlyph::HasCaption() {
  return button_->PaintStyle() != bpsGlyph && !button_->PaintedCaption().empty();
}

bool TvxButtonGlyph::HasGlyph() { return button_->PaintStyle() != bpsCaption && imageInfo_.HasImage(); }

int TvxButtonGlyph::PrepareStateImage(TvxButtonState state) {
  const TvxGlyphSlot slot = vxGlyphSlotForState(state, numGlyphs_);
  int& index = imageIndexes_[slot];
  if (index != -1 || !imageInfo_.HasImage()) return index;

  const TSize size = GetGlyphSize();
  const TRect r(0, 0, size.cx, size.cy);
  TvxBitmap32 image(size.cx, size.cy, true);
  TBitmap mask;
  mask.SetSize(size.cx, size.cy);
  HDC dc = image.Canvas()->Handle();
  TBitmap* glyph = imageInfo_.Glyph();
  if (!glyph->Empty()) {
    const TColor transparent = glyph->TransparentColor();
    if (slot == gsDisabled && numGlyphs_ == 1) {
      vxDrawGlyphOrImage(dc, r, r, false, transparent, nullptr, false, vxgdmDisabled, -1, nullptr, glyph);
    } else {
      const int segment = vxGlyphStripSegment(slot, numGlyphs_);
      BitBlt(dc, 0, 0, size.cx, size.cy, glyph->Canvas()->Handle(), segment * size.cx, 0, SRCCOPY);
      image.SetTransparentColor(transparent);
    }
    vxMaskOfBitmap32(&image, &mask);
    glyph->Dormant();
  } else if (slot == gsDisabled) {
    vxDrawGlyphOrImage(dc, r, r, true, clNone, nullptr, false, vxgdmDisabled, ImageIndex(), Images(), nullptr);
    vxMaskOfBitmap32(&image, &mask);
  } else {
    TvxImageList::ReadNativeImage(Images()->Handle(), ImageIndex(), &image, &mask);
  }
  if (!glyphList_) glyphList_ = glyphCache->GetList(size.cx, size.cy);
  index = glyphList_->AddImage(&image, &mask);
  return index;
}

void TvxButtonGlyph::DrawGlyph(TvxCanvas* canvas, TPoint p, TvxButtonState state) {
  if (!HasGlyph()) return;
  // One draw from the shared list: the library's blending renderer would
  // read the screen back under every glyph.
  const int index = PrepareStateImage(state);
  glyphList_->DrawImage(index, canvas->DeviceContext(), p.X, p.Y);
}

void TvxButtonGlyph::DrawCaption(TvxCanvas* canvas, const String& caption, bool isSkin, bool wordWrap, bool,
                                 UINT textFlags, TvxButtonState state, const TRect& r) {
  if (!HasCaption()) return;
  const UINT flags = textFlags | DT_CENTER | DT_VCENTER | (wordWrap ? DT_WORDBREAK : 0);
  TBrush* brush = canvas->BrushObject();
  const TBrushStyle savedStyle = brush->Style();
  brush->SetStyle(bsClear);
  HDC dc = canvas->DeviceContext();
  if (state == vxbsDisabled && !isSkin) {
    TRect raised(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    vxDrawTextInColor(dc, caption, raised, flags, -1, clBtnHighlight, TRANSPARENT);
  }
  TRect place = r;
  vxDrawTextInColor(dc, caption, place, flags, -1, canvas->FontObject()->Color(), TRANSPARENT);
  brush->SetStyle(savedStyle);
}

void TvxButtonGlyph::Draw(TvxCanvas* canvas, const TRect& client, bool isSkin, bool wordWrap, bool isNative,
                          UINT textFlags, TvxButtonState state, int spacing, int margin, TvxButtonLayout layout,
                          const String& caption, TPoint offset) {
  const bool rightToLeft = (textFlags & DT_RIGHT) != 0;
  const bool hasCaption = HasCaption();
  const bool hasGlyph = HasGlyph();
  const TSize glyphSize = hasGlyph ? GetGlyphSize() : TSize{0, 0};
  TRect measured;
  if (hasCaption) {
    measured = vxButtonCaptionMeasureRect(client, layout, rightToLeft, glyphSize.cx, spacing, hasGlyph);
    const UINT flags = DT_CALCRECT | textFlags | (wordWrap ? DT_WORDBREAK : 0);
    // Measuring costs as much as drawing: the last result stands while the
    // caption, its room, the flags and the font stay the same.
    TFont* font = canvas->FontObject();
    if (caption != measuredCaption_ || measured != measureRoom_ || flags != measureFlags_ ||
        !font->SameAs(measureFont_)) {
      measuredCaption_ = caption;
      measureRoom_ = measured;
      measureFlags_ = flags;
      measureFont_.Assign(font);
      vxDrawTextInColor(canvas->DeviceContext(), caption, measured, flags, -1, clDefault, TRANSPARENT);
      measuredRect_ = measured;
    }
    measured = measuredRect_;
  }
  const TvxButtonGlyphPlace place =
      vxPlaceButtonGlyph(client, layout, rightToLeft, glyphSize, hasCaption, measured, margin, spacing, offset);
  DrawGlyph(canvas, place.GlyphPos, state);
  DrawCaption(canvas, caption, isSkin, wordWrap, isNative, textFlags, state, place.TextRect);
}

// --- TvxButtonColors -------------------------------------------------------------------

TvxButtonColors::TvxButtonColors(TvxCustomButton* button) : button_(button) { colors_.fill(clDefault); }

void TvxButtonColors::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TvxButtonColors*>(source);
  if (!other) return TPersistent::Assign(source);
  colors_ = other->colors_;
  assignedColors_ = other->assignedColors_;
  button_->Invalidate();
}

void TvxButtonColors::SetColor(TvxButtonAssignedColor index, TColor value) {
  if (value == clNone || value == clDefault) {
    if (colors_[index] == clDefault && !(assignedColors_ & vxButtonColorBit(index))) return;
    colors_[index] = clDefault;
    assignedColors_ &= TvxButtonAssignedColors(~vxButtonColorBit(index));
  } else {
    if (colors_[index] == value && (assignedColors_ & vxButtonColorBit(index))) return;
    colors_[index] = value;
    assignedColors_ |= vxButtonColorBit(index);
  }
  button_->Invalidate();
}

void TvxButtonColors::SetAssignedColors(TvxButtonAssignedColors value) {
  if (value == assignedColors_ || !button_->IsDesigning()) return;
  for (int i = 0; i < int(colors_.size()); ++i) {
    const auto bit = vxButtonColorBit(TvxButtonAssignedColor(i));
    if (!(value & bit)) colors_[i] = clDefault;
    if (colors_[i] == clDefault) value &= TvxButtonAssignedColors(~bit);
  }
  assignedColors_ = value;
  button_->Invalidate();
}

TColor TvxButtonColors::ColorForState(TvxButtonState state, bool text) const {
  return colors_[vxButtonColorForState(state, text, assignedColors_)];
}

// --- TvxSpeedButtonOptions ---------------------------------------------------------------

TPersistent* TvxSpeedButtonOptions::GetOwner() const { return owner_; }

void TvxSpeedButtonOptions::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TvxSpeedButtonOptions*>(source);
  if (!other) return TPersistent::Assign(source);
  SetGroupIndex(other->GroupIndex());
  SetAllowAllUp(other->AllowAllUp());
  SetCanBeFocused(other->CanBeFocused());
  SetDown(other->Down());
  SetFlat(other->Flat());
  SetTransparent(other->Transparent());
}

bool TvxSpeedButtonOptions::Down() const { return owner_->Flag(TvxCustomButton::bfDown); }

// The last pressed button of a group stays down unless AllowAllUp; the
// group itself releases it (LockCount raised) when another one goes down.
void TvxSpeedButtonOptions::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  const bool down = Down();
  if (value == down) return;
  if (down && !allowAllUp_ && groupIndex_ != 0 && lockCount_ == 0) return;
  owner_->SetFlag(TvxCustomButton::bfDown, value);
  if (value) Announce();
  owner_->Invalidate();
}

void TvxSpeedButtonOptions::Announce() {
  if (lockCount_ > 0 || !owner_->IsSpeedButtonLike() || groupIndex_ == 0 || !owner_->Parent()) return;
  TMessage message{CM_BUTTONPRESSED, WPARAM(groupIndex_), LPARAM(static_cast<TObject*>(owner_)), 0};
  owner_->Parent()->Broadcast(message);
}

void TvxSpeedButtonOptions::Changed(bool repaintNow) {
  Announce();
  if (repaintNow)
    owner_->Repaint();
  else if (owner_->IsSpeedButtonLike())
    owner_->Invalidate();
}

void TvxSpeedButtonOptions::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  if (value != 0) {
    Announce();
  } else if (Down()) {
    owner_->SetFlag(TvxCustomButton::bfDown, false);
    owner_->Invalidate();
  }
}

void TvxSpeedButtonOptions::SetAllowAllUp(bool value) {
  if (allowAllUp_ == value) return;
  allowAllUp_ = value;
  Announce();
}

void TvxSpeedButtonOptions::SetCanBeFocused(bool value) {
  if (canBeFocused_ == value) return;
  canBeFocused_ = value;
  Changed(true);
}

void TvxSpeedButtonOptions::SetFlat(bool value) {
  if (flat_ == value) return;
  flat_ = value;
  Changed(false);
}

void TvxSpeedButtonOptions::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Changed(false);
}

// --- TvxCustomButton: construction and properties ------------------------------------------

TvxCustomButton::TvxCustomButton(TComponent* owner) : TButton(owner) {
  glyph_ = std::make_unique<TvxButtonGlyph>(this);
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
  colors_ = std::make_unique<TvxButtonColors>(this);
  lookAndFeel_ = std::make_unique<TvxLookAndFeel>(this);
  lookAndFeel_->OnChanged = [this](TvxLookAndFeel*, TvxLookAndFeelValues) { LookAndFeelChanged(); };
  speedButtonOptions_ = std::make_unique<TvxSpeedButtonOptions>(this);
  SetDoubleBuffered(true);
  SetControlStyle(ControlStyle() | csOpaque | csReflector);
}

TvxCustomButton::~TvxCustomButton() {
  // The action link goes with the platform's part, after the glyph: it must
  // see the button as going.
  Destroying();
  vxStopMouseTracking(this);
  SetDropDownMenu(nullptr);
  SetPopupMenu(nullptr);
  speedButtonOptions_.reset();
  lookAndFeel_.reset();
  colors_.reset();
  glyph_.reset();
}

void TvxCustomButton::LookAndFeelChanged() {
  if (useSystemPaint_)
    RecreateWnd();
  else
    Invalidate();
}

void TvxCustomButton::SetFlag(uint8_t flag, bool value) {
  if (value)
    buttonFlags_ |= flag;
  else
    buttonFlags_ &= uint8_t(~flag);
}

bool TvxCustomButton::Down() const { return Flag(bfDown); }

void TvxCustomButton::SetKind(TvxButtonKind value) {
  if (kind_ == value) return;
  kind_ = value;
  RecreateWnd();
}

void TvxCustomButton::SetLayout(TvxButtonLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

void TvxCustomButton::SetMargin(int value) {
  if (margin_ == value || value < -1) return;
  margin_ = value;
  Invalidate();
}

void TvxCustomButton::SetSpacing(int value) {
  if (spacing_ == value) return;
  spacing_ = value;
  Invalidate();
}

void TvxCustomButton::SetPaintStyle(TvxButtonPaintStyle value) {
  if (paintStyle_ == value) return;
  paintStyle_ = value;
  Invalidate();
}

void TvxCustomButton::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  Invalidate();
}

void TvxCustomButton::SetDropDownMenu(TPopupMenu* value) {
  if (dropDownMenu_ == value) return;
  if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
  dropDownMenu_ = value;
  if (dropDownMenu_) dropDownMenu_->FreeNotification(this);
}

void TvxCustomButton::SetPopupMenu(TComponent* value) {
  if (value && !dynamic_cast<TPopupMenu*>(value) && !Supports<IvxPopupMenuComponent>(value)) value = nullptr;
  if (popupMenu_ == value) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TvxCustomButton::Notification(TComponent* component, TOperation operation) {
  TButton::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == dropDownMenu_) dropDownMenu_ = nullptr;
  if (component == popupMenu_) popupMenu_ = nullptr;
}

void TvxCustomButton::GetOptimalSize(TSize& size) {
  TvxScreenCanvas* canvas = vxScreenCanvasInstance();
  canvas->AssignFontObject(Font());
  const String caption = vxRemoveMnemonicMarks(Caption(), true);
  size.cy = MulDiv(canvas->MeasureTextHeight("Wg"), 14, 8);
  size.cx = canvas->MeasureTextSize(caption.empty() ? String(" ") : caption).cx + 3 * canvas->MeasureTextSize("R").cx;
}

const String& TvxCustomButton::PaintedCaption() {
  if (!paintedCaption_) paintedCaption_ = Caption();
  return *paintedCaption_;
}

TvxLookAndFeelPainterClass TvxCustomButton::PainterClass() { return vxButtonsPainterClassFor(lookAndFeel_.get()); }

bool TvxCustomButton::IsSpeedButtonLike() { return Owner() && (GroupIndex() != 0 || !CanBeFocused()); }

bool TvxCustomButton::CanFocus() { return TButton::CanFocus() && (CanBeFocused() || IsDesigning()); }

// --- Window ---------------------------------------------------------------------------

void TvxCustomButton::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  if (!UsesNativeDrawing()) params.Style = (params.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TvxCustomButton::CreateWnd() {
  paintedCaption_.reset();
  TButton::CreateWnd();
  glyph_->PrepareStateImage(Enabled() ? vxbsNormal : vxbsDisabled);
}

void TvxCustomButton::SetButtonStyle(bool isDefault) {
  if (UsesNativeDrawing()) return TButton::SetButtonStyle(isDefault);
  if (defaultLook_ == isDefault) return;
  defaultLook_ = isDefault;
  Invalidate();
}

// --- Action ------------------------------------------------------------------------------

void TvxCustomButton::ActionChange(TObject* sender, bool checkDefaults) {
  TButton::ActionChange(sender, checkDefaults);
  ShowActionImage();
}

void TvxCustomButton::UpdateAction() {
  TButton::UpdateAction();
  ShowActionImage();
}

void TvxCustomButton::ShowActionImage() {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  TActionList* list = action ? action->ActionList() : nullptr;
  glyph_->SetImages(list ? dynamic_cast<TvxImageList*>(list->Images()) : nullptr);
  glyph_->SetImageIndex(action ? action->ImageIndex() : -1);
}

TControlActionLinkClass TvxCustomButton::GetActionLinkClass() { return &NewActionLink<TvxButtonActionLink>; }

TvxButtonActionLink::~TvxButtonActionLink() {
  if (Client()->IsDestroying()) return;
  Glyph()->SetImages(nullptr);
  Glyph()->SetImageIndex(-1);
}

void TvxButtonActionLink::SetImageIndex(int value) {
  TButtonActionLink::SetImageIndex(value);
  Glyph()->SetImageIndex(value);
}

void TvxCustomButton::DestroyWnd() {
  if (Flag(bfMenuShowing)) Perform(DropDownMenuClosedMessage);
  TButton::DestroyWnd();
}

// A button that never takes the focus keeps the system button out of a
// press: no focus, no BN_CLICKED; it clicks on its own release.
void TvxCustomButton::Dispatch(TMessage& m) {
  const bool ownPress = !CanBeFocused() && !IsDesigning();
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      if (ownPress) {
        MouseDown(mbLeft, MouseKeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        return;
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (ownPress) {
        DblClick();
        return;
      }
      {
        TMessage down{WM_LBUTTONDOWN, m.WParam, m.LParam, 0};
        Dispatch(down);
        m.Result = down.Result;
      }
      return;
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_SETTEXT:
    case CM_TEXTCHANGED:
      TButton::Dispatch(m);
      paintedCaption_.reset();
      return;
    case WM_WINDOWPOSCHANGED:
      TButton::Dispatch(m);
      if (!IsDestroying() && speedButtonOptions_->Transparent() && !CanBeFocused() && HandleAllocated())
        Invalidate();
      return;
    case WM_CONTEXTMENU: ContextMenu(m); return;
    case WM_CAPTURECHANGED:
      TButton::Dispatch(m);
      if (!IsDesigning() && HandleAllocated()) {
        POINT cursor;
        GetCursorPos(&cursor);
        if (WindowFromPoint(cursor) != Handle()) {
          SetFlag(bfHot | bfMainPressed | bfArrowPressed, false);
          Invalidate();
        }
      }
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(char(m.WParam), Caption()) && CanFocus()) {
        SetFlag(bfAccelClick, true);
        Click();
        SetFlag(bfAccelClick, false);
        m.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
      TButton::Dispatch(m);
      if (!Enabled()) SetFlag(bfHot, false);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      TButton::Dispatch(m);
      Invalidate();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TButton::Dispatch(m);
      const bool own = m.LParam == 0 || m.LParam == LPARAM(static_cast<TControl*>(this));
      if (own && !IsDesigning()) {
        if (m.Msg == CM_MOUSEENTER)
          MouseEnter();
        else
          MouseLeave();
      }
      return;
    }
    case CM_BUTTONPRESSED: ButtonPressed(m); return;
    case CN_DRAWITEM:
      if (!IsDestroying()) DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case CN_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      item->itemWidth = UINT(Width());
      item->itemHeight = UINT(Height());
      m.Result = TRUE;
      return;
    }
    case CN_COMMAND:
      // A press on the arrow part alone opened the menu; it is no click.
      if (kind_ == vxbkDropDownButton && HIWORD(m.WParam) == BN_CLICKED && Flag(bfArrowPressed) &&
          !Flag(bfMainPressed))
        return;
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      if (vxIsPopupMenuShortCut(popupMenu_, m)) {
        m.Result = 1;
        return;
      }
      break;
    case DropDownMenuOpenMessage: OpenDropDownMenu(); return;
    case DropDownMenuClosedMessage: DropDownMenuClosed(); return;
    default: break;
  }
  TButton::Dispatch(m);
}

void TvxCustomButton::ContextMenu(TMessage& m) {
  if (m.Result != 0) return;
  if (!IsDesigning()) {
    const TPoint p(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    const bool fromKeyboard = p.X == -1 && p.Y == -1;
    if (fromKeyboard || ClientRect().Contains(ScreenToClient(p))) {
      bool handled = false;
      DoContextPopup(fromKeyboard ? p : ScreenToClient(p), handled);
      if (handled) {
        m.Result = 1;
        return;
      }
    }
  }
  TButton::Dispatch(m);
}

void TvxCustomButton::DoContextPopup(TPoint mousePos, bool& handled) {
  if (mousePos.X == -1 && mousePos.Y == -1) mousePos = TPoint(0, 0);
  const TPoint p = ClientToScreen(mousePos);
  handled = ShowContextMenu(popupMenu_, p.X, p.Y);
}

bool TvxCustomButton::ShowContextMenu(TComponent* menu, int x, int y) { return vxShowPopupMenuFor(this, menu, x, y); }

// --- Painting ----------------------------------------------------------------------------

void TvxCustomButton::PaintFace(TvxLookAndFeelPainterClass painter, const TRect& r, TvxButtonState state,
                                TColor face) {
  const TColor textColor = canvas_.FontObject()->Color();
  const TvxSpeedButtonOptions& options = *speedButtonOptions_;
  if ((!options.Flat() && !options.Transparent()) || CanBeFocused()) {
    painter->PaintPushButton(&canvas_, r, "", state, true, face, textColor, wordWrap_, false);
    return;
  }
  TRect inner = r;
  const TvxLookAndFeelKind kind = lookAndFeel_->GetKind();
  const bool hot = Flag(bfHot);
  if (!lookAndFeel_->SkinPainter() && painter->StyleId() != lfsNative && kind != lfOffice11 &&
      (!options.Flat() || IsDesigning() || (state != vxbsDisabled && (hot || state != vxbsNormal)))) {
    painter->PaintButtonFrame(&canvas_, inner, state);
    const int border = painter->ButtonBorderWidth(state);
    inner = TRect(inner.Left + border, inner.Top + border, inner.Right - border, inner.Bottom - border);
  }
  canvas_.PushClipRegion();
  canvas_.IntersectClipWithRect(inner);
  if (!options.Transparent() || (state != vxbsDisabled && state != vxbsNormal && !hot) ||
      (hot && painter->CanHotTrackButtons()))
    painter->PaintPushButton(&canvas_, inner, "", state, false, face, textColor, wordWrap_, true);
  else
    vxDrawParentBackgroundBehind(this, &canvas_, ClientRect(), true);
  canvas_.PopClipRegion();
}

void TvxCustomButton::DrawItem(const DRAWITEMSTRUCT& item) {
  const bool menuShowing = Flag(bfMenuShowing);
  drawAsPressed_ = ((item.itemState & ODS_SELECTED) && !Flag(bfArrowPressed)) ||
                   (menuShowing && kind_ == vxbkDropDown) ||
                   (!(CanBeFocused() && GroupIndex() == 0) &&
                    (Down() || (Flag(bfHot) && Flag(bfMainPressed))));
  drawAsDefault_ = ((item.itemState & ODS_FOCUS) || (Default() && IsDesigning()) || defaultLook_) && CanBeFocused();
  if (UsesNativeDrawing()) return;

  itemCanvas_.SetHandle(item.hDC);
  TvxLookAndFeelPainterClass painter = PainterClass();
  TRect r = ClientRect();
  const bool isNative = painter == &TvxWinXPLookAndFeelPainter::Painter();
  if (isNative) {
    if (HTHEME theme = vdOpenThemeClass(tcButton); theme && vdUxIsThemeBackgroundPartiallyTransparent(theme, 1, 1))
      vxDrawThemeParentBackground(this, &canvas_, r);
  } else if (lookAndFeel_->SkinPainter()) {
    vxDrawParentBackgroundBehind(this, &canvas_, r, true);
  }

  TRect arrowRect;
  if (kind_ == vxbkDropDownButton) {
    arrowRect = TRect(r.Right - ArrowPartWidth, r.Top, r.Right, r.Bottom);
    r.Right -= ArrowPartWidth - 2;
  }

  TvxButtonState state = vxbsNormal;
  if (!Enabled())
    state = vxbsDisabled;
  else if (drawAsPressed_)
    state = vxbsPressed;
  else if (Flag(bfHot) && painter->CanHotTrackButtons())
    state = vxbsHot;
  else if (drawAsDefault_)
    state = vxbsDefault;

  // The colour first: a font that differs only in its colour keeps its
  // handle, so no new font is made for every paint.
  canvas_.FontObject()->SetColor(Font()->Color());
  canvas_.AssignFontObject(Font());
  TColor face = colors_->ColorForState(state, false);
  const TColor text = colors_->ColorForState(state, true);
  canvas_.FontObject()->SetColor(text != clDefault ? text : painter->ButtonGlyphColor(state, Font()->Color()));
  if (OnGetDrawParams) OnGetDrawParams(this, state, face, canvas_.FontObject());

  PaintFace(painter, r, state, face);

  const int shift = painter->ButtonPressedTextShift();
  const TPoint offset = state == vxbsPressed && shift != 0 ? TPoint(shift, shift) : TPoint(0, 0);
  canvas_.PushClipRegion();
  const int narrower = kind_ == vxbkDropDownButton ? ArrowPartWidth - 2 : 0;
  const TRect client = ClientRect();
  auto deflated = [&](int border) {
    return TRect(client.Left + border, client.Top + border, client.Right - border - narrower, client.Bottom - border);
  };
  canvas_.IntersectClipWithRect(deflated(painter->ButtonBorderWidth(state)));
  glyph_->Draw(&canvas_, deflated(painter->ButtonBorderWidth(vxbsDefault)), lookAndFeel_->SkinPainter() != nullptr,
               wordWrap_, isNative, DrawTextBiDiModeFlags(0), state, spacing_, margin_, layout_, PaintedCaption(),
               offset);
  canvas_.PopClipRegion();

  if (kind_ == vxbkDropDownButton) {
    TvxButtonState arrowState = state;
    if (menuShowing)
      arrowState = vxbsPressed;
    else if (state == vxbsPressed)
      arrowState = defaultLook_ ? vxbsHot : vxbsNormal;
    PaintFace(painter, arrowRect, arrowState, face);
    painter->PaintArrowGlyph(&canvas_, arrowRect, arrowState, adDown);
  }

  if (CanFocus() && (item.itemState & ODS_FOCUS) && !menuShowing)
    canvas_.DrawFocusFrame(painter->ButtonFocusBounds(&canvas_, client));
  itemCanvas_.SetHandle(nullptr);
}

// --- Mouse and keyboard ----------------------------------------------------------------------

TRect TvxCustomButton::ArrowPartRect() {
  const TRect client = ClientRect();
  switch (kind_) {
    case vxbkDropDown: return client;
    case vxbkDropDownButton: return TRect(client.Right - ArrowPartWidth, client.Top, client.Right, client.Bottom);
    default: return TRect();
  }
}

void TvxCustomButton::MarkPressedPart(TPoint p) {
  if (kind_ != vxbkStandard && ArrowPartRect().Contains(p))
    SetFlag(bfArrowPressed, true);
  else
    SetFlag(bfMainPressed, true);
}

void TvxCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!CanBeFocused()) SetMouseCapture(true);
  TButton::MouseDown(button, shift, x, y);
  if (button == mbLeft) {
    MarkPressedPart({x, y});
    if (kind_ == vxbkDropDownButton && Flag(bfArrowPressed) && !Flag(bfMenuShowing) && !suppressNextDropDown_)
      PostMessageA(Handle(), DropDownMenuOpenMessage, 0, 0);
  }
  Invalidate();
}

void TvxCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TButton::MouseMove(shift, x, y);
  if (ClientRect().Contains({x, y}))
    MouseEnter();
  else if (Flag(bfHot))
    MouseLeave();
}

void TvxCustomButton::MouseEnter() {
  vxStartMouseTracking(this, TRect(0, 0, Width(), Height()), this);
  if (Flag(bfHot)) return;
  SetFlag(bfHot, true);
  if (Enabled()) Repaint();
}

void TvxCustomButton::MouseLeave() {
  vxStopMouseTracking(this);
  if (!Flag(bfHot)) return;
  SetFlag(bfHot, false);
  if (Enabled()) Invalidate();
}

void TvxCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool toggle = !CanBeFocused() && button == mbLeft && Flag(bfHot) &&
                      (Flag(bfMainPressed) || (Flag(bfArrowPressed) && kind_ == vxbkDropDown));
  if (toggle) SetDown(!Down());
  TButton::MouseUp(button, shift, x, y);
  SetFlag(bfMainPressed | bfArrowPressed, false);
  if (!CanBeFocused() && MouseCapture()) SetMouseCapture(false);
  if (toggle) Click();
  Invalidate();
  if (!Flag(bfMenuShowing)) suppressNextDropDown_ = false;
}

void TvxCustomButton::DblClick() {
  if (!CanBeFocused()) SetMouseCapture(true);
  if (GroupIndex() != 0) TButton::DblClick();
  POINT cursor;
  GetCursorPos(&cursor);
  MarkPressedPart(ScreenToClient(TPoint(cursor)));
  Invalidate();
}

void TvxCustomButton::Click() {
  if (CanBeFocused() && (Flag(bfMainPressed) || !Flag(bfArrowPressed)) && !Flag(bfAccelClick)) SetDown(!Down());
  if (kind_ == vxbkDropDown) {
    if (!Flag(bfMenuShowing) && !suppressNextDropDown_) PostMessageA(Handle(), DropDownMenuOpenMessage, 0, 0);
    return;
  }
  TButton::Click();
}

void TvxCustomButton::KeyDown(uint16_t& key, TShiftState shift) {
  if (kind_ == vxbkDropDownButton && (key == VK_UP || key == VK_DOWN) && (shift & (ssAlt | ssShift))) {
    if (!Flag(bfMenuShowing)) PostMessageA(Handle(), DropDownMenuOpenMessage, 0, 0);
    key = 0;
    return;
  }
  TButton::KeyDown(key, shift);
}

// --- Drop-down menu and groups ---------------------------------------------------------------

bool TvxCustomButton::DoDropDownMenuPopup(TPopupMenu*& popupMenu) {
  bool handled = false;
  if (OnDropDownMenuPopup) OnDropDownMenuPopup(this, popupMenu, handled);
  return handled;
}

void TvxCustomButton::PopupDropDownMenu(TPopupMenu* menu, TPoint p) { menu->Popup(p.X, p.Y); }

void TvxCustomButton::OpenDropDownMenu() {
  if (kind_ == vxbkStandard) return;
  TPopupMenu* menu = dropDownMenu_;
  if (DoDropDownMenuPopup(menu) || !menu) return;
  SetFlag(bfArrowPressed, false);
  SetFlag(bfMenuShowing, true);
  suppressNextDropDown_ = false;
  Repaint();

  const int x = popupAlignment_ == paLeft ? 0 : popupAlignment_ == paRight ? Width() : Width() / 2;
  TPoint p = ClientToScreen(TPoint(x, Height()));
  const int menuHeight = vxGetPopupMenuHeight(menu);
  const TRect workArea = vxGetWorkAreaAtPoint(p);
  if (workArea.Bottom < p.Y + menuHeight) p.Y -= menuHeight + Height() + 2;
  // At an edge of the work area the menu opens towards the inside.
  TPopupAlignment alignment = popupAlignment_;
  if (p.X <= workArea.Left)
    alignment = paLeft;
  else if (p.X >= workArea.Right)
    alignment = paRight;

  const TPopupAlignment saved = menu->Alignment();
  menu->SetAlignment(alignment);
  menu->SetPopupComponent(this);
  try {
    PopupDropDownMenu(menu, p);
  } catch (...) {
    menu->SetAlignment(saved);
    throw;
  }
  menu->SetAlignment(saved);
  if (HandleAllocated()) PostMessageA(Handle(), DropDownMenuClosedMessage, 0, 0);
}

// The click that closed the menu on the arrow part must not open it again:
// either it pressed the arrow part already, or it still waits in the queue.
void TvxCustomButton::DropDownMenuClosed() {
  bool pressWaiting = false;
  MSG msg;
  if (HandleAllocated() && PeekMessageA(&msg, Handle(), WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE) &&
      msg.message != WM_LBUTTONUP)
    pressWaiting = ArrowPartRect().Contains(TPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)));
  suppressNextDropDown_ = Flag(bfArrowPressed) || pressWaiting;
  SetFlag(bfMenuShowing, false);
  Repaint();
}

void TvxCustomButton::ButtonPressed(TMessage& m) {
  auto* sender = dynamic_cast<TvxCustomButton*>(reinterpret_cast<TObject*>(m.LParam));
  if (!sender || sender == this || !IsSpeedButtonLike() || GroupIndex() == 0 || int(m.WParam) != GroupIndex())
    return;
  TvxSpeedButtonOptions& options = *speedButtonOptions_;
  const TvxSpeedButtonOptions& from = *sender->speedButtonOptions_;
  ++options.lockCount_;
  options.canBeFocused_ = from.canBeFocused_;
  options.allowAllUp_ = from.allowAllUp_;
  options.flat_ = from.flat_;
  options.transparent_ = from.transparent_;
  if (sender->Down() && Down()) {
    options.SetDown(false);
    if (auto* action = dynamic_cast<TCustomAction*>(Action())) action->SetChecked(false);
  }
  --options.lockCount_;
  Invalidate();
}
