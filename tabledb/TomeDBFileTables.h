// Table storage: one table of an open database file held in memory (header,
// record tab, index tabs and the record orders they give), key searches over
// those orders, and appending, modifying, deleting and reading records, each
// under the file's byte lock.
//
// Position lists: list 0 holds the undeleted records in record-number order,
// list j + 1 the same records in the key order of index j. Every data set on
// the table reads them; only this object changes them.
//
// Each taking of the lock reads the table header again. Before a write,
// when another writer (another process, or another file object of this one)
// changed the table since it was loaded, the table is loaded again, so that
// appends never overwrite each other and unique checks see every record.
// Reads under the lock go through the file's read cache, which stays valid
// from one taking to the next while the header (with the change counter
// that every write raises) stays the same, and is emptied when it changed.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "tabledb/FieldBuffers.h"
#include "tabledb/TomeDBDefs.h"
#include "tabledb/TomeDBFileAccess.h"
#include "tabledb/TomeDBFileKeyOrder.h"
#include "tabledb/TomeDBFilePositions.h"


// Called with index -1 and position -1 before any index is updated, then
// once per index with the position at which the new record goes in that
// index's list.
using TAppendCallback = std::function<void(TObject* dataSet, int index, int position, const TRecordPosition& record)>;
// Called for each index in which a modified record changes place; positions
// are in the list as it was before the move.
using TMoveCallback = std::function<void(TObject* dataSet, int index, int oldPosition, int newPosition)>;

class TTomeTableIO : public TObject {
 public:
  TTomeTableIO(TTomeDBFileIO& fileIO, const String& tableName);
  ~TTomeTableIO() override;
  const char* ClassName() const override { return "TTomeTableIO"; }

  // Open loads the table on its first call; the last Close unloads it.
  void Open();
  void Close();
  int OpenCount() const { return openCount_; }

  const String& TableName() const { return tableName_; }
  int32_t TableIndex() const { return tableIndex_; }
  TTomeFieldDefs& FieldDefs() { return fieldDefs_; }
  TTomeIndexDefs& IndexDefs() { return indexDefs_; }
  int32_t RecordSize() const { return recordSize_; }
  const TIntegerAry& FieldOffsets() const { return fieldOffsets_; }
  int32_t AutoIncField() const { return autoIncField_; }
  const TTomeTableHeader& Header() const { return header_; }
  const TRecordTab& RecordTab() const { return recordTab_; }
  // List 0 (natural order) or list j + 1 (order of index j). The natural
  // order is made from the record tab, and an index's order read from the
  // file, when it is first asked for; an index's under the lock:
  // when another writer changed the table since it was loaded, the table
  // is loaded again first, as before a write.
  const TPositionList& IndexList(int listNo);

  // EDatabaseError "Cannot perform this operation on a closed database"
  // when the file is not open.
  bool IsFieldEncrypted(int field) const;
  bool IsFieldCompressed(int field) const;

  // -1, 0 or 1 as the key sorts before, with or after the stored value.
  int CompareValues(std::span<const uint8_t> key, std::span<const uint8_t> stored, bool partial,
                    bool caseInsensitive, uint8_t fieldType) const;
  // Binary search of the key in list (ordered by index j): the probed
  // position, with side 0 when its key is equal, 1 when the key sorts after
  // it, -1 before, -2 for an empty list. fieldCount 0: every key field.
  int SearchKey(TFieldBuffers& key, const TPositionList& list, bool partial, int fieldCount, int& side, int index);
  // The same, ending on the first (or last) of the equal keys.
  int SearchKeyBound(TFieldBuffers& key, const TPositionList& list, bool partial, int fieldCount, int& side,
                     bool first, int index);
  // Where the key goes in list j + 1: behind an equal key that the search
  // meets.
  int InsertPositionFor(TFieldBuffers& key, int index, int& side);
  // The first index with tiPrimary, -1 when none.
  int FindPrimaryIndex() const;

  // A write that fails part way leaves the file as it was before it (the
  // table header goes out last) and the table loaded again at the next
  // taking of the lock.
  void AppendRecord(TFieldBuffers& fields, bool flush, const TAppendCallback& callback, TObject* dataSet);
  void ModifyRecord(TFieldBuffers& fields, int naturalPosition, const TMoveCallback& callback, TObject* dataSet,
                    bool flush);
  void DeleteRecord(int naturalPosition, bool flush);
  void ReadRecord(TFieldBuffers& fields, const TPositionList& list, int position);
  // Reads every record of list into the active items of fields in turn and
  // calls each with its position in list and its entry. The records are read in batches, one
  // taking of the lock per batch; each is not called with the lock held.
  void ScanRecords(TFieldBuffers& fields, const TPositionList& list,
                   const std::function<void(int position, const TRecordPosition& record)>& each);
  // Decodes one stored value of one record into target.
  void ReadFieldOfRecord(TMemoryStream& target, int32_t recNo, int field);

  // Position in list 0 of the record at the position of list (-1 when the
  // record is not in list 0).
  int NaturalPosition(const TPositionList& list, int position);
  // Position of the record in list listNo, -1 when absent.
  int PositionInList(int listNo, int32_t recNo);

