// Loading a table, key searches, and record appends, modifies, deletes and
// reads.
//
// A write goes in this order, all under the file lock: read the header
// again (and reload when another writer changed the table), run every check
// that can refuse the write (unique keys, field buffers, the 2 GiB limit),
// encode every value, and only then write. A refused write therefore leaves
// the file as it was, byte for byte. The writes of one operation are
// collected and issued together at its end, in file order, before the lock
// is released (TTomeDBFileIO::CollectWrites).
#include "tabledb/TomeDBFileTables.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <stdexcept>

#include "platform/Errors.h"
#include "tabledb/TomeDBBasics.h"
#include "tabledb/TomeDBExpr.h"

namespace {

// A blob value that does not read back as written is encoded and written
// again this many times in all before the write fails.
constexpr int kMaxWriteVerifyTries = 3;

bool IsPaddedStringType(uint8_t type) { return type == 1 || type == 23 || type == 24 || type == 35; }

// Field items and index definitions (names, options, key fields) equal;
// index tab positions and heads may differ.
bool SameSchema(const TTomeTableHeader& a, const TTomeTableHeader& b) {
  auto same = [&](int32_t from, int32_t to) {
    return std::equal(a.Image.begin() + from, a.Image.begin() + to, b.Image.begin() + from);
  };
  if (!same(kThFieldCount, kThIndexes)) return false;
  for (int j = 0; j < kMaxIndexes; ++j) {
    const int32_t item = TTomeTableHeader::IndexItemPos(j);
    if (!same(item, item + kIiIndexTabPos)) return false;
  }
  return true;
}

bool HasOption(TTDIndexOptions options, TTDIndexOption option) { return (options & IndexOptionBit(option)) != 0; }

std::span<const uint8_t> StreamBytes(TMemoryStream& s) { return {s.Memory(), size_t(s.Size())}; }

// Positions added one by one to the end of a list, which takes them a run
// at a time.
class TPositionRun {
 public:
  explicit TPositionRun(TPositionList& list) : list_(list) {}
  void Add(const TRecordPosition& position) {
    run_[size_++] = position;
    if (size_ == kRunLength) Flush();
  }
  void Flush() {
    list_.append(run_, size_);
    size_ = 0;
  }

 private:
  static constexpr size_t kRunLength = 1024;
  TPositionList& list_;
  TRecordPosition run_[kRunLength];
  size_t size_ = 0;
};

}  // namespace

// Holds the table's lock for its lifetime; scopes nest.
class TTomeTableIO::TLockScope {
 public:
  explicit TLockScope(TTomeTableIO& table) : table_(table) { table_.EnterLock(); }
  ~TLockScope() { table_.LeaveLock(); }
  TLockScope(const TLockScope&) = delete;
  TLockScope& operator=(const TLockScope&) = delete;

 private:
  TTomeTableIO& table_;
};

TTomeTableIO::TTomeTableIO(TTomeDBFileIO& fileIO, const String& tableName)
    : fileIO_(fileIO), tableName_(tableName), fieldDefs_(nullptr), indexDefs_(nullptr) {}

TTomeTableIO::~TTomeTableIO() { Unload(); }

void TTomeTableIO::Open() {
  if (openCount_ == 0) Load();
  ++openCount_;
}

void TTomeTableIO::Close() {
  if (openCount_ == 0) return;
  if (--openCount_ == 0) Unload();
}

// --- Loading -----------------------------------------------------------------------------

void TTomeTableIO::Load() {
  TTomeDBFileLock lock(fileIO_);
  TStringList names;
  fileIO_.GetTableNames(names);
  int found = -1;
  for (int i = 0; i < names.Count() && found < 0; ++i)
    if (AnsiSameText(names[i], tableName_)) found = i;
  if (found < 0) DatabaseErrorFmt("Table '%s' not found", {tableName_});
  tableIndex_ = found;
  TTomeTableHeader header;
  fileIO_.ReadTableHeader(tableIndex_, header);
  try {
    LoadSchema(header);
    LoadContents(header);
  } catch (...) {
    Unload();
    throw;
  }
}

void TTomeTableIO::Unload() {
  // A table loaded again trusts no cached byte until its first lock.
  cachedHeader_ = {};
  fieldDefs_.Clear();
  indexDefs_.Clear();
  fieldOffsets_.clear();
  recordTab_.clear();
  recordTabChunks_.clear();
  indexTabChunks_.clear();
  indexLinks_.clear();
  linksInOrder_.clear();
  lists_.clear();
  naturalListMade_ = false;
  keyColumns_.clear();
  ForgetKeyOrders();
  indexListLoaded_.clear();
  recordSize_ = 0;
  autoIncField_ = -1;
  tableIndex_ = -1;
}

void TTomeTableIO::LoadSchema(const TTomeTableHeader& header) {
  const int fields = header.FieldCount(), indexes = header.IndexCount();
  fieldDefs_.Clear();
  fieldOffsets_.assign(size_t(fields), 0);
  recordSize_ = 0;
  autoIncField_ = -1;
  for (int f = 0; f < fields; ++f) {
    const TTomeFieldItem item = header.Field(f);
    TTomeFieldDef* def = fieldDefs_.Add();
    def->SetName(item.Name);
    def->FieldType = item.FieldType;
    def->DataSize = item.Size;
    def->DPMode = item.DPMode;
    fieldOffsets_[size_t(f)] = recordSize_;
    recordSize_ += StoredFieldWidth(item.FieldType, item.Size);
    if (item.FieldType == ftAutoInc && autoIncField_ < 0) autoIncField_ = f;
  }
  indexDefs_.Clear();
  for (int j = 0; j < indexes; ++j) {
    const TTomeIndexItem item = header.Index(j);
    TTomeIndexDef* def = indexDefs_.Add();
    def->SetName(item.Name);
    def->Options = item.Options;
    def->FieldIdxes = item.KeyFields;
  }
}

void TTomeTableIO::LoadContents(const TTomeTableHeader& header, bool withoutLast) {
  fileHeader_ = header;
  stale_ = false;
  trimmed_ = false;
  repairs_.clear();
  const int32_t count = header.RecordCount();
  std::exception_ptr whole;
  if (!withoutLast) {
    try {
      LoadRecords(header);
      return;
    } catch (const EDatabaseError&) {
      if (count == 0) throw;
      whole = std::current_exception();
    }
  }
  // The last record may be unfinished: a writer that put the record count
  // out before the record (older writers did), or one that died between
  // the count and linking the record into its index chains. Every other
  // record is read; that one is dropped, and our next write drops it from
  // the file too. A file that fails even without it fails as it is.
  TTomeTableHeader without = header;
  without.SetRecordCount(count - 1);
  try {
    LoadRecords(without);
  } catch (const EDatabaseError&) {
    if (whole) std::rethrow_exception(whole);
    throw;
  }
  trimmed_ = true;
}

void TTomeTableIO::LoadRecords(const TTomeTableHeader& header) {
  header_ = header;
  const int indexes = header.IndexCount();
  fileIO_.ReadRecordTab(header, tableName_, recordSize_, recordTab_, recordTabChunks_);
  lists_.assign(size_t(indexes) + 1, {});
  naturalListMade_ = false;
  keyColumns_.clear();
  ForgetKeyOrders();
  indexTabChunks_.assign(size_t(indexes), {});
  indexLinks_.assign(size_t(indexes), {});
  indexListLoaded_.assign(size_t(indexes), false);
  linksInOrder_.assign(size_t(indexes), false);
}

