// The image list over comctl32, its collection of stored images and their
// form-stream properties.
#include "foundation/vxImageList.h"

#include <algorithm>
#include <vector>

#include "foundation/vdCore.h"
#include "foundation/vxGeometry.h"
#include "foundation/vxGraphics.h"
#include "foundation/vxGraphicsBlend.h"
#include "foundation/vxImageListStream.h"
#include "platform/FormStreams.h"
#include "platform/ui/StreamAdapter.h"

// --- TvxImageInfo ------------------------------------------------------------------

TvxImageInfo::TvxImageInfo() : image_(std::make_unique<TvxBitmap>()), mask_(std::make_unique<TvxBitmap>()) {}

TvxImageInfo::~TvxImageInfo() = default;

void TvxImageInfo::Assign(const TPersistent* source) {
  auto* info = dynamic_cast<const TvxImageInfo*>(source);
  if (!info) return TPersistent::Assign(source);
  AssignImage(info->Image());
  AssignMask(info->Mask());
  maskColor_ = info->MaskColor();
}

namespace {

void AssignBitmap(TvxBitmap& target, TBitmap* value) {
  if (!value) {
    target.SetSize(0, 0);
    return;
  }
  target.Assign(value);
  target.Handle();
}

}  // namespace

void TvxImageInfo::AssignImage(TBitmap* value) { AssignBitmap(*image_, value); }
void TvxImageInfo::AssignMask(TBitmap* value) { AssignBitmap(*mask_, value); }

// --- TvxImageInfoItem --------------------------------------------------------------

TvxImageInfoItem::TvxImageInfoItem(TCollection* collection)
    : TCollectionItem(collection), info_(std::make_unique<TvxImageInfo>()) {
  if (auto* infos = dynamic_cast<TvxImageInfoCollection*>(collection)) SetCompressData(infos->CompressData());
}

TvxImageInfoItem::~TvxImageInfoItem() = default;

void TvxImageInfoItem::Assign(const TPersistent* source) {
  auto* item = dynamic_cast<const TvxImageInfoItem*>(source);
  if (!item) return TCollectionItem::Assign(source);
  info_->Assign(item->ImageInfo());
}

TvxImageInfoItem* TvxImageInfoItem::CreateWithImage(TCollection* collection, TColor maskColor, TBitmap* mask,
                                                    TBitmap* image) {
  auto* item = new TvxImageInfoItem(collection);
  item->info_->AssignImage(image);
  item->info_->AssignMask(mask);
  item->info_->SetMaskColor(maskColor);
  return item;
}

bool TvxImageInfoItem::CompressData() const { return info_->Image()->CompressData() && info_->Mask()->CompressData(); }

void TvxImageInfoItem::SetCompressData(bool value) {
  if (value == CompressData()) return;
  info_->Image()->SetCompressData(value);
  info_->Mask()->SetCompressData(value);
}

// --- TvxImageInfoCollection --------------------------------------------------------

TvxImageInfoCollection::TvxImageInfoCollection(TvxImageList* owner)
    : TCollection([](TCollection* c) { return new TvxImageInfoItem(c); }), owner_(owner) {}

TPersistent* TvxImageInfoCollection::GetOwner() const { return owner_; }

void TvxImageInfoCollection::AppendItem(TBitmap* image, TBitmap* mask, TColor maskColor) {
  TvxImageInfoItem::CreateWithImage(this, maskColor, mask, image);
}

void TvxImageInfoCollection::MoveItem(int curIndex, int newIndex) { Items(curIndex)->SetIndex(newIndex); }

void TvxImageInfoCollection::DeleteItem(int index) {
  if (index == -1)
    Clear();
  else
    Delete(index);
}

void TvxImageInfoCollection::ApplyCompressData(bool value) {
  if (value == compressData_) return;
  compressData_ = value;
  for (int i = 0; i < Count(); ++i) Item(i)->SetCompressData(value);
}

// --- TvxImageList ------------------------------------------------------------------

TvxImageList::TvxImageList(TComponent* owner)
    : TComponent(owner), collection_(std::make_unique<TvxImageInfoCollection>(this)) {
  RecreateHandle();
}

TvxImageList::~TvxImageList() {
  for (TChangeLink* link : changeLinks_) link->sender_ = nullptr;
  DestroyHandle();
}

