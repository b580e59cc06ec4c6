// Update mode and commit: adding, replacing, deleting, renaming and moving
// entries of an archive on disk, what a commit leaves untouched, and that a
// cancelled, aborted or failed commit leaves the archive byte for byte as it
// was.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ArchiveTestUtil.h"

using namespace archive_test;
using testing_support::TempDir;

namespace {

struct Fixture {
  TempDir dir;
  String archive = dir.File("u.zip");

  String Put(const String& name, const std::string& data) {
    PutFile(dir.File(name), data);
    return dir.File(name);
  }
  static std::string Text(const char* word, int lines) {
    std::string s;
    for (int i = 0; i < lines; ++i) s += Format("%s %d\n", {word, i});
    return s;
  }
  // An archive of a.txt .. e.txt.
  void Make(TZipArchiver& zip) {
    for (const char* n : {"a", "b", "c", "d", "e"}) Put(String(n) + ".txt", Text(n, 500));
    zip.SetFileName(archive);
    zip.SetBaseDir(dir.Path());
    zip.OpenArchiveFile();
    zip.AddFiles("?.txt");
    zip.CloseArchiveFile();
  }
  // name -> decoded contents, in directory order.
  std::vector<std::pair<String, std::string>> Contents() {
    TZipArchiver zip(nullptr);
    zip.SetFileName(archive);
    zip.OpenArchiveMode(ZAModeReadOnly);
    std::vector<std::pair<String, std::string>> out;
    for (int i = 0; i < zip.FileCount(); ++i) out.emplace_back(zip.DirItem(i).Name, Decode(zip, i));
    return out;
  }
};

}  // namespace

TEST(ZAUpdate, AddReplaceDeleteRenameRoundTrip) {
  Fixture f;
  TZipArchiver zip(nullptr);
  f.Make(zip);
  f.Put("b.txt", "b replaced");
  f.Put("new.txt", Fixture::Text("new", 100));

  zip.OpenArchiveFile();
  zip.BeginUpdate();
  zip.DeleteItemAt(3);              // d.txt
  zip.AddFiles("b.txt");            // same name: replaced in place
  zip.RenameItem(0, "docs/a.txt");  // a.txt
  zip.AddFiles("new.txt");
  zip.CloseArchiveFile();

  const std::vector<std::pair<String, std::string>> want = {
      {"docs/a.txt", Fixture::Text("a", 500)},
      {"b.txt", "b replaced"},
      {"c.txt", Fixture::Text("c", 500)},
      {"e.txt", Fixture::Text("e", 500)},
      {"new.txt", Fixture::Text("new", 100)}};
  EXPECT_EQ(f.Contents(), want);
}

TEST(ZAUpdate, ACommitKeepsTheBytesInFrontOfTheFirstChange) {
  Fixture f;
  TZipArchiver zip(nullptr);
  f.Make(zip);
  const Bytes before = GetFile(f.archive);
  zip.OpenArchiveFile();
  const uint64_t lastAt = zip.DirItem(4).LocalHeaderOffset;
  zip.BeginUpdate();
  f.Put("e.txt", "changed");
  zip.ReplaceItemFromFile(4, f.dir.File("e.txt"));
  zip.CloseArchiveFile();
  const Bytes after = GetFile(f.archive);
  ASSERT_GT(after.size(), lastAt);
  EXPECT_TRUE(std::equal(before.begin(), before.begin() + long(lastAt), after.begin()));
  EXPECT_EQ(f.Contents().back(), (std::pair<String, std::string>{"e.txt", "changed"}));
}

TEST(ZAUpdate, RenameRewritesOnlyTheLocalName) {
  Fixture f;
  TZipArchiver zip(nullptr);
  f.Make(zip);
  zip.OpenArchiveFile();
  const TDirItem old = zip.DirItem(1);
  const Bytes before = GetFile(f.archive);
  zip.RenameItem(1, "bee.txt");
  zip.CloseArchiveFile();

  zip.OpenArchiveMode(ZAModeReadOnly);
  const TDirItem& renamed = zip.DirItem(1);
  EXPECT_EQ(renamed.Name, "bee.txt");
  EXPECT_EQ(renamed.Header.Crc, old.Header.Crc);
  const Bytes after = GetFile(f.archive);
  const size_t oldData = size_t(old.LocalHeaderOffset) + 30 + 5;
  const size_t newData = size_t(renamed.LocalHeaderOffset) + 30 + 7;
  EXPECT_TRUE(std::equal(before.begin() + long(oldData),
                         before.begin() + long(oldData + old.CompressedSize),
                         after.begin() + long(newData)));
  EXPECT_EQ(std::string(after.begin() + long(renamed.LocalHeaderOffset) + 30,
                        after.begin() + long(newData)),
            "bee.txt");
  EXPECT_EQ(Decode(zip, 1), Fixture::Text("b", 500));
}

