// How an image list travels in form data, for the stream descriptors of its
// classes. Portable, so that the reader can be fuzzed on the host with
// classes of the same shape:
//
//   list    "FormatVersion" (integer, 1 is written), "DesignInfo" (the
//           designer's position word), "ImageInfo" (a collection, written
//           when the list holds images; reading it rebuilds the list)
//   item    "Image" and "Mask" (stored bitmaps), "MaskColor" (unless clNone)
//   bitmap  "Data": vxReadBitmapData / vxWriteBitmapData
//
// List: SetFormatVersion, DesignInfo, SetDesignInfo, ImageInfo (a
// TCollection*), RebuildListFromImageInfo, Count. Item: StoredImage,
// StoredMask (TPersistent*), MaskColor, SetMaskColor. Bitmap: ReadData,
// WriteData, Empty.
#pragma once

#include <vector>

#include "platform/ClassRegistry.h"
#include "platform/FormStreams.h"

inline constexpr int32_t vxImageListNoMaskColor = 0x1FFFFFFF;  // clNone

template <class List>
void vxDefineImageListProperties(List& list, TFiler& filer) {
  filer.DefineProperty(
      "FormatVersion", [&list](TReader& r) { list.SetFormatVersion(r.ReadInteger()); },
      [](TWriter& w) { w.WriteInteger(1); }, true);
  filer.DefineProperty(
      "DesignInfo", [&list](TReader& r) { list.SetDesignInfo(r.ReadInteger()); },
      [&list](TWriter& w) { w.WriteInteger(list.DesignInfo()); }, true);
  filer.DefineProperty(
      "ImageInfo",
      [&list](TReader& r) {
        r.ReadCollection(*list.ImageInfo());
        list.RebuildListFromImageInfo();
      },
      [&list](TWriter& w) { w.WriteCollection(*list.ImageInfo()); }, list.Count() > 0);
}

template <class Item>
std::vector<TPropInfo> vxImageInfoItemProperties() {
  return {ObjectProp<Item>("Image", [](const Item& i) { return i.StoredImage(); }),
          ObjectProp<Item>("Mask", [](const Item& i) { return i.StoredMask(); }),
          IntegerProp<Item>(
              "MaskColor", [](const Item& i) { return int64_t(i.MaskColor()); },
              [](Item& i, int64_t v) { i.SetMaskColor(int32_t(v)); }, vxImageListNoMaskColor)};
}

template <class Bitmap>
void vxDefineBitmapData(Bitmap& bitmap, TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [&bitmap](TStream& s) { bitmap.ReadData(s); }, [&bitmap](TStream& s) { bitmap.WriteData(s); },
      !bitmap.Empty());
}
