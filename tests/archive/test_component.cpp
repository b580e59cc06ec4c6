// The archiver component: properties, opening and closing, adding entries,
// decoding them, search.
#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"

using namespace archive_test;
using testing_support::TempDir;

namespace {

// A small tree: a text file, an empty file, a binary file in a sub folder.
struct SourceTree {
  TempDir dir;
  SourceTree() {
    String text;
    for (int i = 0; i < 5000; ++i) text += Format("line %d of the text\r\n", {i});
    PutFile(dir.File("text.txt"), text);
    PutFile(dir.File("empty.dat"), "");
    os::CreateDir(dir.File("sub"));
    std::string bin(70000, '\0');
    for (size_t i = 0; i < bin.size(); ++i) bin[i] = char((i * 2654435761u) >> 13);
    PutFile(dir.File("sub") + PathDelim + "bin.dat", bin);
  }
  String Content(const String& rel) const {
    const Bytes b = GetFile(dir.File(rel));
    return String(b.begin(), b.end());
  }
};

// Index of the entry named name, -1 when absent.
int IndexOf(const TZABaseArchiver& zip, const String& name) {
  for (int i = 0; i < zip.FileCount(); ++i)
    if (zip.DirItem(i).Name == name) return i;
  return -1;
}

}  // namespace

TEST(ZAComponent, LevelAndModeFollowEachOther) {
  TZipArchiver zip(nullptr);
  EXPECT_EQ(zip.CompressionLevel(), TZACompressionLevel::clFastest);
  EXPECT_EQ(zip.CompressionMode(), 1);
  const int modeOfLevel[] = {0, 1, 6, 9};
  using L = TZACompressionLevel;
  for (L l : {L::clNone, L::clFastest, L::clNormal, L::clMax}) {
    zip.SetCompressionLevel(l);
    EXPECT_EQ(zip.CompressionMode(), modeOfLevel[static_cast<int>(l)]);
  }
  const L levelOfMode[] = {L::clNone,   L::clFastest, L::clFastest, L::clFastest, L::clNormal,
                           L::clNormal, L::clNormal,  L::clMax,     L::clMax,     L::clMax};
  for (int m = 0; m <= 9; ++m) {
    zip.SetCompressionMode(m);
    EXPECT_EQ(zip.CompressionLevel(), levelOfMode[m]) << m;
  }
  zip.SetCompressionMode(4);
  EXPECT_EQ(NativeErrorOf([&] { zip.SetCompressionMode(10); }), 5);
  EXPECT_EQ(zip.CompressionMode(), 4);
}

TEST(ZAComponent, FixedFactsAndDefaults) {
  TZipArchiver zip(nullptr);
  zip.SetCurrentVersion("9.99");
  EXPECT_EQ(zip.CurrentVersion(), "2.64 ");
  EXPECT_EQ(zip.Zip64Mode(), zmDisabled);
  EXPECT_EQ(zip.Options().SearchAttr(), 10431);
  EXPECT_EQ(zip.Options().OverwriteMode(), omAlways);
  EXPECT_EQ(zip.Options().StorePath(), spRelativePath);
  EXPECT_TRUE(zip.Options().OEMFileNames());
  zip.SpanningOptions().SetCustomVolumeSize(100);
  EXPECT_EQ(zip.SpanningOptions().CustomVolumeSize(), 65536);
  TZAOptions copy;
  zip.Options().SetRecurse(false);
  copy.Assign(&zip.Options());
  EXPECT_FALSE(copy.Recurse());
}

