#include "smooth/GDIPPictureContainer.h"

void TGDIPPictureContainer::Add(const String& name, TBitmap* picture) {
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(picture);
  for (Item& item : items_)
    if (SameText(item.Name, name)) {
      item.Picture = std::move(copy);
      return;
    }
  items_.push_back(Item{name, std::move(copy)});
}

TBitmap* TGDIPPictureContainer::FindPicture(const String& name) const {
  for (const Item& item : items_)
    if (SameText(item.Name, name)) return item.Picture.get();
  return nullptr;
}
