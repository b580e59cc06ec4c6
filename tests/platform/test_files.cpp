// Streams and the OS seam: the same tests run natively and under Wine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/OsFiles.h"
#include "platform/Streams.h"
#include "support/TestSupport.h"

using testing_support::TempDir;

TEST(MemoryStream, ReadsWritesSeeksAndGrows) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  m.SetPosition(10);
  m.WriteBuffer("!", 1);
  EXPECT_EQ(m.Size(), 11);
  EXPECT_EQ(m.Memory()[7], 0);  // the gap reads as zeros
  m.SetPosition(1);
  char buf[16] = {};
  EXPECT_EQ(m.Read(buf, sizeof buf), 10);
  EXPECT_STREQ(buf, "ello");
  EXPECT_EQ(m.Seek(-3, soEnd), 8);
  EXPECT_THROW(m.ReadBuffer(buf, 4), EReadError);
  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);
  EXPECT_EQ(m.Size(), 2);

  TStringStream s("abc");
  EXPECT_EQ(s.ReadString(10), "abc");
  s.WriteString("def");
  EXPECT_EQ(s.DataString(), "abcdef");
}

TEST(FileStream, CreatesReadsAndReportsMissingFiles) {
  TempDir dir;
  const String name = dir.File("data.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteValue<uint32_t>(0x01020304);
    TMemoryStream m;
    m.WriteBuffer("tail", 4);
    f.CopyFrom(m, 0);
    EXPECT_EQ(f.Size(), 8);
  }
  EXPECT_EQ(os::FileSizeByName(name), 8);
  {
    TFileStream f(name, fmOpenReadWrite | fmShareDenyWrite);
    EXPECT_EQ(f.ReadValue<uint32_t>(), 0x01020304u);
    f.SetSize(6);
    EXPECT_EQ(f.Size(), 6);
  }
  try {
    TFileStream f(dir.File("missing.bin"), fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot open file \"" + dir.File("missing.bin") + "\". ", 0), 0u) << e.Message();
  }
  EXPECT_THROW(TFileStream(dir.File("no") + PathDelim + "such.bin", fmCreate), EFCreateError);
}

#ifdef _WIN32
TEST(FileStream, ShareModesRefuseASecondWriter) {
  TempDir dir;
  const String name = dir.File("shared.bin");
  TFileStream first(name, fmCreate | fmShareDenyWrite);
  EXPECT_THROW(TFileStream(name, fmOpenReadWrite | fmShareDenyNone), EFOpenError);
  EXPECT_NO_THROW(TFileStream(name, fmOpenRead | fmShareDenyNone));
  TFileStream exclusive(dir.File("x.bin"), fmCreate | fmShareExclusive);
  EXPECT_THROW(TFileStream(dir.File("x.bin"), fmOpenRead | fmShareDenyNone), EFOpenError);
}
#endif

TEST(OsFiles, NamesAttributesTimesAndFolders) {
  TempDir dir;
  const String deep = dir.Path() + "a" + PathDelim + "b" + PathDelim + "c";
  ASSERT_TRUE(os::ForceDirectories(deep));
  EXPECT_TRUE(os::DirectoryExists(deep));
  EXPECT_FALSE(os::FileExists(deep));

  const String file = IncludeTrailingPathDelimiter(deep) + "f.txt";
  { TFileStream(file, fmCreate).WriteBuffer("xyz", 3); }
  EXPECT_TRUE(os::FileExists(file));
  EXPECT_EQ(os::FileSizeByName(file), 3);
  EXPECT_EQ(os::FileSizeByName(file + ".none"), -1);

  // 2021-11-05 10:00:00 UTC
  ASSERT_TRUE(os::FileSetModTime(file, 1636106400));
  EXPECT_EQ(os::FileGetModTime(file), 1636106400);

  ASSERT_TRUE(os::FileSetAttr(file, faReadOnly));
  EXPECT_TRUE(os::FileGetAttr(file) & faReadOnly);
  ASSERT_TRUE(os::FileSetAttr(file, faArchive));

  const String moved = dir.File("g.txt");
  EXPECT_TRUE(os::RenameFile(file, moved));
  EXPECT_FALSE(os::FileExists(file));
  const String other = dir.File("h.txt");
  { TFileStream(other, fmCreate).WriteBuffer("1", 1); }
  EXPECT_FALSE(os::RenameFile(other, moved));  // the target exists
  EXPECT_TRUE(os::MoveReplacing(other, moved));
  EXPECT_EQ(os::FileSizeByName(moved), 1);

  os::DirSearch search(dir.Path() + "*.txt");
  os::TSearchRec rec;
  ASSERT_TRUE(search.Next(rec));
  EXPECT_EQ(rec.Name, "g.txt");
  EXPECT_EQ(rec.Size, 1);
  EXPECT_FALSE(search.Next(rec));

  const String temp = os::CreateTempFile(dir.Path(), "FC");
  EXPECT_TRUE(os::FileExists(temp));
  EXPECT_EQ(ExtractFileName(temp).rfind("FC", 0), 0u);
  EXPECT_GT(os::DiskFree(dir.Path()), 0);
  EXPECT_TRUE(os::RemoveFile(moved));
  EXPECT_FALSE(os::RemoveFile(moved));
}