// Cancelling in the progress of the third of five new entries, with
// replaced and deleted entries in front, leaves the archive as it was; so
// does an abort after a failed entry.
TEST(ZAUpdate, CancelOrAbortLeavesTheArchiveByteIdentical) {
  for (const bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancel" : "abort");
    Fixture f;
    TZipArchiver zip(nullptr);
    f.Make(zip);
    const Bytes before = GetFile(f.archive);
    for (int i = 0; i < 5; ++i) f.Put(Format("n%d.dat", {i}), Fixture::Text("n", 50 + i));
    int started = 0;
    zip.OnFileProgress = [&](TObject*, const String&, double, TZAProcessOperation,
                             TZAProgressPhase phase, bool& stop) {
      if (phase == ppStart && ++started == 4 && cancel) stop = true;  // 1 replaced + 3rd new
    };
    int failures = 0;
    zip.OnProcessFileFailure = [&](TObject*, const String&, TZAProcessOperation, int, int,
                                   const String&, TZAAction& action) {
      ++failures;
      action = fxaAbort;
    };
    zip.OpenArchiveFile();
    zip.BeginUpdate();
    f.Put("b.txt", "other b");
    zip.AddFiles("b.txt");
    zip.DeleteItemAt(2);
    zip.AddFiles("n?.dat");
    if (!cancel) os::RemoveFile(f.dir.File("n2.dat"));
    zip.CloseArchiveFile();
    EXPECT_EQ(GetFile(f.archive), before);
    EXPECT_EQ(failures, cancel ? 0 : 1);
  }
}

TEST(ZAUpdate, IgnoredFailureKeepsTheOldCopyOrDropsTheNewEntry) {
  Fixture f;
  TZipArchiver zip(nullptr);
  f.Make(zip);
  zip.OnProcessFileFailure = [&](TObject*, const String&, TZAProcessOperation, int, int,
                                 const String&, TZAAction& action) { action = fxaIgnore; };
  zip.OpenArchiveFile();
  f.Put("x.txt", "x");
  zip.AddFiles("c.txt");  // replaced, but its source goes away
  zip.AddFiles("x.txt");  // new, and its source goes away
  os::RemoveFile(f.dir.File("c.txt"));
  os::RemoveFile(f.dir.File("x.txt"));
  zip.CloseArchiveFile();
  const auto contents = f.Contents();
  ASSERT_EQ(contents.size(), 5u);
  EXPECT_EQ(contents[2], (std::pair<String, std::string>{"c.txt", Fixture::Text("c", 500)}));
}

TEST(ZAUpdate, MovedSourcesAreDeletedAfterTheCommit) {
  Fixture f;
  TZipArchiver zip(nullptr);
  f.Make(zip);
  f.Put("m.txt", "moved");
  zip.OpenArchiveFile();
  zip.MoveFiles("m.txt");
  EXPECT_TRUE(os::FileExists(f.dir.File("m.txt")));
  zip.CloseArchiveFile();
  EXPECT_FALSE(os::FileExists(f.dir.File("m.txt")));
  EXPECT_EQ(f.Contents().back(), (std::pair<String, std::string>{"m.txt", "moved"}));
}

TEST(ZAUpdate, GuardsOfTheUpdateOperations) {
  Fixture f;
  TZipArchiver zip(nullptr);
  f.Make(zip);
  zip.OpenArchiveFile();
  EXPECT_EQ(NativeErrorOf([&] { zip.DeleteItemAt(0); }), 22);
  EXPECT_EQ(NativeErrorOf([&] { zip.ReplaceItemFromFile(0, f.dir.File("a.txt")); }), 25);
  zip.BeginUpdate();
  EXPECT_EQ(NativeErrorOf([&] { zip.DeleteItemAt(5); }), 21);
  EXPECT_EQ(NativeErrorOf([&] { zip.ReplaceItemFromFile(-1, f.dir.File("a.txt")); }), 24);
  zip.CancelUpdateMode();
  zip.CloseArchiveFile();

  // A read-only archive cannot be updated, and the close reports it.
  zip.OpenArchiveMode(ZAModeReadOnly);
  EXPECT_EQ(NativeErrorOf([&] { zip.BeginUpdate(); }), 32);
  EXPECT_EQ(NativeErrorOf([&] { zip.CommitUpdates(); }), -1);  // nothing pending
  zip.CloseArchiveFile();
}