// A trimmed table's header counts the records before the dropped one,
// which entries and heads may still point to.
void TTomeTableIO::LoadIndexList(int index) {
  if (size_t(index) < keyOrders_.size()) keyOrders_[size_t(index)].clear();
  const int32_t dropped = trimmed_ ? header_.RecordCount() : -1;
  try {
    if (header_.IndexTabPos(index) != 0)
      linksInOrder_[size_t(index)] = fileIO_.ReadIndexTab(header_, index, indexTabChunks_[size_t(index)],
                                                          indexLinks_[size_t(index)], dropped >= 0);
    if (dropped >= 0) {
      MakeInOrderLinks(index);
      UnlinkDropped(index, dropped);
    } else if (!linksInOrder_[size_t(index)]) {
      LinkCommittedLast(index);
    }
    BuildIndexList(index);
  } catch (...) {
    lists_[size_t(index) + 1].clear();
    indexTabChunks_[size_t(index)].clear();
    indexLinks_[size_t(index)].clear();
    linksInOrder_[size_t(index)] = false;
    throw;
  }
  indexListLoaded_[size_t(index)] = true;
}

void TTomeTableIO::MakeInOrderLinks(int index) {
  if (!linksInOrder_[size_t(index)]) return;
  TIndexLinks& links = indexLinks_[size_t(index)];
  const int32_t count = int32_t(recordTab_.size());
  links.resize(size_t(count));
  for (int32_t k = 0; k < count; ++k) links[size_t(k)] = k + 1 < count ? k + 1 : -1;
  linksInOrder_[size_t(index)] = false;
}

void TTomeTableIO::EnsureIndexList(int index) {
  if (indexListLoaded_.at(size_t(index))) return;
  TLockScope lock(*this);
  RefreshLocked();
  std::exception_ptr whole;
  try {
    LoadIndexList(index);
    return;
  } catch (const EDatabaseError&) {
    if (trimmed_ || header_.RecordCount() == 0) throw;
    whole = std::current_exception();
  }
  try {
    LoadContents(fileHeader_, true);
    LoadIndexList(index);
  } catch (const EDatabaseError&) {
    stale_ = true;  // what we hold is neither the file nor the file without its last record
    std::rethrow_exception(whole);
  }
}

void TTomeTableIO::LoadIndexLists() {
  // Loading the table again without its last record, which one of them
  // may do, forgets the others: go round until every one stands.
  while (std::find(indexListLoaded_.begin(), indexListLoaded_.end(), false) != indexListLoaded_.end())
    for (int j = 0; j < int(indexListLoaded_.size()); ++j) EnsureIndexList(j);
  for (int j = 0; j < int(linksInOrder_.size()); ++j) MakeInOrderLinks(j);
}

const TPositionList& TTomeTableIO::IndexList(int listNo) {
  if (listNo == 0) return NaturalList();
  if (listNo > 0 && size_t(listNo) < lists_.size()) EnsureIndexList(listNo - 1);
  return lists_.at(size_t(listNo));
}

// A data set in an index's order, the usual first use, never needs it.
TPositionList& TTomeTableIO::NaturalList() {
  TPositionList& natural = lists_.at(0);
  if (naturalListMade_) return natural;
  natural.clear();
  TPositionRun run(natural);
  for (size_t k = 0; k < recordTab_.size(); ++k)
    if (!recordTab_.Deleted(k)) run.Add({recordTab_.DataPos(k), int32_t(k)});
  run.Flush();
  naturalListMade_ = true;
  return natural;
}

// The dropped record may already be linked: by the head (it sorted first)
// or by the entry before it. The record it was linked in front of is then
// the one record that nothing else points to.
void TTomeTableIO::UnlinkDropped(int index, int32_t dropped) {
  TIndexLinks& links = indexLinks_[size_t(index)];
  const int32_t count = int32_t(links.size());
  const bool fromHead = header_.Head(index) == dropped;
  int32_t from = -1;
  std::vector<bool> pointedTo(static_cast<size_t>(count), false);
  for (int32_t k = 0; k < count; ++k) {
    const int32_t next = links[size_t(k)];
    if (next == dropped)
      from = k;
    else if (next >= 0)
      pointedTo[size_t(next)] = true;
  }
  if (!fromHead && from < 0) return;
  if (fromHead && from >= 0) return;  // no chain: BuildIndexList refuses it
  if (!fromHead && header_.Head(index) < count) pointedTo[size_t(header_.Head(index))] = true;
  int32_t orphan = -1;
  for (int32_t k = 0; k < count; ++k)
    if (!pointedTo[size_t(k)]) {
      if (orphan >= 0) return;  // more than one: BuildIndexList refuses it
      orphan = k;
    }
  if (fromHead) {
    header_.SetHead(index, std::max(orphan, 0));
    return;
  }
  links[size_t(from)] = orphan;
  repairs_.push_back({index, from});
}

// A writer puts the new record's own entry (which names the record that
// follows it in key order) out before the table header, and the link from
// the record before it after: one that died between the two left a
// committed record that the chain passes by. Its entry says where it goes;
// the link is made here and our next write puts it in the file.
void TTomeTableIO::LinkCommittedLast(int index) {
  TIndexLinks& links = indexLinks_[size_t(index)];
  const int32_t last = int32_t(links.size()) - 1;
  // Keys appended in order link each record from the one before it.
  if (last <= 0 || header_.Head(index) == last || links[size_t(last) - 1] == last) return;
  const int32_t next = links[size_t(last)];
  int32_t before = -1;
  for (int32_t k = 0; k < last; ++k) {
    const int32_t n = links[size_t(k)];
    if (n == last) return;  // linked
    if (n != next) continue;
    if (before >= 0) return;  // not this fault: BuildIndexList judges the chain
    before = k;
  }
  if (before < 0) return;
  links[size_t(before)] = last;
  repairs_.push_back({index, before});
}

void TTomeTableIO::WriteRepairs() {
  for (const auto& [index, recNo] : repairs_) WriteIndexEntry(index, recNo, wsBody);
  if (trimmed_) fileIO_.WriteTableHeader(tableIndex_, header_, wsCommit);
}

// Every record, deleted ones included, is in the chain exactly once: a
// record met twice is a cycle, a record never met a broken chain. A link
// to the record that a trimmed load dropped, which no mending removed,
// ends the chain early.
void TTomeTableIO::BuildIndexList(int index) {
  const TIndexLinks& links = indexLinks_[size_t(index)];
  const int32_t count = int32_t(recordTab_.size());
  if (count == 0) return;
  TPositionList& list = lists_[size_t(index) + 1];
  if (linksInOrder_[size_t(index)]) {
    list = NaturalList();  // shares its blocks until one of the two changes
    return;
  }
  // A chain that visits a record twice goes round for ever, so a chain that
  // ends within count steps visits count different records: every one.
  int32_t steps = 0;
  int32_t k = header_.Head(index);
  TPositionRun run(list);
  for (; k != -1 && steps < count; k = links[size_t(k)]) {
    if (k < 0 || k >= count || k >= int32_t(links.size())) break;
    ++steps;
    if (!recordTab_.Deleted(size_t(k))) run.Add({recordTab_.DataPos(size_t(k)), k});
  }
  run.Flush();
  if (k != -1)  // a step out of range, or a cycle
    CorruptFile(fileIO_.FileName(), Format("table '%s' index '%s' chain broken after %d of %d records",
                                           {tableName_, indexDefs_.Items(index)->Name(), steps, count}));
  if (steps != count)
    CorruptFile(fileIO_.FileName(), Format("table '%s' index '%s' chains %d of %d records",
                                           {tableName_, indexDefs_.Items(index)->Name(), steps, count}));
}

void TTomeTableIO::EnterLock() {
  if (lockDepth_++ > 0) return;
  try {
    fileIO_.Lock();
  } catch (...) {
    --lockDepth_;
    throw;
  }
  try {
    fileIO_.ReadTableHeader(tableIndex_, lockedHeader_);
  } catch (...) {
    --lockDepth_;
    fileIO_.Unlock();
    throw;
  }
  if (lockedHeader_.Image != cachedHeader_.Image) {
    fileIO_.ClearReadCache();
    keyColumns_.clear();
    ForgetKeyOrders();
    cachedHeader_ = lockedHeader_;
  }
  fileIO_.SetReadCacheEnabled(true);
}

