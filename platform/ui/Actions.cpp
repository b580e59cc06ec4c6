#include "platform/ui/Actions.h"

#include <algorithm>

// --- TBasicAction ------------------------------------------------------------------------

TBasicAction::~TBasicAction() {
  // The links stay with their controls, which drop them on the free
  // notification that follows.
  for (TBasicActionLink* link : clients_) link->action_ = nullptr;
  clients_.clear();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::Change() {
  // A copy: a control may drop its link while it takes the change in.
  const std::vector<TBasicActionLink*> links = clients_;
  for (TBasicActionLink* link : links)
    if (std::find(clients_.begin(), clients_.end(), link) != clients_.end() && link->OnChange) link->OnChange(this);
}

// --- TContainedAction --------------------------------------------------------------------

TContainedAction::~TContainedAction() {
  if (actionList_) std::erase(actionList_->actions_, this);
}

void TContainedAction::SetActionList(TActionList* list) {
  if (actionList_ == list) return;
  if (actionList_) std::erase(actionList_->actions_, this);
  actionList_ = list;
  if (list) list->actions_.push_back(this);
  Change();
}

int TContainedAction::Index() const {
  if (!actionList_) return -1;
  const auto& actions = actionList_->actions_;
  return int(std::find(actions.begin(), actions.end(), this) - actions.begin());
}

// --- TCustomAction -----------------------------------------------------------------------

namespace {

// Hands one property to every link that takes properties.
template <typename Set>
void ForEachActionLink(TBasicAction* action, Set set) {
  for (int i = 0; i < action->ClientCount(); ++i)
    if (auto* link = dynamic_cast<TActionLink*>(action->Clients(i))) set(link);
}

}  // namespace

bool TCustomAction::Execute() {
  Update();
  if (!enabled_) return false;
  if (autoCheck_ && (!checked_ || groupIndex_ == 0)) SetChecked(!checked_);
  return TBasicAction::Execute();
}

void TCustomAction::SetCaption(const String& value) {
  if (caption_ == value) return;
  caption_ = value;
  ForEachActionLink(this, [&](TActionLink* link) { link->SetCaption(value); });
}

void TCustomAction::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  if (value) UncheckGroup();
  ForEachActionLink(this, [&](TActionLink* link) { link->SetChecked(value); });
}

void TCustomAction::UncheckGroup() {
  if (groupIndex_ <= 0 || !ActionList()) return;
  TActionList* list = ActionList();
  for (int i = 0; i < list->ActionCount(); ++i) {
    auto* other = dynamic_cast<TCustomAction*>(list->Actions(i));
    if (other && other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
  }
}

void TCustomAction::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  ForEachActionLink(this, [&](TActionLink* link) { link->SetEnabled(value); });
}

void TCustomAction::SetHint(const String& value) {
  if (hint_ == value) return;
  hint_ = value;
  ForEachActionLink(this, [&](TActionLink* link) { link->SetHint(value); });
}

void TCustomAction::SetImageIndex(int value) {
  if (imageIndex_ == value) return;
  imageIndex_ = value;
  ForEachActionLink(this, [&](TActionLink* link) { link->SetImageIndex(value); });
}

void TCustomAction::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  ForEachActionLink(this, [&](TActionLink* link) { link->SetVisible(value); });
}

void TCustomAction::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  if (checked_) UncheckGroup();
}

// --- TActionList -------------------------------------------------------------------------

TActionList::~TActionList() {
  SetImages(nullptr);
  // The list is the actions' owner: each leaves the list as it goes.
  while (!actions_.empty()) delete actions_.back();
}

void TActionList::SetImages(TComponent* images) {
  if (images_ == images) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_) images_->FreeNotification(this);
  ImagesChanged();
}

void TActionList::ImagesChanged() {
  if (IsDestroying()) return;
  for (TContainedAction* action : std::vector<TContainedAction*>(actions_)) action->Change();
}

void TActionList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) {
    images_ = nullptr;
    ImagesChanged();
  }
}

// --- TBasicActionLink --------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* action) {
  if (action_ == action) return;
  if (action_) std::erase(action_->clients_, this);
  action_ = action;
  if (action_) action_->clients_.push_back(this);
}

bool TBasicActionLink::Execute() { return action_ && action_->Execute(); }

bool TBasicActionLink::Update() { return action_ && action_->Update(); }
