// The data-processing framework of the table database: the abstract
// compression and cipher algorithms that the modules implement, and the two
// managers through which a database file selects, by the names its header
// gives, the modules that encode and decode its field values.
//
// Cipher algorithms share one block loop: a value is carried through a
// 4096-byte buffer (a multiple of every cipher's block size, so only the last
// piece can end in a partial block) with a progress report per piece.
#pragma once

#include <concepts>
#include <functional>
#include <memory>

#include "platform/Components.h"
#include "platform/Streams.h"

using TOnProgressEvent = std::function<void(TObject* sender, int percent)>;

// round(done / total * 100) with halves going to the even neighbour; 0 when
// total is 0.
int ProgressPercent(int64_t done, int64_t total);

class TDataProcessAlgo : public TObject {
 public:
  // owner is passed back as Sender of the progress events.
  explicit TDataProcessAlgo(TObject* owner) : owner_(owner) {}
  const char* ClassName() const override { return "TDataProcessAlgo"; }

  TObject* Owner() const { return owner_; }

  // dataSize counts the bytes to process from the source's position; a
  // negative size means the whole source from its start.
  virtual void EncodeStream(TStream* source, TStream* target, int64_t dataSize) = 0;
  virtual void DecodeStream(TStream* source, TStream* target, int64_t dataSize) = 0;

  TOnProgressEvent OnEncodeProgress;
  TOnProgressEvent OnDecodeProgress;

 protected:
  void DoEncodeProgress(int percent);
  void DoDecodeProgress(int percent);

 private:
  TObject* owner_;
};

class TCompressAlgo : public TDataProcessAlgo {
 public:
  using TDataProcessAlgo::TDataProcessAlgo;
  const char* ClassName() const override { return "TCompressAlgo"; }

  virtual void SetLevel(uint8_t level) {}
  virtual uint8_t GetLevel() const { return 1; }
};

class TEncryptAlgo : public TDataProcessAlgo {
 public:
  using TDataProcessAlgo::TDataProcessAlgo;
  const char* ClassName() const override { return "TEncryptAlgo"; }

  // A nil target means the source itself.
  void EncodeStream(TStream* source, TStream* target, int64_t dataSize) override;
  void DecodeStream(TStream* source, TStream* target, int64_t dataSize) override;

  virtual void SetMode(uint8_t mode) {}
  virtual uint8_t GetMode() const { return 0; }
  virtual void InitKey(const String& key) = 0;
  // Rewinds the chaining state, so that the next value starts afresh.
  virtual void Done() {}
  // target may be source.
  virtual void EncodeBuffer(const void* source, void* target, int64_t count) = 0;
  virtual void DecodeBuffer(const void* source, void* target, int64_t count) = 0;

 private:
  void ProcessStream(TStream* source, TStream* target, int64_t dataSize, bool encode);
};

// A module class reference: creates a module object for an owner.
using TDataProcessAlgoClass = std::unique_ptr<TDataProcessAlgo> (*)(TObject* owner);

template <std::derived_from<TDataProcessAlgo> T>
std::unique_ptr<TDataProcessAlgo> NewAlgo(TObject* owner) {
  return std::make_unique<T>(owner);
}

class TModuleClassList;

class TDataProcessMgr : public TObject {
 public:
  // fileIO owns the manager and is the owner of the algorithms it creates.
  explicit TDataProcessMgr(TObject* fileIO) : fileIO_(fileIO) {}
  const char* ClassName() const override { return "TDataProcessMgr"; }

  // The name's position in this manager's registry, -1 when absent.
  virtual int CheckAlgoRegistered(const String& name) { return -1; }
  // Selects the module registered under the name (any letter case). An
  // algorithm of the same class is kept with its settings; an unknown name
  // raises and keeps the previous one.
  virtual void SetAlgoName(const String& name) = 0;
  // "General error" when no module is selected.
  virtual void EncodeStream(TStream* source, TStream* target, int64_t dataSize);
  virtual void DecodeStream(TStream* source, TStream* target, int64_t dataSize);

  // nullptr until a module is selected.
  TDataProcessAlgo* Algorithm() const { return algorithm_.get(); }

  // The file IO's progress relays, connected to every algorithm that this
  // manager creates when it has a file IO.
  TOnProgressEvent OnEncodeProgress;
  TOnProgressEvent OnDecodeProgress;

 protected:
  void SelectAlgorithm(const TModuleClassList& list, std::string_view notFoundFormat, const String& name);
  TDataProcessAlgo& CheckedAlgorithm() const;

 private:
  TObject* fileIO_;
  std::unique_ptr<TDataProcessAlgo> algorithm_;
  TDataProcessAlgoClass algorithmClass_ = nullptr;
};

class TCompressMgr : public TDataProcessMgr {
 public:
  using TDataProcessMgr::TDataProcessMgr;
  const char* ClassName() const override { return "TCompressMgr"; }

  int CheckAlgoRegistered(const String& name) override;
  void SetAlgoName(const String& name) override;
};

// Every cipher operation that reaches the algorithm ends the value with Done,
// so that each value is encrypted from the same starting state.
class TEncryptMgr : public TDataProcessMgr {
 public:
  using TDataProcessMgr::TDataProcessMgr;
  const char* ClassName() const override { return "TEncryptMgr"; }

  int CheckAlgoRegistered(const String& name) override;
  void SetAlgoName(const String& name) override;
  void EncodeStream(TStream* source, TStream* target, int64_t dataSize) override;
  void DecodeStream(TStream* source, TStream* target, int64_t dataSize) override;
  virtual void EncodeBuffer(const void* source, void* target, int64_t count);
  virtual void DecodeBuffer(const void* source, void* target, int64_t count);

  void SetMode(uint8_t mode);
  void InitKey(const String& key);
  void Done();

 private:
  TEncryptAlgo& Cipher() const;
};
