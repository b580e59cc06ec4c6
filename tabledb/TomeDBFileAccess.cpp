// Opening, locking, positioned access and field codecs of a database file.
#include "tabledb/TomeDBFileAccess.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <unordered_set>

#include "platform/Errors.h"
#include "platform/OsFiles.h"
#include "tabledb/Hash_SHA.h"
#include "tabledb/TomeDBBasics.h"

// --- TTomeDBFileStream ---------------------------------------------------------------

TTomeDBFileStream::TTomeDBFileStream(const String& fileName, int32_t baseOffset, uint32_t mode)
    : TFileStream(fileName, mode) {
  SetBaseOffset(baseOffset);
}

int64_t TTomeDBFileStream::Write(const void* buffer, int64_t count) {
  int64_t n = TFileStream::Write(buffer, count);
  flushed_ = false;
  return n;
}

int64_t TTomeDBFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (origin == soBeginning) offset += baseOffset_;
  return TFileStream::Seek(offset, origin) - baseOffset_;
}

int64_t TTomeDBFileStream::ReadAt(int64_t position, void* buffer, int64_t count) {
  return std::max<int64_t>(os::FileReadAt(Handle(), position + baseOffset_, buffer, count), 0);
}

int64_t TTomeDBFileStream::WriteAt(int64_t position, const void* buffer, int64_t count) {
  flushed_ = false;
  return std::max<int64_t>(os::FileWriteAt(Handle(), position + baseOffset_, buffer, count), 0);
}

void TTomeDBFileStream::SetBaseOffset(int32_t baseOffset) {
  baseOffset = std::max(baseOffset, 0);
  if (baseOffset == baseOffset_) return;
  baseOffset_ = baseOffset;
  Seek(0, soBeginning);
}

void TTomeDBFileStream::Flush() {
  os::FileFlush(Handle());
  flushed_ = true;
}

// --- Opening and closing ----------------------------------------------------------------

namespace {

constexpr int64_t kLockOffset = 1;
constexpr int64_t kLockLength = 1;
// Waiters queue on this byte: a process takes it before the lock byte and
// lets it go once it has the lock, so a holder that lets go of the lock
// cannot take it again while a waiter holds this one. It lies in the bytes
// after the file header that no reader uses, so that systems with mandatory
// locks refuse no read because of it.
constexpr int64_t kTurnOffset = 12;

// Every pause between two tries sleeps, so that waiters leave the processor
// to the holder. The next in line (the holder of the queue byte) tries the
// lock byte often, as it is let go soon. The others try the queue byte
// less often, each the more often the longer it has waited, so the queue
// byte goes to the process that has waited longest rather than to one that
// just let go of the lock.
constexpr auto kNextInLinePause = std::chrono::microseconds(50);
constexpr auto kQueuePause = std::chrono::microseconds(1000);
constexpr auto kShortestQueuePause = std::chrono::microseconds(100);

using TPauseRule = std::chrono::microseconds (*)(std::chrono::microseconds waited);

std::chrono::microseconds NextInLinePause(std::chrono::microseconds) { return kNextInLinePause; }

std::chrono::microseconds QueuePause(std::chrono::microseconds waited) {
  return std::max(kShortestQueuePause, kQueuePause / (1 + waited / kQueuePause));
}

// The policy's time: RetryCount pauses of WaitTime (none for RetryCount 0).
std::chrono::microseconds PolicyLimit(const TTomeLockPolicy& policy) {
  return std::chrono::milliseconds(int64_t(std::max(policy.WaitTime, 0)) * policy.RetryCount);
}

// Tries attempt until it succeeds, and false once the policy's time,
// counted from start, is spent.
bool TryUntil(const TTomeLockPolicy& policy, std::chrono::steady_clock::time_point start, TPauseRule pause,
              const std::function<bool()>& attempt) {
  using std::chrono::microseconds;
  const auto limit = PolicyLimit(policy);
  while (!attempt()) {
    const auto waited = std::chrono::duration_cast<microseconds>(std::chrono::steady_clock::now() - start);
    if (policy.RetryCount == 0)
      std::this_thread::sleep_for(pause(waited));
    else if (waited < limit)
      std::this_thread::sleep_for(std::min(pause(waited), limit - waited));
    else
      return false;
  }
  return true;
}

// A holder that let go while another waited steps back before it queues
// again: until another process has taken the lock and yet another holds
// the queue byte, or for at most kLongestStepBack (and half the policy's
// time), as the one that waited may have been the only one. So the queue
// byte passes to a process that was waiting rather than back to the one
// that just had the lock, however late the system lets the waiters run.
constexpr auto kLongestStepBack = std::chrono::milliseconds(20);

// True when another holds the byte (ours is let go again at once).
bool HeldByAnother(THandle handle, int64_t offset) {
  if (!os::FileLockRange(handle, offset, 1)) return true;
  os::FileUnlockRange(handle, offset, 1);
  return false;
}

void StepBack(const TTomeLockPolicy& policy, std::chrono::steady_clock::time_point start, THandle handle) {
  std::chrono::microseconds longest = kLongestStepBack;
  if (policy.RetryCount != 0) longest = std::min(longest, PolicyLimit(policy) / 2);
  bool lockTaken = false;
  while (std::chrono::steady_clock::now() - start < longest) {
    std::this_thread::sleep_for(kQueuePause);
    lockTaken = lockTaken || HeldByAnother(handle, kLockOffset);
    if (lockTaken && HeldByAnother(handle, kTurnOffset)) return;
  }
}

}  // namespace

