// Reads through the file's read cache: cached bytes serve reads only while
// the cache is on, our own writes update them, and a change by another
// writer (seen in the table header) empties them; scans read records in
// batches and never hold the lock while the caller looks at a record.
#include "support/TestSupport.h"
#include "tabledb/TomeDBFileCheck.h"
#include "test_tomedb_file_util.h"

using namespace tomedb_test;
using testing_support::TempDir;

namespace {

constexpr char kItems[] = R"(
table Items
  field Id autoinc
  field Name string 20
  field Qty integer
  index PK Id primary unique
  index ByName Name
)";

String ReadStoredText(TTomeDBFileIO& io, int64_t position, int64_t count) {
  String text(size_t(count), '\0');
  io.ReadStored(text.data(), position, count);
  return text;
}

TEST(TomeDBFileCache, CachedBytesServeReadsOnlyWhileOnAndFollowOurWrites) {
  TempDir dir;
  const String file = dir.File("c.tdb");
  MakeDatabase(file, kItems);
  TTomeDBFileIO io(nullptr);
  io.Open(file, mtDisk, 0, false, false);
  // A spot that spans two cache blocks, past everything the file holds.
  const int64_t block = TTomeDBReadCache::kBlockSize;
  const int64_t at = (io.FileSize() / block + 2) * block - 3;
  const String first(8, 'a');
  io.WriteBuffer(first.data(), at, 8);

  io.SetReadCacheEnabled(true);
  EXPECT_EQ(ReadStoredText(io, at, 8), first);
  PatchFile(file, at, "bbbbbbbb", 8);  // behind the cache's back
  EXPECT_EQ(ReadStoredText(io, at, 8), first);
  io.SetReadCacheEnabled(false);
  EXPECT_EQ(ReadStoredText(io, at, 8), "bbbbbbbb");

  io.SetReadCacheEnabled(true);
  io.WriteBuffer("cc", at + 2, 2);  // our own write, across the block edge
  EXPECT_EQ(ReadStoredText(io, at, 8), "aaccaaaa");
  // The file grows past the cached tail: the tail block is read again.
  PatchFile(file, at + 8, "dd", 2);
  EXPECT_EQ(ReadStoredText(io, at + 6, 4), "bbdd");
  io.ClearReadCache();
  EXPECT_EQ(ReadStoredText(io, at, 10), "bbccbbbbdd");
  // Past the end a cached read fails as a direct one does.
  char buffer[4];
  EXPECT_ANY_THROW(io.ReadStored(buffer, at + 8, 4));
  EXPECT_ANY_THROW(io.ReadBuffer(buffer, at + 8, 4));
}

// Another file object stands for another process: its modify of a value
// that no index holds changes nothing in the header but the change
// counter, and that is enough for cached reads to see the new value.
TEST(TomeDBFileCache, ReadsSeeAnotherWritersChanges) {
  TempDir dir;
  const String file = dir.File("two.tdb");
  MakeDatabase(file, kItems);
  OpenTable a(file, "Items"), b(file, "Items");
  for (int i = 0; i < 3; ++i) Row(a.table).SetText("Name", "n" + IntToStr(i)).Set<int32_t>("Qty", i).Append();
  Row ra(a.table);
  ra.Read(0, 1);
  EXPECT_EQ(ra.Get<int32_t>("Qty"), 1);

  Row(b.table).SetText("Name", "n3").Set<int32_t>("Qty", 3).Append();  // b takes in a's records
  Row rb(b.table);
  rb.Read(0, 1);
  rb.Set<int32_t>("Qty", 77);
  b.table.ModifyRecord(rb.Buffers(), 1, nullptr, nullptr, false);
  ra.Read(0, 1);
  EXPECT_EQ(ra.Get<int32_t>("Qty"), 77);
  // a's next append takes in b's record.
  Row(a.table).SetText("Name", "n4").Set<int32_t>("Qty", 4).Append();
  ra.Read(0, 3);
  EXPECT_EQ(ra.Text("Name"), "n3");
  EXPECT_TRUE(CheckTomeDatabase(file, "").empty());
}

// More records than one batch holds; in the middle of the scan another
// writer appends, which it could not while the scan held the lock.
TEST(TomeDBFileCache, ScanVisitsEveryRecordWithoutHoldingTheLock) {
  TempDir dir;
  const String file = dir.File("scan.tdb");
  MakeDatabase(file, kItems);
  OpenTable a(file, "Items"), b(file, "Items");
  constexpr int kCount = 2500;
  for (int i = 0; i < kCount; ++i) Row(a.table).SetText("Name", "n" + IntToStr(i)).Set<int32_t>("Qty", i).Append();
  a.fileIO.GetLockPolicy = [] { return TTomeLockPolicy{1, 1}; };
  b.fileIO.GetLockPolicy = a.fileIO.GetLockPolicy;

  Row row(a.table);
  std::vector<int> seen;
  bool mismatch = false;
  a.table.ScanRecords(row.Buffers(), a.table.IndexList(0), [&](int position, const TRecordPosition&) {
    seen.push_back(position);
    mismatch = mismatch || row.Get<int32_t>("Qty") != position || row.Text("Name") != "n" + IntToStr(position);
    if (position == 1500) Row(b.table).SetText("Name", "late").Append();
  });
  EXPECT_FALSE(mismatch);
  ASSERT_EQ(seen.size(), size_t(kCount));
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(seen[size_t(i)], i);
  EXPECT_TRUE(CheckTomeDatabase(file, "").empty());
}

