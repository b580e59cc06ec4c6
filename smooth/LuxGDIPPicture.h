// The picture of the smooth controls: it keeps an image file's bytes as
// they are and decodes them with GDI+ whenever it is measured or drawn, so
// it carries PNG with alpha, JPEG, GIF, TIFF, BMP and whatever else GDI+
// reads. Until the first decode, a picture loaded from a file reports the
// size written in the file's header.
#pragma once

#include "platform/ui/Graphics.h"
#include "smooth/LuxGDIPWrappers.h"

class TLuxGDIPPicture : public TGraphic {
 public:
  TLuxGDIPPicture() = default;
  const char* ClassName() const override { return "TLuxGDIPPicture"; }
  // Another picture's bytes; a platform graphic (or a TPicture's) saved in
  // its own file format; nil clears the picture.
  void Assign(const TPersistent* source) override;

  bool Empty() const override { return empty_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // The size is the image's own.
  void SetWidth(int) override {}
  void SetHeight(int) override {}

  // An empty stream changes nothing.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // Keeps the file's bytes whatever they are, and takes the size from the
  // header of the format its extension names; a file that cannot be read
  // leaves the picture empty.
  void LoadFromFile(const String& fileName);
  std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TLuxGDIPPicture>(); }

  // The picture's form data: exactly the image file's bytes.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);
  const TMemoryStream& Data() const { return data_; }

  // Decodes the image and takes its size; false when nothing was decoded.
  bool UpdateSize();
  void ReadSizeFromHeader(const String& fileName);

  // A BMP drawn transparent leaves out the colour at its bottom-left pixel
  // (tmAuto) or TransparentBitmapColor (tmFixed), at its natural size at
  // rect's corner; any other image is stretched into rect.
  void DrawToGraphics(TGPGraphics& graphics, const TRect& rect);
  // Fill with the image as a tiled texture.
  void FillPathWithTexture(TGPGraphics& graphics, TGPGraphicsPath& path);
  void FillRectWithTexture(TGPGraphics& graphics, const TGPRectF& rect);
  // A tiled texture brush of the image (it keeps its own copy of the
  // image); nullptr when the picture is empty or cannot be decoded.
  std::unique_ptr<TGPTextureBrush> CreateTextureBrush() const;

  TTransparentMode TransparentBitmapMode = tmAuto;
  TColor TransparentBitmapColor = 0xFFFFFF;

  // What the last decode for drawing found.
  int BitsPerPixel() const { return bitsPerPixel_; }
  bool HasAlpha() const { return hasAlpha_; }
  bool IsIndexed() const { return isIndexed_; }
  int32_t PixelFormat() const { return pixelFormat_; }

  TNotifyEvent OnClear;

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;

 private:
  class TDecoded;
  // Raises "Could not allocate memory for image" when the bytes find no memory.
  TDecoded Decode(bool asBitmap = false) const;
  bool HasData() const { return !empty_ && !data_.Bytes().empty(); }
  void FireClear();

  TMemoryStream data_;
  bool empty_ = true;
  int width_ = 0, height_ = 0;
  int bitsPerPixel_ = 0;
  bool hasAlpha_ = false, isIndexed_ = false;
  int32_t pixelFormat_ = 0;
};
