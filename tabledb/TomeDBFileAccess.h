// Access to one database file: opening it with its checks, the password
// check, the byte lock that serialises table loads and record writes between
// processes, positioned reads and writes of the stored structures, and the
// codecs that turn plain field values into their stored form and back.
//
// The byte lock is one byte at file offset 1, shared by every process (and
// every open file object of one process) that uses the file. It is not
// re-entrant: each user pairs Lock and Unlock (TTomeDBFileLock does).
//
// Every stored position and count read through this object is checked
// against the file's size before it is used; a file that fails a check is
// refused with the "Corrupt file" database error.
#pragma once

#include <functional>
#include <memory>

#include "platform/Lists.h"
#include "platform/Streams.h"
#include "platform/Threads.h"
#include "tabledb/DataProcess.h"
#include "tabledb/TomeDBFileCache.h"
#include "tabledb/TomeDBFileFormat.h"

// The disk stream under a database: a file stream whose positions start at
// a base offset, and that knows whether it was written since its last flush.
class TTomeDBFileStream : public TFileStream {
 public:
  TTomeDBFileStream(const String& fileName, int32_t baseOffset, uint32_t mode);
  const char* ClassName() const override { return "TTomeDBFileStream"; }

  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // Positioned transfers, one system call each, relative to the base offset
  // like Seek. They leave the stream's position undefined. The same counts
  // as Read and Write: short at the end of the file or on an error.
  int64_t ReadAt(int64_t position, void* buffer, int64_t count);
  int64_t WriteAt(int64_t position, const void* buffer, int64_t count);
  // A negative offset becomes 0; a changed one seeks to position 0.
  void SetBaseOffset(int32_t baseOffset);
  // Asks the system to write the file's buffers to disk.
  void Flush();
  bool Flushed() const { return flushed_; }

 private:
  int32_t baseOffset_ = 0;
  bool flushed_ = true;
};

// When a collected write goes out; see TTomeDBFileIO::CollectWrites.
enum TTomeWriteStage { wsBody, wsCommit, wsLinks };

// How long a lock waits for another holder: as long as RetryCount further
// tries WaitTime milliseconds apart would take (RetryCount 0: no limit).
// The owning database takes them from its session.
struct TTomeLockPolicy {
  int32_t RetryCount = 20;
  int32_t WaitTime = 100;
};

class TTomeDBFileIO : public TObject {
 public:
  // database is the owner reported as Sender by the progress events.
  explicit TTomeDBFileIO(TObject* database);
  ~TTomeDBFileIO() override;
  TTomeDBFileIO(const TTomeDBFileIO&) = delete;
  TTomeDBFileIO& operator=(const TTomeDBFileIO&) = delete;
  const char* ClassName() const override { return "TTomeDBFileIO"; }

  // Does nothing when a stream is open. On failure nothing stays open.
  // mtMemory names a registered memory stream (":" and its id in hex).
  void Open(const String& fileName, TTomeDBMediumType mediumType, int32_t baseOffset, bool readOnly,
            bool exclusive);
  void Close();
  bool IsOpen() const { return stream_ != nullptr; }
  void Flush();
  bool IsFlushed() const;

  const String& FileName() const { return fileName_; }
  TTomeDBMediumType MediumType() const { return mediumType_; }
  // The file's read-only attribute as found at open.
  bool FileIsReadOnly() const { return fileIsReadOnly_; }
  // No write is possible: read-only requested or the attribute set.
  bool IsReadOnly() const { return fileIsReadOnly_ || readOnlyRequested_; }
  const TTomeExtensionHeader& ExtensionHeader() const { return extHeader_; }
  const TTomeTableDirectory& TableDirectory() const { return tableDir_; }

  // True for any password when the file is not encrypted. A right password
  // becomes the cipher key; a wrong one leaves the key as it was.
  bool CheckPassword(const String& password);