void TTomeTableIO::LeaveLock() {
  if (--lockDepth_ > 0) return;
  fileIO_.SetReadCacheEnabled(false);
  fileIO_.Unlock();
}

void TTomeTableIO::NoteOwnWrite() {
  lockedHeader_ = header_;
  cachedHeader_ = header_;
  fileHeader_ = header_;
  trimmed_ = false;
  repairs_.clear();
}

void TTomeTableIO::RefreshLocked() {
  const TTomeTableHeader& fresh = lockedHeader_;
  if (!stale_ && fresh.Image == fileHeader_.Image) return;
  // The definitions stay (data sets hold them) unless the schema changed.
  if (!SameSchema(fresh, header_)) LoadSchema(fresh);
  LoadContents(fresh);
}

// --- Field rules ------------------------------------------------------------------------------

bool TTomeTableIO::IsFieldEncrypted(int field) const {
  if (!fileIO_.IsOpen()) DatabaseError("Cannot perform this operation on a closed database");
  return fileIO_.ExtensionHeader().EncryptFlag() && fieldDefs_.Items(field)->DPMode == 0;
}

bool TTomeTableIO::IsFieldCompressed(int field) const {
  if (!fileIO_.IsOpen()) DatabaseError("Cannot perform this operation on a closed database");
  const TTomeFieldDef* def = fieldDefs_.Items(field);
  return fileIO_.ExtensionHeader().CompressFlag() && TFieldBufferItem::IsBlobType(def->FieldType) &&
         def->DPMode == 0;
}

void TTomeTableIO::CheckCanWrite() const {
  if (!fileIO_.IsOpen()) DatabaseError("Cannot perform this operation on a closed database");
  if (fileIO_.IsReadOnly()) DatabaseError("Cannot modify a read-only database");
}

// One item per table field, each fixed-width one exactly as wide as the
// field's place in the fixed part: a different width would read or write
// past the value.
void TTomeTableIO::CheckFieldBuffers(TFieldBuffers& fields) const {
  if (fields.Count() != fieldDefs_.Count()) DatabaseError("General error");
  for (int f = 0; f < fields.Count(); ++f) {
    TFieldBufferItem& item = fields.Items(f);
    const TTomeFieldDef* def = fieldDefs_.Items(f);
    if (!item.Active()) continue;
    const bool blob = TFieldBufferItem::IsBlobType(def->FieldType);
    if (item.IsBlob() != blob || (blob ? item.Stream() == nullptr
                                       : item.ValueRef() == nullptr ||
                                             item.FieldSize() != StoredFieldWidth(def->FieldType, def->DataSize)))
      DatabaseError("General error");
  }
}

// --- Key searches --------------------------------------------------------------------------------

int TTomeTableIO::CompareValues(std::span<const uint8_t> key, std::span<const uint8_t> stored, bool partial,
                                bool caseInsensitive, uint8_t fieldType) const {
  return CompareKeyValues(key, stored, fieldType, partial, caseInsensitive);
}

template <class StoredValue>
int TTomeTableIO::CompareKeyWith(TFieldBuffers& key, bool partial, int fieldCount, int index,
                                 StoredValue storedValue) {
  const TTomeIndexDef* def = indexDefs_.Items(index);
  const bool descending = HasOption(def->Options, tiDescending);
  const bool caseInsensitive = HasOption(def->Options, tiCaseInsensitive);
  int n = int(def->FieldIdxes.size());
  if (fieldCount != 0) n = std::min(n, fieldCount);
  size_t offset = 0;
  for (int k = 0; k < n; ++k) {
    const int field = def->FieldIdxes[size_t(k)];
    const TTomeFieldDef* fieldDef = fieldDefs_.Items(field);
    const int32_t width = StoredFieldWidth(fieldDef->FieldType, fieldDef->DataSize);
    TFieldBufferItem& item = key.Items(field);
    std::vector<uint8_t> absent;
    std::span<const uint8_t> value;
    if (!item.Active()) {
      // A field the data set does not have keys as its zero value.
      absent.assign(size_t(width), 0);
      value = absent;
    } else {
      const void* bytes = item.ValueRef();
      value = {static_cast<const uint8_t*>(bytes), size_t(item.ValueSize())};
    }
    const int c = CompareValues(value, storedValue(field, width, offset, item), partial, caseInsensitive,
                                fieldDef->FieldType);
    if (c != 0) return descending ? -c : c;
    offset += size_t(width);
  }
  return 0;
}

int TTomeTableIO::CompareKey(TFieldBuffers& key, int32_t recNo, bool partial, int fieldCount, int index) {
  TMemoryStream stored;
  return CompareKeyWith(key, partial, fieldCount, index,
                        [&](int field, int32_t width, size_t, TFieldBufferItem& item) -> std::span<const uint8_t> {
                          // A plain fixed-width value compares as it is stored.
                          if (!item.IsBlob() && !IsFieldEncrypted(field))
                            return {StoredKeyValue(field, recNo, width), size_t(width)};
                          ReadFieldOfRecord(stored, recNo, field);
                          return StreamBytes(stored);
                        });
}

const uint8_t* TTomeTableIO::StoredKeyValue(int field, int32_t recNo, int32_t width) {
  const size_t count = recordTab_.size();
  if (size_t(recNo) >= count) throw std::out_of_range("TTomeTableIO::StoredKeyValue");
  const int64_t position = int64_t(recordTab_.DataPos(size_t(recNo))) + fieldOffsets_[size_t(field)];
  if (count * size_t(width) > kMaxKeyColumnBytes) {
    keyScratch_.resize(size_t(width));
    fileIO_.ReadStored(keyScratch_.data(), position, width);
    return keyScratch_.data();
  }
  if (keyColumns_.size() != size_t(fieldDefs_.Count())) keyColumns_.assign(size_t(fieldDefs_.Count()), {});
  TKeyColumn& column = keyColumns_[size_t(field)];
  if (column.known.size() < count) {
    column.known.resize(count, false);
    column.values.resize(count * size_t(width));
  }
  uint8_t* value = column.values.data() + size_t(recNo) * size_t(width);
  if (!column.known[size_t(recNo)]) {
    fileIO_.ReadStored(value, position, width);
    column.known[size_t(recNo)] = true;
  }
  return value;
}

void TTomeTableIO::ForgetKeyValues(int32_t recNo) {
  for (TKeyColumn& column : keyColumns_)
    if (size_t(recNo) < column.known.size()) column.known[size_t(recNo)] = false;
}

void TTomeTableIO::KeepKeyValues(int32_t recNo, const std::vector<uint8_t>& fixedPart) {
  ForgetKeyValues(recNo);
  for (size_t f = 0; f < keyColumns_.size(); ++f) {
    TKeyColumn& column = keyColumns_[f];
    if (column.known.empty() || size_t(recNo) != column.known.size() || IsFieldEncrypted(int(f))) continue;
    const TTomeFieldDef* def = fieldDefs_.Items(int(f));
    const size_t width = size_t(StoredFieldWidth(def->FieldType, def->DataSize));
    if ((column.known.size() + 1) * width > kMaxKeyColumnBytes) {
      column = {};
      continue;
    }
    const uint8_t* value = fixedPart.data() + fieldOffsets_[f];
    column.values.insert(column.values.end(), value, value + width);
    column.known.push_back(true);
  }
}

