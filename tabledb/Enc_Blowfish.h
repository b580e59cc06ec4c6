// Blowfish: 64-bit blocks read as two big-endian words, keys of 1 to 56
// bytes, 16 rounds; registered as "Blowfish".
#pragma once

#include "tabledb/EncryptBase.h"

class TEnc_Blowfish : public TEncrypt {
 public:
  static constexpr TEncryptContext kContext{8, 56, (18 + 4 * 256) * 4};

  TEnc_Blowfish() : TEncrypt(kContext) {}
  const char* ClassName() const override { return "TEnc_Blowfish"; }

  void Encode(uint8_t* block) override;
  void Decode(uint8_t* block) override;

 protected:
  void SetupKey(const uint8_t* key, int length) override;

 private:
  // The key schedule in the user buffer: P[18], then the four S-boxes.
  uint32_t* P() { return User(); }
  uint32_t* S() { return User() + 18; }
  void EncryptWords(uint32_t& l, uint32_t& r);
};

class TEncAlgo_Blowfish : public TEncAlgo_Base {
 public:
  explicit TEncAlgo_Blowfish(TObject* owner) : TEncAlgo_Base(owner, std::make_unique<TEnc_Blowfish>()) {}
  const char* ClassName() const override { return "TEncAlgo_Blowfish"; }
};
