#include "framed/FmCommonController.h"

#include <algorithm>

TFmFrameController::TFmFrameController(TComponent* owner) : TComponent(owner) {}

TFmFrameController::~TFmFrameController() {
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
}

void TFmFrameController::Attach(TControl* control) {
  if (std::find(controls_.begin(), controls_.end(), control) != controls_.end()) return;
  controls_.push_back(control);
  ApplyToControl(control, fcpAll);
}

void TFmFrameController::Detach(TControl* control) { std::erase(controls_, control); }

void TFmFrameController::UnlockUpdates() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) ApplyToAll(fcpAll);
}

void TFmFrameController::ApplyToAll(TFmFrameControllerProperty property) {
  if (updateCount_ > 0) return;
  // A control may detach while it is updated: walk a copy.
  const std::vector<TControl*> controls = controls_;
  for (TControl* c : controls) ApplyToControl(c, property);
}

// Every control that knows the controller pulls the settings itself; the
// program has no other framed control that would take them by name.
void TFmFrameController::ApplyToControl(TControl* control, TFmFrameControllerProperty) {
  if (auto* client = dynamic_cast<IFmFrameControllerClient*>(control)) client->UpdateFrameFromController();
}

void TFmFrameController::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TFmFrameController*>(source);
  if (!other) return TComponent::Assign(source);
  LockUpdates();
  color_ = other->color_;
  parentColor_ = other->parentColor_;
  disabledColor_ = other->disabledColor_;
  readOnlyColor_ = other->readOnlyColor_;
  readOnlyColorOnFocus_ = other->readOnlyColorOnFocus_;
  focusColor_ = other->focusColor_;
  flatButtonColor_ = other->flatButtonColor_;
  flatButtons_ = other->flatButtons_;
  frameColor_ = other->frameColor_;
  frameHotColor_ = other->frameHotColor_;
  frameHotTrack_ = other->frameHotTrack_;
  frameHotStyle_ = other->frameHotStyle_;
  frameSides_ = other->frameSides_;
  frameStyle_ = other->frameStyle_;
  frameVisible_ = other->frameVisible_;
  framingPreference_ = other->framingPreference_;
  UnlockUpdates();
}

void TFmFrameController::SetColor(TColor v) {
  if (color_ == v) return;
  if (focusColor_ == color_) focusColor_ = v;
  color_ = v;
  parentColor_ = false;
  ApplyToAll(fcpColor);
}

void TFmFrameController::SetParentColor(bool v) {
  if (parentColor_ == v) return;
  parentColor_ = v;
  ApplyToAll(fcpParentColor);
  if (!v) ApplyToAll(fcpColor);
}

void TFmFrameController::SetFrameHotTrack(bool v) {
  if (frameHotTrack_ == v) return;
  frameHotTrack_ = v;
  if (v) {
    SetFrameVisible(true);
    if (!IsLoading()) SetFrameSides(sdAllSides);
  }
  ApplyToAll(fcpFrameHotTrack);
}

void TFmFrameController::ReadOldFrameFlat(bool value) {
  SetFrameHotTrack(value);
  if (value) {
    SetFrameStyle(fsStatus);
    SetFrameHotStyle(fsLowered);
  }
}

void TFmFrameController::SetRegIniFile(TFmRegIniFile* v) {
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = v;
  if (v) v->FreeNotification(this);
}

void TFmFrameController::Loaded() {
  TComponent::Loaded();
  ApplyToAll(fcpAll);
}

void TFmFrameController::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == regIniFile_) regIniFile_ = nullptr;
}

TFmFrameControllerLink::~TFmFrameControllerLink() {
  if (controller_) controller_->Detach(control_);
}

void TFmFrameControllerLink::Set(TFmFrameController* controller) {
  if (controller_ == controller) return;
  if (controller_) {
    controller_->Detach(control_);
    controller_->RemoveFreeNotification(control_);
  }
  controller_ = controller;
  if (controller) {
    controller->FreeNotification(control_);
    controller->Attach(control_);
  }
}

void TakeControllerFrame(TControl& control, const TFmFrameController& c, TFmFrameControllerNotifications n,
                         const TFmControllerFrame& frame) {
  if (!c.FrameVisible()) return;
  if (HasNotification(n, fcpFrameStyle)) frame.BorderOuter = c.FrameStyle();
  if (HasNotification(n, fcpFrameSides)) frame.BorderSides = c.FrameSides();
  if (HasNotification(n, fcpFrameColor)) {
    frame.FlatColor = c.FrameColor();
    frame.FlatColorAdjustment = 0;
  }
  if (HasNotification(n, fcpColor)) {
    control.SetColor(c.Color());
    frame.BorderHighlight = LightenColor(control.Color(), 100);
    frame.BorderShadow = DarkenColor(control.Color(), 50);
  }
  if (HasNotification(n, fcpParentColor)) control.SetParentColor(c.ParentColor());
  control.Invalidate();
}