template <class CompareAt>
int TTomeTableIO::SearchPositions(size_t count, CompareAt compareAt, int& side, TBound bound) {
  side = -2;
  if (count == 0) return -1;
  int low = 0, high = int(count) - 1, result = -1, found = -1;
  // A key past the last one (an ascending key appended, as auto-increment
  // numbers are) ends where the search would, after one probe.
  if (compareAt(size_t(high)) > 0) {
    side = 1;
    return high;
  }
  while (low <= high) {
    const int probe = (low + high) / 2;
    result = probe;
    const int c = compareAt(size_t(probe));
    if (c > 0) {
      side = 1;
      low = probe + 1;
    } else if (c < 0) {
      side = -1;
      high = probe - 1;
    } else {
      side = 0;
      found = probe;
      if (bound == TBound::Any) break;
      if (bound == TBound::First)
        high = probe - 1;
      else
        low = probe + 1;
    }
  }
  if (found >= 0) {
    side = 0;
    return found;
  }
  return result;
}

int TTomeTableIO::Search(TFieldBuffers& key, const TPositionList& list, bool partial, int fieldCount, int& side,
                         int index, TBound bound) {
  if (list.empty()) {
    side = -2;
    return -1;
  }
  // Every probe of one search under one taking of the lock.
  TLockScope lock(*this);
  return SearchPositions(
      list.size(), [&](size_t p) { return CompareKey(key, list[p].RecNo, partial, fieldCount, index); }, side,
      bound);
}

int TTomeTableIO::SearchKey(TFieldBuffers& key, const TPositionList& list, bool partial, int fieldCount, int& side,
                            int index) {
  return Search(key, list, partial, fieldCount, side, index, TBound::Any);
}

int TTomeTableIO::SearchKeyBound(TFieldBuffers& key, const TPositionList& list, bool partial, int fieldCount,
                                 int& side, bool first, int index) {
  return Search(key, list, partial, fieldCount, side, index, first ? TBound::First : TBound::Last);
}

int TTomeTableIO::InsertPositionFor(TFieldBuffers& key, int index, int& side) {
  IndexList(index + 1);
  const int result = SearchIndexOrder(key, index, side);
  if (side == -2) return 0;
  return side == -1 ? result : result + 1;
}

// A key that no record has goes to the one place where it sorts, which the
// order's block by block search finds. A key that equals others goes where
// the search of the list puts it among them: the same probes over the
// order give the same result.
int TTomeTableIO::SearchIndexOrder(TFieldBuffers& key, int index, int& side) {
  const TPositionList& list = lists_.at(size_t(index) + 1);
  TKeyOrder* order = KeyOrderOf(index);
  if (!order) return SearchKey(key, list, false, 0, side, index);
  if (!order->size()) {
    side = -2;
    return -1;
  }
  TLockScope lock(*this);
  const auto compare = [&](const uint8_t* stored) {
    return CompareKeyWith(key, false, 0, index, [&](int, int32_t width, size_t offset, TFieldBufferItem&) {
      return std::span<const uint8_t>(stored + offset, size_t(width));
    });
  };
  const std::ptrdiff_t position =
      order->InsertPosition(compare, [&](int32_t recNo) { return RecordKey(recNo, index, order->KeyWidth()); });
  if (position < 0)
    return SearchPositions(
        order->size(), [&](size_t p) { return compare(OrderedKey(*order, p, index)); }, side, TBound::Any);
  side = position == 0 ? -1 : 1;
  return position == 0 ? 0 : int(position - 1);
}

size_t TTomeTableIO::KeyOrderWidth(int index) const {
  size_t width = 0;
  for (const int field : indexDefs_.Items(index)->FieldIdxes) {
    const TTomeFieldDef* def = fieldDefs_.Items(field);
    if (TFieldBufferItem::IsBlobType(def->FieldType) || IsFieldEncrypted(field)) return 0;
    width += size_t(StoredFieldWidth(def->FieldType, def->DataSize));
  }
  return width;
}

TKeyOrder* TTomeTableIO::KeyOrderOf(int index) {
  const size_t width = KeyOrderWidth(index);
  const TPositionList& list = lists_.at(size_t(index) + 1);
  if (width == 0 || list.size() * TKeyOrder::EntryBytes(width) > kMaxKeyOrderBytes) return nullptr;
  if (keyOrders_.size() != size_t(indexDefs_.Count())) keyOrders_.assign(size_t(indexDefs_.Count()), {});
  TKeyOrder& order = keyOrders_[size_t(index)];
  if (order.KeyWidth() != width || order.size() != list.size()) order.Assign(list, width);
  return &order;
}

template <class CopyField>
const uint8_t* TTomeTableIO::GatherKey(int index, size_t width, CopyField copyField) {
  keyScratch_.resize(width);
  size_t offset = 0;
  for (const int field : indexDefs_.Items(index)->FieldIdxes) {
    const TTomeFieldDef* def = fieldDefs_.Items(field);
    const int32_t fieldWidth = StoredFieldWidth(def->FieldType, def->DataSize);
    copyField(keyScratch_.data() + offset, fieldOffsets_[size_t(field)], fieldWidth);
    offset += size_t(fieldWidth);
  }
  return keyScratch_.data();
}

const uint8_t* TTomeTableIO::RecordKey(int32_t recNo, int index, size_t width) {
  if (size_t(recNo) >= recordTab_.size()) throw std::out_of_range("TTomeTableIO::RecordKey");
  const int64_t dataPos = recordTab_.DataPos(size_t(recNo));
  return GatherKey(index, width, [&](uint8_t* to, int32_t fieldOffset, int32_t fieldWidth) {
    fileIO_.ReadStored(to, dataPos + fieldOffset, fieldWidth);
  });
}

const uint8_t* TTomeTableIO::OrderedKey(TKeyOrder& order, size_t position, int index) {
  if (const uint8_t* key = order.Key(position)) return key;
  order.SetKey(position, RecordKey(order.RecNo(position), index, order.KeyWidth()));
  return order.Key(position);
}

// An order that is not in step with the list it follows (which no path of
// ours leaves behind) is dropped and made again when next needed.
TKeyOrder* TTomeTableIO::OrderInStep(int index, size_t entries) {
  if (size_t(index) >= keyOrders_.size() || keyOrders_[size_t(index)].KeyWidth() == 0) return nullptr;
  TKeyOrder& order = keyOrders_[size_t(index)];
  if (order.size() == entries) return &order;
  order.clear();
  return nullptr;
}

void TTomeTableIO::OrderInsert(int index, int position, int32_t recNo, const std::vector<uint8_t>& fixedPart) {
  TKeyOrder* order = OrderInStep(index, lists_[size_t(index) + 1].size() - 1);
  if (!order) return;
  const size_t width = order->KeyWidth();
  if ((order->size() + 1) * TKeyOrder::EntryBytes(width) > kMaxKeyOrderBytes) {
    order->clear();
    return;
  }
  const uint8_t* key = GatherKey(index, width, [&](uint8_t* to, int32_t fieldOffset, int32_t fieldWidth) {
    std::memcpy(to, fixedPart.data() + fieldOffset, size_t(fieldWidth));
  });
  order->Insert(size_t(position), recNo, key);
}

void TTomeTableIO::OrderErase(int index, int position) {
  if (TKeyOrder* order = OrderInStep(index, lists_[size_t(index) + 1].size() + 1)) order->Erase(size_t(position));
}

void TTomeTableIO::ForgetKeyOrders() { keyOrders_.clear(); }

int32_t TTomeTableIO::RecNoAt(int index, size_t position) {
  const TPositionList& list = lists_[size_t(index) + 1];
  if (const TKeyOrder* order = OrderInStep(index, list.size())) return order->RecNo(position);
  return list[position].RecNo;
}

int TTomeTableIO::FindPrimaryIndex() const {
  for (int j = 0; j < indexDefs_.Count(); ++j)
    if (HasOption(indexDefs_.Items(j)->Options, tiPrimary)) return j;
  return -1;
}