TEST(ZAComponent, OpeningRulesAndGuards) {
  TempDir tmp;
  TZipArchiver zip(nullptr);
  zip.SetName("Archiver");
  EXPECT_EQ(NativeErrorOf([&] { zip.OpenArchiveFile(); }), 9);
  EXPECT_EQ(NativeErrorOf([&] { zip.OpenArchiveMode(ZAModeReadOnly); }), 10);
  zip.SetFileName(tmp.File("missing.zip"));
  try {
    zip.OpenArchiveMode(ZAModeReadOnly);
    ADD_FAILURE();
  } catch (const EZAException& e) {
    EXPECT_EQ(e.NativeError(), 12);
    EXPECT_EQ(e.Message(), "Archiver: File \"" + tmp.File("missing.zip") + "\" not found - Native error: 00012");
  }
  EXPECT_EQ(NativeErrorOf([&] { zip.FindFirstItem("*", *std::make_unique<TZAArchiveItem>()); }), 13);
  TStringStream s;
  EXPECT_EQ(NativeErrorOf([&] { zip.ExtractItemToStream(0, s); }), 13);

  // A new archive closed at once is the 22-byte end record.
  zip.OpenArchiveFile();
  EXPECT_TRUE(zip.Active());
  try {
    zip.SetSpanningMode(smSplitting);
    ADD_FAILURE();
  } catch (const EZAException&) {
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot set spanning mode on open archive");
  }
  EXPECT_EQ(NativeErrorOf([&] { zip.ExtractItemToStream(0, s); }), 16);
  zip.CloseArchiveFile();
  EXPECT_EQ(os::FileSizeByName(tmp.File("missing.zip")), 22);

  zip.SetInMemory(true);
  EXPECT_EQ(NativeErrorOf([&] { zip.OpenArchiveMode(ZAModeReadOnly); }), 28);

  PutFile(tmp.File("junk.zip"), std::string(100, 'j'));
  zip.SetInMemory(false);
  zip.SetFileName(tmp.File("junk.zip"));
  EXPECT_EQ(NativeErrorOf([&] { zip.OpenArchiveFile(); }), 35);
  EXPECT_FALSE(zip.Active());
}

TEST(ZAComponent, ReadOnlyArchiveOpens) {
  SourceTree src;
  TempDir tmp;
  const String name = tmp.File("ro.zip");
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(name);
    zip.SetBaseDir(src.dir.Path());
    zip.OpenArchiveFile();
    zip.AddFiles("text.txt");
    zip.CloseArchiveFile();
  }
  ASSERT_TRUE(os::FileSetAttr(name, faReadOnly));
  TZipArchiver zip(nullptr);
  zip.SetFileName(name);
  zip.OpenArchiveFile();
  ASSERT_EQ(zip.FileCount(), 1);
  EXPECT_EQ(Decode(zip, 0), src.Content("text.txt"));
  zip.CloseArchiveFile();
  os::FileSetAttr(name, faArchive);
}

TEST(ZAComponent, AddedEntriesDecodeBackAtEveryMode) {
  SourceTree src;
  TempDir tmp;
  struct Case {
    int mode;
    const char* password;
  };
  for (const Case& c : {Case{0, ""}, Case{1, ""}, Case{6, ""}, Case{9, ""}, Case{0, "pw"},
                        Case{6, "p\xE4ss"}}) {
    SCOPED_TRACE(Format("mode %d password '%s'", {c.mode, c.password}));
    const String name = tmp.File(Format("m%d%s.zip", {c.mode, c.password}));
    TZipArchiver zip(nullptr);
    zip.SetFileName(name);
    zip.SetBaseDir(src.dir.Path());
    zip.SetCompressionMode(c.mode);
    zip.SetPassword(c.password);
    zip.OpenArchiveFile();
    zip.AddFiles(src.dir.Path() + "*");  // a mask: every file and folder below
    zip.CloseArchiveFile();

    TZipArchiver back(nullptr);
    back.SetFileName(name);
    back.SetPassword(c.password);
    back.OpenArchiveMode(ZAModeReadOnly);
    ASSERT_EQ(back.FileCount(), 4);
    const int text = IndexOf(back, "text.txt"), bin = IndexOf(back, "sub/bin.dat");
    const int empty = IndexOf(back, "empty.dat"), sub = IndexOf(back, "sub/");
    ASSERT_TRUE(text >= 0 && bin >= 0 && empty >= 0 && sub >= 0);
    EXPECT_EQ(Decode(back, text), src.Content("text.txt"));
    EXPECT_EQ(Decode(back, bin), src.Content("sub/bin.dat"));
    EXPECT_EQ(Decode(back, empty), "");
    const TDirItem& t = back.DirItem(text);
    EXPECT_EQ(t.Header.Method, c.mode == 0 ? 0 : 8);
    EXPECT_EQ(t.IsEncrypted(), *c.password != 0);
    if (c.mode != 0) {
      EXPECT_LT(t.CompressedSize, t.UncompressedSize);
    }
    const TDirItem& e = back.DirItem(empty);
    EXPECT_EQ(e.Header.Method, 0);
    EXPECT_FALSE(e.IsEncrypted());  // no data, nothing to encrypt
    const TDirItem& f = back.DirItem(sub);
    EXPECT_EQ(f.Header.Flags, 2);
    EXPECT_EQ(f.Header.Method, 0);
    EXPECT_TRUE(f.Header.ExternalAttributes & faDirectory);
    const int64_t mtime = os::FileGetModTime(src.dir.File("text.txt"));
    EXPECT_EQ(t.DosDateTime(), ZAUnixToDosDateTime(mtime));
  }
}

