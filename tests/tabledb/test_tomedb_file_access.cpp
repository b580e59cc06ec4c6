// Opening database files (read-only, exclusive, in memory), the password
// check, and the byte lock between processes: its retries, the header read
// that waits for it, six writers that take it in turns, and eight
// processes that connect and append at once.
#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

#include "support/TestSupport.h"
#include "tabledb/TomeDBFileCheck.h"
#include "test_tomedb_file_util.h"

using namespace tomedb_test;
using testing_support::ChildProcess;
using testing_support::TempDir;

namespace {

constexpr char kAccessSchema[] = R"(
table T
  field Id autoinc
  field Key integer
  field Text string 16
  index ById Id unique
  index ByKey Key primary
)";

constexpr char kEncrypted[] = R"(
encrypt Twofish 1
password right
table T
  field Text string 16
)";

String Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? String(v) : String();
}

// Waits until the file exists (a child's signal), at most 60 s.
bool WaitForFile(const String& name) {
  for (int i = 0; i < 6000 && !os::FileExists(name); ++i) os::SleepMs(10);
  return os::FileExists(name);
}

int64_t ElapsedMs(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

TEST(TomeDBFileAccess, ReadOnlyFile) {
  TempDir dir;
  const String file = dir.File("ro.tdb");
  MakeDatabase(file, kAccessSchema);
  {
    OpenTable t(file, "T");
    Row(t.table).Set<int32_t>("Key", 1).SetText("Text", "one").Append();
  }
  ASSERT_TRUE(os::FileSetAttr(file, faReadOnly));
  OpenTable t(file, "T");  // read-only was not asked for
  EXPECT_TRUE(t.fileIO.FileIsReadOnly());
  Row row(t.table);
  row.Read(0, 0);
  EXPECT_EQ(row.Text("Text"), "one");
  EXPECT_EQ(DatabaseErrorOf([&] { Row(t.table).Set<int32_t>("Key", 2).Append(); }),
            "Cannot modify a read-only database");
  os::FileSetAttr(file, faNormal);
}

// A database stored behind other bytes (a program's own file) reads and
// grows at its base offset and leaves the bytes before it alone.
TEST(TomeDBFileAccess, DatabaseBehindABaseOffset) {
  TempDir dir;
  const String plain = dir.File("plain.tdb"), host = dir.File("host.bin"), out = dir.File("out.tdb");
  MakeDatabase(plain, kAccessSchema);
  const Bytes prefix(100, 0xA5);
  Bytes image = prefix;
  const Bytes database = FileBytes(plain);
  image.insert(image.end(), database.begin(), database.end());
  { TFileStream(host, fmCreate).WriteBuffer(image.data(), int64_t(image.size())); }
  {
    TTomeDBFileIO io(nullptr);
    io.Open(host, mtDisk, int32_t(prefix.size()), false, false);
    TTomeTableIO table(io, "T");
    table.Open();
    Row row(table);
    for (int32_t key : {7, 3})
      row.Set<int32_t>("Id", 0).Set<int32_t>("Key", key).SetText("Text", IntToStr(key)).Append();
    row.Read(2, 0);
    EXPECT_EQ(row.Text("Text"), "3");
  }
  const Bytes grown = FileBytes(host);
  ASSERT_GT(grown.size(), image.size());
  EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), grown.begin()));
  { TFileStream(out, fmCreate).WriteBuffer(grown.data() + prefix.size(), int64_t(grown.size() - prefix.size())); }
  EXPECT_TRUE(CheckTomeDatabase(out, "").empty());
  OpenTable t(out, "T");
  Row row(t.table);
  row.Read(2, 1);
  EXPECT_EQ(row.Get<int32_t>("Key"), 7);
  EXPECT_EQ(row.Get<int32_t>("Id"), 1);
}

TEST(TomeDBFileAccess, OpenFailures) {
  TempDir dir;
  const String file = dir.File("x.tdb");
  TTomeDBFileIO io(nullptr);
  EXPECT_EQ(DatabaseErrorOf([&] { io.Open(file, mtDisk, 0, false, false); }), "Cannot open file " + file);
  EXPECT_EQ(DatabaseErrorOf([&] { io.Open(":00G0", mtMemory, 0, false, false); }),
            "Invalid database name ':00G0'");
  MakeDatabase(file, "compress LZMA\ntable T\n field X integer\n");
  EXPECT_EQ(DatabaseErrorOf([&] { io.Open(file, mtDisk, 0, false, false); }),
            "Compression algorithm module 'LZMA' not found");
  EXPECT_FALSE(io.IsOpen());
#ifdef _WIN32
  // Share modes are the system's: only Windows refuses a second opener.
  MakeDatabase(file, kAccessSchema);
  TTomeDBFileIO first(nullptr), second(nullptr);
  first.Open(file, mtDisk, 0, false, true);
  EXPECT_THROW(second.Open(file, mtDisk, 0, false, false), EFOpenError);
#endif
}