TTomeDBFileIO::TTomeDBFileIO(TObject* database)
    : database_(database), compressMgr_(this), encryptMgr_(this) {
  // The managers hand these relays to every algorithm they create.
  auto relay = [this](TOnProgressEvent TTomeDBFileIO::*event) {
    return [this, event](TObject*, int percent) {
      if (this->*event) (this->*event)(database_, percent);
    };
  };
  compressMgr_.OnEncodeProgress = relay(&TTomeDBFileIO::OnCompressProgress);
  compressMgr_.OnDecodeProgress = relay(&TTomeDBFileIO::OnUncompressProgress);
  encryptMgr_.OnEncodeProgress = relay(&TTomeDBFileIO::OnEncryptProgress);
  encryptMgr_.OnDecodeProgress = relay(&TTomeDBFileIO::OnDecryptProgress);
}

TTomeDBFileIO::~TTomeDBFileIO() { Close(); }

TTomeLockPolicy TTomeDBFileIO::LockPolicy() const { return GetLockPolicy ? GetLockPolicy() : TTomeLockPolicy(); }

void TTomeDBFileIO::Open(const String& fileName, TTomeDBMediumType mediumType, int32_t baseOffset, bool readOnly,
                         bool exclusive) {
  if (IsOpen()) return;
  mediumType_ = mediumType;
  readOnlyRequested_ = readOnly;
  baseOffset_ = std::max(baseOffset, 0);
  try {
    if (mediumType == mtDisk)
      OpenDisk(fileName, readOnly, exclusive);
    else
      OpenMemory(fileName);
    // A writer that appends while we read would show us half its work.
    TTomeDBFileLock lock(*this);
    ReadFileHeader(fileName);
    fileName_ = fileName;
    ReadHeaders();
  } catch (...) {
    Close();
    throw;
  }
}

void TTomeDBFileIO::OpenDisk(const String& fileName, bool readOnly, bool exclusive) {
  if (!os::FileExists(fileName)) DatabaseErrorFmt("Cannot open file %s", {fileName});
  const int32_t attr = os::FileGetAttr(fileName);
  fileIsReadOnly_ = attr >= 0 && (attr & faReadOnly) != 0;
  const uint32_t access = fileIsReadOnly_ || readOnly ? fmOpenRead : fmOpenReadWrite;
  const uint32_t share = exclusive ? fmShareExclusive : fmShareDenyNone;
  ownedStream_ = std::make_unique<TTomeDBFileStream>(fileName, baseOffset_, access | share);
  stream_ = ownedStream_.get();
}

void TTomeDBFileIO::OpenMemory(const String& fileName) {
  if (!IsMemoryMediumName(fileName)) DatabaseErrorFmt("Invalid database name '%s'", {fileName});
  TMemoryStream* memory = MemoryMediumNameToStream(fileName);
  fileIsReadOnly_ = false;
  stream_ = memory;
}

