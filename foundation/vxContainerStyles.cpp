// Container styles and the style controller.
//
// A style answers each value from, in order: its own field when the value's
// bit is set in AssignedValues; the same state's style of the root's
// controller, and on down that controller's own controller; the value's
// default. The root (Normal) style holds the values that do not vary with
// the state, the look-and-feel and the controller; a state style reads and
// writes those through the root. A direct-access style (the editors'
// in-place painting) holds references and fixed answers instead.
#include <algorithm>

#include "foundation/vxContainer.h"
#include "platform/FormStreams.h"

namespace {

TvxStyleController* defaultStyleController = nullptr;

}  // namespace

TvxStyleController* vxDefaultStyleController() { return defaultStyleController; }
void vxSetDefaultStyleController(TvxStyleController* controller) { defaultStyleController = controller; }

int vxScreenPixelsPerInch() { return vxScreenDPI().Y; }

TvxContainerStyle* vxCreateContainerStyle(TPersistent* owner, TvxContainerStyleState state,
                                          TvxContainerStyle* parent, bool directAccess) {
  return new TvxContainerStyle(owner, state, parent, directAccess);
}

// --- TvxContainerStyle ----------------------------------------------------------------

TvxContainerStyle::TvxContainerStyle(TPersistent* owner, TvxContainerStyleState state,
                                     TvxContainerStyle* parentStyle, bool directAccess)
    : TvxInterfacedPersistent(owner), directAccess_(directAccess), state_(state) {
  if (state != cssNormal) parentStyle_ = parentStyle;
  if (directAccess) assignedValues_ = vxDirectAccessInitialValues;
  if (IsRoot() && !directAccess) {
    ownFont_ = std::make_unique<TFont>();
    ownFont_->OnChange = [this](TObject* sender) { HandleFontChange(sender); };
    font_ = ownFont_.get();
  }
  visibleFont_ = std::make_unique<TFont>();
  if (IsRoot()) {
    lookAndFeel_ = std::make_unique<TvxLookAndFeel>(this);
    lookAndFeel_->OnChanged = [this](TvxLookAndFeel*, TvxLookAndFeelValues) { MarkChanged(); };
    SetStyleController(FallbackStyleController());
  }
}

TvxContainerStyle::~TvxContainerStyle() {
  destroying_ = true;
  if (IsRoot() && styleController_) styleController_->UnregisterStyle(this);
  if (lookAndFeel_) lookAndFeel_->OnChanged = nullptr;
}

IvxContainerStyleOwner* TvxContainerStyle::ContainerOwner() const {
  return dynamic_cast<IvxContainerStyleOwner*>(GetOwner());
}

bool TvxContainerStyle::IsParentColored() const {
  IvxContainerStyleOwner* container = ContainerOwner();
  return !container || container->UsesParentColorByDefault();
}

TvxContainerStyle* TvxContainerStyle::ControllerStyle() {
  TvxStyleController* controller = RootStyle()->styleController_;
  return controller ? controller->StyleForState(state_) : nullptr;
}

TvxContainerStyle* TvxContainerStyle::FindValueOwner(TvxContainerStyleValue value) {
  // A chain of controllers cannot loop (SetStyleController refuses cycles),
  // so the walk ends.
  for (TvxContainerStyle* style = this; style; style = style->ControllerStyle())
    if (style->assignedValues_ & vxStyleValueBit(value)) return style;
  return nullptr;
}

void TvxContainerStyle::StoreValue(TvxContainerStyleValue value) {
  assignedValues_ |= vxStyleValueBit(value);
  MarkChanged();
}

// --- Reading --------------------------------------------------------------------------

TvxContainerStyleValues TvxContainerStyle::GetAssignedValues() const {
  if (directAccess_) return (TvxContainerStyleValues(1) << vxContainerStyleValueCount) - 1;
  return assignedValues_;
}

TColor TvxContainerStyle::GetBorderColor() {
  if (directAccess_) return clDefault;
  TvxContainerStyle* owner = FindValueOwner(svBorderColor);
  return owner ? owner->borderColor_ : BorderColorDefault();
}

