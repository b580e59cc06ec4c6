// Appends that do not finish: a writer killed before any one of its
// writes, a write that fails as on a full disk, and a file whose last
// record an older writer left unfinished. After each the table opens, the
// file checks sound, every row whose append returned is there (and the
// row being appended when its table header was out already), and the next
// append works.
#include <cstdlib>

#include "platform/OsFiles.h"
#include "support/TestSupport.h"
#include "tabledb/TomeDBFileCheck.h"
#include "test_tomedb_file_util.h"

using namespace tomedb_test;
using testing_support::ChildProcess;
using testing_support::TempDir;

namespace {

// Two indexes whose orders differ (the keys come in scrambled order), a
// compressed memo, and a first record tab chunk that the third appended
// row fills up (rows 1022, 1023 and 1024, the last in new chunks).
constexpr char kInterruptedSchema[] = R"(
compress ZLIB
table T
  field Id autoinc
  field Key integer
  field Memo memo
  index ById Id primary
  index ByKey Key
)";
constexpr int kBaseRows = 1022;
constexpr int kNewRows = 3;
// A killed child exits with this plus the number of its appends that
// returned.
constexpr int kKilledExit = 40;

int32_t KeyOf(int row) { return (row * 7919) % 100003; }
String MemoOf(int row) { return "memo of row " + IntToStr(row) + String(size_t(row % 50), 'x'); }

void AppendRow(TTomeTableIO& table, int row) {
  Row r(table);
  r.Set<int32_t>("Key", KeyOf(row)).SetBlob("Memo", MemoOf(row)).Append();
}

String Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? String(v) : String();
}

