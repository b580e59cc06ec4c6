// GOST 28147-89 in its basic form: 64-bit blocks as two little-endian words,
// a 256-bit key (shorter keys are zero-padded), 32 rounds, with the S-box set
// of the GOST R 34.11-94 test parameters; registered as "Gost".
#pragma once

#include "tabledb/EncryptBase.h"

class TEnc_Gost : public TEncrypt {
 public:
  static constexpr TEncryptContext kContext{8, 32, 32};

  TEnc_Gost() : TEncrypt(kContext) {}
  const char* ClassName() const override { return "TEnc_Gost"; }

  void Encode(uint8_t* block) override;
  void Decode(uint8_t* block) override;

 protected:
  void SetupKey(const uint8_t* key, int length) override;

 private:
  // The eight key words in the user buffer.
  uint32_t* Key() { return User(); }
  void Crypt(uint8_t* block, const int (&order)[32]);
};

class TEncAlgo_Gost : public TEncAlgo_Base {
 public:
  explicit TEncAlgo_Gost(TObject* owner) : TEncAlgo_Base(owner, std::make_unique<TEnc_Gost>()) {}
  const char* ClassName() const override { return "TEncAlgo_Gost"; }
};
