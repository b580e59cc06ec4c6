// SHA-0 (and SHA-1) on the MD4 block frame, big-endian.
//
// The database hashes passwords with the rotate flag off, which is SHA-0:
// every stored password digest and every cipher key depends on it. With the
// flag on, the message schedule rotates by one bit and the digest is SHA-1.
#pragma once

#include "tabledb/Hash_RipeMD.h"

class THash_SHA : public THash_RipeMD160 {
 public:
  const char* ClassName() const override { return "THash_SHA"; }

  const uint8_t* TestVector() const override;
  void Done() override;

  bool Rotate() const { return rotate_; }
  void SetRotate(bool rotate) { rotate_ = rotate; }

 protected:
  void Transform(const uint8_t* blocks, size_t count) override;

 private:
  bool rotate_ = false;
};

// The block function in use (see THashEngine). Selecting returns false,
// changing nothing, when the processor lacks the engine.
THashEngine ShaEngine();
bool SelectShaEngine(THashEngine engine);