void TvxImageList::DestroyHandle() {
  if (handle_ && !shareImages_) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

void TvxImageList::RecreateHandle() {
  constexpr int kAllocBy = 4;
  DestroyHandle();
  handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, kAllocBy, kAllocBy);
  if (handle_ && bkColor_ != clNone) ImageList_SetBkColor(handle_, ColorToRGB(bkColor_));
}

void TvxImageList::SetBkColor(TColor value) {
  if (value == bkColor_) return;
  bkColor_ = value;
  if (handle_) ImageList_SetBkColor(handle_, value == clNone ? CLR_NONE : ColorToRGB(value));
  Change();
}

void TvxImageList::RegisterChanges(TChangeLink* link) {
  if (link->sender_ == this) return;
  if (link->sender_) link->sender_->UnRegisterChanges(link);
  link->sender_ = this;
  changeLinks_.push_back(link);
}

void TvxImageList::UnRegisterChanges(TChangeLink* link) {
  if (link->sender_ != this) return;
  link->sender_ = nullptr;
  std::erase(changeLinks_, link);
}

TChangeLink::~TChangeLink() {
  if (sender_) sender_->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(sender_);
}

void vxReplaceImageListField(TvxImageList* value, TvxImageList*& field, TChangeLink* changeLink,
                             TComponent* notifyComponent) {
  if (value == field) return;
  if (field) {
    if (notifyComponent) field->RemoveFreeNotification(notifyComponent);
    if (changeLink) field->UnRegisterChanges(changeLink);
  }
  field = value;
  if (value) {
    if (changeLink) value->RegisterChanges(changeLink);
    if (notifyComponent) value->FreeNotification(notifyComponent);
  }
  if (changeLink) changeLink->Change();
}

void TvxImageList::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  collection_->DeleteItem(-1);
  RecreateHandle();
  Change();
}

void TvxImageList::UnlockUpdate(bool forceChange) {
  if (lockCount_ > 0) --lockCount_;
  if (forceChange) Change();
}

void TvxImageList::Change() {
  if (lockCount_ > 0) return;
  // A link may leave the list while it is told.
  const std::vector<TChangeLink*> links = changeLinks_;
  for (TChangeLink* link : links)
    if (link->sender_ == this) link->Change();
  if (OnChange) OnChange(this);
}

int vxCellCountOfBitmap(TBitmap* bitmap, int width, int height) {
  // A list of width or height 0 holds its images whole.
  if (width <= 0 || height <= 0) return 1;
  if (bitmap->Width() % width != 0 || bitmap->Height() % height != 0) return 1;
  return std::max(1, (bitmap->Width() / width) * (bitmap->Height() / height));
}

void TvxImageList::RecordImageInfo(TBitmap* image, TBitmap* mask, TColor maskColor) {
  const int cells = vxCellCountOfBitmap(image, width_, height_);
  if (cells <= 1) {
    collection_->AppendItem(image, mask, maskColor);
    return;
  }
  const int columns = image->Width() / width_;
  for (int i = 0; i < cells; ++i) {
    const TPoint from((i % columns) * width_, (i / columns) * height_);
    TvxBitmap cell(width_, height_, image->PixelFormat());
    cell.CopyFromBitmapRect(image, cell.GetFullRect(), SRCCOPY, from);
    std::unique_ptr<TvxBitmap> maskCell;
    if (mask) {
      maskCell = std::make_unique<TvxBitmap>(width_, height_, mask->PixelFormat());
      maskCell->CopyFromBitmapRect(mask, maskCell->GetFullRect(), SRCCOPY, from);
    }
    collection_->AppendItem(&cell, maskCell.get(), maskColor);
    collection_->Item(collection_->Count() - 1)->ImageInfo()->Image()->Dormant();
  }
}