TvxContainerBorderStyle TvxContainerStyle::GetBorderStyle() {
  if (directAccess_) return assignedValues_ & vxStyleValueBit(svBorderStyle) ? borderStyle_ : BorderStyleDefault();
  TvxContainerStyle* owner = FindValueOwner(svBorderStyle);
  return owner ? owner->borderStyle_ : BorderStyleDefault();
}

TColor TvxContainerStyle::GetColor() {
  if (directAccess_) return color_;
  if (IsRoot()) {
    IvxContainerStyleOwner* container = ContainerOwner();
    TControl* control = container ? container->StyledControl() : nullptr;
    if (control && control->ParentColor() && control->Parent()) return control->Parent()->Color();
  }
  TvxContainerStyle* owner = FindValueOwner(svColor);
  return owner ? owner->color_ : ColorDefault();
}

TColor TvxContainerStyle::ColorForControl() {
  if (directAccess_) return color_;
  if (TvxContainerStyle* owner = FindValueOwner(svColor)) return owner->color_;
  if (IsRoot()) {
    IvxContainerStyleOwner* container = ContainerOwner();
    TControl* control = container ? container->StyledControl() : nullptr;
    if (control && !container->IsEmbeddedEditor() && control->ParentColor() && control->Parent())
      return control->Parent()->Color();
  }
  return ColorDefault();
}

TvxEdges TvxContainerStyle::GetEdges() {
  if (directAccess_) return 0;
  if (!IsRoot()) return RootStyle()->GetEdges();
  TvxContainerStyle* owner = FindValueOwner(svEdges);
  return owner ? owner->edges_ : EdgesDefault();
}

TFont* TvxContainerStyle::GetFont() {
  if (!IsRoot()) return RootStyle()->GetFont();
  return font_;
}

bool TvxContainerStyle::GetHotTrack() {
  if (directAccess_) return assignedValues_ & vxStyleValueBit(svHotTrack) ? hotTrack_ : HotTrackDefault();
  if (!IsRoot()) return RootStyle()->GetHotTrack();
  TvxContainerStyle* owner = FindValueOwner(svHotTrack);
  return owner ? owner->hotTrack_ : HotTrackDefault();
}

bool TvxContainerStyle::GetShadow() {
  if (directAccess_) return false;
  if (!IsRoot()) return RootStyle()->GetShadow();
  TvxContainerStyle* owner = FindValueOwner(svShadow);
  return owner ? owner->shadow_ : ShadowDefault();
}

TColor TvxContainerStyle::GetTextColor() {
  if (directAccess_) return textColor_;
  TvxContainerStyle* owner = FindValueOwner(svTextColor);
  return owner ? owner->textColor_ : TextColorDefault();
}

TFontStyles TvxContainerStyle::GetTextStyle() {
  if (directAccess_) return font_ ? font_->Style() : 0;
  TvxContainerStyle* owner = FindValueOwner(svTextStyle);
  return owner ? owner->textStyle_ : TextStyleDefault();
}

bool TvxContainerStyle::GetTransparentBorder() {
  if (directAccess_) return true;
  if (!IsRoot()) return RootStyle()->GetTransparentBorder();
  TvxContainerStyle* owner = FindValueOwner(svTransparentBorder);
  return owner ? owner->transparentBorder_ : TransparentBorderDefault();
}

TvxLookAndFeel* TvxContainerStyle::GetLookAndFeel() { return RootStyle()->lookAndFeel_.get(); }

TvxStyleController* TvxContainerStyle::GetStyleController() {
  TvxStyleController* controller = RootStyle()->styleController_;
  return controller == vxDefaultStyleController() ? nullptr : controller;
}

TvxStyleController* TvxContainerStyle::ActiveStyleController() { return RootStyle()->styleController_; }

// --- Defaults -------------------------------------------------------------------------

