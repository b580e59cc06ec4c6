// Popup menus: a list of items shown as a system popup menu at a screen
// point, modal until the user picks an item or dismisses the menu. The menu
// runs the chosen item's OnClick after the system menu has closed.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/Components.h"
#include "platform/ui/Types.h"

// Which side of the popup point the menu lies on: paLeft puts its left
// edge at the point.
enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner) : TComponent(owner) {}
  const char* ClassName() const override { return "TMenuItem"; }

  const String& Caption() const { return caption_; }
  void SetCaption(const String& caption) { caption_ = caption; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value) { checked_ = value; }
  // The item starts a new column.
  bool Break() const { return break_; }
  void SetBreak(bool value) { break_ = value; }

  virtual void Click();
  TNotifyEvent OnClick;

 private:
  String caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  bool break_ = false;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  const char* ClassName() const override { return "TPopupMenu"; }

  int Count() const { return int(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(index).get(); }
  // Appends an item the menu owns; a caption of "-" is a separator.
  TMenuItem* Add(const String& caption, TNotifyEvent onClick = nullptr);
  void Clear() { items_.clear(); }

  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment value) { alignment_ = value; }
  // Whether controls show the menu on a right click by themselves.
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // The component the menu was last shown for.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* component);

  // Shows the menu at a screen point and returns once it has closed; the
  // chosen item, if any, is clicked then.
  virtual void Popup(int x, int y);

  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  HMENU BuildMenu() const;

  std::vector<std::unique_ptr<TMenuItem>> items_;
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};