TEST(ZAComponent, AddingToAnExistingArchiveKeepsItsBytes) {
  SourceTree src;
  TempDir tmp;
  const String name = tmp.File("grow.zip");
  TZipArchiver zip(nullptr);
  zip.SetFileName(name);
  zip.SetBaseDir(src.dir.Path());
  zip.OpenArchiveFile();
  zip.AddFiles("text.txt");
  zip.CloseArchiveFile();
  const Bytes before = GetFile(name);

  zip.OpenArchiveFile();
  zip.AddFiles("sub");  // the folder and what is in it
  zip.CloseArchiveFile();
  const Bytes after = GetFile(name);
  const size_t oldEntries = before.size() - 22 - (46 + 8);
  ASSERT_GT(after.size(), before.size());
  EXPECT_TRUE(std::equal(before.begin(), before.begin() + long(oldEntries), after.begin()));

  zip.OpenArchiveMode(ZAModeReadOnly);
  ASSERT_EQ(zip.FileCount(), 3);
  EXPECT_EQ(zip.DirItem(1).Name, "sub/");
  EXPECT_EQ(Decode(zip, 2), src.Content("sub/bin.dat"));
}

TEST(ZAComponent, InMemoryArchiveMovesToItsFile) {
  SourceTree src;
  TempDir tmp;
  TZipArchiver zip(nullptr);
  zip.SetBaseDir(src.dir.Path());
  zip.SetInMemory(true);
  zip.OpenArchiveFile();
  zip.AddFiles("text.txt");
  EXPECT_EQ(NativeErrorOf([&] { zip.SetInMemory(false); }), 29);  // no file name yet
  zip.SetFileName(tmp.File("mem.zip"));
  zip.SetInMemory(false);
  EXPECT_TRUE(zip.Active());
  ASSERT_EQ(zip.FileCount(), 1);
  EXPECT_EQ(Decode(zip, 0), src.Content("text.txt"));
  zip.CloseArchiveFile();
  EXPECT_GT(os::FileSizeByName(tmp.File("mem.zip")), 22);
}

TEST(ZAComponent, CancelledCommitLeavesTheArchiveAsItWas) {
  SourceTree src;
  TempDir tmp;
  const String name = tmp.File("cancel.zip");
  TZipArchiver zip(nullptr);
  zip.SetFileName(name);
  zip.SetBaseDir(src.dir.Path());
  zip.OpenArchiveFile();
  zip.AddFiles("empty.dat");
  zip.CloseArchiveFile();
  const Bytes before = GetFile(name);

  int started = 0;
  zip.OnFileProgress = [&](TObject*, const String&, double, TZAProcessOperation,
                           TZAProgressPhase phase, bool& cancel) {
    if (phase == ppStart && ++started == 2) cancel = true;
  };
  zip.OpenArchiveFile();
  zip.AddFiles("text.txt");
  zip.AddFiles("sub");
  zip.CloseArchiveFile();
  EXPECT_EQ(GetFile(name), before);
}