std::vector<int> TTomeTableIO::CheckUnique(TFieldBuffers& fields, int32_t modifiedRecNo) {
  std::vector<int> insertPositions;
  for (int j = 0; j < indexDefs_.Count(); ++j) {
    const TTomeIndexDef* def = indexDefs_.Items(j);
    const TPositionList& list = lists_[size_t(j) + 1];
    int side;
    const int pos = SearchIndexOrder(fields, j, side);
    insertPositions.push_back(side == -2 ? 0 : side == -1 ? pos : pos + 1);
    if (!HasOption(def->Options, tiPrimary) && !HasOption(def->Options, tiUnique)) continue;
    if (side != 0 || list[size_t(pos)].RecNo == modifiedRecNo) continue;
    String text;
    for (size_t k = 0; k < def->FieldIdxes.size(); ++k)
      text += (k ? "," : "") + fields.Items(def->FieldIdxes[k]).AsText();
    DatabaseErrorFmt("Invalid unique field value '%s'", {text});
  }
  return insertPositions;
}

// --- Position helpers ---------------------------------------------------------------------------

int TTomeTableIO::NaturalPosition(const TPositionList& list, int position) {
  return NaturalIndexOf(list.at(size_t(position)).RecNo);
}

int TTomeTableIO::NaturalIndexOf(int32_t recNo) {
  const TPositionList& natural = NaturalList();
  auto it = std::lower_bound(natural.begin(), natural.end(), recNo,
                             [](const TRecordPosition& p, int32_t r) { return p.RecNo < r; });
  return it != natural.end() && it->RecNo == recNo ? int(it - natural.begin()) : -1;
}

int TTomeTableIO::PositionInList(int listNo, int32_t recNo) {
  const TPositionList& list = IndexList(listNo);
  for (auto it = list.begin(); it != list.end(); ++it)
    if (it->RecNo == recNo) return int(it.Index());
  return -1;
}

int64_t TTomeTableIO::RecordTabItemPos(int32_t recNo) const {
  return int64_t(recordTabChunks_[size_t(recNo / kTabChunkItems)]) + 4 +
         int64_t(recNo % kTabChunkItems) * kRecordTabItemSize;
}

int64_t TTomeTableIO::IndexEntryPos(int index, int32_t recNo) const {
  return int64_t(indexTabChunks_[size_t(index)][size_t(recNo / kTabChunkItems)]) + 4 +
         int64_t(recNo % kTabChunkItems) * kIndexTabEntrySize;
}

// --- Values -------------------------------------------------------------------------------------------

void TTomeTableIO::ReadFieldOfRecord(TMemoryStream& target, int32_t recNo, int field) {
  const TTomeFieldDef* def = fieldDefs_.Items(field);
  fileIO_.ReadFieldValue(target, int64_t(recordTab_.DataPosAt(size_t(recNo))) + fieldOffsets_[size_t(field)],
                         IsFieldCompressed(field), IsFieldEncrypted(field),
                         TFieldBufferItem::IsBlobType(def->FieldType), StoredFieldWidth(def->FieldType, def->DataSize),
                         def->Name(), tableName_);
}

void TTomeTableIO::EncodeFixedValue(TFieldBufferItem& item, int field, uint8_t* fixedPart) {
  fileIO_.EncodeFieldBuffer(item.ValueRef(), fixedPart + fieldOffsets_[size_t(field)], IsFieldEncrypted(field),
                            item.FieldSize());
}

void TTomeTableIO::EncodeBlobValue(TFieldBufferItem& item, int field, TMemoryStream& stored) {
  fileIO_.EncodeFieldStream(*item.Stream(), stored, IsFieldCompressed(field), IsFieldEncrypted(field));
}

void TTomeTableIO::WriteBlobArea(TFieldBufferItem& item, int field, TMemoryStream& stored, int64_t position,
                                 int64_t areaSize) {
  const int64_t size = stored.Size();
  std::vector<uint8_t> area(static_cast<size_t>(areaSize), 0);
  auto write = [&] {
    if (size > 0) std::memcpy(area.data(), stored.Memory(), size_t(size));
    fileIO_.WriteBuffer(area.data(), position, areaSize);
  };
  write();
  if (!fileIO_.ExtensionHeader().WriteVerify()) return;

  TMemoryStream& plain = *item.Stream();
  const uint32_t expected = BufferCRC32(plain.Memory(), plain.Size());
  for (int tries = 1;; ++tries) {
    TMemoryStream readBack, decoded;
    readBack.SetSize(size);
    fileIO_.ReadBuffer(readBack.Memory(), position, size);
    bool same = false;
    try {
      fileIO_.DecodeFieldStream(readBack, decoded, IsFieldCompressed(field), IsFieldEncrypted(field));
      same = BufferCRC32(decoded.Memory(), decoded.Size()) == expected;
    } catch (const Exception&) {
      same = false;  // a value that no longer decodes did not read back
    }
    if (same) return;
    if (tries == kMaxWriteVerifyTries)
      DatabaseErrorFmt("Value of field '%s' does not read back as written", {fieldDefs_.Items(field)->Name()});
    EncodeBlobValue(item, field, stored);
    if (stored.Size() != size)
      DatabaseErrorFmt("Value of field '%s' does not read back as written", {fieldDefs_.Items(field)->Name()});
    write();
  }
}

void TTomeTableIO::BumpChangeStamp() {
  header_.SetChangeStamp(header_.ChangeStamp() + 1);
  uint8_t stamp[4];
  StoreInt32(stamp, int32_t(header_.ChangeStamp()));
  fileIO_.WriteBuffer(stamp, int64_t(fileIO_.TableDirectory().TablePos(tableIndex_)) + kThChangeStamp, 4);
}

// --- Index chains ------------------------------------------------------------------------------------

void TTomeTableIO::WriteIndexEntry(int index, int32_t recNo, TTomeWriteStage stage) {
  uint8_t raw[kIndexTabEntrySize];
  StoreIndexTabItem(raw, {recNo, indexLinks_[size_t(index)][size_t(recNo)]});
  fileIO_.WriteBuffer(raw, IndexEntryPos(index, recNo), kIndexTabEntrySize, stage);
}

// Records linked in key order (ascending keys appended one by one) have
// neighbouring entries, which then go to the file in one write.
void TTomeTableIO::WriteIndexEntries(int index, int32_t recNoA, int32_t recNoB) {
  const int32_t low = std::min(recNoA, recNoB), high = std::max(recNoA, recNoB);
  const int64_t lowPos = IndexEntryPos(index, low);
  if (high != low + 1 || IndexEntryPos(index, high) != lowPos + kIndexTabEntrySize) {
    WriteIndexEntry(index, recNoA, wsLinks);
    WriteIndexEntry(index, recNoB, wsLinks);
    return;
  }
  const TIndexLinks& links = indexLinks_[size_t(index)];
  uint8_t raw[2 * kIndexTabEntrySize];
  StoreIndexTabItem(raw, {low, links[size_t(low)]});
  StoreIndexTabItem(raw + kIndexTabEntrySize, {high, links[size_t(high)]});
  fileIO_.WriteBuffer(raw, lowPos, sizeof raw, wsLinks);
}

void TTomeTableIO::LinkNewEntry(int index, int32_t recNo, int position, bool& headerChanged) {
  TIntegerAry& chunks = indexTabChunks_[size_t(index)];
  if (recNo % kTabChunkItems == 0) {
    const int32_t chunkPos = int32_t(fileIO_.FileSize());
    std::vector<uint8_t> chunk(kIndexTabChunkSize, 0);
    fileIO_.WriteBuffer(chunk.data(), chunkPos, kIndexTabChunkSize);
    if (chunks.empty()) {
      header_.SetIndexTabPos(index, chunkPos);
      headerChanged = true;
    } else {
      uint8_t next[4];
      StoreInt32(next, chunkPos);
      fileIO_.WriteBuffer(next, chunks.back(), 4);
    }
    chunks.push_back(chunkPos);
  }
  indexLinks_[size_t(index)].push_back(-1);
  if (recNo == 0) {
    WriteIndexEntry(index, recNo, wsBody);  // (0, -1); the head stays 0
    return;
  }
  LinkEntryAt(index, recNo, position, headerChanged, wsBody);
}

