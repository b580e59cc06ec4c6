// The "ZLIB" compression module: one field value at a time, through zlib.
//
// Stored form (little-endian):
//   Int32 n, then a zlib stream that inflates to exactly n bytes, or
//   Int32 -n, then the n plain bytes, when deflate did not make the value
//   smaller.
// An empty value is stored as no bytes at all.
#pragma once

#include "tabledb/DataProcess.h"

QE_DECLARE_EXCEPTION(EZlibError, Exception);
QE_DECLARE_EXCEPTION(ECompressionError, EZlibError);
QE_DECLARE_EXCEPTION(EDecompressionError, EZlibError);

class TCompAlgo_Zlib : public TCompressAlgo {
 public:
  explicit TCompAlgo_Zlib(TObject* owner) : TCompressAlgo(owner) {}
  const char* ClassName() const override { return "TCompAlgo_Zlib"; }

  // Both process the whole source (dataSize is not used) into a distinct
  // target, which they clear first. Decoding refuses a damaged value with
  // EReadError (the stream ends short of its size) or EDecompressionError
  // (anything else), leaving the target empty.
  void EncodeStream(TStream* source, TStream* target, int64_t dataSize) override;
  void DecodeStream(TStream* source, TStream* target, int64_t dataSize) override;
  // 0 best compression, 1 zlib's default, 2 and 3 best speed, any other
  // level stores without compressing.
  void SetLevel(uint8_t level) override { level_ = level; }
  uint8_t GetLevel() const override { return level_; }

 private:
  void Deflate(TStream& source, TStream& target);
  void Inflate(TStream& source, TStream& target, int32_t size);

  uint8_t level_ = 1;
  int64_t total_ = 0;  // input size of the running operation
};
