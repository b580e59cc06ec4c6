// Algorithm bases, the cipher block loop and the two module managers.
#include "tabledb/DataProcess.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tabledb/TomeDBRegistry.h"

namespace {

// One piece of the cipher block loop: a multiple of every cipher's block.
constexpr int64_t kBlockLoopSize = 4096;

}  // namespace

int ProgressPercent(int64_t done, int64_t total) {
  if (total == 0) return 0;
  return int(std::nearbyint(double(done) / double(total) * 100.0));
}

void TDataProcessAlgo::DoEncodeProgress(int percent) {
  if (OnEncodeProgress) OnEncodeProgress(owner_, percent);
}

void TDataProcessAlgo::DoDecodeProgress(int percent) {
  if (OnDecodeProgress) OnDecodeProgress(owner_, percent);
}

void TEncryptAlgo::EncodeStream(TStream* source, TStream* target, int64_t dataSize) {
  ProcessStream(source, target, dataSize, true);
}

void TEncryptAlgo::DecodeStream(TStream* source, TStream* target, int64_t dataSize) {
  ProcessStream(source, target, dataSize, false);
}

void TEncryptAlgo::ProcessStream(TStream* source, TStream* target, int64_t dataSize, bool encode) {
  if (source == nullptr) return;
  if (target == nullptr) target = source;
  if (dataSize < 0) {
    dataSize = source->Size();
    source->SetPosition(0);
  }
  auto progress = [&](int64_t done, int64_t total) {
    int percent = ProgressPercent(done, total);
    encode ? DoEncodeProgress(percent) : DoDecodeProgress(percent);
  };

  progress(0, dataSize);
  try {
    std::vector<uint8_t> block(kBlockLoopSize);
    // Source and target may be one stream: each side keeps its own position.
    int64_t readPos = source->Position();
    int64_t writePos = target->Position();
    int64_t done = 0;
    while (done < dataSize) {
      source->SetPosition(readPos);
      int64_t n = source->Read(block.data(), std::min(dataSize - done, kBlockLoopSize));
      readPos = source->Position();
      if (n <= 0) break;
      if (encode)
        EncodeBuffer(block.data(), block.data(), n);
      else
        DecodeBuffer(block.data(), block.data(), n);
      target->SetPosition(writePos);
      target->WriteBuffer(block.data(), n);
      writePos = target->Position();
      done += n;
      progress(done, dataSize);
    }
  } catch (...) {
    progress(0, 0);
    throw;
  }
  progress(0, 0);
}

// --- Managers -------------------------------------------------------------------

void TDataProcessMgr::SelectAlgorithm(const TModuleClassList& list, std::string_view notFoundFormat,
                                      const String& name) {
  int index = CheckAlgoRegistered(name);
  if (index < 0) DatabaseErrorFmt(notFoundFormat, {name});
  TDataProcessAlgoClass algoClass = list.ClassAt(index);
  if (algorithm_ && algorithmClass_ == algoClass) return;
  algorithm_.reset();
  algorithmClass_ = nullptr;
  algorithm_ = algoClass(fileIO_);
  algorithmClass_ = algoClass;
  if (fileIO_) {
    algorithm_->OnEncodeProgress = OnEncodeProgress;
    algorithm_->OnDecodeProgress = OnDecodeProgress;
  }
}

TDataProcessAlgo& TDataProcessMgr::CheckedAlgorithm() const {
  if (!algorithm_) DatabaseError("General error");
  return *algorithm_;
}

void TDataProcessMgr::EncodeStream(TStream* source, TStream* target, int64_t dataSize) {
  CheckedAlgorithm().EncodeStream(source, target, dataSize);
}

void TDataProcessMgr::DecodeStream(TStream* source, TStream* target, int64_t dataSize) {
  CheckedAlgorithm().DecodeStream(source, target, dataSize);
}

int TCompressMgr::CheckAlgoRegistered(const String& name) { return CompressClassList().IndexOf(name); }

void TCompressMgr::SetAlgoName(const String& name) {
  SelectAlgorithm(CompressClassList(), "Compression algorithm module '%s' not found", name);
}

int TEncryptMgr::CheckAlgoRegistered(const String& name) { return EncryptClassList().IndexOf(name); }

void TEncryptMgr::SetAlgoName(const String& name) {
  SelectAlgorithm(EncryptClassList(), "Encryption algorithm module '%s' not found", name);
}

// The cipher registry holds TEncryptAlgo classes only, so the selected
// algorithm always is one.
TEncryptAlgo& TEncryptMgr::Cipher() const { return static_cast<TEncryptAlgo&>(CheckedAlgorithm()); }

namespace {

// Rewinds the chaining state even when the value fails half-way: a stale
// feedback would otherwise garble every value encrypted after it.
template <class Op>
void WithinValue(TEncryptAlgo& cipher, Op op) {
  try {
    op();
  } catch (...) {
    cipher.Done();
    throw;
  }
  cipher.Done();
}

}  // namespace

void TEncryptMgr::EncodeStream(TStream* source, TStream* target, int64_t dataSize) {
  WithinValue(Cipher(), [&] { TDataProcessMgr::EncodeStream(source, target, dataSize); });
}

void TEncryptMgr::DecodeStream(TStream* source, TStream* target, int64_t dataSize) {
  WithinValue(Cipher(), [&] { TDataProcessMgr::DecodeStream(source, target, dataSize); });
}

void TEncryptMgr::EncodeBuffer(const void* source, void* target, int64_t count) {
  TEncryptAlgo& cipher = Cipher();
  WithinValue(cipher, [&] { cipher.EncodeBuffer(source, target, count); });
}

void TEncryptMgr::DecodeBuffer(const void* source, void* target, int64_t count) {
  TEncryptAlgo& cipher = Cipher();
  WithinValue(cipher, [&] { cipher.DecodeBuffer(source, target, count); });
}

void TEncryptMgr::SetMode(uint8_t mode) { Cipher().SetMode(mode); }

void TEncryptMgr::InitKey(const String& key) { Cipher().InitKey(key); }

void TEncryptMgr::Done() { Cipher().Done(); }