// More than 65534 entries need Zip64 end records: with Zip64 disabled the
// commit fails, is rolled back, and the close reports it; with Zip64 on
// every entry comes back.
TEST(ZAUpdate, SeventyThousandEntries) {
#ifdef _WIN32
  GTEST_SKIP() << "70000 files take minutes to create under Wine; the host run covers this";
#endif
  Fixture f;
  const int count = 70000;
  os::CreateDir(f.dir.File("many"));
  for (int i = 0; i < count; ++i)
    PutFile(f.dir.File("many") + PathDelim + Format("%.5d", {i}), Format("%d", {i}));
  TZipArchiver zip(nullptr);
  zip.SetFileName(f.archive);
  zip.SetBaseDir(f.dir.Path());
  zip.OpenArchiveFile();
  zip.AddFiles("many");
  EXPECT_EQ(NativeErrorOf([&] { zip.CloseArchiveFile(); }), 43);
  EXPECT_FALSE(zip.Active());
  EXPECT_EQ(os::FileSizeByName(f.archive), 0);  // a new archive: nothing was kept

  os::RemoveFile(f.archive);
  zip.SetZip64Mode(zmAuto);
  zip.OpenArchiveFile();
  zip.AddFiles("many");
  zip.CloseArchiveFile();
  zip.OpenArchiveMode(ZAModeReadOnly);
  ASSERT_EQ(zip.FileCount(), count + 1);
  EXPECT_EQ(zip.DirItem(count).Name, Format("many/%.5d", {count - 1}));
  EXPECT_EQ(Decode(zip, count), Format("%d", {count - 1}));
}

// Run as a child by the test below: replaces, adds and deletes entries of
// the archive in QE_ZA_UPDATE_DIR and ends the process, as a kill would, at
// write QE_ZA_KILL_AT of the new archive file; status 8 when the update got
// through without reaching that write.
TEST(ZAUpdateKill, Child) {
  const char* dir = std::getenv("QE_ZA_UPDATE_DIR");
  const char* at = std::getenv("QE_ZA_KILL_AT");
  if (!dir || !at) GTEST_SKIP() << "run by ZAUpdate.KilledAtEveryWriteLeavesTheOldArchive";
  static int killAt;
  killAt = std::atoi(at);
  ZACommitWriteHook = [](int write) {
    if (write == killAt) std::_Exit(7);
  };
  TZipArchiver zip(nullptr);
  zip.SetFileName(String(dir) + "u.zip");
  zip.SetBaseDir(dir);
  zip.OpenArchiveFile();
  zip.BeginUpdate();
  zip.AddFiles("b.txt");
  zip.AddFiles("new.txt");
  zip.DeleteItemAt(3);
  zip.CloseArchiveFile();
  std::_Exit(8);
}

// A process killed between any two writes of an update leaves the archive
// as it was, byte for byte; the update run to its end gives the new one,
// and each run removes the unfinished file the killed one before it left.
TEST(ZAUpdate, KilledAtEveryWriteLeavesTheOldArchive) {
  Fixture f;
  TZipArchiver zip(nullptr);
  f.Make(zip);
  const Bytes before = GetFile(f.archive);
  const auto old = f.Contents();
  f.Put("b.txt", "b replaced");
  f.Put("new.txt", Fixture::Text("new", 300));
  const std::vector<std::string> env = {"QE_ZA_UPDATE_DIR=" + f.dir.Path()};
  int write = 1;
  for (;; ++write) {
    SCOPED_TRACE(write);
    std::vector<std::string> childEnv = env;
    childEnv.push_back(Format("QE_ZA_KILL_AT=%d", {write}));
    const int status = testing_support::RunSelf("ZAUpdateKill.Child", childEnv);
    if (status == 8) break;
    ASSERT_EQ(status, 7);
    ASSERT_TRUE(GetFile(f.archive) == before);
  }
  EXPECT_GT(write, 5);  // the update wrote in several steps
  os::DirSearch leftovers(f.dir.File("FC*"));
  os::TSearchRec rec;
  EXPECT_FALSE(leftovers.Next(rec)) << rec.Name;
  EXPECT_EQ(f.Contents(), (std::vector<std::pair<String, std::string>>{
                              old[0], {"b.txt", "b replaced"}, old[2], old[4],
                              {"new.txt", Fixture::Text("new", 300)}}));
}
