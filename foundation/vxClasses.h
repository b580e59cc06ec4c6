// The base classes and small registries the skinned library is built on:
// objects that implement interfaces without counting references, persistent
// objects with an owner, a component that resets weak links to itself, a
// sortable owned collection, an object list that may own its items, two
// class registries (pairs ordered by inheritance, and classes with
// descriptions), weak object links, a free-notification component and a
// few free helpers.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ClassRegistry.h"
#include "platform/Geometry.h"
#include "platform/Collections.h"
#include "platform/Interfaces.h"
#include "platform/Lists.h"
#include "vdCore.h"

QE_DECLARE_EXCEPTION(EAssertionFailed, Exception);

// An object that hands out interfaces of itself; their references are not
// counted: its owner frees it.
class TvxIUnknownObject : public TObject, public IInterface {
 public:
  const char* ClassName() const override { return "TvxIUnknownObject"; }
};

// A persistent object that names its owner (the look-and-feel, container
// styles, editor properties).
class TvxInterfacedPersistent : public TPersistent, public IInterface {
 public:
  explicit TvxInterfacedPersistent(TPersistent* owner) : owner_(owner) {}
  const char* ClassName() const override { return "TvxInterfacedPersistent"; }

 protected:
  TPersistent* GetOwner() const override { return owner_; }

 private:
  TPersistent* owner_;
};

// --- TvxComponent ---------------------------------------------------------------

class TvxComponent : public TComponent {
 public:
  static constexpr int FakeLinkCount = 3;

  explicit TvxComponent(TComponent* owner) : TComponent(owner) {}
  // Marks itself destroying and resets every weak link to itself first.
  ~TvxComponent() override;
  const char* ClassName() const override { return "TvxComponent"; }

  // References that exist only so that the designer's streaming keeps
  // track of related components.
  TComponent* FakeComponentLink(int index) const { return fakeLinks_[index]; }
  void SetFakeComponentLink(int index, TComponent* component) { fakeLinks_[index] = component; }
  bool IsDestroying() const { return TComponent::IsDestroying(); }
  bool IsDesigning() const { return TComponent::IsDesigning(); }

 protected:
  // Descendants add the components to be linked.
  virtual void GetFakeComponentLinks(std::vector<TComponent*>& list) {}
  // At design time, with an owner and not being destroyed: fills the fake
  // links from GetFakeComponentLinks (nil past its end).
  void UpdateFakeLinks();
  void Loaded() override;

 private:
  TComponent* fakeLinks_[FakeLinkCount] = {};
};

TClass TvxComponentClass();

// --- TvxOwnedInterfacedCollection --------------------------------------------------

class TvxOwnedInterfacedCollection : public TOwnedCollection, public IInterface {
 public:
  using TChangeEvent = std::function<void(TvxOwnedInterfacedCollection* sender, TCollectionItem* item)>;
  using TCompareEvent =
      std::function<int(TvxOwnedInterfacedCollection* sender, TCollectionItem* item1, TCollectionItem* item2)>;

  TvxOwnedInterfacedCollection(TPersistent* owner, TCollectionItemFactory factory)
      : TOwnedCollection(owner, std::move(factory)) {}
  ~TvxOwnedInterfacedCollection() override;
  const char* ClassName() const override { return "TvxOwnedInterfacedCollection"; }

  // Nothing while an update is pending or a sort runs; otherwise orders the
  // items by OnCompare (CompareOrder without it), moving them in one update.
  void Sort();
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool InDestruction() const { return state_ & stDestroying; }

  TChangeEvent OnChange;
  TCompareEvent OnCompare;

 protected:
  // The sign of index1 - index2.
  virtual int CompareOrder(TCollectionItem* item1, TCollectionItem* item2);
  void Update(TCollectionItem* item) override;

 private:
  enum : unsigned { stDestroying = 1, stUpdating = 2, stSorting = 4 };
  unsigned state_ = 0;
  bool sorted_ = false;
};

// --- TvxStringList ------------------------------------------------------------------

class TvxStringList : public TStringList {
 public:
  const char* ClassName() const override { return "TvxStringList"; }
  // With Compare assigned, sorts with it; otherwise the platform's sort.
  void Sort() override;
  TStringListSortCompare Compare;
};

// --- TvxObjectList ------------------------------------------------------------------

class TvxObjectList : public TObject {
 public:
  explicit TvxObjectList(bool ownsObjects = false) : ownsObjects_(ownsObjects) {}
  ~TvxObjectList() override { RemoveAllItems(); }
  TvxObjectList(const TvxObjectList&) = delete;
  TvxObjectList& operator=(const TvxObjectList&) = delete;
  const char* ClassName() const override { return "TvxObjectList"; }

  int Add(TObject* item) { return list_.Add(item); }
  int IndexOf(TObject* item) const { return list_.IndexOf(item); }
  int Count() const { return list_.Count(); }
  TObject* GetItem(int index) const { return static_cast<TObject*>(list_.Items(index)); }
  void Delete(int index) { list_.Delete(index); }
  bool OwnsObjects() const { return ownsObjects_; }
  // Frees the items first when the list owns them, then empties it.
  void RemoveAllItems();
  // Frees the item and deletes its entry, whatever OwnsObjects says.
  void FreeAndDelete(int index);
  // The object's former index, -1 when absent.
  int FreeAndRemove(TObject* item);