int TvxImageList::AddWithMask(TBitmap* image, TBitmap* mask) {
  LockUpdate();
  HBITMAP opaqueMask = nullptr;
  if (!mask) {
    // A monochrome bitmap of zero bytes: every pixel opaque.
    std::vector<uint8_t> zeros(size_t((width_ + 15) / 16 * 2) * size_t(std::max(height_, 1)), 0);
    opaqueMask = CreateBitmap(width_, height_, 1, 1, zeros.data());
  }
  const int index = ImageList_Add(handle_, image ? image->Handle() : nullptr, mask ? mask->Handle() : opaqueMask);
  if (opaqueMask) DeleteObject(opaqueMask);
  if (index != -1 && !synchronizing_ && image) RecordImageInfo(image, mask, clNone);
  UnlockUpdate(true);
  return index;
}

int TvxImageList::AddWithMaskColor(TBitmap* image, TColor maskColor) {
  if (maskColor == clNone) return AddWithMask(image, nullptr);
  LockUpdate();
  TBitmap copy;
  copy.Assign(image);
  const int index = ImageList_AddMasked(handle_, copy.Handle(), ColorToRGB(maskColor));
  if (index != -1 && !synchronizing_) RecordImageInfo(image, nullptr, maskColor);
  UnlockUpdate(true);
  return index;
}

void TvxImageList::SwapNativeImages(int a, int b) {
  // Through copies of both cells: Wine's ImageList_Copy with ILCF_SWAP
  // loses the pixels of 32-bit lists.
  TvxBitmap32 imageA, imageB;
  TvxBitmap maskA, maskB;
  ReadNativeImage(handle_, a, &imageA, &maskA);
  ReadNativeImage(handle_, b, &imageB, &maskB);
  ImageList_Replace(handle_, a, imageB.Handle(), maskB.Handle());
  ImageList_Replace(handle_, b, imageA.Handle(), maskA.Handle());
}

void TvxImageList::MoveImage(int curIndex, int newIndex) {
  if (curIndex == newIndex || curIndex < 0 || newIndex < 0 || curIndex >= Count() || newIndex >= Count()) return;
  LockUpdate();
  const int step = newIndex > curIndex ? 1 : -1;
  for (int i = curIndex; i != newIndex; i += step) SwapNativeImages(i, i + step);
  if (!synchronizing_ && curIndex < collection_->Count() && newIndex < collection_->Count())
    collection_->MoveItem(curIndex, newIndex);
  UnlockUpdate(true);
}

void TvxImageList::DeleteImage(int index) {
  LockUpdate();
  ImageList_Remove(handle_, index);
  if (!synchronizing_ && (index == -1 || index < collection_->Count())) collection_->DeleteItem(index);
  UnlockUpdate(true);
}

void TvxImageList::InsertImage(int index, TBitmap* image, TBitmap* mask) {
  if (index < 0 || index > Count()) return;
  LockUpdate();
  const int added = AddWithMask(image, mask);
  if (added != -1) {
    const int cells = vxCellCountOfBitmap(image, width_, height_);
    for (int i = 0; i < cells; ++i) MoveImage(added + i, index + i);
  }
  UnlockUpdate(true);
}

void TvxImageList::ReplaceImage(int index, TBitmap* image, TBitmap* mask) {
  LockUpdate();
  DeleteImage(index);
  InsertImage(index, image, mask);
  UnlockUpdate(true);
}

void TvxImageList::AddImageInfo(TvxImageInfo* info) {
  if (!info->Mask()->Empty())
    AddWithMask(info->Image(), info->Mask());
  else
    AddWithMaskColor(info->Image(), info->MaskColor());
}

void TvxImageList::AddFromImageList(TvxImageList* source, int first, int last) {
  LockUpdate();
  TvxImageInfo info;
  for (int i = std::max(first, 0); i <= last; ++i) {
    source->GetImageInfo(i, &info);
    AddImageInfo(&info);
  }
  UnlockUpdate(true);
}

void TvxImageList::Assign(const TPersistent* source) {
  auto* list = dynamic_cast<const TvxImageList*>(source);
  if (!list) return TComponent::Assign(source);
  if (list == this) return;
  LockUpdate();
  ClearImages();
  SetSize(list->Width(), list->Height());
  SetCompressData(list->CompressData());
  AddFromImageList(const_cast<TvxImageList*>(list), 0, list->Count() - 1);
  UnlockUpdate(true);
}

void TvxImageList::GetImageInfo(int index, TvxImageInfo* info) {
  if (index < 0 || index >= collection_->Count()) {
    info->AssignImage(nullptr);
    info->AssignMask(nullptr);
    info->SetMaskColor(clNone);
    return;
  }
  info->Assign(collection_->Item(index)->ImageInfo());
}

