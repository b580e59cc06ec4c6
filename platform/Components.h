// The object model every component stands on: TObject, TPersistent with
// Assign, TComponent with ownership, names, state and free notifications,
// and a registry of component classes by name.
//
// Ownership: a component created with an owner is freed by that owner, last
// created first. Deleting a component removes it from its owner and tells
// every component that asked for a free notification (Notification with
// opRemove) so that no one keeps a dangling pointer.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Errors.h"

class TObject {
 public:
  virtual ~TObject() = default;
  virtual const char* ClassName() const { return "TObject"; }
};

// The common event shape: a notification naming its sender.
using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
 public:
  const char* ClassName() const override { return "TPersistent"; }
  // Copies source into this object. Raises EConvertError
  // "Cannot assign a %s to a %s" when neither side knows the other.
  virtual void Assign(const TPersistent* source);
  // The object this one belongs to, for streaming and the designer.
  TPersistent* PersistentOwner() const { return GetOwner(); }

 protected:
  virtual void AssignTo(TPersistent* dest) const;
  virtual TPersistent* GetOwner() const { return nullptr; }
};

QE_DECLARE_EXCEPTION(EComponentError, Exception);

enum TComponentStateFlag : uint32_t {
  csLoading = 0x0001,
  csReading = 0x0002,
  csWriting = 0x0004,
  csDestroying = 0x0008,
  csDesigning = 0x0010,
  csAncestor = 0x0020,
  csUpdating = 0x0040,
  csFixups = 0x0080,
  csFreeNotification = 0x0100,
  csInline = 0x0200,
  csDesignInstance = 0x0400,
};
using TComponentState = uint32_t;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  const char* ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return owner_; }
  const String& Name() const { return name_; }
  // A name must be a valid identifier (or empty) and unique among the
  // owner's components, else EComponentError.
  virtual void SetName(const String& name);
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  TComponentState ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }

  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component now, last first. Derived classes whose owned
  // components refer back to them call it first thing in their destructor.
  void DestroyComponents();

  // Marks this component and, recursively, its owned ones as destroying.
  void Destroying();

  // Asks for a Notification(this-or-that, opRemove) when the other dies.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Loading bracket used when a form builds its components from its
  // description: BeginLoading sets csLoading|csReading on this component and
  // its owned ones; EndLoading clears them and calls Loaded on each, owned
  // components first.
  void BeginLoading();
  void EndLoading();
  // Leaves the loading state without Loaded, after a failed read.
  void CancelLoading();

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  // Called when loading ends; clears csLoading.
  virtual void Loaded();
  void SetComponentState(TComponentState state) { state_ = state; }
  void IncludeState(TComponentState flags) { state_ |= flags; }
  void ExcludeState(TComponentState flags) { state_ &= ~flags; }
  TPersistent* GetOwner() const override { return owner_; }

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void NotifyAll(TComponent* component, TOperation operation);

  TComponent* owner_ = nullptr;
  String name_;
  intptr_t tag_ = 0;
  TComponentState state_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};

// Registry of component classes by name (compared without regard to case).
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;
// Raises EComponentError "Class %s already registered" for a second class of
// the same name.
void RegisterComponentClass(const String& className, TComponentFactory factory);
void UnregisterComponentClass(const String& className);
// Returns an empty function when absent.
TComponentFactory FindComponentClass(std::string_view className);
// Raises EComponentError "Class %s not found" when absent.
TComponentFactory GetComponentClass(std::string_view className);
