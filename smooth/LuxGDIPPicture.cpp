#include "smooth/LuxGDIPPicture.h"

#include <objidl.h>

#include <cstring>

#include "smooth/LuxGDIPPictureHeader.h"

// A decoded image with the stream that GDI+ keeps reading from while the
// image lives; both go together.
class TLuxGDIPPicture::TDecoded {
 public:
  TDecoded(IStream* stream, std::unique_ptr<TGPImage> image) : stream_(stream), image_(std::move(image)) {}
  TDecoded(TDecoded&& other) noexcept : stream_(other.stream_), image_(std::move(other.image_)) {
    other.stream_ = nullptr;
  }
  ~TDecoded() {
    image_.reset();
    if (stream_) stream_->Release();
  }
  // nullptr when GDI+ could not read the bytes.
  TGPImage* Image() const { return image_ && image_->NativeHandle() ? image_.get() : nullptr; }

 private:
  IStream* stream_;
  std::unique_ptr<TGPImage> image_;
};

TLuxGDIPPicture::TDecoded TLuxGDIPPicture::Decode(bool asBitmap) const {
  const SIZE_T size = data_.Bytes().size();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) throw Exception("Could not allocate memory for image");
  if (void* p = GlobalLock(memory)) {
    std::memcpy(p, data_.Bytes().data(), size);
    GlobalUnlock(memory);
  }
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
    GlobalFree(memory);
    return TDecoded(nullptr, nullptr);
  }
  std::unique_ptr<TGPImage> image;
  if (asBitmap) image = std::make_unique<TGPBitmap>(stream, false);
  else image = std::make_unique<TGPImage>(stream, false);
  return TDecoded(stream, std::move(image));
}

void TLuxGDIPPicture::FireClear() {
  if (OnClear) OnClear(this);
}

void TLuxGDIPPicture::Assign(const TPersistent* source) {
  empty_ = true;
  if (!source) {
    data_.Clear();
    Changed();
    FireClear();
    return;
  }
  const TGraphic* graphic = dynamic_cast<const TGraphic*>(source);
  if (auto* picture = dynamic_cast<const TPicture*>(source)) graphic = picture->Graphic();
  if (auto* other = dynamic_cast<const TLuxGDIPPicture*>(source)) {
    data_.Clear();
    data_.Write(other->data_.Bytes().data(), int64_t(other->data_.Bytes().size()));
    empty_ = data_.Size() == 0;
    Changed();
  } else if (graphic && !graphic->Empty()) {
    data_.Clear();
    const_cast<TGraphic*>(graphic)->SaveToStream(data_);
    empty_ = false;
    Changed();
  }
  UpdateSize();
}

void TLuxGDIPPicture::LoadFromStream(TStream& stream) {
  if (stream.Size() == 0) return;
  data_.Clear();
  data_.LoadFromStream(stream);
  empty_ = false;
  UpdateSize();
  Changed();
}

void TLuxGDIPPicture::SaveToStream(TStream& stream) { stream.Write(data_.Memory(), data_.Size()); }

void TLuxGDIPPicture::LoadFromFile(const String& fileName) {
  try {
    data_.LoadFromFile(fileName);
    empty_ = false;
    FireClear();
    ReadSizeFromHeader(fileName);
    Changed();
  } catch (const Exception&) {
    data_.Clear();
    empty_ = true;
  }
}

void TLuxGDIPPicture::ReadData(TStream& stream) {
  data_.Clear();
  data_.LoadFromStream(stream);
  if (data_.Size() > 0) {
    empty_ = false;
    UpdateSize();
  }
}

void TLuxGDIPPicture::WriteData(TStream& stream) { SaveToStream(stream); }

bool TLuxGDIPPicture::UpdateSize() {
  if (!HasData()) return false;
  TDecoded decoded = Decode();
  TGPImage* image = decoded.Image();
  if (!image) return false;
  width_ = int(image->Width());
  height_ = int(image->Height());
  return true;
}

// The header readers work on the bytes already held, not on the file again.
void TLuxGDIPPicture::ReadSizeFromHeader(const String& fileName) {
  if (!HasData()) return;
  const TPictureHeaderSize size = ReadHeaderSizeByExtension(fileName, data_.Bytes().data(), data_.Bytes().size());
  width_ = size.Width;
  height_ = size.Height;
}

void TLuxGDIPPicture::Draw(TCanvas& canvas, const TRect& rect) {
  if (!HasData()) return;
  TDecoded decoded = Decode();
  TGPImage* image = decoded.Image();
  if (!image) return;
  if (image->ImageFormatNumber() == ifBMP) {
    TBitmap bitmap;
    data_.Seek(0, soBeginning);
    bitmap.LoadFromStream(data_);
    bitmap.SetTransparentMode(tmAuto);
    bitmap.SetTransparent(true);
    canvas.Draw(rect.Left, rect.Top, &bitmap);
    return;
  }
  width_ = int(image->Width());
  height_ = int(image->Height());
  TGPGraphics graphics(canvas.Handle());
  graphics.DrawImage(image, float(rect.Left), float(rect.Top), float(rect.Width()), float(rect.Height()));
}

void TLuxGDIPPicture::DrawToGraphics(TGPGraphics& graphics, const TRect& rect) {
  if (!HasData()) return;
  TDecoded decoded = Decode();
  TGPImage* image = decoded.Image();
  if (!image) return;
  pixelFormat_ = image->PixelFormat();
  bitsPerPixel_ = PixelFormatBitsPerPixel(pixelFormat_);
  hasAlpha_ = PixelFormatHasAlpha(pixelFormat_);
  isIndexed_ = PixelFormatIsIndexed(pixelFormat_);
  width_ = int(image->Width());
  height_ = int(image->Height());
  if (image->ImageFormatNumber() == ifBMP && Transparent()) {
    ARGB key = ColorToOpaqueARGB(TransparentBitmapColor);
    if (TransparentBitmapMode != tmFixed) {
      TDecoded bitmap = Decode(true);
      if (bitmap.Image()) static_cast<TGPBitmap*>(bitmap.Image())->GetPixel(0, height_ - 1, key);
    }
    TGPImageAttributes attributes;
    attributes.SetColorKey(key, key);
    graphics.DrawImage(image, TGPRectF(float(rect.Left), float(rect.Top), float(width_), float(height_)), 0, 0,
                       float(width_), float(height_), UnitPixel, &attributes);
    return;
  }
  graphics.DrawImage(image, float(rect.Left), float(rect.Top), float(rect.Width()), float(rect.Height()));
}

std::unique_ptr<TGPTextureBrush> TLuxGDIPPicture::CreateTextureBrush() const {
  if (!HasData()) return nullptr;
  TDecoded decoded = Decode();
  if (!decoded.Image()) return nullptr;
  return std::make_unique<TGPTextureBrush>(decoded.Image(), WrapModeTile);
}

void TLuxGDIPPicture::FillPathWithTexture(TGPGraphics& graphics, TGPGraphicsPath& path) {
  if (auto brush = CreateTextureBrush()) graphics.FillPath(brush.get(), &path);
}

void TLuxGDIPPicture::FillRectWithTexture(TGPGraphics& graphics, const TGPRectF& rect) {
  if (auto brush = CreateTextureBrush()) graphics.FillRectangle(brush.get(), rect);
}
