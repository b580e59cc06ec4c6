#include "vxClasses.h"

#include <algorithm>
#include <memory>

// --- TvxComponent ---------------------------------------------------------------

TvxComponent::~TvxComponent() {
  if (!IsDestroying()) Destroying();
  vxResetObjectLinks(this);
}

void TvxComponent::UpdateFakeLinks() {
  if (!IsDesigning() || IsDestroying() || !Owner()) return;
  std::vector<TComponent*> list;
  GetFakeComponentLinks(list);
  for (int i = 0; i < FakeLinkCount; ++i) fakeLinks_[i] = size_t(i) < list.size() ? list[size_t(i)] : nullptr;
}

void TvxComponent::Loaded() {
  TComponent::Loaded();
  UpdateFakeLinks();
}

TClass TvxComponentClass() {
  auto link = [](const char* name, int index) {
    return ComponentProp<TvxComponent>(
        name, [index](const TvxComponent& c) { return c.FakeComponentLink(index); },
        [index](TvxComponent& c, TComponent* v) { c.SetFakeComponentLink(index, v); });
  };
  static const TClassInfo info("TvxComponent", TComponentClass(),
                               {link("FakeComponentLink1", 0), link("FakeComponentLink2", 1),
                                link("FakeComponentLink3", 2)},
                               [](TComponent* owner) { return new TvxComponent(owner); });
  return &info;
}

// --- TvxOwnedInterfacedCollection --------------------------------------------------

TvxOwnedInterfacedCollection::~TvxOwnedInterfacedCollection() {
  state_ |= stDestroying;
  Clear();
}

int TvxOwnedInterfacedCollection::CompareOrder(TCollectionItem* item1, TCollectionItem* item2) {
  const int d = item1->Index() - item2->Index();
  return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

void TvxOwnedInterfacedCollection::Update(TCollectionItem* item) {
  if (state_ & stUpdating) return;
  state_ |= stUpdating;
  try {
    if (sorted_ && !item) Sort();
    TOwnedCollection::Update(item);
  } catch (...) {
    state_ &= ~stUpdating;
    throw;
  }
  state_ &= ~stUpdating;
  if (!(state_ & stDestroying) && OnChange) OnChange(this, item);
}

void TvxOwnedInterfacedCollection::Sort() {
  if (UpdateCount() > 0 || (state_ & stSorting)) return;
  state_ |= stSorting;
  try {
    std::vector<TCollectionItem*> items;
    for (int i = 0; i < Count(); ++i) items.push_back(Items(i));
    std::stable_sort(items.begin(), items.end(), [this](TCollectionItem* a, TCollectionItem* b) {
      return (OnCompare ? OnCompare(this, a, b) : CompareOrder(a, b)) < 0;
    });
    BeginUpdate();
    try {
      for (size_t i = 0; i < items.size(); ++i) items[i]->SetIndex(int(i));
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  } catch (...) {
    state_ &= ~stSorting;
    throw;
  }
  state_ &= ~stSorting;
}

void TvxOwnedInterfacedCollection::SetSorted(bool value) {
  if (sorted_ == value) return;
  sorted_ = value;
  if (sorted_) Sort();
}

// --- TvxStringList ------------------------------------------------------------------

void TvxStringList::Sort() {
  if (Compare)
    CustomSort(Compare);
  else
    TStringList::Sort();
}

// --- TvxObjectList ------------------------------------------------------------------

void TvxObjectList::RemoveAllItems() {
  if (ownsObjects_)
    for (int i = 0; i < list_.Count(); ++i) delete GetItem(i);
  list_.Clear();
}

void TvxObjectList::FreeAndDelete(int index) {
  delete GetItem(index);
  list_.Delete(index);
}

int TvxObjectList::FreeAndRemove(TObject* item) {
  const int index = IndexOf(item);
  if (index >= 0) FreeAndDelete(index);
  return index;
}

// --- TvxRegisteredClassList -----------------------------------------------------------

bool TvxRegisteredClassList::Find(TClass itemClass, int& index) const {
  index = -1;
  for (int i = Count() - 1; i >= 0; --i) {
    const TClass c = items_[size_t(i)].ItemClass;
    if (itemClass->InheritsFrom(c)) {
      index = i;
      return true;
    }
    if (c->InheritsFrom(itemClass)) index = i;
  }
  return false;
}

void TvxRegisteredClassList::Register(TClass itemClass, TClass registeredClass) {
  int index;
  const bool found = Find(itemClass, index);
  const TvxRegisteredClassListItemData pair{itemClass, registeredClass};
  if (found)
    items_.insert(items_.begin() + index + 1, pair);
  else if (index >= 0)
    items_.insert(items_.begin() + index, pair);
  else
    items_.push_back(pair);
}

void TvxRegisteredClassList::Unregister(TClass itemClass, TClass registeredClass) {
  std::erase_if(items_, [&](const TvxRegisteredClassListItemData& d) {
    return d.ItemClass == itemClass && d.RegisteredClass == registeredClass;
  });
}

TClass TvxRegisteredClassList::FindClass(TClass itemClass) const {
  int index;
  return Find(itemClass, index) ? items_[size_t(index)].RegisteredClass : nullptr;
}

// --- TvxRegisteredClasses ---------------------------------------------------------------

void TvxRegisteredClasses::Register(TClass cls, const String& description) {
  if (IndexOf(cls) >= 0) return;
  items_.emplace_back(description, cls);
  if (sorted_) Sort();
  if (registerClasses_) RegisterPersistentClass(cls);
}

void TvxRegisteredClasses::Unregister(TClass cls) {
  const int index = IndexOf(cls);
  if (index >= 0) items_.erase(items_.begin() + index);
}

int TvxRegisteredClasses::IndexOf(TClass cls) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].second == cls) return int(i);
  return -1;
}