  // Takes the byte lock, waiting as GetLockPolicy says; EDatabaseError
  // "Wait for unlock time out" when the time runs out. Waiters take it in
  // turns: a holder that lets go cannot take it again before a process that
  // was waiting for it has had it. Nothing happens for a closed file or a
  // memory stream.
  void Lock();
  void Unlock();
  // Where the lock policy comes from; empty: the defaults.
  std::function<TTomeLockPolicy()> GetLockPolicy;

  // Table headers, checked on reading (EDatabaseError "General error" for a
  // table index outside the directory). A header whose last record is
  // unfinished passes when it is sound without that record; the table's
  // load drops the record.
  void ReadTableHeader(int tableIndex, TTomeTableHeader& header);
  void WriteTableHeader(int tableIndex, const TTomeTableHeader& header, TTomeWriteStage stage = wsCommit);
  // Clears the list and adds every table's name in directory order, under
  // the lock (taken here when not held).
  void GetTableNames(TStrings& names);

  // Asks the system once per taking of the lock: while the lock is held
  // only this object's writes change the size.
  int64_t FileSize();
  // Always reads the file (after issuing the collected writes).
  void ReadBuffer(void* buffer, int64_t position, int64_t count);
  // Refuses, before writing, a write that would end past 2 GiB. Cached
  // bytes take the written values. The stage says when a collected write
  // goes out (see CollectWrites); uncollected writes go out at once.
  void WriteBuffer(const void* buffer, int64_t position, int64_t count, TTomeWriteStage stage = wsBody);

  // With the lock held on a disk file, the writes between these two calls
  // are collected and issued together by IssueWrites before the lock can be
  // released: first every wsBody write, then every wsCommit write, then
  // every wsLinks write, each stage in file order with touching ranges
  // merged into one system call. So the commit point (the table header
  // with its record count) reaches the file only after everything it
  // points to, and a writer that dies or fails before it leaves the table
  // as it was. A read issues the collected wsBody writes first and sees the
  // later stages' bytes over the file's. When the lock is released with
  // writes still collected (an operation that failed half-way), they are
  // dropped and the read cache emptied.
  void CollectWrites();
  // Throws when a write fails, except that with commitIsEnough a failure
  // of the wsLinks writes returns false (the read cache emptied): the
  // commit point is in the file and readers make the links themselves.
  bool IssueWrites(bool commitIsEnough = false);

  // The read cache (TomeDBFileCache.h). While it is on, ReadStored and the
  // field value reads below serve bytes from it. Whoever turns it on holds
  // the lock and knows that nobody else wrote what it will read since the
  // cache was filled, else clears it first; it goes off with the lock.
  void SetReadCacheEnabled(bool enabled) { cacheEnabled_ = enabled; }
  void ClearReadCache() { cache_.Clear(); }
  // ReadBuffer through the read cache when it is on.
  void ReadStored(void* buffer, int64_t position, int64_t count);

  // The whole record tab of a table (record count items) and its chunks.
  // Every item's fixed part of recordSize bytes must lie in the data area
  // of the file; the table's name is the one its error names.
  void ReadRecordTab(const TTomeTableHeader& header, const String& tableName, int32_t recordSize, TRecordTab& items,
                     TIntegerAry& chunkPositions);
  // The same for the index tab of index j. toDropped: an entry may point
  // to the record just past the header's record count. A chain in record
  // order (the head record 0, each record followed by the next, the last
  // ending it; keys appended in order) leaves links empty and returns true.
  bool ReadIndexTab(const TTomeTableHeader& header, int index, TIntegerAry& chunkPositions, TIndexLinks& links,
                    bool toDropped = false);
  // Sets the deleted flag of the record tab item at the position.
  void MarkRecordDeleted(int64_t itemPosition);

  // Decodes one stored value into target: for a blob the descriptor at the
  // position and the bytes it points to, else width bytes at the position.
  // A value that does not decode fails with an EDatabaseError that names
  // the field and table when given, the position and the file.
  void ReadFieldValue(TMemoryStream& target, int64_t position, bool compressed, bool encrypted, bool isBlob,
                      int32_t width, const String& fieldName = String(), const String& tableName = String());
  // The same at field offset in the record whose record tab item is at the
  // item position.
  void ReadFieldViaRecordTab(TMemoryStream& target, int64_t itemPosition, bool compressed, bool encrypted,
                             bool isBlob, int32_t width, int32_t fieldOffset);