// Read under the byte lock: on systems with mandatory locks another holder
// would keep the read out.
void TTomeDBFileIO::ReadFileHeader(const String& fileName) {
  uint8_t header[kFileHeaderSize];
  if (FileSize() < kFileHeaderSize) DatabaseErrorFmt("Database file '%s' is a invalid TomeDB", {fileName});
  ReadBuffer(header, 0, kFileHeaderSize);
  CheckFileHeader(header, fileName);
}

void TTomeDBFileIO::ReadHeaders() {
  if (FileSize() < kFirstDataPos) CorruptFile(fileName_, "the file ends inside its headers");
  ReadBuffer(extHeader_.Image.data(), kExtHeaderPos, kExtHeaderSize);
  if (extHeader_.CompressFlag()) compressMgr_.SetAlgoName(extHeader_.CompressName());
  if (extHeader_.EncryptFlag()) {
    encryptMgr_.SetAlgoName(extHeader_.CipherName());
    encryptMgr_.SetMode(extHeader_.CipherMode());
  }
  ReadBuffer(tableDir_.Image.data(), kTableDirPos, kTableDirSize);
  tableDir_.Validate(FileSize(), fileName_);
}

void TTomeDBFileIO::Close() {
  // A memory stream belongs to whoever registered it.
  DropWrites();
  ownedStream_.reset();
  stream_ = nullptr;
  cache_.Clear();
  cacheEnabled_ = false;
}

void TTomeDBFileIO::Flush() {
  if (auto* disk = dynamic_cast<TTomeDBFileStream*>(stream_)) disk->Flush();
}

bool TTomeDBFileIO::IsFlushed() const {
  if (auto* disk = dynamic_cast<const TTomeDBFileStream*>(stream_)) return disk->Flushed();
  return true;
}

// --- Password ----------------------------------------------------------------------------

bool TTomeDBFileIO::CheckPassword(const String& password) {
  if (!IsOpen()) return false;
  if (!extHeader_.EncryptFlag()) return true;
  if (HashText(NewHash<THash_SHA>, password) != extHeader_.PasswordDigest()) return false;
  std::lock_guard<TCriticalSection> guard(codecLock_);
  encryptMgr_.InitKey(password);
  return true;
}

// --- Byte lock ------------------------------------------------------------------------------

namespace {

THandle DiskHandle(TStream* stream) {
  auto* disk = dynamic_cast<TTomeDBFileStream*>(stream);
  return disk ? disk->Handle() : InvalidHandle;
}

}  // namespace

void TTomeDBFileIO::Lock() {
  const THandle handle = DiskHandle(stream_);
  if (handle == InvalidHandle) return;
  const TTomeLockPolicy policy = LockPolicy();
  const auto start = std::chrono::steady_clock::now();
  if (stepBack_) {
    stepBack_ = false;
    StepBack(policy, start, handle);
  }
  if (!TryUntil(policy, start, QueuePause, [&] { return os::FileLockRange(handle, kTurnOffset, 1); }))
    DatabaseError("Wait for unlock time out");
  const bool locked = TryUntil(policy, start, NextInLinePause,
                               [&] { return os::FileLockRange(handle, kLockOffset, kLockLength); });
  os::FileUnlockRange(handle, kTurnOffset, 1);
  if (!locked) DatabaseError("Wait for unlock time out");
  locked_ = true;
  knownSize_ = -1;
}

void TTomeDBFileIO::Unlock() {
  cacheEnabled_ = false;
  DropWrites();
  locked_ = false;
  knownSize_ = -1;
  const THandle handle = DiskHandle(stream_);
  if (handle == InvalidHandle) return;
  os::FileUnlockRange(handle, kLockOffset, kLockLength);
  // The queue byte held by another: a process waits for the lock.
  if (os::FileLockRange(handle, kTurnOffset, 1))
    os::FileUnlockRange(handle, kTurnOffset, 1);
  else
    stepBack_ = true;
}

// --- Collected writes ------------------------------------------------------------------------

void TTomeDBFileIO::CollectWrites() { collecting_ = locked_ && ownedStream_ != nullptr; }