 private:
  TList list_;
  bool ownsObjects_;
};

// --- TvxRegisteredClassList -----------------------------------------------------------

struct TvxRegisteredClassListItemData {
  TClass ItemClass;
  TClass RegisteredClass;
};

// Pairs of classes, kept so that a backward scan meets a class's nearest
// registered ancestor first.
class TvxRegisteredClassList {
 public:
  virtual ~TvxRegisteredClassList() = default;

  // Scans from the last pair: a pair whose item class is itemClass or an
  // ancestor ends the scan (true, index at it); a descendant's pair moves
  // index there and the scan goes on. False when no ancestor pair exists;
  // index is then the first descendant pair, or -1 when there is none.
  virtual bool Find(TClass itemClass, int& index) const;
  // Directly after the pair Find reports, else before the first descendant
  // pair met, else at the end.
  virtual void Register(TClass itemClass, TClass registeredClass);
  // Removes every pair with exactly these two classes.
  virtual void Unregister(TClass itemClass, TClass registeredClass);
  // The registered class of itemClass's nearest registered ancestor, or
  // nullptr.
  TClass FindClass(TClass itemClass) const;

  int Count() const { return int(items_.size()); }
  const TvxRegisteredClassListItemData& Items(int index) const { return items_.at(size_t(index)); }

 private:
  std::vector<TvxRegisteredClassListItemData> items_;
};

// --- TvxRegisteredClasses ---------------------------------------------------------------

// Classes with descriptions "Name|Hint" (the edit-properties registry).
class TvxRegisteredClasses {
 public:
  explicit TvxRegisteredClasses(bool registerClasses = false) : registerClasses_(registerClasses) {}
  virtual ~TvxRegisteredClasses() = default;

  // Keeps the first description of a class registered twice.
  void Register(TClass cls, const String& description);
  void Unregister(TClass cls);
  void Clear() { items_.clear(); }
  int IndexOf(TClass cls) const;
  int Count() const { return int(items_.size()); }
  TClass Items(int index) const { return items_.at(size_t(index)).second; }
  const String& Descriptions(int index) const { return items_.at(size_t(index)).first; }
  // The description up to its first "|".
  String GetDisplayName(int index) const;
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  virtual void Sort();

 protected:
  // Display names, locale-aware and without regard to case.
  virtual int CompareEntries(int index1, int index2) const;

 private:
  std::vector<std::pair<String, TClass>> items_;
  bool registerClasses_;
  bool sorted_ = false;
};

// --- Weak object links ------------------------------------------------------------------

// Ref becomes nullptr when its object is destroyed (vxResetObjectLinks).
struct TvxObjectLink {
  TObject* Ref = nullptr;
};

// nullptr for a nullptr object.
TvxObjectLink* vxNewObjectLink(TObject* object);
void vxFreeObjectLink(TvxObjectLink* link);
// Every live link to object reads nullptr afterwards; the holders still
// free their links.
void vxResetObjectLinks(TObject* object);
// Live links (for tests of the controller's lifetime).
int vxObjectLinkCount();

// --- TvxFreeNotificator -------------------------------------------------------------------

class TvxFreeNotificator : public TComponent {
 public:
  explicit TvxFreeNotificator(TComponent* owner) : TComponent(owner) {}
  const char* ClassName() const override { return "TvxFreeNotificator"; }
  void Subscribe(TComponent* component);
  void Unsubscribe(TComponent* component);
  std::function<void(TComponent* sender)> OnFreeNotification;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
};

// --- Free helpers ---------------------------------------------------------------------------

inline const String& vxFetchResString(const TvdResourceString& s) { return s.Text; }
inline TPersistent* vxOwnerOfPersistent(const TPersistent* p) { return p ? p->PersistentOwner() : nullptr; }
// The byte length of the character at the 1-based position: 1, 2 for a
// double-byte character, 0 at (or past) the end.
int vxCharByteLength(std::string_view text, int position);
inline const char* vxCharPointer(const String& text, int position) { return text.data() + (position - 1); }
String vxDescriptionDisplayName(std::string_view description);
template <class Control, class Method>
void vxCallControlNotify(Control* control, const Method& method) {
  if (method) method(control);
}
inline TSize vxSizeFromValues(int32_t width, int32_t height) { return {width, height}; }
// floor((a + b) / 2).
int32_t vxRangeCenter(int32_t a, int32_t b);
inline int vxSignOfFloat(double value) { return value >= 0 ? 1 : -1; }

#ifdef _WIN32
#include <windows.h>
// Installs a hook of that type for the current thread. hook must be 0:
// otherwise EAssertionFailed, before anything is installed.
void vxInstallThreadHook(HHOOK& hook, int hookType, HOOKPROC proc);
void vxRemoveThreadHook(HHOOK& hook);
#endif

// Registers the streaming classes of the module and groups the skinned
// components with the framework's components.
void vxClassesInitialize();
void vxClassesFinalize();