TEST(OsFiles, PositionedReadsAndWrites) {
  TempDir dir;
  const String name = dir.File("at.bin");
  THandle h = os::FileCreate(name);
  ASSERT_NE(h, InvalidHandle);
  EXPECT_EQ(os::FileWriteAt(h, 0, "0123456789", 10), 10);
  EXPECT_EQ(os::FileWriteAt(h, 4, "ab", 2), 2);  // in place, whatever the position
  EXPECT_EQ(os::FileWriteAt(h, 14, "end", 3), 3);  // past the end: the gap reads as zeros
  EXPECT_EQ(os::FileSeek(h, 0, 2), 17);

  struct Case {
    int64_t offset, count;
    int64_t got;
    const char* bytes;
  };
  const Case cases[] = {
      {2, 5, 5, "23ab6"},
      {8, 9, 9, "89\0\0\0\0end"},
      {15, 10, 2, "nd"},  // the end cuts the read short
      {17, 4, 0, ""},     // at the end
      {40, 4, 0, ""},     // past it
  };
  for (const Case& c : cases) {
    char buf[16] = {};
    os::FileSeek(h, 0, 0);
    EXPECT_EQ(os::FileReadAt(h, c.offset, buf, c.count), c.got) << c.offset;
    EXPECT_EQ(std::memcmp(buf, c.bytes, size_t(c.got)), 0) << c.offset;
  }
  os::FileClose(h);

  // A handle without the access fails with an error, not a short count.
  THandle reader = os::FileOpen(name, fmOpenRead | fmShareDenyNone);
  THandle writer = os::FileOpen(name, fmOpenWrite | fmShareDenyNone);
  ASSERT_NE(reader, InvalidHandle);
  ASSERT_NE(writer, InvalidHandle);
  char buf[4];
  EXPECT_EQ(os::FileWriteAt(reader, 0, "x", 1), -1);
  EXPECT_EQ(os::FileReadAt(writer, 0, buf, 4), -1);
  os::FileClose(reader);
  os::FileClose(writer);
  EXPECT_EQ(os::FileSizeByName(name), 17);
}

TEST(OsFiles, PathHelpers) {
  EXPECT_EQ(ExtractFilePath("C:\\x\\y.txt"), "C:\\x\\");
  EXPECT_EQ(ExtractFileDir("C:\\x\\y.txt"), "C:\\x");
  EXPECT_EQ(ExtractFileDir("C:\\y.txt"), "C:\\");
  EXPECT_EQ(ExtractFileName("C:y.txt"), "y.txt");
  EXPECT_EQ(ExtractFileName("a/b/c.tar.gz"), "c.tar.gz");
  EXPECT_EQ(ExtractFileExt("a.b\\c"), "");
  EXPECT_EQ(ExtractFileExt("c.tar.gz"), ".gz");
  EXPECT_EQ(ChangeFileExt("x\\scg.qec", ".bak"), "x\\scg.bak");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\x\\"), "C:\\x");
}

TEST(OsFiles, RandomBytesDiffer) {
  uint8_t a[16], b[16];
  os::RandomBytes(a, sizeof a);
  os::RandomBytes(b, sizeof b);
  EXPECT_NE(std::memcmp(a, b, sizeof a), 0);
}

// The child half of the lock test: it runs in a second process, tries the
// byte the parent holds, and answers through its exit code.
TEST(ByteLockChild, TryLock) {
  const char* file = std::getenv("QE_LOCK_FILE");
  if (!file) GTEST_SKIP() << "runs only as a child of ByteLock.OtherProcessIsBlocked";
  THandle h = os::FileOpen(file, fmOpenReadWrite | fmShareDenyNone);
  if (h == InvalidHandle) std::exit(2);
  bool locked = os::FileLockRange(h, 1, 1);
  bool other = os::FileLockRange(h, 2, 1);  // a neighbouring byte is free
  std::exit(locked ? 1 : (other ? 0 : 3));
}

TEST(ByteLock, OtherProcessIsBlocked) {
  TempDir dir;
  const String name = dir.File("lock.db");
  { TFileStream(name, fmCreate).WriteBuffer("0123456789", 10); }
  THandle h = os::FileOpen(name, fmOpenReadWrite | fmShareDenyNone);
  ASSERT_NE(h, InvalidHandle);
  ASSERT_TRUE(os::FileLockRange(h, 1, 1));
  const std::vector<std::string> env = {"QE_LOCK_FILE=" + name};
  EXPECT_EQ(testing_support::RunSelf("ByteLockChild.TryLock", env), 0);
  ASSERT_TRUE(os::FileUnlockRange(h, 1, 1));
  EXPECT_EQ(testing_support::RunSelf("ByteLockChild.TryLock", env), 1);
  os::FileClose(h);
}