bool TTomeDBFileIO::IssueWrites(bool commitIsEnough) {
  collecting_ = false;
  if (!commitIsEnough) {
    WritePending(wsLinks);
    return true;
  }
  WritePending(wsCommit);
  try {
    WriteRuns(pending_[wsLinks]);
  } catch (const EWriteError&) {
    cache_.Clear();  // it holds the bytes that did not reach the file
    return false;
  }
  return true;
}

void TTomeDBFileIO::WritePending(TTomeWriteStage last) {
  for (int stage = wsBody; stage <= last; ++stage) WriteRuns(pending_[stage]);
}

void TTomeDBFileIO::WriteRuns(std::vector<TPendingWrite>& pending) {
  if (pending.empty()) return;
  std::vector<TPendingWrite> writes = std::move(pending);
  pending.clear();
  // Runs of touching or overlapping ranges, in file order.
  std::vector<std::pair<int64_t, int64_t>> ranges;
  for (const TPendingWrite& w : writes) ranges.emplace_back(w.Position, w.Position + int64_t(w.Bytes.size()));
  std::sort(ranges.begin(), ranges.end());
  std::vector<TPendingWrite> runs;
  int64_t runEnd = -1;
  for (const auto& [from, to] : ranges) {
    if (runs.empty() || from > runEnd) {
      runs.push_back({from, {}});
      runEnd = from;
    }
    runEnd = std::max(runEnd, to);
    runs.back().Bytes.resize(size_t(runEnd - runs.back().Position));
  }
  // Later writes of overlapping bytes win, as they would have one by one.
  for (const TPendingWrite& w : writes) {
    auto run = std::upper_bound(runs.begin(), runs.end(), w.Position,
                                [](int64_t p, const TPendingWrite& r) { return p < r.Position; }) - 1;
    std::memcpy(run->Bytes.data() + (w.Position - run->Position), w.Bytes.data(), w.Bytes.size());
  }
  for (const TPendingWrite& run : runs)
    if (WriteAt(run.Bytes.data(), run.Position, int64_t(run.Bytes.size())) != int64_t(run.Bytes.size()))
      throw EWriteError("Stream write error");
}

void TTomeDBFileIO::OverlayHeldBack(void* buffer, int64_t position, int64_t count) const {
  for (int stage = wsCommit; stage <= wsLinks; ++stage)
    for (const TPendingWrite& w : pending_[stage]) {
      const int64_t from = std::max(position, w.Position);
      const int64_t to = std::min(position + count, w.Position + int64_t(w.Bytes.size()));
      if (from < to)
        std::memcpy(static_cast<uint8_t*>(buffer) + (from - position), w.Bytes.data() + (from - w.Position),
                    size_t(to - from));
    }
}

// Their bytes are in the read cache already, which must not keep them.
void TTomeDBFileIO::DropWrites() {
  collecting_ = false;
  bool any = false;
  for (auto& pending : pending_) {
    any = any || !pending.empty();
    pending.clear();
  }
  if (any) cache_.Clear();
}

// --- Positioned access -------------------------------------------------------------------

int64_t TTomeDBFileIO::FileSize() {
  if (!stream_) DatabaseError("Cannot perform this operation on a closed database");
  if (locked_ && knownSize_ >= 0) return knownSize_;
  // Every access names its position, so the stream's own need not be kept.
  const int64_t size = stream_->Seek(0, soEnd);
  if (locked_) knownSize_ = size;
  return size;
}

int64_t TTomeDBFileIO::ReadAt(void* buffer, int64_t position, int64_t count) {
  WritePending(wsBody);
  int64_t n;
  if (ownedStream_) {
    n = ownedStream_->ReadAt(position, buffer, count);
  } else {
    stream_->Seek(position, soBeginning);
    n = stream_->Read(buffer, count);
  }
  OverlayHeldBack(buffer, position, n);
  return n;
}

int64_t TTomeDBFileIO::WriteAt(const void* buffer, int64_t position, int64_t count) {
  if (ownedStream_) return ownedStream_->WriteAt(position, buffer, count);
  stream_->Seek(position, soBeginning);
  return stream_->Write(buffer, count);
}