 private:
  // Position of the record in list 0, -1 when absent.
  int NaturalIndexOf(int32_t recNo);
  TPositionList& NaturalList();
  enum class TBound { Any, First, Last };
  struct TBlobPlan;
  class TLockScope;

  // The outermost entry takes the file lock, reads the header into
  // lockedHeader_ and turns the read cache on, emptied when the header is
  // not the one the cache was filled under; the last leave unlocks.
  void EnterLock();
  void LeaveLock();
  // After a write of ours: the file's header is header_, and the cached
  // bytes are what the file holds.
  void NoteOwnWrite();
  // How to fill the active items of fields: worked out once for a scan.
  struct TDecodeStep {
    int Field;
    int32_t Offset;   // in the fixed part
    uint8_t* Target;  // a fixed-width value's bytes in the record buffer
    int32_t Size;
    bool Blob, Encrypted, Compressed;
  };
  std::vector<TDecodeStep> DecodePlan(TFieldBuffers& fields) const;
  // Fills fields from a record's fixed part read from dataPos.
  void DecodeRecord(TFieldBuffers& fields, const std::vector<TDecodeStep>& plan, const uint8_t* fixedPart,
                    int32_t dataPos);
  // With the lock held: the fixed parts of the records, record k at
  // offsets[k] of batch.
  void ReadBatch(const std::vector<TRecordPosition>& records, int64_t maxSpan, std::vector<uint8_t>& batch,
                 std::vector<size_t>& offsets);
  // Reads the fixed parts of records, which lie between low and high, into
  // batch at their distance from low. Records in file order are read in
  // runs that skip long gaps between them (the tab chunks between a
  // table's records), others in one piece.
  void ReadSpan(const std::vector<TRecordPosition>& records, int64_t low, int64_t high, std::vector<uint8_t>& batch);

  void Load();
  void Unload();
  // The definitions, field offsets and record size of a header's schema.
  void LoadSchema(const TTomeTableHeader& header);
  // The header, record tab and natural order; without an unfinished last
  // record when only that one fails its checks, or at once when
  // withoutLast. The index orders wait for their first use.
  void LoadContents(const TTomeTableHeader& header, bool withoutLast = false);
  // The same for the header's records.
  void LoadRecords(const TTomeTableHeader& header);
  // Index j's tab and order, read when first needed. A chain that fails
  // only because of the last record (committed without its links) loads
  // the table again without that record.
  void EnsureIndexList(int index);
  void LoadIndexList(int index);
  // Every index's order and links: a write needs them all.
  void LoadIndexLists();
  // The links of a chain read in record order, which are not kept until a
  // write needs them.
  void MakeInOrderLinks(int index);
  void UnlinkDropped(int index, int32_t dropped);
  void LinkCommittedLast(int index);
  // After a load that dropped or linked a record, the first write puts the
  // mended entries and header in the file.
  void WriteRepairs();
  void BuildIndexList(int index);
  // With the lock held: loads the table again when its header changed.
  void RefreshLocked();
  void CheckCanWrite() const;
  void WriteAppended(TFieldBuffers& fields, int32_t n, int32_t counter, std::vector<uint8_t>& fixedPart,
                     std::vector<TMemoryStream>& stored, bool hasBlobs, const std::vector<int>& insertPositions,
                     const TAppendCallback& callback, TObject* dataSet);
  void WriteModified(TFieldBuffers& fields, int32_t recNo, int32_t counter, std::vector<uint8_t>& fixedPart,
                     std::vector<TBlobPlan>& blobs, const TMoveCallback& callback, TObject* dataSet);
  void CheckFieldBuffers(TFieldBuffers& fields) const;
  // Marks the table changed, before the first byte of a write.
  void BumpChangeStamp();

  int Search(TFieldBuffers& key, const TPositionList& list, bool partial, int fieldCount, int& side, int index,
             TBound bound);
  // The binary search of them all over count positions, compareAt(p)
  // ordering the key against position p.
  template <class CompareAt>
  static int SearchPositions(size_t count, CompareAt compareAt, int& side, TBound bound);
  int CompareKey(TFieldBuffers& key, int32_t recNo, bool partial, int fieldCount, int index);
  // storedValue(field, width, offset, keyItem) gives the stored bytes of
  // the key field at offset in the index's key.
  template <class StoredValue>
  int CompareKeyWith(TFieldBuffers& key, bool partial, int fieldCount, int index, StoredValue storedValue);
  // Where a whole key goes in list j + 1, as InsertPositionFor, searched in
  // the index's key order when its keys are kept.
  int SearchIndexOrder(TFieldBuffers& key, int index, int& side);
  // Refuses a key that a unique index already holds (except in the record
  // being modified); returns for each index where InsertPositionFor puts
  // the key.
  std::vector<int> CheckUnique(TFieldBuffers& fields, int32_t modifiedRecNo);