void CopyFile(const String& from, const String& to) {
  const Bytes bytes = FileBytes(from);
  TFileStream out(to, fmCreate);
  out.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

// A file with kBaseRows rows, made once per test program.
const String& BaseFile() {
  static TempDir dir;
  static const String file = [] {
    const String f = dir.File("base.tdb");
    MakeDatabase(f, kInterruptedSchema);
    OpenTable t(f, "T", "pw");
    for (int row = 0; row < kBaseRows; ++row) AppendRow(t.table, row);
    return f;
  }();
  return file;
}

// The rows 0..rows-1 are there, in both index orders, with their values,
// and rows is returned or returned + 1; one more row appends and takes its
// place in both orders. found: the rows found.
void ExpectRowsThenAppend(const String& file, int returned, int* found = nullptr) {
  EXPECT_EQ(CheckTomeDatabase(file, "pw"), std::vector<String>{});
  OpenTable t(file, "T", "pw");
  const int rows = int(t.table.IndexList(0).size());
  if (found) *found = rows;
  ASSERT_GE(rows, returned);
  ASSERT_LE(rows, returned + 1);
  ASSERT_EQ(t.table.IndexList(2).size(), size_t(rows));
  Row r(t.table);
  int32_t lastId = 0;
  for (int i = 0; i < rows; ++i) {
    // ById lists the rows in the order appended. A number given to a row
    // whose append failed after the table header went out is not given
    // again.
    r.Read(1, i);
    ASSERT_GT(r.Get<int32_t>("Id"), lastId);
    lastId = r.Get<int32_t>("Id");
    ASSERT_EQ(r.Get<int32_t>("Key"), KeyOf(i));
    ASSERT_EQ(r.Blob("Memo"), MemoOf(i));
  }
  AppendRow(t.table, rows);
  OpenTable again(file, "T", "pw");
  ASSERT_EQ(again.table.IndexList(2).size(), size_t(rows + 1));
  Row last(again.table);
  int32_t lastKey = 0;
  last.Read(1, rows);
  EXPECT_EQ(last.Get<int32_t>("Key"), KeyOf(rows));
  const TPositionList& byKey = again.table.IndexList(2);
  for (size_t i = 0; i < byKey.size(); ++i) {
    last.Read(2, int(i));
    if (i > 0) {
      ASSERT_LE(lastKey, last.Get<int32_t>("Key")) << i;
    }
    lastKey = last.Get<int32_t>("Key");
  }
}

// --- Killed -----------------------------------------------------------------------------------

int writesLeft = 0;
int appendsReturned = 0;

int64_t KillBeforeWrite(THandle, int64_t count) {
  if (--writesLeft == 0) std::_Exit(kKilledExit + appendsReturned);
  return count;
}

// Child: appends the new rows and ends the process before write number
// QE_TOMEDB_KILL_AT.
TEST(TomeDBInterruptedChild, AppendUntilKilled) {
  const String file = Env("QE_TOMEDB_FILE");
  if (file.empty()) GTEST_SKIP() << "runs as a child of the interrupted append tests";
  OpenTable t(file, "T", "pw");
  writesLeft = StrToInt(Env("QE_TOMEDB_KILL_AT"));
  os::SetFileWriteHook(KillBeforeWrite);
  for (int row = kBaseRows; row < kBaseRows + kNewRows; ++row) {
    AppendRow(t.table, row);
    ++appendsReturned;
  }
  os::SetFileWriteHook(nullptr);
}

TEST(TomeDBInterrupted, AWriterKilledBeforeAnyOfItsWritesLosesOnlyTheRowItWasAppending) {
  TempDir dir;
  const String file = dir.File("k.tdb");
  const String base = BaseFile();
  int killedAt = 0, committed = 0;
  for (int k = 1;; ++k) {
    SCOPED_TRACE("killed before write " + IntToStr(k));
    CopyFile(base, file);
    ChildProcess child("TomeDBInterruptedChild.AppendUntilKilled",
                       {"QE_TOMEDB_FILE=" + file, "QE_TOMEDB_KILL_AT=" + IntToStr(k)});
    const int code = child.Wait();
    if (code == 0) break;  // every append finished before write k
    ASSERT_GE(code, kKilledExit);
    ASSERT_LT(code, kKilledExit + kNewRows);
    const int returned = kBaseRows + code - kKilledExit;
    int rows = 0;
    ExpectRowsThenAppend(file, returned, &rows);
    if (rows > returned) ++committed;
    killedAt = k;
  }
  // Each append makes several writes: the kills hit every one of them,
  // among them the link that follows each append's table header.
  EXPECT_GE(killedAt, 3 * kNewRows);
  EXPECT_GE(committed, kNewRows);
}

// --- Failed writes ----------------------------------------------------------------------------

int64_t FailHalfOfWrite(THandle, int64_t count) { return --writesLeft == 0 ? count / 2 : count; }

TEST(TomeDBInterrupted, AFailedWriteLeavesTheTableAsItWasAndTheNextAppendWorks) {
  TempDir dir;
  const String file = dir.File("f.tdb");
  const String base = BaseFile();
  for (int k = 1;; ++k) {
    SCOPED_TRACE("write " + IntToStr(k) + " fails");
    CopyFile(base, file);
    int rows = kBaseRows;
    bool failed = false;
    {
      OpenTable t(file, "T", "pw");
      writesLeft = k;
      os::SetFileWriteHook(FailHalfOfWrite);
      for (int i = 0; i < kNewRows; ++i) {
        try {
          AppendRow(t.table, rows);
          ++rows;
        } catch (const EWriteError& e) {
          EXPECT_STREQ(e.what(), "Stream write error");
          failed = true;
        }
      }
      os::SetFileWriteHook(nullptr);
      // The same objects go on: the table loads again and takes the row.
      if (failed) {
        AppendRow(t.table, rows);
        ++rows;
      }
    }
    // Past the last write of the appends: nothing failed.
    if (writesLeft > 0) break;
    // A write that fails after the table header (the link from the record
    // before in key order) fails no append: the row stays.
    ExpectRowsThenAppend(file, rows);
  }
}

// --- Unfinished by an older writer ------------------------------------------------------------

// Such a writer put the table header (the record count, and the head when
// the record sorted first) and the index links out before the record
// itself: cutting the file inside the last record leaves what it left.
TEST(TomeDBInterrupted, AnUnfinishedLastRecordIsDroppedAndEveryOtherRead) {
  constexpr char kPlain[] = R"(
table T
  field Key integer
  field Text string 20
  index ByKey Key
)";
  struct Case {
    const char* name;
    int32_t lastKey;  // first, middle or last in key order
  };
  for (const Case& c : {Case{"head", -5}, Case{"middle", 15}, Case{"tail", 99}}) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const String file = dir.File("u.tdb");
    MakeDatabase(file, kPlain);
    int64_t before;
    {
      OpenTable t(file, "T");
      for (int32_t key : {10, 20, 30}) Row(t.table).Set<int32_t>("Key", key).SetText("Text", IntToStr(key)).Append();
      before = os::FileSizeByName(file);
      Row(t.table).Set<int32_t>("Key", c.lastKey).SetText("Text", "lost").Append();
    }
    {
      TFileStream f(file, fmOpenReadWrite | fmShareDenyNone);
      f.SetSize(before + 3);
    }
    EXPECT_EQ(CheckTomeDatabase(file, ""), std::vector<String>{});
    OpenTable t(file, "T");
    ASSERT_EQ(t.table.IndexList(1).size(), 3u);
    Row r(t.table);
    for (int i = 0; i < 3; ++i) {
      r.Read(1, i);
      EXPECT_EQ(r.Get<int32_t>("Key"), 10 * (i + 1));
    }
    Row(t.table).Set<int32_t>("Key", 25).SetText("Text", "25").Append();
    EXPECT_EQ(CheckTomeDatabase(file, ""), std::vector<String>{});
    OpenTable again(file, "T");
    ASSERT_EQ(again.table.IndexList(1).size(), 4u);
    Row a(again.table);
    a.Read(1, 2);
    EXPECT_EQ(a.Text("Text"), "25");
  }
}

// A dropped record that both the head and another entry point to cannot
// be unlinked: the order is refused as corrupt, without a read past the
// entries.
TEST(TomeDBInterrupted, ADroppedRecordLinkedTwiceIsRefused) {
  TempDir dir;
  const String file = dir.File("d.tdb");
  MakeDatabase(file, "table T\n  field Key integer\n  index ByKey Key\n");
  int64_t before;
  int32_t tab;
  {
    OpenTable t(file, "T");
    for (int32_t key : {10, 20, 30}) Row(t.table).Set<int32_t>("Key", key).Append();
    before = os::FileSizeByName(file);
    Row(t.table).Set<int32_t>("Key", -5).Append();  // the head
    tab = t.table.Header().IndexTabPos(0);
  }
  PatchInt32(file, int64_t(tab) + 4 + 1 * kIndexTabEntrySize + 4, 3);  // record 1 links to it too
  {
    TFileStream f(file, fmOpenReadWrite | fmShareDenyNone);
    f.SetSize(before + 3);
  }
  OpenTable t(file, "T");
  EXPECT_EQ(t.table.IndexList(0).size(), 3u);
  EXPECT_EQ(DatabaseErrorOf([&] { t.table.IndexList(1); }).rfind("Corrupt file '" + file + "': ", 0), 0u);
}

}  // namespace
