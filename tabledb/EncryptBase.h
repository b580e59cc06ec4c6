// The block-cipher frame of the table database: a TEncrypt turns a password
// into a key, keeps an initialisation vector and a chaining state, and
// encodes or decodes buffers of any length in one of five chaining modes.
// An encrypted value is exactly as long as the plain one: no vector, padding
// or length is stored with it, so a final partial block is handled by each
// mode as described at TEncryptChainMode.
//
// TEncAlgo_Base puts a cipher behind the TEncryptAlgo interface of the
// data-processing framework.
#pragma once

#include <vector>

#include "tabledb/HashBase.h"
#include "tabledb/DataProcess.h"

// ErrorCode values.
enum : int32_t {
  errEncryptNotInitialized = 3,
  errEncryptInvalidMode = 4,
};

class EEncryptException : public Exception {
 public:
  EEncryptException(String message, int32_t code) : Exception(std::move(message)), code_(code) {}
  int32_t ErrorCode() const { return code_; }
  const char* ClassName() const override { return "EEncryptException"; }

 private:
  int32_t code_;
};

// The chaining modes, with B the block size, F the feedback, E the cipher:
//   ecmFeedbackXor  C = E(P xor F), F := F xor C; a tail of r < B bytes is
//                   P xor E(F) and F := F xor E(F)
//   ecmCBC          C = E(P xor F), F := C; a tail is P xor E(F), F kept
//   ecmCFB8, ecmOFB8  byte by byte: c = p xor E(F)[0], then F shifts left one
//                   byte and takes c (CFB) or E(F)[0] (OFB)
//   ecmECB          C = E(P); a tail stays plain
// The number is the mode byte stored in a database file.
enum TEncryptChainMode : uint8_t {
  ecmFeedbackXor = 0,
  ecmCBC = 1,
  ecmCFB8 = 2,
  ecmOFB8 = 3,
  ecmECB = 4,
};

struct TEncryptContext {
  int32_t BlockSize;  // bytes
  int32_t KeySize;    // the longest key in bytes
  int32_t UserSize;   // bytes of key schedule
};

// Flag bits.
enum : int {
  efKeyFromText = 0,   // set by InitKey
  efInitialized = 9,   // a key is installed
};

class TEncrypt : public TPersistent {
 public:
  explicit TEncrypt(const TEncryptContext& context);
  ~TEncrypt() override;
  TEncrypt(const TEncrypt&) = delete;
  TEncrypt& operator=(const TEncrypt&) = delete;
  const char* ClassName() const override { return "TEncrypt"; }

  const TEncryptContext& Context() const { return context_; }
  uint8_t Mode() const { return mode_; }
  // Raises EEncryptException (errEncryptInvalidMode) for a byte that names
  // no chaining mode: such a value would otherwise be stored unencrypted.
  void SetMode(uint8_t mode);
  bool Flag(int bit) const { return (flags_ >> bit) & 1; }
  void SetFlag(int bit, bool on);
  bool Initialized() const { return Flag(efInitialized); }

  // One block in place.
  virtual void Encode(uint8_t* block) = 0;
  virtual void Decode(uint8_t* block) = 0;

  // Installs a key of keyLength bytes (cut to KeySize, negative taken as 0)
  // and the vector: BlockSize bytes, or with nullptr the encryption of an
  // all-0xFF block under the new key.
  void Init(const void* key, int keyLength, const void* vector);
  // Installs the first bytes of the password's SHA digest as the key.
  void InitKey(const String& key, const void* vector);
  // Rewinds the chaining state to the vector; the key stays.
  void Done();
  // Wipes key, vector and chaining state; the cipher is uninitialised.
  void Protect();

  // Raise EEncryptException (errEncryptNotInitialized) before a key is
  // installed. target may be source.
  void EncodeBuffer(const void* source, void* target, int64_t count);
  void DecodeBuffer(const void* source, void* target, int64_t count);

  THash& Hash();

 protected:
  // Builds the key schedule in User() from a key already cut to KeySize.
  virtual void SetupKey(const uint8_t* key, int length) = 0;
  uint32_t* User() { return user_.data(); }

 private:
  void CheckKeySize(int& length);
  void InitVector(const void* vector);
  void EncryptFeedback();  // work := E(feedback)
  void ShiftFeedback(uint8_t in);
  [[noreturn]] void RaiseNotInitialized() const;

  TEncryptContext context_;
  uint8_t mode_ = ecmFeedbackXor;
  uint32_t flags_ = 0;
  std::unique_ptr<THash> hash_;
  std::vector<uint8_t> work_;
  std::vector<uint8_t> vector_;
  std::vector<uint8_t> feedback_;
  std::vector<uint32_t> user_;
};

class TEncAlgo_Base : public TEncryptAlgo {
 public:
  TEncAlgo_Base(TObject* owner, std::unique_ptr<TEncrypt> cipher)
      : TEncryptAlgo(owner), cipher_(std::move(cipher)) {}
  const char* ClassName() const override { return "TEncAlgo_Base"; }

  TEncrypt& Cipher() { return *cipher_; }

  void SetMode(uint8_t mode) override { cipher_->SetMode(mode); }
  uint8_t GetMode() const override { return cipher_->Mode(); }
  void InitKey(const String& key) override { cipher_->InitKey(key, nullptr); }
  void Done() override { cipher_->Done(); }
  void EncodeBuffer(const void* source, void* target, int64_t count) override {
    cipher_->EncodeBuffer(source, target, count);
  }
  void DecodeBuffer(const void* source, void* target, int64_t count) override {
    cipher_->DecodeBuffer(source, target, count);
  }

 private:
  std::unique_ptr<TEncrypt> cipher_;
};
