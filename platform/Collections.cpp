#include "Collections.h"

// --- TCollectionItem ------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const { return collection_ ? collection_->items_.IndexOf(const_cast<TCollectionItem*>(this)) : -1; }

void TCollectionItem::SetIndex(int index) {
  int current = Index();
  if (current < 0 || current == index) return;
  collection_->MoveItem(current, index);
  Changed(true);
}

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

void TCollectionItem::Changed(bool allItems) {
  if (collection_) collection_->ItemChanged(allItems ? nullptr : this);
}

String TCollectionItem::GetDisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() const { return collection_; }

// --- TCollection ----------------------------------------------------------------------

TCollection::TCollection(TCollectionItemFactory factory) : factory_(std::move(factory)) {}

TCollection::~TCollection() {
  // The derived parts are gone: no Update or Notify can reach them now.
  updateCount_ = 1;
  while (Count() > 0) delete Items(Count() - 1);
}

TCollectionItem* TCollection::Add() {
  if (!factory_) throw EInvalidOperation("Collection of %s has no item factory", {ClassName()});
  TCollectionItem* item = factory_(this);
  // A factory that built its item outside any collection still hands it
  // to this one.
  item->SetCollection(this);
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) throw EListError("List index out of bounds (%d)", {index});
  BeginUpdate();
  TCollectionItem* item;
  try {
    item = Add();
    item->SetIndex(index);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (Count() == 0) return;
  BeginUpdate();
  try {
    while (Count() > 0) Delete(Count() - 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  if (!changePending_) return;
  changePending_ = false;
  Update(nullptr);
}

void TCollection::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (int i = 0; i < other->Count(); ++i) Add()->Assign(other->Items(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->id_ == id) return Items(i);
  return nullptr;
}

void TCollection::Changed() { ItemChanged(nullptr); }

void TCollection::ItemChanged(TCollectionItem* item) {
  if (updateCount_ > 0) {
    changePending_ = true;
    return;
  }
  Update(item);
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.Add(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, cnExtracting);
  items_.Remove(item);
  item->collection_ = nullptr;
  Changed();
}

void TCollection::MoveItem(int curIndex, int newIndex) { items_.Move(curIndex, newIndex); }