// The chain predecessor may be a deleted record, so it is found in the
// entries rather than in the list.
void TTomeTableIO::UnlinkEntry(int index, int32_t recNo, bool& headerChanged) {
  TIndexLinks& links = indexLinks_[size_t(index)];
  const int32_t next = links[size_t(recNo)];
  if (header_.Head(index) == recNo) {
    header_.SetHead(index, next);
    headerChanged = true;
    return;
  }
  for (int32_t k = 0; k < int32_t(links.size()); ++k)
    if (links[size_t(k)] == recNo) {
      links[size_t(k)] = next;
      WriteIndexEntry(index, k, wsLinks);
      return;
    }
}

// Links the record where position of list j + 1 (the list without it)
// puts it: at the head for position 0, else behind the record before it.
// The record's own entry goes out in its stage; the entry before it, which
// readers follow already, in the wsLinks stage.
void TTomeTableIO::LinkEntryAt(int index, int32_t recNo, int position, bool& headerChanged,
                               TTomeWriteStage ownStage) {
  TIndexLinks& links = indexLinks_[size_t(index)];
  if (position == 0) {
    links[size_t(recNo)] = header_.Head(index);
    header_.SetHead(index, recNo);
    headerChanged = true;
    WriteIndexEntry(index, recNo, ownStage);
    return;
  }
  const int32_t before = RecNoAt(index, size_t(position - 1));
  links[size_t(recNo)] = links[size_t(before)];
  links[size_t(before)] = recNo;
  if (ownStage == wsLinks) {
    WriteIndexEntries(index, recNo, before);
    return;
  }
  WriteIndexEntry(index, recNo, ownStage);
  WriteIndexEntry(index, before, wsLinks);
}

// --- Append ------------------------------------------------------------------------------------------------

void TTomeTableIO::AppendRecord(TFieldBuffers& fields, bool flush, const TAppendCallback& callback,
                                TObject* dataSet) {
  CheckCanWrite();
  TLockScope lock(*this);
  RefreshLocked();
  LoadIndexLists();
  CheckFieldBuffers(fields);

  const int32_t n = header_.RecordCount();
  const int fieldCount = fieldDefs_.Count(), indexCount = indexDefs_.Count();
  const bool newChunk = n % kTabChunkItems == 0;

  // Auto-increment: 0 takes the next counter value, which no record has
  // yet; a larger value raises the counter. The record takes its number
  // before the unique check, so that the check's searches also give each
  // index the new record's place; a refused record keeps the value it had.
  int32_t counter = header_.AutoIncCounter();
  int32_t givenNumber = 0, number = 0;
  TFieldBufferItem* autoInc = autoIncField_ >= 0 ? &fields.Items(autoIncField_) : nullptr;
  if (autoInc && !autoInc->Active()) autoInc = nullptr;
  if (autoIncField_ >= 0) {
    if (autoInc) std::memcpy(&givenNumber, autoInc->ValueRef(), 4);
    number = givenNumber == 0 ? ++counter : givenNumber;
    counter = std::max(counter, number);
    if (autoInc) std::memcpy(const_cast<void*>(autoInc->ValueRef()), &number, 4);
  }
  std::vector<int> insertPositions;
  try {
    insertPositions = CheckUnique(fields, -1);
  } catch (...) {
    if (autoInc) std::memcpy(const_cast<void*>(autoInc->ValueRef()), &givenNumber, 4);
    throw;
  }

  // Encode everything before the first write.
  std::vector<uint8_t> fixedPart(static_cast<size_t>(recordSize_), 0);
  std::vector<TMemoryStream> stored(static_cast<size_t>(fieldCount));
  int64_t blobBytes = 0;
  bool hasBlobs = false;
  for (int f = 0; f < fieldCount; ++f) {
    TFieldBufferItem& item = fields.Items(f);
    if (!item.Active()) continue;
    if (item.IsBlob()) {
      EncodeBlobValue(item, f, stored[size_t(f)]);
      blobBytes += BlobAreaSize(stored[size_t(f)].Size());
      hasBlobs = true;
      continue;
    }
    if (IsPaddedStringType(item.FieldType())) {
      auto* text = static_cast<uint8_t*>(const_cast<void*>(item.ValueRef()));
      const size_t size = size_t(item.FieldSize());
      const void* nul = std::memchr(text, 0, size - 1);
      const size_t length = nul ? size_t(static_cast<const uint8_t*>(nul) - text) : size - 1;
      std::memset(text + length, 0, size - length);
    }
    EncodeFixedValue(item, f, fixedPart.data());
  }
  // A data set without the auto-increment field still numbers the record.
  if (autoIncField_ >= 0 && !autoInc)
    fileIO_.EncodeFieldBuffer(&number, fixedPart.data() + fieldOffsets_[size_t(autoIncField_)],
                              IsFieldEncrypted(autoIncField_), 4);
  const int64_t fileSize = fileIO_.FileSize();
  const int64_t growth = (newChunk ? kRecordTabChunkSize : 0) + recordSize_ + blobBytes +
                         (newChunk ? int64_t(indexCount) * kIndexTabChunkSize : 0);
  if (fileSize + growth > kMaxFileSize)
    DatabaseErrorFmt("Database file '%s' cannot grow past 2 GB", {fileIO_.FileName()});

  fileIO_.CollectWrites();
  try {
    WriteAppended(fields, n, counter, fixedPart, stored, hasBlobs, insertPositions, callback, dataSet);
  } catch (const EWriteError&) {
    stale_ = true;  // what we hold is not what the file holds
    // The table header may have gone out in part, its record count with
    // it: the header the file had takes its place again, so that the
    // append that failed is not committed.
    try {
      fileIO_.WriteTableHeader(tableIndex_, fileHeader_);
    } catch (const Exception&) {
    }
    throw;
  } catch (...) {
    stale_ = true;
    throw;
  }
  NoteOwnWrite();
  if (flush) fileIO_.Flush();
}