void TTomeDBFileIO::ReadBuffer(void* buffer, int64_t position, int64_t count) {
  if (!stream_) DatabaseError("Cannot perform this operation on a closed database");
  if (count != 0 && ReadAt(buffer, position, count) != count) throw EReadError("Stream read error");
}

void TTomeDBFileIO::WriteBuffer(const void* buffer, int64_t position, int64_t count, TTomeWriteStage stage) {
  if (!stream_) DatabaseError("Cannot perform this operation on a closed database");
  if (position < 0 || position + count > kMaxFileSize)
    DatabaseErrorFmt("Database file '%s' cannot grow past 2 GB", {fileName_});
  if (count == 0) return;
  if (collecting_) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    pending_[stage].push_back({position, std::vector<uint8_t>(bytes, bytes + count)});
  } else if (WriteAt(buffer, position, count) != count) {
    throw EWriteError("Stream write error");
  }
  if (knownSize_ >= 0) knownSize_ = std::max(knownSize_, position + count);
  cache_.Write(buffer, position, count);
}

void TTomeDBFileIO::ReadStored(void* buffer, int64_t position, int64_t count) {
  if (!stream_) DatabaseError("Cannot perform this operation on a closed database");
  const auto readAt = [this](void* block, int64_t at, int64_t n) { return ReadAt(block, at, n); };
  // A range the file does not hold fails as a direct read does.
  if (!cacheEnabled_ || !cache_.Read(buffer, position, count, readAt)) ReadBuffer(buffer, position, count);
}

void TTomeDBFileIO::ReadTableHeader(int tableIndex, TTomeTableHeader& header) {
  if (tableIndex < 0 || tableIndex >= tableDir_.TableCount()) DatabaseError("General error");
  ReadBuffer(header.Image.data(), tableDir_.TablePos(tableIndex), kTableHeaderSize);
  try {
    header.Validate(FileSize(), fileName_);
  } catch (const EDatabaseError&) {
    const int32_t count = header.RecordCount();
    if (count <= 0) throw;
    const std::exception_ptr whole = std::current_exception();
    // Without the last record, whose chunks may not be written, and with
    // heads that point to it taken as pointing elsewhere.
    TTomeTableHeader without = header;
    without.SetRecordCount(count - 1);
    for (int j = 0; j < without.IndexCount() && j < kMaxIndexes; ++j)
      if (without.Head(j) == count - 1) without.SetHead(j, 0);
    try {
      without.Validate(FileSize(), fileName_);
    } catch (const EDatabaseError&) {
      std::rethrow_exception(whole);
    }
  }
}

void TTomeDBFileIO::WriteTableHeader(int tableIndex, const TTomeTableHeader& header, TTomeWriteStage stage) {
  if (tableIndex < 0 || tableIndex >= tableDir_.TableCount()) DatabaseError("General error");
  WriteBuffer(header.Image.data(), tableDir_.TablePos(tableIndex), kTableHeaderSize, stage);
}

void TTomeDBFileIO::GetTableNames(TStrings& names) {
  // A header read while another process appends may point past what that
  // process has written so far: read under the lock.
  std::optional<TTomeDBFileLock> lock;
  if (!locked_) lock.emplace(*this);
  names.BeginUpdate();
  try {
    names.Clear();
    TTomeTableHeader header;
    for (int i = 0; i < tableDir_.TableCount(); ++i) {
      ReadTableHeader(i, header);
      names.Add(header.Name());
    }
  } catch (...) {
    names.EndUpdate();
    throw;
  }
  names.EndUpdate();
}

void TTomeDBFileIO::ReadTabChain(int32_t first, int32_t count, int32_t itemSize, const String& what,
                                 TIntegerAry& chunkPositions,
                                 const std::function<void(const uint8_t*, int32_t, int32_t)>& take) {
  const int32_t chunkSize = 4 + kTabChunkItems * itemSize;
  const int64_t fileSize = FileSize();
  chunkPositions.assign(size_t(TabChunkCount(count)), 0);
  std::vector<uint8_t> chunk(static_cast<size_t>(chunkSize));
  std::unordered_set<int32_t> seen;
  int32_t pos = first;
  for (int32_t c = 0, done = 0; done < count; ++c) {
    // A chunk inside the headers, past the end, or met before is a broken
    // chain; the chunk count is bounded by the record count, so the walk
    // ends even on a cycle.
    if (pos < kFirstDataPos || int64_t(pos) + chunkSize > fileSize || !seen.insert(pos).second)
      CorruptFile(fileName_, Format("%s chunk %d at %d", {what, c, pos}));
    chunkPositions[size_t(c)] = pos;
    const int32_t n = std::min(kTabChunkItems, count - done);
    ReadBuffer(chunk.data(), pos, 4 + int64_t(n) * itemSize);
    take(chunk.data() + 4, done, n);
    done += n;
    pos = LoadInt32(chunk.data());
  }
}

