// Actions: one command (what a menu item, a button and a key all do) kept
// in one component, whose caption, enabled state, check mark, hint, image
// and visibility every control linked to it shows.
//
// A control links to an action through an action link of its own class
// (TControl::GetActionLinkClass). The action tells its links when one of
// its properties changes and each link sets that property on its control;
// a change of the action as a whole (its list's images) reaches the control
// as ActionChange. Either side may go first: a freed action detaches its
// links and its controls drop them (they hold its free notification); a
// freed link leaves the action's client list.
//
// When the application has nothing to do, the OnUpdate of every action that
// a visible control shows runs (TCustomForm::UpdateActions), so that its
// handler can enable or check the action from the program's state.
#pragma once

#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/StandardControls.h"

class TBasicActionLink;
class TActionList;

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
  ~TBasicAction() override;
  const char* ClassName() const override { return "TBasicAction"; }

  // Fires OnExecute; false when there is none.
  virtual bool Execute();
  // Fires OnUpdate; false when there is none.
  virtual bool Update();

  int ClientCount() const { return int(clients_.size()); }
  TBasicActionLink* Clients(int index) const { return clients_.at(size_t(index)); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  // Tells every link that the action changed as a whole.
  void Change();

 private:
  friend class TBasicActionLink;
  std::vector<TBasicActionLink*> clients_;
};

// An action kept in an action list, which frees it.
class TContainedAction : public TBasicAction {
 public:
  explicit TContainedAction(TComponent* owner) : TBasicAction(owner) {}
  ~TContainedAction() override;
  const char* ClassName() const override { return "TContainedAction"; }

  TActionList* ActionList() const { return actionList_; }
  // Moves the action to another list (nullptr: none).
  void SetActionList(TActionList* list);
  int Index() const;

 private:
  friend class TActionList;
  TActionList* actionList_ = nullptr;
};

class TCustomAction : public TContainedAction {
 public:
  explicit TCustomAction(TComponent* owner) : TContainedAction(owner) {}
  const char* ClassName() const override { return "TCustomAction"; }

  // Brings the action up to date (OnUpdate) and, when it is enabled, flips
  // an AutoCheck action and fires OnExecute. False when disabled.
  bool Execute() override;

  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  // Checking an action of a group (GroupIndex > 0) unchecks the others of
  // its list with the same group.
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  const String& Hint() const { return hint_; }
  void SetHint(const String& value);
  // An image of the action list's Images; -1: none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  // Executing flips Checked (in a group: only checks).
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool value) { autoCheck_ = value; }

 private:
  void UncheckGroup();

  String caption_;
  bool checked_ = false;
  bool enabled_ = true;
  String hint_;
  int imageIndex_ = -1;
  bool visible_ = true;
  int groupIndex_ = 0;
  bool autoCheck_ = false;
};

class TAction : public TCustomAction {
 public:
  explicit TAction(TComponent* owner) : TCustomAction(owner) {}
  const char* ClassName() const override { return "TAction"; }
};

// The actions of a form or module, and the images they show. The list frees
// the actions it still holds when it goes.
class TActionList : public TComponent {
 public:
  explicit TActionList(TComponent* owner) : TComponent(owner) {}
  ~TActionList() override;
  const char* ClassName() const override { return "TActionList"; }

  int ActionCount() const { return int(actions_.size()); }
  TContainedAction* Actions(int index) const { return actions_.at(size_t(index)); }
  // The image list the actions' ImageIndex counts in: the platform has no
  // image list of its own, the control libraries bring theirs.
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* images);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TContainedAction;
  void ImagesChanged();

  std::vector<TContainedAction*> actions_;
  TComponent* images_ = nullptr;
};

// The client's side of an action.
class TBasicActionLink : public TObject {
 public:
  TBasicActionLink() = default;
  // Leaves the action's client list.
  ~TBasicActionLink() override;
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;
  const char* ClassName() const override { return "TBasicActionLink"; }

  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);
  // The action's Execute and Update; false without an action.
  virtual bool Execute();
  virtual bool Update();

  // The action changed as a whole; the sender is the action.
  TNotifyEvent OnChange;

 private:
  friend class TBasicAction;
  TBasicAction* action_ = nullptr;
};

// A link that receives each property of a TCustomAction as it changes.
class TActionLink : public TBasicActionLink {
 public:
  const char* ClassName() const override { return "TActionLink"; }
  virtual void SetCaption(const String&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHint(const String&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetVisible(bool) {}
};

// Sets the caption, enabled state, hint and visibility of a control.
class TControlActionLink : public TActionLink {
 public:
  explicit TControlActionLink(TControl* client) : client_(client) {}
  const char* ClassName() const override { return "TControlActionLink"; }
  void SetCaption(const String& value) override { client_->SetCaption(value); }
  void SetEnabled(bool value) override { client_->SetEnabled(value); }
  void SetHint(const String& value) override { client_->SetHint(value); }
  void SetVisible(bool value) override { client_->SetVisible(value); }

 protected:
  TControl* Client() const { return client_; }

 private:
  TControl* client_;
};

// Also sets the check state of a button.
class TButtonActionLink : public TControlActionLink {
 public:
  explicit TButtonActionLink(TControl* client) : TControlActionLink(client) {}
  const char* ClassName() const override { return "TButtonActionLink"; }
  void SetChecked(bool value) override { static_cast<TButtonControl*>(Client())->SetChecked(value); }
};