// Everything but the table header goes out before it, the entries before
// the new record in index order after it (see CollectWrites).
void TTomeTableIO::WriteAppended(TFieldBuffers& fields, int32_t n, int32_t counter, std::vector<uint8_t>& fixedPart,
                                 std::vector<TMemoryStream>& stored, bool hasBlobs,
                                 const std::vector<int>& insertPositions, const TAppendCallback& callback,
                                 TObject* dataSet) {
  const int fieldCount = fieldDefs_.Count(), indexCount = indexDefs_.Count();
  const bool newChunk = n % kTabChunkItems == 0;
  const int64_t fileSize = fileIO_.FileSize();
  WriteRepairs();
  // The header goes out whole at the end and carries the change stamp.
  header_.SetChangeStamp(header_.ChangeStamp() + 1);
  // 1. The record tab item, in a new chunk every 1024 records.
  int32_t dataPos;
  if (newChunk) {
    const int32_t chunkPos = int32_t(fileSize);
    dataPos = chunkPos + kRecordTabChunkSize;
    std::vector<uint8_t> chunk(kRecordTabChunkSize, 0);
    StoreRecordTabItem(chunk.data() + 4, {dataPos, 0});
    fileIO_.WriteBuffer(chunk.data(), chunkPos, kRecordTabChunkSize);
    if (n == 0) {
      header_.SetRecordTabPos(chunkPos);
    } else {
      uint8_t next[4];
      StoreInt32(next, chunkPos);
      fileIO_.WriteBuffer(next, recordTabChunks_.back(), 4);
    }
    recordTabChunks_.push_back(chunkPos);
  } else {
    dataPos = int32_t(fileSize);
    uint8_t raw[kRecordTabItemSize];
    StoreRecordTabItem(raw, {dataPos, 0});
    fileIO_.WriteBuffer(raw, RecordTabItemPos(n), kRecordTabItemSize);
  }
  recordTab_.push_back(dataPos, false);

  // 2. Record tab position, record count and the counter, written with
  // the whole header at the end.
  header_.SetRecordCount(n + 1);
  header_.SetAutoIncCounter(counter);

  // 3. The fixed part takes its place, the blob areas follow it, then the
  // fixed part is written with the values and descriptors. Without blob
  // values the fixed part goes straight to its place.
  if (hasBlobs) fileIO_.WriteBuffer(std::vector<uint8_t>(size_t(recordSize_), 0).data(), dataPos, recordSize_);
  for (int f = 0; f < fieldCount; ++f) {
    TFieldBufferItem& item = fields.Items(f);
    if (!item.Active() || !item.IsBlob()) continue;
    TBlobDescriptor d;
    d.DataPos = int32_t(fileIO_.FileSize());
    d.DataSize = int32_t(stored[size_t(f)].Size());
    d.AreaSize = int32_t(BlobAreaSize(d.DataSize));
    WriteBlobArea(item, f, stored[size_t(f)], d.DataPos, d.AreaSize);
    StoreBlobDescriptor(fixedPart.data() + fieldOffsets_[size_t(f)], d);
  }
  fileIO_.WriteBuffer(fixedPart.data(), dataPos, recordSize_);
  KeepKeyValues(n, fixedPart);

  // 4. The record joins the natural order and every index chain.
  const TRecordPosition record{dataPos, n};
  if (naturalListMade_) lists_[0].push_back(record);
  if (callback) callback(dataSet, -1, -1, record);
  bool headerChanged = false;
  for (int j = 0; j < indexCount; ++j) {
    const int position = insertPositions[size_t(j)];
    if (callback) callback(dataSet, j, position, record);
    LinkNewEntry(j, n, position, headerChanged);
    TPositionList& list = lists_[size_t(j) + 1];
    list.insert(list.begin() + position, record);
    OrderInsert(j, position, n, fixedPart);
  }
  // The header image is the file's, read under this lock, with our changes.
  // Once it is out the record is committed: a reader links it from its own
  // entry when the link from the record before it did not reach the file
  // (LinkCommittedLast), so that failure fails no append; the table loads
  // again at the next lock.
  fileIO_.WriteTableHeader(tableIndex_, header_, wsCommit);
  if (!fileIO_.IssueWrites(true)) stale_ = true;
}

// --- Modify -------------------------------------------------------------------------------------------------

// Where a modified blob value goes.
struct TTomeTableIO::TBlobPlan {
  bool write = false;
  TMemoryStream stored;
  TBlobDescriptor descriptor;  // the new one
  bool append = false;         // the area goes to the end of the file
};

void TTomeTableIO::ModifyRecord(TFieldBuffers& fields, int naturalPosition, const TMoveCallback& callback,
                                TObject* dataSet, bool flush) {
  CheckCanWrite();
  const int32_t recNo = NaturalList().at(size_t(naturalPosition)).RecNo;
  TLockScope lock(*this);
  RefreshLocked();
  LoadIndexLists();
  if (recordTab_.DeletedAt(size_t(recNo))) DatabaseError("Record deleted by another user");
  CheckFieldBuffers(fields);
  CheckUnique(fields, recNo);

  const int fieldCount = fieldDefs_.Count();
  const int32_t dataPos = recordTab_.DataPos(size_t(recNo));
  std::vector<uint8_t> fixedPart(static_cast<size_t>(recordSize_));
  fileIO_.ReadStored(fixedPart.data(), dataPos, recordSize_);

  // Plan every value before the first write.
  const int64_t fileSize = fileIO_.FileSize();
  int64_t fileEnd = fileSize;
  int32_t counter = header_.AutoIncCounter();
  std::vector<TBlobPlan> blobs(static_cast<size_t>(fieldCount));
  for (int f = 0; f < fieldCount; ++f) {
    TFieldBufferItem& item = fields.Items(f);
    if (!item.Active()) continue;
    if (!item.IsBlob()) {
      if (f == autoIncField_) {
        int32_t value;
        std::memcpy(&value, item.ValueRef(), 4);
        if (value == 0) continue;  // leaves the stored number
        counter = std::max(counter, value);
      }
      EncodeFixedValue(item, f, fixedPart.data());
      continue;
    }
    // A value that the data set never loaded is not in its stream: the
    // stored one stays.
    auto* deferred = dynamic_cast<TTomeDeferredBlob*>(item.Stream());
    if (deferred && !deferred->IsLoaded()) continue;
    TBlobPlan& plan = blobs[size_t(f)];
    plan.write = true;
    EncodeBlobValue(item, f, plan.stored);
    const TBlobDescriptor old = LoadBlobDescriptor(fixedPart.data() + fieldOffsets_[size_t(f)]);
    ValidateBlobDescriptor(old, fileSize, fileIO_.FileName());
    const int32_t size = int32_t(plan.stored.Size());
    plan.descriptor = old;
    plan.descriptor.DataSize = size;
    if (size < old.AreaSize) continue;  // fits the old area, which keeps its size
    const int64_t area = BlobAreaSize(size);
    if (old.AreaSize > 0 && int64_t(old.DataPos) + old.AreaSize == fileEnd) {
      // The old area is the last thing in the file: it grows in place.
      fileEnd = int64_t(old.DataPos) + area;
    } else {
      plan.append = true;
      fileEnd += area;
    }
    plan.descriptor.AreaSize = int32_t(std::min<int64_t>(area, kMaxFileSize));
  }
  if (fileEnd > kMaxFileSize) DatabaseErrorFmt("Database file '%s' cannot grow past 2 GB", {fileIO_.FileName()});

  fileIO_.CollectWrites();
  try {
    WriteModified(fields, recNo, counter, fixedPart, blobs, callback, dataSet);
  } catch (...) {
    stale_ = true;  // what we hold is not what the file holds
    throw;
  }
  NoteOwnWrite();
  if (flush) fileIO_.Flush();
}

// New blob areas go out first, then the fixed part that points to them,
// then the index chains.
void TTomeTableIO::WriteModified(TFieldBuffers& fields, int32_t recNo, int32_t counter,
                                 std::vector<uint8_t>& fixedPart, std::vector<TBlobPlan>& blobs,
                                 const TMoveCallback& callback, TObject* dataSet) {
  const int fieldCount = fieldDefs_.Count(), indexCount = indexDefs_.Count();
  const int32_t dataPos = recordTab_.DataPos(size_t(recNo));
  WriteRepairs();
  BumpChangeStamp();
  for (int f = 0; f < fieldCount; ++f) {
    TBlobPlan& plan = blobs[size_t(f)];
    if (!plan.write) continue;
    if (plan.append) plan.descriptor.DataPos = int32_t(fileIO_.FileSize());
    WriteBlobArea(fields.Items(f), f, plan.stored, plan.descriptor.DataPos, plan.descriptor.AreaSize);
    StoreBlobDescriptor(fixedPart.data() + fieldOffsets_[size_t(f)], plan.descriptor);
  }
  if (counter != header_.AutoIncCounter()) {
    header_.SetAutoIncCounter(counter);
    fileIO_.WriteBuffer(&header_.Image[kThAutoIncCounter],
                        int64_t(fileIO_.TableDirectory().TablePos(tableIndex_)) + kThAutoIncCounter, 4, wsCommit);
  }
  fileIO_.WriteBuffer(fixedPart.data(), dataPos, recordSize_, wsCommit);
  ForgetKeyValues(recNo);

  // Records whose key changed place move in their lists and chains.
  bool headerChanged = false;
  for (int j = 0; j < indexCount; ++j) {
    TPositionList& list = lists_[size_t(j) + 1];
    const int o = PositionInList(j + 1, recNo);
    const TRecordPosition record = list[size_t(o)];
    list.erase(list.begin() + o);
    OrderErase(j, o);
    int side;
    const int d = InsertPositionFor(fields, j, side);
    if (d == o) {
      list.insert(list.begin() + o, record);
      OrderInsert(j, o, recNo, fixedPart);
      continue;
    }
    if (callback) callback(dataSet, j, o, d < o ? d : d + 1);
    UnlinkEntry(j, recNo, headerChanged);
    LinkEntryAt(j, recNo, d, headerChanged, wsLinks);
    list.insert(list.begin() + d, record);
    OrderInsert(j, d, recNo, fixedPart);
  }
  if (headerChanged) fileIO_.WriteTableHeader(tableIndex_, header_, wsLinks);
  fileIO_.IssueWrites();
}