TColor TvxContainerStyle::BorderColorDefault() {
  if (state_ == cssDisabled) return clBtnShadow;
  return IsRoot() ? clWindowFrame : RootStyle()->GetBorderColor();
}

TvxContainerBorderStyle TvxContainerStyle::BorderStyleDefault() {
  if (IsRoot()) {
    switch (GetLookAndFeel() ? GetLookAndFeel()->GetKind() : lfStandard) {
      case lfFlat: return cbsFlat;
      case lfStandard: return cbs3D;
      case lfUltraFlat: return cbsUltraFlat;
      case lfOffice11: return cbsOffice11;
    }
    return cbs3D;
  }
  return vxStateBorderStyleDefault(state_, RootStyle()->GetBorderStyle(), GetHotTrack());
}

TColor TvxContainerStyle::ColorDefault() {
  const bool parentColored = IsParentColored();
  switch (state_) {
    case cssNormal: return parentColored ? clBtnFace : clWindow;
    case cssDisabled: return parentColored ? RootStyle()->GetColor() : clBtnFace;
    default: return RootStyle()->GetColor();
  }
}

TColor TvxContainerStyle::TextColorDefault() {
  if (state_ == cssDisabled) return clBtnShadow;
  if (IsRoot()) return font_ ? font_->Color() : clWindowText;
  return RootStyle()->GetTextColor();
}

TFontStyles TvxContainerStyle::TextStyleDefault() {
  if (IsRoot()) return font_ ? font_->Style() : 0;
  return RootStyle()->GetTextStyle();
}

TvxStyleController* TvxContainerStyle::FallbackStyleController() { return vxDefaultStyleController(); }

// --- Writing --------------------------------------------------------------------------

void TvxContainerStyle::SetAssignedValues(TvxContainerStyleValues value) {
  if (assignedValues_ == value) return;
  assignedValues_ = value;
  if (IsRoot()) RefreshInheritedFont();
  MarkChanged();
}

void TvxContainerStyle::SetBorderColor(TColor value) {
  if ((assignedValues_ & vxStyleValueBit(svBorderColor)) && borderColor_ == value) return;
  borderColor_ = value;
  StoreValue(svBorderColor);
}

void TvxContainerStyle::SetBorderStyle(TvxContainerBorderStyle value) {
  if ((assignedValues_ & vxStyleValueBit(svBorderStyle)) && borderStyle_ == value) return;
  borderStyle_ = value;
  StoreValue(svBorderStyle);
}

void TvxContainerStyle::SetColor(TColor value) {
  if ((assignedValues_ & vxStyleValueBit(svColor)) && color_ == value) return;
  color_ = value;
  StoreValue(svColor);
}

void TvxContainerStyle::SetTextColor(TColor value) {
  if ((assignedValues_ & vxStyleValueBit(svTextColor)) && GetTextColor() == value) return;
  textColor_ = value;
  StoreValue(svTextColor);
}

void TvxContainerStyle::SetTextStyle(TFontStyles value) {
  if ((assignedValues_ & vxStyleValueBit(svTextStyle)) && GetTextStyle() == value) return;
  textStyle_ = value;
  StoreValue(svTextStyle);
}

void TvxContainerStyle::SetEdges(TvxEdges value) {
  if (!IsRoot()) return RootStyle()->SetEdges(value);
  if ((assignedValues_ & vxStyleValueBit(svEdges)) && edges_ == value) return;
  edges_ = value;
  StoreValue(svEdges);
}

void TvxContainerStyle::SetHotTrack(bool value) {
  if (!IsRoot()) return RootStyle()->SetHotTrack(value);
  if ((assignedValues_ & vxStyleValueBit(svHotTrack)) && hotTrack_ == value) return;
  hotTrack_ = value;
  StoreValue(svHotTrack);
}

void TvxContainerStyle::SetShadow(bool value) {
  if (!IsRoot()) return RootStyle()->SetShadow(value);
  if ((assignedValues_ & vxStyleValueBit(svShadow)) && shadow_ == value) return;
  shadow_ = value;
  StoreValue(svShadow);
}

