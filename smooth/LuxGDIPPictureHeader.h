// Picture sizes read from the first bytes of an image file, without
// decoding it: what a picture reports between loading a file and its first
// decode. The readers work on the bytes in memory, check every offset
// against the data they are given, and give 0 x 0 when the data is not of
// their format or is cut before the size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct TPictureHeaderSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

TPictureHeaderSize ReadJpegHeaderSize(const uint8_t* data, size_t size);
TPictureHeaderSize ReadPngHeaderSize(const uint8_t* data, size_t size);
TPictureHeaderSize ReadBmpHeaderSize(const uint8_t* data, size_t size);
TPictureHeaderSize ReadTiffHeaderSize(const uint8_t* data, size_t size);
TPictureHeaderSize ReadGifHeaderSize(const uint8_t* data, size_t size);

// Chooses the reader by the file name's extension (".JPG", ".JPEG", ".PNG",
// ".BMP", ".TIF", ".TIFF", ".GIF", in any case); any other gives 0 x 0.
TPictureHeaderSize ReadHeaderSizeByExtension(std::string_view fileName, const uint8_t* data, size_t size);