TEST(TomeDBFileAccess, MemoryMedium) {
  TMemoryStream memory;
  WriteTomeDatabase(memory, ParseTomeSchema(kAccessSchema));
  const uint32_t id = RegisterMemoryMedium(&memory);
  {
    TTomeDBFileIO io(nullptr);
    io.Open(MemoryMediumName(id), mtMemory, 0, false, false);
    TTomeTableIO table(io, "T");
    table.Open();
    Row(table).Set<int32_t>("Key", 5).SetText("Text", "in memory").Append();
    Row row(table);
    row.Read(0, 0);
    EXPECT_EQ(row.Text("Text"), "in memory");
    EXPECT_TRUE(io.IsFlushed());
  }
  UnregisterMemoryMedium(id);
  EXPECT_GT(memory.Size(), kFirstDataPos + 2 * kTableHeaderSize);
}

TEST(TomeDBFileAccess, PasswordCheck) {
  TempDir dir;
  const String plain = dir.File("plain.tdb"), secret = dir.File("secret.tdb");
  MakeDatabase(plain, kAccessSchema);
  MakeDatabase(secret, kEncrypted);
  TTomeDBFileIO closed(nullptr);
  EXPECT_FALSE(closed.CheckPassword(""));
  {
    TTomeDBFileIO io(nullptr);
    io.Open(plain, mtDisk, 0, false, false);
    EXPECT_TRUE(io.CheckPassword(""));
    EXPECT_TRUE(io.CheckPassword("anything"));
  }
  {
    OpenTable t(secret, "T", "right");
    Row(t.table).SetText("Text", "hidden").Append();
  }
  OpenTable t(secret, "T", "right");
  EXPECT_FALSE(t.fileIO.CheckPassword("wrong"));
  EXPECT_FALSE(t.fileIO.CheckPassword("Right"));
  Row row(t.table);
  row.Read(0, 0);
  EXPECT_EQ(row.Text("Text"), "hidden");  // the key stayed the right one
}

// --- Across processes ---------------------------------------------------------------

// Child: holds the byte lock from the moment it creates QE_TOMEDB_LOCKED
// until QE_TOMEDB_RELEASE exists.
TEST(TomeDBFileChild, HoldLock) {
  const String file = Env("QE_TOMEDB_FILE");
  if (file.empty()) GTEST_SKIP() << "runs as a child of the lock tests";
  TTomeDBFileIO io(nullptr);
  io.Open(file, mtDisk, 0, false, false);
  io.Lock();
  TFileStream(Env("QE_TOMEDB_LOCKED"), fmCreate);
  ASSERT_TRUE(WaitForFile(Env("QE_TOMEDB_RELEASE")));
  io.Unlock();
}

TEST(TomeDBFileAccess, LockRetriesThenTimesOut) {
  TempDir dir;
  const String file = dir.File("l.tdb"), locked = dir.File("locked"), release = dir.File("release");
  MakeDatabase(file, kAccessSchema);
  TTomeDBFileIO io(nullptr);
  io.GetLockPolicy = [] { return TTomeLockPolicy{2, 300}; };
  io.Open(file, mtDisk, 0, false, false);
  ChildProcess holder("TomeDBFileChild.HoldLock",
                      {"QE_TOMEDB_FILE=" + file, "QE_TOMEDB_LOCKED=" + locked, "QE_TOMEDB_RELEASE=" + release});
  ASSERT_TRUE(WaitForFile(locked));

  std::thread releaser;
  {
    TTomeDBFileIO waiting(nullptr);
    waiting.GetLockPolicy = [] { return TTomeLockPolicy{0, 20}; };
    // A retry count of 2 makes 3 tries with 2 pauses between them.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DatabaseErrorOf([&] { io.Lock(); }), "Wait for unlock time out");
    const int64_t elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, 600);
    EXPECT_LT(elapsed, 850);

    releaser = std::thread([&] {
      os::SleepMs(300);
      TFileStream(release, fmCreate);
    });
    // On systems with mandatory locks the header cannot be read while the
    // lock is held; the open waits for it as a lock would.
    waiting.Open(file, mtDisk, 0, false, false);
    waiting.Lock();  // no limit: granted once the holder lets go
    waiting.Unlock();
  }
  releaser.join();
  EXPECT_EQ(holder.Wait(), 0);
}

// The writers' table: a Twofish CFB8 memo of 200 bytes makes each append
// hold the lock long enough for the others to queue.
constexpr char kWriters[] = R"(
encrypt Twofish 2
password pw
table T
  field Id autoinc
  field Key integer
  field Text string 16
  field Memo memo
  index ById Id unique
  index ByKey Key primary
)";

