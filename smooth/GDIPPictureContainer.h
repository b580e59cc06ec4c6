// A component holding named pictures; other components (the splash's
// HTML renderer) find them by name without regard to case.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

class TGDIPPictureContainer : public TComponent {
 public:
  explicit TGDIPPictureContainer(TComponent* owner) : TComponent(owner) {}
  const char* ClassName() const override { return "TGDIPPictureContainer"; }

  // Stores a copy of picture under name (replacing one of the same name).
  void Add(const String& name, TBitmap* picture);
  // nullptr when no picture has that name.
  TBitmap* FindPicture(const String& name) const;
  int Count() const { return int(items_.size()); }

 private:
  struct Item {
    String Name;
    std::unique_ptr<TBitmap> Picture;
  };
  std::vector<Item> items_;
};
