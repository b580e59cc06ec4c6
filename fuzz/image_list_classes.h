// Classes of the image list's shape for the host, where the list and its
// bitmaps (system objects) do not exist: they go through the same stream
// descriptors and readers as the list itself and keep what they read in
// memory, the bitmaps as decoded rows.
#pragma once

#include "foundation/vxGraphicsPacked.h"
#include "foundation/vxImageListStream.h"
#include "platform/BitmapFile.h"
#include "platform/Collections.h"

namespace image_list_fuzz {

class StoredBitmap : public TPersistent {
 public:
  const char* ClassName() const override { return "TvxBitmap"; }
  bool Empty() const { return info.Width == 0; }
  void ReadData(TStream& stream) {
    vxReadBitmapData(stream, [this](TStream* file) {
      info = TBitmapFileInfo();
      rows.clear();
      if (!file) return;
      info = ReadBitmapFileInfo(*file);
      rows.resize(size_t(info.RowBytes() * info.Height));
      ReadBitmapFileRows(*file, info, rows.data(), info.RowBytes());
    });
  }
  void WriteData(TStream& stream) {
    TMemoryStream file;
    if (!Empty()) WriteBitmapFile(file, info, rows.data(), info.RowBytes());
    vxWriteBitmapData(stream, file.Memory(), size_t(file.Size()), packBlockSize);
  }

  TBitmapFileInfo info;
  std::vector<uint8_t> rows;  // top row first, RowBytes() apart
  int packBlockSize = 0;      // 0: written as it is
};

class StoredItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  const char* ClassName() const override { return "TvxImageInfoItem"; }
  TPersistent* StoredImage() const { return const_cast<StoredBitmap*>(&image); }
  TPersistent* StoredMask() const { return const_cast<StoredBitmap*>(&mask); }
  int32_t MaskColor() const { return maskColor; }
  void SetMaskColor(int32_t color) { maskColor = color; }

  StoredBitmap image, mask;
  int32_t maskColor = vxImageListNoMaskColor;
};

class StoredList : public TComponent {
 public:
  using TComponent::TComponent;
  const char* ClassName() const override { return "TvxImageList"; }
  void SetFormatVersion(int version) { formatVersion = version; }
  int32_t DesignInfo() const { return designInfo; }
  void SetDesignInfo(int32_t value) { designInfo = value; }
  TCollection* ImageInfo() { return &items; }
  void RebuildListFromImageInfo() {}
  int Count() const { return items.Count(); }

  TCollection items{[](TCollection* c) { return new StoredItem(c); }};
  int formatVersion = 0;
  int32_t designInfo = 0;
};

inline void RegisterClasses() {
  static const TClassInfo bitmapClass("TvxBitmap", TPersistentClass(), {}, {}, [](TPersistent& i, TFiler& f) {
    vxDefineBitmapData(static_cast<StoredBitmap&>(i), f);
  });
  static const TClassInfo itemClass("TvxImageInfoItem", TCollectionItemClass(),
                                    vxImageInfoItemProperties<StoredItem>());
  static const TClassInfo listClass(
      "TvxImageList", TComponentClass(), {}, [](TComponent* owner) { return new StoredList(owner); },
      [](TPersistent& i, TFiler& f) { vxDefineImageListProperties(static_cast<StoredList&>(i), f); });
  RegisterPersistentClasses({&bitmapClass, &itemClass, &listClass});
}

inline std::vector<uint8_t> Written(StoredList& list) {
  TMemoryStream s;
  TWriter(s).WriteRootComponent(list);
  return s.Bytes();
}

}  // namespace image_list_fuzz