  // The codecs, serialised by one lock because the managers' algorithm
  // objects and the cipher's chaining state are shared. Stream forms (blob
  // values): plain -> compressed -> encrypted, and back. Buffer forms
  // (fixed-width values): encrypted in place of the same width, or copied.
  void EncodeFieldStream(TMemoryStream& source, TMemoryStream& target, bool compressed, bool encrypted);
  void DecodeFieldStream(TMemoryStream& source, TMemoryStream& target, bool compressed, bool encrypted);
  void EncodeFieldBuffer(const void* source, void* target, bool encrypted, int64_t count);
  void DecodeFieldBuffer(const void* source, void* target, bool encrypted, int64_t count);

  // Progress of the codecs, reported with the database as Sender.
  TOnProgressEvent OnCompressProgress;
  TOnProgressEvent OnUncompressProgress;
  TOnProgressEvent OnEncryptProgress;
  TOnProgressEvent OnDecryptProgress;

 private:
  TTomeLockPolicy LockPolicy() const;
  void OpenDisk(const String& fileName, bool readOnly, bool exclusive);
  void OpenMemory(const String& fileName);
  void ReadFileHeader(const String& fileName);
  void ReadHeaders();
  // Follows a tab's chunk chain from first for count items of itemSize
  // bytes, checking each chunk, and hands each chunk's items to take.
  void ReadTabChain(int32_t first, int32_t count, int32_t itemSize, const String& what, TIntegerAry& chunkPositions,
                    const std::function<void(const uint8_t* items, int32_t from, int32_t n)>& take);

  TObject* database_;
  String fileName_;
  TTomeDBMediumType mediumType_ = mtDisk;
  // Reads and writes at a position: positioned calls on a disk file, a seek
  // and a transfer on a memory stream.
  int64_t ReadAt(void* buffer, int64_t position, int64_t count);
  int64_t WriteAt(const void* buffer, int64_t position, int64_t count);

  std::unique_ptr<TTomeDBFileStream> ownedStream_;  // mtDisk
  TStream* stream_ = nullptr;
  int32_t baseOffset_ = 0;
  bool readOnlyRequested_ = false;
  bool fileIsReadOnly_ = false;
  TCompressMgr compressMgr_;
  TEncryptMgr encryptMgr_;
  TTomeExtensionHeader extHeader_;
  TTomeTableDirectory tableDir_;
  TCriticalSection codecLock_;
  TTomeDBReadCache cache_;
  bool cacheEnabled_ = false;
  bool locked_ = false;
  bool stepBack_ = false;  // another waited when we last let go of the lock
  int64_t knownSize_ = -1;  // while locked: the file's size, -1 not asked yet
  struct TPendingWrite {
    int64_t Position;
    std::vector<uint8_t> Bytes;
  };
  bool collecting_ = false;
  std::vector<TPendingWrite> pending_[3];  // by stage
  // Issues the collected writes of the stages up to last, in stage order.
  void WritePending(TTomeWriteStage last);
  void WriteRuns(std::vector<TPendingWrite>& writes);
  // Copies the held-back bytes of the later stages over what a read got.
  void OverlayHeldBack(void* buffer, int64_t position, int64_t count) const;
  void DropWrites();
};

// Holds a file's byte lock for its lifetime.
class TTomeDBFileLock {
 public:
  explicit TTomeDBFileLock(TTomeDBFileIO& fileIO) : fileIO_(fileIO) { fileIO_.Lock(); }
  ~TTomeDBFileLock() { fileIO_.Unlock(); }
  TTomeDBFileLock(const TTomeDBFileLock&) = delete;
  TTomeDBFileLock& operator=(const TTomeDBFileLock&) = delete;

 private:
  TTomeDBFileIO& fileIO_;
};
