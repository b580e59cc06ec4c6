// A component holding named pictures; the splash's HTML renderer finds
// them by name, without regard to case, for its IMG tags.
#pragma once

#include <memory>

#include "platform/Collections.h"
#include "smooth/LuxGDIPPicture.h"

class TPictureItem : public TCollectionItem {
 public:
  explicit TPictureItem(TCollection* collection);
  const char* ClassName() const override { return "TPictureItem"; }
  // Another item's name, tag and picture; any other source raises.
  void Assign(const TPersistent* source) override;

  TLuxGDIPPicture* Picture() const { return picture_.get(); }
  // Copies the picture.
  void SetPicture(const TLuxGDIPPicture* picture) { picture_->Assign(picture); }
  const String& Name() const { return name_; }
  void SetName(const String& name) { name_ = name; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

 private:
  std::unique_ptr<TLuxGDIPPicture> picture_ = std::make_unique<TLuxGDIPPicture>();
  String name_;
  int tag_ = 0;
};

class TPictureCollection : public TOwnedCollection {
 public:
  explicit TPictureCollection(TPersistent* owner);
  const char* ClassName() const override { return "TPictureCollection"; }
  TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
  TPictureItem* Items(int index) const { return static_cast<TPictureItem*>(TCollection::Items(index)); }
};

class TGDIPPictureContainer : public TComponent {
 public:
  explicit TGDIPPictureContainer(TComponent* owner) : TComponent(owner) {}
  const char* ClassName() const override { return "TGDIPPictureContainer"; }

  // The picture of the first item named name (letter case aside); nullptr
  // when none is.
  virtual TLuxGDIPPicture* FindPicture(const String& name) const;

  TPictureCollection* Items() { return &items_; }
  void SetItems(const TPictureCollection* items) { items_.Assign(items); }
  String Version() const { return "1.0.0.0"; }
  void SetVersion(const String&) {}

 private:
  TPictureCollection items_{this};
};