// A batch reads records that lie in file order in runs, skipping the long
// gaps between them (tab chunks, blob areas); records out of file order
// (an index order) come in one piece. Gaps on both sides of the skipping
// length, in both orders: every record reads its own values.
TEST(TomeDBFileCache, ScanReadsRecordsAcrossTheGapsBetweenThem) {
  TempDir dir;
  const String file = dir.File("gaps.tdb");
  MakeDatabase(file, R"(
table Notes
  field Name string 20
  field Body blob plain
  field Qty integer
  index ByName Name
)");
  OpenTable t(file, "Notes");
  // Few long gaps, so that a batch's records lie within the span that is
  // read at once.
  constexpr int kCount = 2000;
  auto blobSizeOf = [](int i) { return i % 100 == 0 ? 9000 : i % 100 == 25 ? 4100 : i % 100 == 50 ? 4000 : i % 2; };
  auto nameOf = [](int i) { return "n" + IntToStr((i * 7) % kCount); };
  // Every byte of a record counts, its last one too.
  auto qtyOf = [](int i) { return int32_t(0x01010101 * (i % 100 + 1)); };
  for (int i = 0; i < kCount; ++i)
    Row(t.table)
        .SetText("Name", nameOf(i))
        .Set<int32_t>("Qty", qtyOf(i))
        .SetBlob("Body", String(size_t(blobSizeOf(i)), 'b'))
        .Append();
  for (int listNo : {0, 1}) {
    Row row(t.table);
    row.SetActive("Body", false);
    const TPositionList& list = t.table.IndexList(listNo);
    int visited = 0, wrong = 0;
    t.table.ScanRecords(row.Buffers(), list, [&](int position, const TRecordPosition& record) {
      ++visited;
      const int i = record.RecNo;
      if (row.Get<int32_t>("Qty") != qtyOf(i) || row.Text("Name") != nameOf(i) || (listNo == 0 && i != position))
        ++wrong;
    });
    EXPECT_EQ(visited, kCount) << listNo;
    EXPECT_EQ(wrong, 0) << listNo;
  }
}

}  // namespace

namespace {

String FileText(const String& file, int64_t position, size_t count) {
  const Bytes bytes = FileBytes(file);
  return String(reinterpret_cast<const char*>(bytes.data()) + position, count);
}

// Collected writes reach the file only when issued (or when a read needs
// them), in one piece where they touch, the later of two overlapping ones
// winning; released with the lock unissued, they are dropped from the file
// and from the cache alike.
TEST(TomeDBFileCache, CollectedWritesIssueTogetherOrDropWithTheLock) {
  TempDir dir;
  const String file = dir.File("w.tdb");
  MakeDatabase(file, kItems);
  TTomeDBFileIO io(nullptr);
  io.Open(file, mtDisk, 0, false, false);
  const int64_t at = io.FileSize();
  const String blank(16, '.');
  io.WriteBuffer(blank.data(), at, 16);

  io.Lock();
  io.CollectWrites();
  io.WriteBuffer("xxxx", at + 10, 4);
  io.WriteBuffer("aaaa", at, 4);
  io.WriteBuffer("bb", at + 1, 2);    // later, over the first
  io.WriteBuffer("cc", at + 4, 2);    // touching it
  io.WriteBuffer("yyyy", at + 8, 4);  // later, over the first one's start
  EXPECT_EQ(io.FileSize(), at + 16);
  EXPECT_EQ(FileText(file, at, 16), blank);
  io.IssueWrites();
  EXPECT_EQ(FileText(file, at, 16), "abbacc..yyyyxx..");

  io.CollectWrites();
  io.WriteBuffer("r", at, 1);
  char read[2];
  io.ReadBuffer(read, at, 2);  // a read sees what was collected before it
  EXPECT_EQ(String(read, 2), "rb");
  EXPECT_EQ(FileText(file, at, 2), "rb");
  io.IssueWrites();

  const Bytes before = FileBytes(file);
  io.SetReadCacheEnabled(true);
  EXPECT_EQ(ReadStoredText(io, at, 4), "rbba");  // cached now
  io.CollectWrites();
  io.WriteBuffer("zz", at, 2);
  io.WriteBuffer("zz", at + 20, 2);  // past the end
  io.Unlock();                       // as an operation that failed half-way
  EXPECT_EQ(FileBytes(file), before);
  io.Lock();
  EXPECT_EQ(io.FileSize(), at + 16);
  io.SetReadCacheEnabled(true);
  EXPECT_EQ(ReadStoredText(io, at, 4), "rbba");
  io.Unlock();
}

}  // namespace
