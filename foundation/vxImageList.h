// The image list of the skinned control library: a native 32-bit masked
// image list (comctl32) that also keeps, for every image, its source
// bitmap, mask and mask colour in a collection. The collection is what
// travels in form data ("FormatVersion", "DesignInfo", "ImageInfo"), each
// bitmap optionally packed; drawing goes through the glyph renderer, so
// images with alpha and disabled images look like the library's glyphs.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "foundation/vxGraphicsBitmaps.h"
#include "platform/Collections.h"
#include "platform/Components.h"

class TvxImageInfo : public TPersistent {
 public:
  TvxImageInfo();
  ~TvxImageInfo() override;
  const char* ClassName() const override { return "TvxImageInfo"; }
  void Assign(const TPersistent* source) override;

  TvxBitmap* Image() const { return image_.get(); }
  TvxBitmap* Mask() const { return mask_.get(); }
  TColor MaskColor() const { return maskColor_; }
  void SetMaskColor(TColor color) { maskColor_ = color; }
  // Copies value into the owned bitmap; nullptr empties it.
  void AssignImage(TBitmap* value);
  void AssignMask(TBitmap* value);

 private:
  std::unique_ptr<TvxBitmap> image_, mask_;
  TColor maskColor_ = clNone;
};

class TvxImageInfoItem : public TCollectionItem {
 public:
  explicit TvxImageInfoItem(TCollection* collection);
  ~TvxImageInfoItem() override;
  const char* ClassName() const override { return "TvxImageInfoItem"; }
  void Assign(const TPersistent* source) override;
  static TvxImageInfoItem* CreateWithImage(TCollection* collection, TColor maskColor, TBitmap* mask, TBitmap* image);

  TvxImageInfo* ImageInfo() const { return info_.get(); }
  // What the item stores in form data.
  TPersistent* StoredImage() const { return info_->Image(); }
  TPersistent* StoredMask() const { return info_->Mask(); }
  TColor MaskColor() const { return info_->MaskColor(); }
  void SetMaskColor(TColor color) { info_->SetMaskColor(color); }
  bool CompressData() const;
  void SetCompressData(bool value);

 private:
  std::unique_ptr<TvxImageInfo> info_;
};

class TvxImageList;

class TvxImageInfoCollection : public TCollection {
 public:
  explicit TvxImageInfoCollection(TvxImageList* owner);
  const char* ClassName() const override { return "TvxImageInfoCollection"; }

  TvxImageInfoItem* Item(int index) const { return static_cast<TvxImageInfoItem*>(Items(index)); }
  void AppendItem(TBitmap* image, TBitmap* mask, TColor maskColor);
  void MoveItem(int curIndex, int newIndex);
  // -1 clears the collection.
  void DeleteItem(int index);
  bool CompressData() const { return compressData_; }
  void ApplyCompressData(bool value);

 protected:
  TPersistent* GetOwner() const override;

 private:
  TvxImageList* owner_;
  bool compressData_ = false;
};

// How a control learns that an image list it shows has changed: registered
// with the list, it is told after each change; it leaves the list when it
// is destroyed.
class TChangeLink {
 public:
  TChangeLink() = default;
  ~TChangeLink();
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  TvxImageList* Sender() const { return sender_; }
  // Calls OnChange with the list as sender.
  void Change();
  TNotifyEvent OnChange;

 private:
  friend class TvxImageList;
  TvxImageList* sender_ = nullptr;
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TvxImageList : public TComponent {
 public:
  explicit TvxImageList(TComponent* owner);
  ~TvxImageList() override;
  const char* ClassName() const override { return "TvxImageList"; }
  void Assign(const TPersistent* source) override;

  HIMAGELIST Handle() const { return handle_; }
  int Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size empties the list.
  void SetSize(int width, int height);
  bool CompressData() const { return collection_->CompressData(); }
  void SetCompressData(bool value) { collection_->ApplyCompressData(value); }
  // Colour of the native list's background; clNone: drawn transparent.
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);
  // The colour blended over images drawn focused or selected, when the
  // list draws natively (clNone: none, clDefault: the highlight).
  TColor BlendColor() const { return blendColor_; }
  void SetBlendColor(TColor value) { SetAndChange(blendColor_, value); }
  TDrawingStyle DrawingStyle() const { return drawingStyle_; }
  void SetDrawingStyle(TDrawingStyle value) { SetAndChange(drawingStyle_, value); }
  // itMask: native draws show the masks.
  TImageType ImageType() const { return imageType_; }
  void SetImageType(TImageType value) { SetAndChange(imageType_, value); }
  // True: the native list belongs to whoever shares it; this list never
  // destroys it.
  bool ShareImages() const { return shareImages_; }
  void SetShareImages(bool value) { shareImages_ = value; }
  TvxImageInfoCollection* ImageInfo() const { return collection_.get(); }
  // The designer's position word of the component.
  int32_t DesignInfo() const { return designInfo_; }
  void SetDesignInfo(int32_t value) { designInfo_ = value; }
  int FormatVersion() const { return formatVersion_; }
  void SetFormatVersion(int value) { formatVersion_ = value; }

