#include "smooth/GDIPPictureContainer.h"

TPictureItem::TPictureItem(TCollection* collection) : TCollectionItem(collection) {}

void TPictureItem::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TPictureItem*>(source);
  if (!other) throw EConvertError("Invalid class typecast");
  name_ = other->name_;
  tag_ = other->tag_;
  picture_->Assign(other->picture_.get());
}

TPictureCollection::TPictureCollection(TPersistent* owner)
    : TOwnedCollection(owner, [](TCollection* c) { return new TPictureItem(c); }) {}

TLuxGDIPPicture* TGDIPPictureContainer::FindPicture(const String& name) const {
  const String wanted = UpperCase(name);
  for (int i = 0; i < items_.Count(); ++i)
    if (UpperCase(items_.Items(i)->Name()) == wanted) return items_.Items(i)->Picture();
  return nullptr;
}
