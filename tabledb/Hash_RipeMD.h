// RIPEMD-160 on the MD4 block frame.
#pragma once

#include "tabledb/Hash_MD.h"

class THash_RipeMD160 : public THash_MD4 {
 public:
  const char* ClassName() const override { return "THash_RipeMD160"; }

  const uint8_t* TestVector() const override;
  void Done() override;
  int DigestKeySize() const override { return 20; }

 protected:
  void Transform(const uint8_t* blocks, size_t count) override;

 private:
  void TransformBlock(const uint8_t* block);
};