// Child: appends QE_TOMEDB_ROWS rows with keys QE_TOMEDB_BASE + i, waiting
// for the lock as the defaults say.
TEST(TomeDBFileChild, AppendRows) {
  const String file = Env("QE_TOMEDB_FILE");
  if (file.empty()) GTEST_SKIP() << "runs as a child of the concurrency test";
  const int32_t base = StrToInt(Env("QE_TOMEDB_BASE")), rows = StrToInt(Env("QE_TOMEDB_ROWS"));
  TTomeDBFileIO io(nullptr);
  io.Open(file, mtDisk, 0, false, false);
  ASSERT_TRUE(io.CheckPassword("pw"));
  TTomeTableIO table(io, "T");
  table.Open();
  Row row(table);
  const String memo(200, 'm');
  for (int32_t i = 0; i < rows; ++i) {
    row.Set<int32_t>("Id", 0).Set<int32_t>("Key", base + i).SetText("Text", IntToStr(base + i)).SetBlob("Memo", memo);
    row.Append();
  }
}

// Child: QE_TOMEDB_ROUNDS times opens the file, appends one row with key
// QE_TOMEDB_BASE + round, and closes it again.
TEST(TomeDBFileChild, ConnectAndAppend) {
  const String file = Env("QE_TOMEDB_FILE");
  if (file.empty()) GTEST_SKIP() << "runs as a child of the connect test";
  const int32_t base = StrToInt(Env("QE_TOMEDB_BASE")), rounds = StrToInt(Env("QE_TOMEDB_ROUNDS"));
  for (int32_t i = 0; i < rounds; ++i) {
    TTomeDBFileIO io(nullptr);
    io.Open(file, mtDisk, 0, false, false);
    ASSERT_TRUE(io.CheckPassword("pw"));
    TTomeTableIO table(io, "T");
    table.Open();
    Row(table).Set<int32_t>("Key", base + i).SetText("Text", IntToStr(base + i)).SetBlob("Memo", "m").Append();
  }
}

// Each child appends its rows with keys base + i; afterwards the file is
// sound and holds every row once, numbered 1..rows.
void RunWriters(const char* child, const char* countVariable, int writers, int rows) {
  TempDir dir;
  const String file = dir.File("c.tdb");
  MakeDatabase(file, kWriters);
  {
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (int w = 0; w < writers; ++w)
      children.push_back(std::make_unique<ChildProcess>(
          child, std::vector<std::string>{"QE_TOMEDB_FILE=" + file, "QE_TOMEDB_BASE=" + IntToStr(w * 100000),
                                          String(countVariable) + "=" + IntToStr(rows)}));
    for (auto& c : children) EXPECT_EQ(c->Wait(), 0);
  }
  EXPECT_EQ(CheckTomeDatabase(file, "pw"), std::vector<String>{});
  OpenTable t(file, "T", "pw");
  ASSERT_EQ(t.table.IndexList(0).size(), size_t(writers * rows));
  EXPECT_EQ(t.table.Header().AutoIncCounter(), writers * rows);
  std::set<int32_t> ids, keys;
  Row row(t.table);
  for (int i = 0; i < writers * rows; ++i) {
    row.Read(0, i);
    ids.insert(row.Get<int32_t>("Id"));
    keys.insert(row.Get<int32_t>("Key"));
    ASSERT_EQ(row.Text("Text"), IntToStr(row.Get<int32_t>("Key")));
  }
  EXPECT_EQ(ids.size(), size_t(writers * rows));
  EXPECT_EQ(*ids.begin(), 1);
  EXPECT_EQ(*ids.rbegin(), writers * rows);
  EXPECT_EQ(keys.size(), size_t(writers * rows));
}

// Writers take the lock in turns: none runs out of its default wait while
// the others append. QE_TOMEDB_WRITER_ROWS sets the rows per writer (the
// soak script runs 8000).
TEST(TomeDBFileAccess, SixWritersAppendWithoutTimingOut) {
  const String rows = Env("QE_TOMEDB_WRITER_ROWS");
  RunWriters("TomeDBFileChild.AppendRows", "QE_TOMEDB_ROWS", 6, rows.empty() ? 400 : StrToInt(rows));
}

// A process that opens the file while others append reads the table
// headers under the lock, so it never sees one that points past what the
// writer has written so far.
TEST(TomeDBFileAccess, EightProcessesConnectAndAppendAtOnce) {
  RunWriters("TomeDBFileChild.ConnectAndAppend", "QE_TOMEDB_ROUNDS", 8, 60);
}

}  // namespace
