#include "platform/ui/Menus.h"

#include "platform/ui/Forms.h"

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu() { SetPopupComponent(nullptr); }

TMenuItem* TPopupMenu::Add(const String& caption, TNotifyEvent onClick) {
  items_.push_back(std::make_unique<TMenuItem>(nullptr));
  TMenuItem* item = items_.back().get();
  item->SetCaption(caption);
  item->OnClick = std::move(onClick);
  return item;
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (popupComponent_ == component) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = component;
  if (popupComponent_) popupComponent_->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

// Item commands are the item's index plus one: 0 is what TrackPopupMenu
// answers when nothing was chosen.
HMENU TPopupMenu::BuildMenu() const {
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < items_.size(); ++i) {
    const TMenuItem& item = *items_[i];
    if (!item.Visible()) continue;
    UINT flags = item.Caption() == "-" ? MF_SEPARATOR : MF_STRING;
    if (!item.Enabled()) flags |= MF_GRAYED;
    if (item.Checked()) flags |= MF_CHECKED;
    if (item.Break()) flags |= MF_MENUBREAK;
    AppendMenuA(menu, flags, UINT_PTR(i + 1), item.Caption().c_str());
  }
  return menu;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  HWND owner = nullptr;
  if (auto* control = dynamic_cast<TWinControl*>(popupComponent_); control && control->HandleAllocated())
    owner = control->Handle();
  else if (Application)
    owner = Application->Handle();
  static constexpr UINT kAlignment[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  HMENU menu = BuildMenu();
  const UINT command =
      UINT(TrackPopupMenu(menu, kAlignment[alignment_] | TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON, x, y, 0,
                          owner, nullptr));
  DestroyMenu(menu);
  if (command > 0 && command <= items_.size()) items_[command - 1]->Click();
}