TEST(ZAComponent, FailedSourceGoesThroughTheFailureEvent) {
  SourceTree src;
  TempDir tmp;
  TZipArchiver zip(nullptr);
  zip.SetFileName(tmp.File("fail.zip"));
  zip.SetBaseDir(src.dir.Path());
  std::vector<int> codes;
  zip.OnProcessFileFailure = [&](TObject*, const String&, TZAProcessOperation, int native, int,
                                 const String&, TZAAction& action) {
    codes.push_back(native);
    action = fxaIgnore;
  };
  zip.OpenArchiveFile();
  zip.AddFiles("text.txt");
  zip.AddFiles("empty.dat");
  os::RemoveFile(src.dir.File("text.txt"));  // gone before the commit
  zip.CloseArchiveFile();
  EXPECT_EQ(codes, std::vector<int>{33});
  zip.OpenArchiveMode(ZAModeReadOnly);
  ASSERT_EQ(zip.FileCount(), 1);  // the ignored entry is dropped
  EXPECT_EQ(zip.DirItem(0).Name, "empty.dat");
}

TEST(ZAComponent, PasswordsAndDamage) {
  SourceTree src;
  TempDir tmp;
  const String name = tmp.File("pw.zip");
  do {
    os::RemoveFile(name);
    TZipArchiver zip(nullptr);
    zip.SetFileName(name);
    zip.SetBaseDir(src.dir.Path());
    zip.SetPassword("right");
    zip.SetCompressionMode(6);
    zip.OpenArchiveFile();
    zip.AddFiles("text.txt");
    zip.CloseArchiveFile();
  } while (SomePasswordPasses(name, {"wrong"}));
  TZipArchiver zip(nullptr);
  zip.SetFileName(name);
  zip.SetPassword("wrong");
  zip.OpenArchiveMode(ZAModeReadOnly);
  TStringStream out;
  // No handler: the password box, empty rather than showing the password
  // that failed, is cancelled, the entry skipped, no error.
  ScriptedPrompts prompts;
  zip.SetPrompts(&prompts);
  EXPECT_FALSE(zip.ExtractItemToStream(0, out));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0], "Password for \"text.txt\"|Enter password: |");
  // A handler that answers the same again does not loop.
  int asked = 0;
  zip.OnPassword = [&](TObject*, const String& file, String& pw, bool&) {
    EXPECT_EQ(file, "text.txt");
    ++asked;
  };
  EXPECT_FALSE(zip.ExtractItemToStream(0, out));
  EXPECT_EQ(asked, 1);
  // A handler with the right password: decoded, and the password stays.
  zip.OnPassword = [&](TObject*, const String&, String& pw, bool&) { pw = "right"; };
  TStringStream good;
  EXPECT_TRUE(zip.ExtractItemToStream(0, good));
  EXPECT_EQ(good.DataString(), src.Content("text.txt"));
  EXPECT_EQ(zip.Password(), "right");
  zip.CloseArchiveFile();

  // Flip a byte in the middle of the data: the entry fails its checks.
  Bytes b = GetFile(name);
  b[200] ^= 0x55;
  PutBytes(name, b);
  zip.OpenArchiveMode(ZAModeReadOnly);
  TStringStream bad;
  EXPECT_EQ(NativeErrorOf([&] { zip.ExtractItemToStream(0, bad); }), 8);
  zip.SetExtractCorruptedFiles(true);
  EXPECT_EQ(NativeErrorOf([&] { zip.ExtractItemToStream(0, bad); }), -1);
}