void TvxContainerStyle::SetTransparentBorder(bool value) {
  if (!IsRoot()) return RootStyle()->SetTransparentBorder(value);
  if ((assignedValues_ & vxStyleValueBit(svTransparentBorder)) && transparentBorder_ == value) return;
  transparentBorder_ = value;
  StoreValue(svTransparentBorder);
}

void TvxContainerStyle::SetFont(TFont* value) {
  if (!IsRoot()) return RootStyle()->SetFont(value);
  if (directAccess_) {
    font_ = value;
    return;
  }
  ++fontMarkLock_;
  font_->Assign(value);
  --fontMarkLock_;
  StoreValue(svFont);
}

void TvxContainerStyle::SetLookAndFeel(TvxLookAndFeel* value) {
  if (!IsRoot()) return RootStyle()->SetLookAndFeel(value);
  lookAndFeel_->Assign(value);
}

void TvxContainerStyle::SetStyleController(TvxStyleController* value) {
  if (!IsRoot()) return RootStyle()->SetStyleController(value);
  TvxStyleController* fallback = FallbackStyleController();
  if (fallback && GetOwner() == fallback) return;
  if (!value) value = fallback;
  for (TvxStyleController* c = value; c; c = c->NormalStyle()->styleController_)
    if (c->NormalStyle() == this) return;
  if (value == styleController_) return;
  if (styleController_) styleController_->UnregisterStyle(this);
  styleController_ = value;
  if (styleController_) styleController_->RegisterStyle(this);
  ControllerHasChanged(styleController_);
}

// --- Change notification and fonts ------------------------------------------------------

void TvxContainerStyle::MarkChanged() {
  modified_ = true;
  FlushPendingChange();
}

void TvxContainerStyle::FlushPendingChange() {
  if (updateCount_ > 0 || !modified_) return;
  modified_ = false;
  if (!destroying_ && !directAccess_ && OnChanged) OnChanged(this);
}

void TvxContainerStyle::SuspendChangeNotify() { ++updateCount_; }

void TvxContainerStyle::ResumeChangeNotify() {
  if (updateCount_ > 0) --updateCount_;
  FlushPendingChange();
}

void TvxContainerStyle::ControllerHasChanged(TvxStyleController*) {
  RefreshInheritedFont();
  MarkChanged();
}

void TvxContainerStyle::ControllerIsFreed(TvxStyleController* controller) {
  if (RootStyle()->styleController_ == controller) SetStyleController(nullptr);
}

void TvxContainerStyle::HandleFontChange(TObject*) {
  if (fontMarkLock_ == 0) assignedValues_ |= vxStyleValueBit(svFont);
  MarkChanged();
}

void TvxContainerStyle::LockFontMark(bool lock) {
  if (lock)
    ++fontMarkLock_;
  else if (fontMarkLock_ > 0)
    --fontMarkLock_;
}

void TvxContainerStyle::RefreshInheritedFont() {
  if (directAccess_ || !ownFont_ || (assignedValues_ & vxStyleValueBit(svFont))) return;
  LockFontMark(true);
  TvxContainerStyle* controllerStyle = ControllerStyle();
  TvxContainerStyle* owner = controllerStyle ? controllerStyle->FindValueOwner(svFont) : nullptr;
  IvxContainerStyleOwner* container = ContainerOwner();
  if (owner) {
    ownFont_->Assign(owner->GetFont());
  } else if (!container || !container->StyledControl()->ParentFont()) {
    TFont fresh;
    ownFont_->Assign(&fresh);
  }
  LockFontMark(false);
}

TFont* TvxContainerStyle::EffectiveFont() {
  visibleFont_->Assign(GetFont());
  visibleFont_->SetColor(GetTextColor());
  visibleFont_->SetStyle(GetTextStyle());
  return visibleFont_.get();
}

// --- Names, queries, copying ---------------------------------------------------------------