String TvxRegisteredClasses::GetDisplayName(int index) const { return vxDescriptionDisplayName(Descriptions(index)); }

int TvxRegisteredClasses::CompareEntries(int index1, int index2) const {
  return AnsiCompareText(GetDisplayName(index1), GetDisplayName(index2));
}

void TvxRegisteredClasses::Sort() {
  std::vector<int> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return CompareEntries(a, b) < 0; });
  std::vector<std::pair<String, TClass>> sorted;
  for (int i : order) sorted.push_back(items_[size_t(i)]);
  items_ = std::move(sorted);
}

void TvxRegisteredClasses::SetSorted(bool value) {
  if (sorted_ == value) return;
  sorted_ = value;
  if (sorted_) Sort();
}

// --- Weak object links ------------------------------------------------------------------

namespace {

// The live links; it exists while any link does.
struct TvxObjectLinkController {
  std::vector<TvxObjectLink*> links;
  int users = 0;
};

std::unique_ptr<TvxObjectLinkController>& Controller() {
  static std::unique_ptr<TvxObjectLinkController> controller;
  return controller;
}

}  // namespace

TvxObjectLink* vxNewObjectLink(TObject* object) {
  if (!object) return nullptr;
  auto& c = Controller();
  if (!c) c = std::make_unique<TvxObjectLinkController>();
  ++c->users;
  auto* link = new TvxObjectLink{object};
  c->links.push_back(link);
  return link;
}

void vxFreeObjectLink(TvxObjectLink* link) {
  if (!link) return;
  auto& c = Controller();
  if (link->Ref) std::erase(c->links, link);
  delete link;
  if (--c->users == 0) c.reset();
}

void vxResetObjectLinks(TObject* object) {
  auto& c = Controller();
  if (!c) return;
  for (size_t i = c->links.size(); i-- > 0;)
    if (c->links[i]->Ref == object) {
      c->links[i]->Ref = nullptr;
      c->links.erase(c->links.begin() + ptrdiff_t(i));
    }
}

int vxObjectLinkCount() { return Controller() ? Controller()->users : 0; }

// --- TvxFreeNotificator -------------------------------------------------------------------

void TvxFreeNotificator::Subscribe(TComponent* component) {
  if (component) component->FreeNotification(this);
}

void TvxFreeNotificator::Unsubscribe(TComponent* component) {
  if (component) component->RemoveFreeNotification(this);
}

void TvxFreeNotificator::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && OnFreeNotification) OnFreeNotification(component);
}

// --- Free helpers ---------------------------------------------------------------------------

int vxCharByteLength(std::string_view text, int position) {
  if (position < 1 || size_t(position) > text.size()) return 0;
  const size_t i = size_t(position - 1);
  return vdIsAnsiLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

String vxDescriptionDisplayName(std::string_view description) {
  return String(description.substr(0, description.find('|')));
}

int32_t vxRangeCenter(int32_t a, int32_t b) {
  const int64_t sum = int64_t(a) + b;
  return int32_t(sum >= 0 ? sum / 2 : (sum - 1) / 2);
}

// --- Module ---------------------------------------------------------------------------------

namespace {
int initCount = 0;
}

void vxClassesInitialize() {
  if (initCount++ > 0) return;
  StartClassGroup(TComponentClass());
  GroupDescendentsWith(TvxComponentClass(), TComponentClass());
  RegisterPersistentClass(TvxComponentClass());
}

void vxClassesFinalize() {
  if (--initCount == 0) UnregisterPersistentClass(TvxComponentClass());
}