// --- Delete and read ----------------------------------------------------------------------------------------

void TTomeTableIO::DeleteRecord(int naturalPosition, bool flush) {
  CheckCanWrite();
  const int32_t recNo = NaturalList().at(size_t(naturalPosition)).RecNo;
  TLockScope lock(*this);
  RefreshLocked();
  if (recordTab_.DeletedAt(size_t(recNo))) return;  // another writer deleted it
  fileIO_.CollectWrites();
  try {
    WriteRepairs();
    BumpChangeStamp();
    fileIO_.MarkRecordDeleted(RecordTabItemPos(recNo));
    fileIO_.IssueWrites();
  } catch (...) {
    stale_ = true;  // what we hold is not what the file holds
    throw;
  }
  recordTab_.SetDeleted(size_t(recNo));
  // An index order not read yet will skip the record when it is.
  for (size_t l = 1; l < lists_.size(); ++l) {
    if (!indexListLoaded_[l - 1]) continue;
    const int pos = PositionInList(int(l), recNo);
    lists_[l].erase(lists_[l].begin() + pos);
    OrderErase(int(l) - 1, pos);
  }
  if (naturalListMade_) lists_[0].erase(lists_[0].begin() + NaturalIndexOf(recNo));
  NoteOwnWrite();
  if (flush) fileIO_.Flush();
}

void TTomeTableIO::ReadRecord(TFieldBuffers& fields, const TPositionList& list, int position) {
  const int32_t dataPos = list.at(size_t(position)).DataPos;
  TLockScope lock(*this);
  CheckFieldBuffers(fields);
  recordScratch_.resize(size_t(recordSize_));
  fileIO_.ReadStored(recordScratch_.data(), dataPos, recordSize_);
  DecodeRecord(fields, DecodePlan(fields), recordScratch_.data(), dataPos);
}

void TTomeTableIO::ScanRecords(TFieldBuffers& fields, const TPositionList& list,
                               const std::function<void(int position, const TRecordPosition& record)>& each) {
  // Short enough that other writers hardly wait for a batch.
  constexpr int kBatchRecords = 4096;
  // A batch whose records lie within this many bytes (natural order: the
  // records with the record tab chunks between them) is read in one piece;
  // scattered ones (index order) go through the read cache one by one.
  constexpr int64_t kMaxSpanBytes = int64_t(1) << 20;
  const int count = int(list.size());
  std::vector<TRecordPosition> records;  // the batch's entries, taken from the list once
  std::vector<uint8_t> batch;
  std::vector<size_t> offsets;
  std::vector<TDecodeStep> plan;
  auto next = list.begin();
  for (int first = 0; first < count; first += kBatchRecords) {
    const int n = std::min(kBatchRecords, count - first);
    records.clear();
    for (int k = 0; k < n; ++k, ++next) records.push_back(*next);
    {
      TLockScope lock(*this);
      CheckFieldBuffers(fields);
      plan = DecodePlan(fields);
      ReadBatch(records, kMaxSpanBytes, batch, offsets);
    }
    for (int k = 0; k < n; ++k) {
      const TRecordPosition& record = records[size_t(k)];
      DecodeRecord(fields, plan, batch.data() + offsets[size_t(k)], record.DataPos);
      each(first + k, record);
    }
  }
}

void TTomeTableIO::ReadBatch(const std::vector<TRecordPosition>& records, int64_t maxSpan,
                             std::vector<uint8_t>& batch, std::vector<size_t>& offsets) {
  const size_t n = records.size();
  offsets.resize(n);
  int64_t low = std::numeric_limits<int64_t>::max(), high = 0;
  for (const TRecordPosition& record : records) {
    low = std::min<int64_t>(low, record.DataPos);
    high = std::max<int64_t>(high, int64_t(record.DataPos) + recordSize_);
  }
  if (high - low <= maxSpan) {
    batch.resize(size_t(high - low));
    ReadSpan(records, low, high, batch);
    for (size_t k = 0; k < n; ++k) offsets[k] = size_t(records[k].DataPos - low);
    return;
  }
  batch.resize(n * size_t(recordSize_));
  for (size_t k = 0; k < n; ++k) {
    offsets[k] = k * size_t(recordSize_);
    fileIO_.ReadStored(batch.data() + offsets[k], records[k].DataPos, recordSize_);
  }
}

void TTomeTableIO::ReadSpan(const std::vector<TRecordPosition>& records, int64_t low, int64_t high,
                            std::vector<uint8_t>& batch) {
  // A gap this long costs more to copy than a further read.
  constexpr int64_t kMinSkippedGap = 4096;
  auto read = [&](int64_t from, int64_t to) { fileIO_.ReadBuffer(batch.data() + (from - low), from, to - from); };
  const auto byPosition = [](const TRecordPosition& a, const TRecordPosition& b) { return a.DataPos < b.DataPos; };
  if (!std::is_sorted(records.begin(), records.end(), byPosition)) {
    read(low, high);
    return;
  }
  int64_t runStart = low, runEnd = low;
  for (const TRecordPosition& record : records) {
    if (record.DataPos - runEnd >= kMinSkippedGap) {
      read(runStart, runEnd);
      runStart = record.DataPos;
    }
    runEnd = std::max<int64_t>(runEnd, int64_t(record.DataPos) + recordSize_);
  }
  read(runStart, runEnd);
}

std::vector<TTomeTableIO::TDecodeStep> TTomeTableIO::DecodePlan(TFieldBuffers& fields) const {
  std::vector<TDecodeStep> plan;
  for (int f = 0; f < fields.Count(); ++f) {
    TFieldBufferItem& item = fields.Items(f);
    if (!item.Active()) continue;
    const bool blob = item.IsBlob();
    uint8_t* target = blob ? nullptr : static_cast<uint8_t*>(const_cast<void*>(item.ValueRef()));
    plan.push_back({f, fieldOffsets_[size_t(f)], target, item.FieldSize(), blob, IsFieldEncrypted(f),
                    blob && IsFieldCompressed(f)});
  }
  return plan;
}

void TTomeTableIO::DecodeRecord(TFieldBuffers& fields, const std::vector<TDecodeStep>& plan,
                                const uint8_t* fixedPart, int32_t dataPos) {
  for (const TDecodeStep& step : plan) {
    if (!step.Blob) {
      // A plain value is stored as the record buffer holds it.
      if (step.Encrypted)
        fileIO_.DecodeFieldBuffer(fixedPart + step.Offset, step.Target, true, step.Size);
      else
        std::memcpy(step.Target, fixedPart + step.Offset, size_t(step.Size));
      continue;
    }
    TFieldBufferItem& item = fields.Items(step.Field);
    const int32_t valuePos = dataPos + step.Offset;
    if (auto* deferred = dynamic_cast<TTomeDeferredBlob*>(item.Stream())) {
      deferred->SetLoadInfo(valuePos, step.Encrypted, step.Compressed);
    } else {
      TLockScope lock(*this);
      fileIO_.ReadFieldValue(*item.Stream(), valuePos, step.Compressed, step.Encrypted, true, kBlobDescriptorSize,
                             fieldDefs_.Items(step.Field)->Name(), tableName_);
    }
  }
}