bool TvxContainerStyle::StyleValueNameOf(TvxContainerStyleValue value, String& name) {
  const char* text = vxContainerStyleValueName(value);
  name = text ? text : "";
  return text != nullptr;
}

bool TvxContainerStyle::FindStyleValueByName(const String& name, TvxContainerStyleValue& value) {
  String candidate;
  for (int i = 0; i < StyleValueCount(); ++i)
    if (StyleValueNameOf(i, candidate) && vxStringsEqual(candidate, name, false)) {
      value = i;
      return true;
    }
  return false;
}

bool TvxContainerStyle::PublishesStyleProperty(const String& name) {
  if (name == "LookAndFeel" || name == "StyleController") return false;
  TvxContainerStyleValue value;
  if (!FindStyleValueByName(name, value)) return true;
  return !(UnpublishedStyleValues() & vxStyleValueBit(value));
}

bool TvxContainerStyle::HasAssignedValue(TvxContainerStyleValue value) {
  if (!IsRoot() && (vxRootOnlyStyleValues & vxStyleValueBit(value))) return RootStyle()->HasAssignedValue(value);
  return FindValueOwner(value) != nullptr;
}

bool TvxContainerStyle::DrawsBorder() { return IsRoot() || RootStyle()->DrawsBorder(); }

void TvxContainerStyle::ResetToDefaults() {
  SuspendChangeNotify();
  SetAssignedValues(0);
  if (IsRoot()) {
    lookAndFeel_->ClearAssignedValues();
    IvxContainerStyleOwner* container = ContainerOwner();
    if (container) {
      container->StyledControl()->SetParentColor(false);
      container->StyledControl()->SetParentFont(true);
    } else if (!directAccess_) {
      LockFontMark(true);
      TFont fresh;
      ownFont_->Assign(&fresh);
      LockFontMark(false);
    }
    if (container && container->UsesParentColorByDefault()) {
      TvxStyleController* controller = styleController_;
      const bool controllerColor =
          controller && controller->NormalStyle()->HasAssignedValue(svColor);
      if (!controllerColor) container->StyledControl()->SetParentColor(true);
    }
  }
  ResumeChangeNotify();
}

void TvxContainerStyle::Assign(const TPersistent* source) {
  if (auto style = dynamic_cast<const TvxContainerStyle*>(source))
    CopyFrom(*style);
  else
    TvxInterfacedPersistent::Assign(source);
}

void TvxContainerStyle::CopyFrom(const TvxContainerStyle& constSource) {
  // The source's getters look values up; they change nothing in it.
  TvxContainerStyle& source = const_cast<TvxContainerStyle&>(constSource);
  SuspendChangeNotify();
  if (IsRoot()) {
    SetStyleController(source.GetStyleController());
    if (source.GetLookAndFeel()) lookAndFeel_->Assign(source.GetLookAndFeel());
  }
  borderColor_ = source.borderColor_;
  borderStyle_ = source.borderStyle_;
  edges_ = source.edges_;
  hotTrack_ = source.hotTrack_;
  shadow_ = source.shadow_;
  transparentBorder_ = source.transparentBorder_;
  color_ = source.color_;
  if (directAccess_) {
    font_ = source.GetFont();
    textColor_ = source.GetTextColor();
  } else {
    if (ownFont_ && source.GetFont()) {
      LockFontMark(true);
      ownFont_->Assign(source.GetFont());
      if (source.directAccess_) ownFont_->SetColor(source.textColor_);
      LockFontMark(false);
    }
    textColor_ = source.GetTextColor();
    textStyle_ = source.GetTextStyle();
  }
  assignedValues_ = source.assignedValues_;
  MarkChanged();
  ResumeChangeNotify();
}

// --- TvxContainerStyles -------------------------------------------------------------------

TvxContainerStyles::TvxContainerStyles(TPersistent* owner, const TvxContainerStyleClass& styleClass) {
  styles_[cssNormal] = styleClass(owner, cssNormal, nullptr, false);
  for (int state = cssFocused; state < vxContainerStyleStateCount; ++state)
    styles_[state] = styleClass(owner, TvxContainerStyleState(state), styles_[cssNormal], false);
}