void TvxImageList::CopyStoredImage(int index, TBitmap* image, TBitmap* mask) {
  if (index < 0 || index >= collection_->Count()) return;
  TvxImageInfo* info = collection_->Item(index)->ImageInfo();
  if (info->Image()->PixelFormat() == pf32bit || vdOSFlags().OS9xFamily) {
    auto copy = [](TBitmap* from, TBitmap* to) {
      if (!to) return;
      to->SetSize(from->Width(), from->Height());
      if (!from->Empty()) vxPaintBitmapInto(to, from);
    };
    copy(info->Image(), image);
    copy(info->Mask(), mask);
  } else {
    ReadNativeImage(handle_, index, image, mask);
  }
  info->Image()->Dormant();
}

void TvxImageList::ReadNativeImage(HIMAGELIST handle, int index, TBitmap* image, TBitmap* mask) {
  IMAGEINFO native{};
  if (!handle || !ImageList_GetImageInfo(handle, index == -1 ? 0 : index, &native)) return;
  auto read = [&](HBITMAP source, TBitmap* into) {
    if (!into || !source) return;
    // The native list's bitmaps stay its own: work on a duplicate.
    TBitmap whole;
    whole.SetHandle(vxDuplicateImageHandle(source));
    if (index == -1) {
      into->Assign(&whole);
      return;
    }
    const TRect cell(native.rcImage);
    into->SetSize(cell.Width(), cell.Height());
    vxBitBltRect(into->Canvas()->Handle(), whole.Canvas()->Handle(), TRect(0, 0, cell.Width(), cell.Height()),
                 cell.TopLeft(), SRCCOPY);
    if (auto* vx = dynamic_cast<TvxBitmap*>(into)) vx->NotifyChanged();
  };
  read(native.hbmImage, image);
  read(native.hbmMask, mask);
}

int TvxImageList::NativePixelFormat(HIMAGELIST handle) {
  IMAGEINFO native{};
  if (!handle || !ImageList_GetImageInfo(handle, 0, &native)) return 0;
  BITMAP bm{};
  if (!GetObjectA(native.hbmImage, sizeof bm, &bm)) return 0;
  return bm.bmBitsPixel;
}

void TvxImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  DrawImageInRect(index, canvas, enabled, false, false, Bounds(x, y, width_, height_));
}

void TvxImageList::DrawImageInRect(int index, TCanvas* canvas, bool enabled, bool smooth, bool stretch,
                                   const TRect& r) {
  if (r.Width() == width_ && r.Height() == height_) stretch = false;
  const TRect glyphRect = stretch ? r : vxCenteredRect(r, width_, height_);
  if (alphaBlending_) {
    vxDrawGlyphOrImage(canvas->Handle(), glyphRect, r, true, clNone, nullptr, smooth,
                       enabled ? vxgdmNormal : vxgdmDisabled, index, this, nullptr);
    return;
  }
  DrawNative(index, canvas->Handle(), glyphRect.Left, glyphRect.Top);
}

void TvxImageList::DrawNative(int index, HDC dc, int x, int y) {
  static constexpr UINT kStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  auto native = [](TColor c) { return c == clNone ? CLR_NONE : c == clDefault ? CLR_DEFAULT : ColorToRGB(c); };
  const UINT style = kStyles[drawingStyle_] | (imageType_ == itMask ? ILD_MASK : 0);
  ImageList_DrawEx(handle_, index, dc, x, y, 0, 0, native(bkColor_), native(blendColor_), style);
}

void TvxImageList::RebuildImageInfoFromList() {
  collection_->BeginUpdate();
  collection_->DeleteItem(-1);
  for (int i = 0; i < Count(); ++i) {
    TvxBitmap32 image;
    TvxBitmap mask(0, 0, pf1bit);
    ReadNativeImage(handle_, i, &image, &mask);
    collection_->AppendItem(&image, &mask, clNone);
  }
  collection_->EndUpdate();
}