  void EncodeFixedValue(TFieldBufferItem& item, int field, uint8_t* fixedPart);
  void EncodeBlobValue(TFieldBufferItem& item, int field, TMemoryStream& stored);
  // Writes a blob area (stored bytes and zero filler) and, when the file
  // asks for it, reads it back until it decodes to the plain value.
  void WriteBlobArea(TFieldBufferItem& item, int field, TMemoryStream& stored, int64_t position, int64_t areaSize);

  int64_t RecordTabItemPos(int32_t recNo) const;
  int64_t IndexEntryPos(int index, int32_t recNo) const;
  void WriteIndexEntry(int index, int32_t recNo, TTomeWriteStage stage);
  // Both records' entries (two different records).
  void WriteIndexEntries(int index, int32_t recNoA, int32_t recNoB);
  // Gives record n its entry in index j's chain, at position d of list j + 1.
  void LinkNewEntry(int index, int32_t recNo, int position, bool& headerChanged);
  void UnlinkEntry(int index, int32_t recNo, bool& headerChanged);
  void LinkEntryAt(int index, int32_t recNo, int position, bool& headerChanged, TTomeWriteStage ownStage);

  TTomeDBFileIO& fileIO_;
  int openCount_ = 0;
  String tableName_;
  int32_t tableIndex_ = -1;
  TTomeFieldDefs fieldDefs_;
  TTomeIndexDefs indexDefs_;
  int32_t recordSize_ = 0;
  TIntegerAry fieldOffsets_;
  int32_t autoIncField_ = -1;
  TTomeTableHeader header_;
  // The header as the file held it when the table was loaded or last
  // written by us; another image under the lock means another writer.
  TTomeTableHeader fileHeader_;
  bool stale_ = false;    // a write of ours failed part way: load again
  bool trimmed_ = false;  // the load dropped an unfinished last record
  std::vector<std::pair<int, int32_t>> repairs_;  // (index, record) entries mended by the load
  TRecordTab recordTab_;
  TIntegerAry recordTabChunks_;
  std::vector<TIntegerAry> indexTabChunks_;
  std::vector<TIndexLinks> indexLinks_;
  std::vector<TPositionList> lists_;
  std::vector<bool> indexListLoaded_;  // by index: lists_[j + 1] and its tab are read
  // By index: the chain runs in record order, its links are not held and
  // its order is the natural order.
  std::vector<bool> linksInOrder_;
  bool naturalListMade_ = false;       // lists_[0] stands
  int lockDepth_ = 0;
  TTomeTableHeader lockedHeader_;
  TTomeTableHeader cachedHeader_;
  // Stored values of plain fixed-width fields as key searches read them,
  // by field and record number: a search in a large index probes records
  // all over the file, more of them than the read cache keeps. Forgotten
  // with the read cache (another writer) and for a record we rewrite; a
  // record we append brings its values along. A column that would grow
  // past kMaxKeyColumnBytes is not kept: its values are read each time.
  static constexpr size_t kMaxKeyColumnBytes = size_t(32) << 20;
  struct TKeyColumn {
    std::vector<uint8_t> values;  // width bytes per record
    std::vector<bool> known;
  };
  std::vector<TKeyColumn> keyColumns_;
  const uint8_t* StoredKeyValue(int field, int32_t recNo, int32_t width);
  void ForgetKeyValues(int32_t recNo);
  void KeepKeyValues(int32_t recNo, const std::vector<uint8_t>& fixedPart);
  // By index, the keys in the order of list j + 1 (see TomeDBFileKeyOrder.h),
  // for the indexes whose key fields are all plain fixed-width values. An
  // order is made from the list when a write's search first needs it,
  // follows the list through our writes and is forgotten with the key
  // columns; one that would grow past kMaxKeyOrderBytes is not kept.
  static constexpr size_t kMaxKeyOrderBytes = size_t(64) << 20;
  std::vector<TKeyOrder> keyOrders_;
  // The width of index j's kept keys, 0 when they are not kept.
  size_t KeyOrderWidth(int index) const;
  // Index j's key order in step with list j + 1, nullptr when not kept.
  TKeyOrder* KeyOrderOf(int index);
  // Index j's key of record recNo, as the order keeps it, read from the file.
  const uint8_t* RecordKey(int32_t recNo, int index, size_t width);
  // The key at position of index j's order, read from the record when not
  // known yet.
  const uint8_t* OrderedKey(TKeyOrder& order, size_t position, int index);
  // Index j's kept order when it holds entries entries, else nullptr.
  TKeyOrder* OrderInStep(int index, size_t entries);
  // After the record at position went into (out of) list j + 1.
  void OrderInsert(int index, int position, int32_t recNo, const std::vector<uint8_t>& fixedPart);
  void OrderErase(int index, int position);
  void ForgetKeyOrders();
  // The record at position of list j + 1, from index j's order when it is
  // kept: the search that found the position has its block at hand, where
  // the list's block lies elsewhere in memory.
  int32_t RecNoAt(int index, size_t position);
  // Index j's key fields' stored bytes one after another in keyScratch_:
  // copyField(destination, field's offset in the record, width) brings each.
  template <class CopyField>
  const uint8_t* GatherKey(int index, size_t width, CopyField copyField);
  std::vector<uint8_t> keyScratch_;
  std::vector<uint8_t> recordScratch_;
};
