// The library's drag and drop inside a TvxControl, and the child components
// that live in a control. A press where the control allows it makes the
// operation pending; once the mouse leaves the drag-detect square it runs
// with the mouse captured, its object following every move; the release
// finishes it accepted, a key, WM_CANCELMODE or a lost capture cancel it.
#include "foundation/vxControlsBase.h"

#include "platform/ui/Forms.h"

// --- TvxDragAndDropObject -----------------------------------------------------------------

TvxDragAndDropObject::TvxDragAndDropObject(TvxControl* control) : control_(control), canvas_(control->vxCanvas()) {}

void TvxDragAndDropObject::SetDirty(bool value) {
  if (dirty_ == value) return;
  dirty_ = value;
  DirtyChanged();
}

TPoint TvxDragAndDropObject::GetClientCursorPoint() { return control_->ScreenToClient(vxGetCursorPosition()); }

void TvxDragAndDropObject::MoveTo(TPoint, bool& accepted) {
  dirty_ = false;
  Screen->SetCursor(CursorForAcceptance(accepted));
}

void TvxDragAndDropObject::Prepare() {
  currentPoint_ = previousPoint_ = GetClientCursorPoint();
  BeginOperation();
}

void TvxDragAndDropObject::Step(TPoint p, bool& accepted) {
  previousPoint_ = currentPoint_;
  currentPoint_ = p;
  MoveTo(p, accepted);
}

void TvxDragAndDropObject::Finish(bool accepted) {
  MarkDirtyOnEnd(accepted);
  EndOperation(accepted);
}

// --- TvxControl: drag and drop --------------------------------------------------------------

TvxDragAndDropObjectClass TvxControl::DragAndDropObjectClassRef() {
  return vxNewDragAndDropObject<TvxDragAndDropObject>;
}

TvxDragAndDropObject* TvxControl::CreateDragAndDropObject() { return DragAndDropObjectClassRef()(this); }

TvxDragAndDropObject* TvxControl::GetDragAndDropObject() {
  if (!dragAndDropObject_) dragAndDropObject_.reset(CreateDragAndDropObject());
  return dragAndDropObject_.get();
}

void TvxControl::SetDragAndDropState(TvxDragDropPhase phase) {
  if (dragAndDropPhase_ == phase) return;
  dragAndDropPhase_ = phase;
  if (phase == ddpIdle && !finishingDragAndDrop_) ResetMouseCapture();
}

bool TvxControl::IsInDragDetectArea(int x, int y) const { return vxIsPointInDragDetectArea(mouseDownPos_, x, y); }

bool TvxControl::IsWithinClickZone(int x, int y) { return DragMode() == dmManual || IsInDragDetectArea(x, y); }

void TvxControl::BeginDragAndDropOperation() {
  GetDragAndDropObject()->Prepare();
  SetMouseCapture(true);
  dragAndDropPrevCursor_ = Screen->Cursor();
  SetDragAndDropState(ddpActive);
}

void TvxControl::DragAndDropMove(TPoint p, bool& accepted) { GetDragAndDropObject()->Step(p, accepted); }

void TvxControl::FinishDragAndDrop(bool accepted) {
  if (finishingDragAndDrop_) return;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{finishingDragAndDrop_};
  finishingDragAndDrop_ = true;
  if (dragAndDropPhase_ == ddpActive)
    StopDragAndDrop(accepted);
  else
    SetDragAndDropState(ddpIdle);
  dragAndDropObject_.reset();
}

void TvxControl::StopDragAndDrop(bool accepted) {
  SetDragAndDropState(ddpIdle);
  Screen->SetCursor(dragAndDropPrevCursor_);
  SetMouseCapture(false);
  SetMouseCaptureObject(nullptr);
  GetDragAndDropObject()->Finish(accepted);
}

// --- TvxControlChildComponent ---------------------------------------------------------------------

TvxControlChildComponent::TvxControlChildComponent(TComponent* owner) : TvxComponent(owner) { InitializeHook(); }

TvxControlChildComponent::TvxControlChildComponent(TvxControl* control, bool assignOwner)
    : TvxControlChildComponent(assignOwner ? control->Owner() : nullptr) {
  SetOwningControl(control);
}

TvxControlChildComponent::~TvxControlChildComponent() {
  if (control_) control_->RemoveChildComponent(this);
}

TComponent* TvxControlChildComponent::GetParentComponent() { return control_; }

void TvxControlChildComponent::SetParentComponent(TComponent* value) {
  if (auto* control = dynamic_cast<TvxControl*>(value)) control->AddChildComponent(this);
}