void TvxImageList::RebuildListFromImageInfo() {
  LockUpdate();
  synchronizing_ = true;
  ImageList_Remove(handle_, -1);
  for (int i = 0; i < collection_->Count(); ++i) {
    TvxImageInfo* info = collection_->Item(i)->ImageInfo();
    AddImageInfo(info);
    info->Image()->Dormant();
  }
  synchronizing_ = false;
  UnlockUpdate(true);
}

// --- Free functions ----------------------------------------------------------------

bool vxIsImageIndexValid(TvxImageList* images, int index) {
  return images && index >= 0 && index < images->Count();
}

void vxGetImageListImage(TvxImageList* images, int index, TBitmap* image, TBitmap* mask) {
  images->CopyStoredImage(index, image, mask);
}

bool vxImageListsHaveSameData(TvxImageList* a, TvxImageList* b) {
  if (a->Count() != b->Count()) return false;
  if (a->Count() == 0) return true;
  TMemoryStream streamA, streamB;
  auto write = [](TvxImageList* list, TMemoryStream& stream) {
    auto* adapter = new TStreamAdapter(stream, soReference);
    ImageList_Write(list->Handle(), adapter);
    adapter->Release();
  };
  write(a, streamA);
  write(b, streamB);
  return streamA.Bytes() == streamB.Bytes();
}

void TvxCanvas::DrawImageListImage(TvxImageList* images, int x, int y, int index, bool enabled) {
  images->Draw(Canvas(), x, y, index, enabled);
}

// --- Streaming -------------------------------------------------------------------

TClass TvxImageInfoItemClass() {
  static const TClassInfo info("TvxImageInfoItem", TCollectionItemClass(),
                               vxImageInfoItemProperties<TvxImageInfoItem>());
  return &info;
}

namespace {

using L = TvxImageList;

template <typename E>
TPropInfo ListEnum(String name, E (L::*get)() const, void (L::*set)(E), E def, std::vector<String> names) {
  return OrdinalProp<L>(
      std::move(name), TPropKind::Enum, [get](const L& l) { return int64_t((l.*get)()); },
      [set](L& l, int64_t v) { (l.*set)(E(v)); }, def, std::move(names));
}

TPropInfo ListColor(String name, TColor (L::*get)() const, void (L::*set)(TColor)) {
  return IntegerProp<L>(
      std::move(name), [get](const L& l) { return int64_t((l.*get)()); },
      [set](L& l, int64_t v) { (l.*set)(TColor(v)); }, clNone);
}

// Height and Width come before the images: a new size empties the list.
std::vector<TPropInfo> ImageListProperties() {
  return {ListColor("BlendColor", &L::BlendColor, &L::SetBlendColor),
          ListColor("BkColor", &L::BkColor, &L::SetBkColor),
          BooleanProp<L>(
              "CompressData", [](const L& l) { return l.CompressData(); },
              [](L& l, bool v) { l.SetCompressData(v); }, false),
          ListEnum("DrawingStyle", &L::DrawingStyle, &L::SetDrawingStyle, dsNormal,
                   {"dsFocus", "dsSelected", "dsNormal", "dsTransparent"}),
          IntegerProp<L>(
              "Height", [](const L& l) { return int64_t(l.Height()); },
              [](L& l, int64_t v) { l.SetSize(l.Width(), int(v)); }, 16),
          ListEnum("ImageType", &L::ImageType, &L::SetImageType, itImage, {"itImage", "itMask"}),
          BooleanProp<L>(
              "ShareImages", [](const L& l) { return l.ShareImages(); },
              [](L& l, bool v) { l.SetShareImages(v); }, false),
          IntegerProp<L>(
              "Width", [](const L& l) { return int64_t(l.Width()); },
              [](L& l, int64_t v) { l.SetSize(int(v), l.Height()); }, 16)};
}

}  // namespace

TClass TvxImageListClass() {
  static const TClassInfo info(
      "TvxImageList", TComponentClass(), ImageListProperties(),
      [](TComponent* owner) { return new TvxImageList(owner); },
      [](TPersistent& instance, TFiler& filer) {
        vxDefineImageListProperties(static_cast<TvxImageList&>(instance), filer);
      });
  return &info;
}

void vxRegisterImageListClasses() {
  vxRegisterBitmapClasses();
  RegisterPersistentClasses({TvxImageInfoItemClass(), TvxImageListClass()});
}