// A record count read from the file decides no allocation by itself: a
// tab never holds more items than the file has room for.
static size_t TabCapacity(int32_t count, int32_t itemSize, int64_t fileSize) {
  return size_t(std::min<int64_t>(count, fileSize / itemSize));
}

void TTomeDBFileIO::ReadRecordTab(const TTomeTableHeader& header, const String& tableName, int32_t recordSize,
                                  TRecordTab& items, TIntegerAry& chunkPositions) {
  const int32_t count = header.RecordCount();
  const int64_t fileSize = FileSize();
  items.clear();
  items.reserve(TabCapacity(count, kRecordTabItemSize, fileSize));
  ReadTabChain(header.RecordTabPos(), count, kRecordTabItemSize, "table '" + header.Name() + "' record tab",
               chunkPositions, [&](const uint8_t* p, int32_t from, int32_t n) {
                 for (int32_t i = 0; i < n; ++i, p += kRecordTabItemSize) {
                   const TRecordTabItem item = LoadRecordTabItem(p);
                   if (item.DataPos < kFirstDataPos || int64_t(item.DataPos) + recordSize > fileSize)
                     CorruptFile(fileName_,
                                 Format("table '%s' record %d at %d", {tableName, from + i, item.DataPos}));
                   items.push_back(item.DataPos, item.Deleted != 0);
                 }
               });
}

bool TTomeDBFileIO::ReadIndexTab(const TTomeTableHeader& header, int index, TIntegerAry& chunkPositions,
                                 TIndexLinks& links, bool toDropped) {
  const int32_t count = header.RecordCount();
  const int32_t nextLimit = toDropped ? count + 1 : count;
  const String what = "table '" + header.Name() + "' index '" + header.Index(index).Name + "' tab";
  links.clear();
  // The links are kept from the first entry that leaves record order on.
  bool inOrder = header.Head(index) == 0;
  auto leaveOrder = [&](int32_t recNo) {
    inOrder = false;
    links.reserve(TabCapacity(count, kIndexTabEntrySize, FileSize()));
    for (int32_t k = 0; k < recNo; ++k) links.push_back(k + 1);
  };
  if (!inOrder) leaveOrder(0);
  ReadTabChain(header.IndexTabPos(index), count, kIndexTabEntrySize, what, chunkPositions,
               [&](const uint8_t* p, int32_t from, int32_t n) {
                 for (int32_t i = 0; i < n; ++i) {
                   const int32_t recNo = from + i;
                   const TIndexTabItem entry = LoadIndexTabItem(p + i * kIndexTabEntrySize);
                   if (entry.RecNo != recNo || entry.Next < -1 || entry.Next >= nextLimit)
                     CorruptFile(fileName_, Format("%s entry %d", {what, recNo}));
                   if (inOrder && entry.Next == (recNo + 1 < count ? recNo + 1 : -1)) continue;
                   if (inOrder) leaveOrder(recNo);
                   links.push_back(entry.Next);
                 }
               });
  return inOrder;
}

void TTomeDBFileIO::MarkRecordDeleted(int64_t itemPosition) {
  uint8_t item[kRecordTabItemSize];
  ReadBuffer(item, itemPosition, kRecordTabItemSize);
  item[4] = 1;
  WriteBuffer(item, itemPosition, kRecordTabItemSize);
}

// --- Field values ----------------------------------------------------------------------------