TEST(ZAComponent, UnsupportedMethodsAndLyingSizes) {
  TempDir tmp;
  auto archiveWith = [&](uint16_t method, uint32_t declaredSize, const std::string& data) {
    ByteBuilder b;
    const uint32_t crc = ZACrc32(data.data(), data.size());
    b.U32(0x04034B50).U16(20).U16(0).U16(method).U16(0).U16(0x5821).U32(crc);
    b.U32(uint32_t(data.size())).U32(declaredSize).U16(1).U16(0).Str("x").Str(data);
    const uint32_t dirAt = uint32_t(b.b.size());
    b.U32(0x02014B50).U16(20).U16(20).U16(0).U16(method).U16(0).U16(0x5821).U32(crc);
    b.U32(uint32_t(data.size())).U32(declaredSize).U16(1).U16(0).U16(0).U16(0).U16(0);
    b.U32(faArchive).U32(0).Str("x");
    b.U32(0x06054B50).U16(0).U16(0).U16(1).U16(1).U32(47).U32(dirAt).U16(0);
    const String name = tmp.File(Format("m%d-%u.zip", {int(method), declaredSize}));
    PutBytes(name, b.b);
    return name;
  };
  TZipArchiver zip(nullptr);
  auto decodeCode = [&](const String& name) {
    zip.SetFileName(name);
    zip.OpenArchiveMode(ZAModeReadOnly);
    TStringStream s;
    const int code = NativeErrorOf([&] { zip.ExtractItemToStream(0, s); });
    EXPECT_LE(s.Size(), 5);  // never more than the declared size
    zip.CloseArchiveFile();
    return code;
  };
  EXPECT_EQ(decodeCode(archiveWith(9, 5, "hello")), 55);
  EXPECT_EQ(decodeCode(archiveWith(12, 5, "hello")), 58);
  EXPECT_EQ(decodeCode(archiveWith(0, 3, "hello")), 8);   // more data than declared
  EXPECT_EQ(decodeCode(archiveWith(0, 5, "hello")), -1);
}

TEST(ZAComponent, SearchByMaskFolderAndAttributes) {
  TempDir tmp;
  std::vector<std::pair<std::string, uint32_t>> entries = {
      {"a.txt", faArchive}, {"docs/b.TXT", faArchive}, {"docs/old/c.txt", faArchive},
      {"a.txt.bak", faArchive}, {"hidden.txt", faArchive | faHidden}, {"docs/", faDirectory}};
  ByteBuilder local, central;
  for (auto& [n, attr] : entries) {
    const uint32_t at = uint32_t(local.b.size());
    local.U32(0x04034B50).U16(20).U16(0).U16(0).U16(0).U16(0x5821).U32(0).U32(0).U32(0);
    local.U16(uint32_t(n.size())).U16(0).Str(n);
    central.U32(0x02014B50).U16(20).U16(20).U16(0).U16(0).U16(0).U16(0x5821).U32(0).U32(0).U32(0);
    central.U16(uint32_t(n.size())).U16(0).U16(0).U16(0).U16(0).U32(attr).U32(at).Str(n);
  }
  ByteBuilder all;
  all.Raw(local.b).Raw(central.b).U32(0x06054B50).U16(0).U16(0).U16(6).U16(6);
  all.U32(uint32_t(central.b.size())).U32(uint32_t(local.b.size())).U16(0);
  PutBytes(tmp.File("s.zip"), all.b);

  TZipArchiver zip(nullptr);
  zip.SetFileName(tmp.File("s.zip"));
  zip.OpenArchiveMode(ZAModeReadOnly);
  auto found = [&](const String& mask, const String& exclusion = "", int attr = ZADefaultSearchAttr) {
    std::vector<String> names;
    TZAArchiveItem item;
    for (bool ok = zip.FindFirstItem(mask, item, exclusion, attr); ok; ok = zip.FindNextItem(item))
      names.push_back(item.StoredPath + item.FileName);
    return names;
  };
  using V = std::vector<String>;
  EXPECT_EQ(found("*.txt"), (V{"a.txt", "docs\\b.TXT", "docs\\old\\c.txt", "hidden.txt"}));
  EXPECT_EQ(found("*.txt", "", faArchive), (V{"a.txt", "docs\\b.TXT", "docs\\old\\c.txt"}));
  EXPECT_EQ(found("*.*", "*.txt"), (V{"a.txt.bak", "docs"}));
  EXPECT_EQ(found("docs\\*.txt"), (V{"docs\\b.TXT", "docs\\old\\c.txt"}));
  zip.Options().SetRecurse(false);
  EXPECT_EQ(found("docs/*.txt"), (V{"docs\\b.TXT"}));

  TZAArchiveItem item;
  ASSERT_TRUE(zip.FindFirstItem("a.txt", item));
  EXPECT_EQ(item.CompressionRate, 100);
  EXPECT_EQ(item.StoredPath, "");
  EXPECT_EQ(item.LastModFileDate, 0x5821);
}