TvxContainerStyles::~TvxContainerStyles() {
  for (int state = vxContainerStyleStateCount - 1; state >= 0; --state) delete styles_[state];
}

void TvxContainerStyles::AssignChangeHandler(const TNotifyEvent& handler) {
  for (TvxContainerStyle* style : styles_) style->OnChanged = handler;
}

// --- TvxStyleController -------------------------------------------------------------------

TvxStyleController::TvxStyleController(TComponent* owner) : TComponent(owner) { Initialize(); }

void TvxStyleController::Initialize() {
  styles_ = std::make_unique<TvxContainerStyles>(this, StyleClassToCreate());
  styles_->AssignChangeHandler([this](TObject*) { NotifyStyleChanged(); });
}

TvxStyleController::~TvxStyleController() {
  destroying_ = true;
  // Each listener falls back and unregisters itself, shrinking the list.
  while (!listeners_.empty()) {
    TvxContainerStyle* style = listeners_.back();
    style->ControllerIsFreed(this);
    if (!listeners_.empty() && listeners_.back() == style) listeners_.pop_back();
  }
  styles_.reset();
}

TvxContainerStyleClass TvxStyleController::StyleClassToCreate() { return vxCreateContainerStyle; }

bool TvxStyleController::IsRegistered(TvxContainerStyle* style) const {
  return std::find(listeners_.begin(), listeners_.end(), style) != listeners_.end();
}

void TvxStyleController::RegisterStyle(TvxContainerStyle* style) {
  if (IsRegistered(style)) return;
  listeners_.push_back(style);
  if (style->GetLookAndFeel()) style->GetLookAndFeel()->ChangeMaster(NormalStyle()->GetLookAndFeel());
}

void TvxStyleController::UnregisterStyle(TvxContainerStyle* style) {
  auto it = std::find(listeners_.begin(), listeners_.end(), style);
  if (it == listeners_.end()) return;
  listeners_.erase(it);
  if (style->GetLookAndFeel()) style->GetLookAndFeel()->ChangeMaster(nullptr);
}

void TvxStyleController::NotifyStyleChanged() {
  if (OnStyleChanged) OnStyleChanged(this);
  if (destroying_) return;
  // A listener may unregister while it hears the change: walk a copy.
  const std::vector<TvxContainerStyle*> listeners = listeners_;
  for (TvxContainerStyle* style : listeners)
    if (IsRegistered(style)) style->ControllerHasChanged(this);
}

void TvxStyleController::Loaded() {
  TComponent::Loaded();
  NotifyStyleChanged();
}

void TvxStyleController::ApplyPixelsPerInch(int value) {
  if (value == pixelsPerInch_) return;
  pixelsPerInch_ = value;
  const int screen = vxScreenPixelsPerInch();
  for (int state = 0; state < vxContainerStyleStateCount; ++state) {
    TvxContainerStyle* style = StyleForState(state);
    if (!(style->GetAssignedValues() & vxStyleValueBit(svFont)) || !style->IsRoot()) continue;
    TFont* font = style->GetFont();
    font->SetHeight(vxScaleToScreenDpi(font->Height(), pixelsPerInch_, screen));
  }
  NotifyStyleChanged();
}

TClass TvxStyleControllerClass() {
  static const TClassInfo info(
      "TvxStyleController", TComponentClass(), {},
      [](TComponent* owner) -> TComponent* { return new TvxStyleController(owner); },
      [](TPersistent& instance, TFiler& filer) {
        auto& controller = static_cast<TvxStyleController&>(instance);
        filer.DefineProperty(
            "PixelsPerInch", [&controller](TReader& reader) { controller.ApplyPixelsPerInch(reader.ReadInteger()); },
            [](TWriter& writer) { writer.WriteInteger(vxScreenPixelsPerInch()); }, true);
      });
  return &info;
}