  // Adding and changing images; each returns after one change notification.
  int AddWithMask(TBitmap* image, TBitmap* mask);
  int AddWithMaskColor(TBitmap* image, TColor maskColor);
  void MoveImage(int curIndex, int newIndex);
  // -1 deletes all.
  void DeleteImage(int index);
  void ClearImages() { DeleteImage(-1); }
  void InsertImage(int index, TBitmap* image, TBitmap* mask);
  void ReplaceImage(int index, TBitmap* image, TBitmap* mask);
  void AddImageInfo(TvxImageInfo* info);
  void AddFromImageList(TvxImageList* source, int first, int last);

  // Reading images.
  void GetImageInfo(int index, TvxImageInfo* info);
  void CopyStoredImage(int index, TBitmap* image, TBitmap* mask);
  // Image index of the native list handle (-1: the whole strip) into image
  // and mask.
  static void ReadNativeImage(HIMAGELIST handle, int index, TBitmap* image, TBitmap* mask);
  static int NativePixelFormat(HIMAGELIST handle);
  bool BitmapsHave32Bits() const { return NativePixelFormat(handle_) >= 32; }

  // Drawing.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void DrawImageInRect(int index, TCanvas* canvas, bool enabled, bool smooth, bool stretch, const TRect& r);

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);

  void LockUpdate() { ++lockCount_; }
  void UnlockUpdate(bool forceChange = true);
  TNotifyEvent OnChange;

  // The collection from the native images, and the native images from the
  // collection (after reading "ImageInfo").
  void RebuildImageInfoFromList();
  void RebuildListFromImageInfo();

 protected:
  void Change();

 private:
  void RecreateHandle();
  void DestroyHandle();
  // The ILD_ flags and colours of a native draw.
  void DrawNative(int index, HDC dc, int x, int y);
  template <typename T>
  void SetAndChange(T& field, T value) {
    if (field == value) return;
    field = value;
    Change();
  }
  void SwapNativeImages(int a, int b);
  void RecordImageInfo(TBitmap* image, TBitmap* mask, TColor maskColor);

  HIMAGELIST handle_ = nullptr;
  int width_ = 16, height_ = 16;
  std::unique_ptr<TvxImageInfoCollection> collection_;
  bool alphaBlending_ = true;
  int lockCount_ = 0;
  bool synchronizing_ = false;
  int formatVersion_ = 0;
  int32_t designInfo_ = 0;
  TColor bkColor_ = clNone;
  TColor blendColor_ = clNone;
  TDrawingStyle drawingStyle_ = dsNormal;
  TImageType imageType_ = itImage;
  bool shareImages_ = false;
  std::vector<TChangeLink*> changeLinks_;
};

// Cells of width x height a bitmap holds: 1 unless its size is a multiple.
int vxCellCountOfBitmap(TBitmap* bitmap, int width, int height);
bool vxImageListsHaveSameData(TvxImageList* a, TvxImageList* b);
// images is given and 0 <= index < its count.
bool vxIsImageIndexValid(TvxImageList* images, int index);
void vxGetImageListImage(TvxImageList* images, int index, TBitmap* image, TBitmap* mask);
// Points field at value: the old list forgets notifyComponent and
// changeLink, the new one gets both, and changeLink fires once. Nothing
// when field already holds value. changeLink and notifyComponent may be
// nullptr.
void vxReplaceImageListField(TvxImageList* value, TvxImageList*& field, TChangeLink* changeLink,
                             TComponent* notifyComponent);

// Stream descriptors: the list with "FormatVersion", "DesignInfo" and
// "ImageInfo", and the collection's items with Image, Mask and MaskColor.
TClass TvxImageListClass();
TClass TvxImageInfoItemClass();
void vxRegisterImageListClasses();
