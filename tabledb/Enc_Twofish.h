// Twofish as this database uses it: 128-bit blocks as four little-endian
// words, keys of 16, 24 or 32 bytes (shorter keys are zero-padded to the next
// of these), registered as "Twofish".
//
// Every file encrypted with this module depends on two departures from the
// published cipher, so they must stay:
// - the odd expanded-key words are ROL(A + (B shr 1), 9), where the published
//   schedule has A + 2B;
// - there are 30 rounds: 15 double rounds, the i-th using the subkey pairs
//   K(8+2i),K(9+2i) and then K(10+2i),K(11+2i), so that every pair from K10
//   to K37 serves twice.
#pragma once

#include "tabledb/EncryptBase.h"

class TEnc_Twofish : public TEncrypt {
 public:
  static constexpr TEncryptContext kContext{16, 32, (40 + 4 * 256) * 4};

  TEnc_Twofish() : TEncrypt(kContext) {}
  const char* ClassName() const override { return "TEnc_Twofish"; }

  void Encode(uint8_t* block) override;
  void Decode(uint8_t* block) override;

 protected:
  void SetupKey(const uint8_t* key, int length) override;

 private:
  // The key schedule in the user buffer: the 40 subkeys K, then the four
  // key-dependent S-boxes with the MDS matrix folded in.
  uint32_t* K() { return User(); }
  uint32_t* SBox() { return User() + 40; }
  uint32_t G(uint32_t x);
};

class TEncAlgo_Twofish : public TEncAlgo_Base {
 public:
  explicit TEncAlgo_Twofish(TObject* owner) : TEncAlgo_Base(owner, std::make_unique<TEnc_Twofish>()) {}
  const char* ClassName() const override { return "TEncAlgo_Twofish"; }
};