void TTomeDBFileIO::ReadFieldValue(TMemoryStream& target, int64_t position, bool compressed, bool encrypted,
                                   bool isBlob, int32_t width, const String& fieldName, const String& tableName) {
  TMemoryStream stored;
  if (isBlob) {
    uint8_t raw[kBlobDescriptorSize];
    ReadStored(raw, position, kBlobDescriptorSize);
    const TBlobDescriptor d = LoadBlobDescriptor(raw);
    ValidateBlobDescriptor(d, FileSize(), fileName_);
    stored.SetSize(d.DataSize);
    ReadStored(stored.Memory(), d.DataPos, d.DataSize);
    try {
      DecodeFieldStream(stored, target, compressed, encrypted);
    } catch (const EDatabaseError&) {
      throw;
    } catch (const Exception& e) {
      // The codec's own message ("error") says nothing of where.
      const String where = Format("position %d in '%s'", {int32_t(position), fileName_});
      if (fieldName.empty())
        DatabaseErrorFmt("Value at %s cannot be decoded: %s", {where, e.Message()});
      DatabaseErrorFmt("Value of field '%s' of table '%s' at %s cannot be decoded: %s",
                       {fieldName, tableName, where, e.Message()});
    }
    return;
  }
  if (!encrypted) {
    target.SetSize(width);
    ReadStored(target.Memory(), position, width);
    target.SetPosition(width);
    return;
  }
  stored.SetSize(width);
  ReadStored(stored.Memory(), position, width);
  DecodeFieldStream(stored, target, false, encrypted);
}

void TTomeDBFileIO::ReadFieldViaRecordTab(TMemoryStream& target, int64_t itemPosition, bool compressed,
                                          bool encrypted, bool isBlob, int32_t width, int32_t fieldOffset) {
  uint8_t raw[kRecordTabItemSize];
  ReadStored(raw, itemPosition, kRecordTabItemSize);
  ReadFieldValue(target, int64_t(LoadRecordTabItem(raw).DataPos) + fieldOffset, compressed, encrypted, isBlob,
                 width);
}

void TTomeDBFileIO::EncodeFieldStream(TMemoryStream& source, TMemoryStream& target, bool compressed,
                                      bool encrypted) {
  std::lock_guard<TCriticalSection> guard(codecLock_);
  source.SetPosition(0);
  if (&target != &source) target.Clear();
  if (!compressed && !encrypted) {
    if (&target != &source) target.CopyFrom(source, 0);
    return;
  }
  if (compressed) compressMgr_.EncodeStream(&source, &target, -1);
  if (!encrypted) return;
  if (!compressed) {
    encryptMgr_.EncodeStream(&source, &target, -1);
    return;
  }
  TMemoryStream packed;
  packed.CopyFrom(target, 0);
  target.Clear();
  encryptMgr_.EncodeStream(&packed, &target, -1);
}

void TTomeDBFileIO::DecodeFieldStream(TMemoryStream& source, TMemoryStream& target, bool compressed,
                                      bool encrypted) {
  std::lock_guard<TCriticalSection> guard(codecLock_);
  source.SetPosition(0);
  if (&target != &source) target.Clear();
  if (!compressed && !encrypted) {
    if (&target != &source) target.CopyFrom(source, 0);
    return;
  }
  if (encrypted) encryptMgr_.DecodeStream(&source, &target, -1);
  if (!compressed) return;
  if (!encrypted) {
    compressMgr_.DecodeStream(&source, &target, -1);
    return;
  }
  TMemoryStream plain;
  plain.CopyFrom(target, 0);
  target.Clear();
  compressMgr_.DecodeStream(&plain, &target, -1);
}

// A plain value is a copy, which needs no codec and so no codec lock.
void TTomeDBFileIO::EncodeFieldBuffer(const void* source, void* target, bool encrypted, int64_t count) {
  if (!encrypted) {
    if (source != target) std::memmove(target, source, size_t(count));
    return;
  }
  std::lock_guard<TCriticalSection> guard(codecLock_);
  encryptMgr_.EncodeBuffer(source, target, count);
}

void TTomeDBFileIO::DecodeFieldBuffer(const void* source, void* target, bool encrypted, int64_t count) {
  if (!encrypted) {
    if (source != target) std::memmove(target, source, size_t(count));
    return;
  }
  std::lock_guard<TCriticalSection> guard(codecLock_);
  encryptMgr_.DecodeBuffer(source, target, count);
}
