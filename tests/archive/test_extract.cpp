// Extraction and test: the per-entry loop, paths, overwrite rules, times
// and attributes, passwords, the failure event, and hostile archives that
// try to write outside the target folder, lie about sizes or overlap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <set>

#include "ArchiveTestUtil.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace archive_test;
using testing_support::TempDir;

namespace {

// 2021-11-05 13:30:08 as a DOS date and time.
constexpr uint16_t kDosDate = 0x5365;
constexpr uint16_t kDosTime = 0x6BC4;

String Slashed(String s) {
  std::replace(s.begin(), s.end(), '\\', PathDelim);
  std::replace(s.begin(), s.end(), '/', PathDelim);
  return s;
}

// Every file and folder below dir, as relative names with "/".
std::set<String> ListTree(const String& dir, const String& prefix = "") {
  std::set<String> out;
  os::DirSearch search(IncludeTrailingPathDelimiter(dir) + "*");
  os::TSearchRec rec;
  while (search.Next(rec)) {
    out.insert(prefix + rec.Name);
    if (rec.Attr & faDirectory) {
      const auto sub = ListTree(IncludeTrailingPathDelimiter(dir) + rec.Name, prefix + rec.Name + "/");
      out.insert(sub.begin(), sub.end());
    }
  }
  return out;
}

// An archive written byte by byte, so that it can lie.
struct CraftedEntry {
  std::string name;
  std::string stored;  // the bytes behind the local header
  uint16_t method = 0;
  uint16_t flags = 0;
  uint32_t crc = 0;
  uint32_t uncompressedSize = 0;
  std::optional<uint32_t> compressedSize;  // default: the stored size
  int sharesHeaderOf = -1;                 // central entry pointing at another's header
  uint32_t attributes = faArchive;
};

CraftedEntry Stored(const std::string& name, const std::string& plain) {
  CraftedEntry e;
  e.name = name;
  e.stored = plain;
  e.crc = ZACrc32(plain.data(), plain.size());
  e.uncompressedSize = uint32_t(plain.size());
  return e;
}

CraftedEntry Deflated(const std::string& name, const std::string& plain) {
  CraftedEntry e = Stored(name, plain);
  TZADeflater deflater(6);
  std::vector<uint8_t> out;
  deflater.DeflateBlock(reinterpret_cast<const uint8_t*>(plain.data()), plain.size(), true, out);
  e.stored.assign(out.begin(), out.end());
  e.method = 8;
  return e;
}

Bytes BuildArchive(const std::vector<CraftedEntry>& entries) {
  ByteBuilder b;
  std::vector<uint32_t> offsets;
  for (const CraftedEntry& e : entries) {
    offsets.push_back(uint32_t(b.b.size()));
    const uint32_t csize = e.compressedSize.value_or(uint32_t(e.stored.size()));
    b.U32(0x04034B50).U16(20).U16(e.flags).U16(e.method).U16(kDosTime).U16(kDosDate).U32(e.crc);
    b.U32(csize).U32(e.uncompressedSize).U16(uint32_t(e.name.size())).U16(0).Str(e.name);
    b.Str(e.stored);
  }
  const uint32_t dirAt = uint32_t(b.b.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const CraftedEntry& e = entries[i];
    const uint32_t csize = e.compressedSize.value_or(uint32_t(e.stored.size()));
    const uint32_t offset = offsets[e.sharesHeaderOf >= 0 ? size_t(e.sharesHeaderOf) : i];
    b.U32(0x02014B50).U16(20).U16(20).U16(e.flags).U16(e.method).U16(kDosTime).U16(kDosDate);
    b.U32(e.crc).U32(csize).U32(e.uncompressedSize).U16(uint32_t(e.name.size())).U16(0).U16(0);
    b.U16(0).U16(0).U32(e.attributes).U32(offset).Str(e.name);
  }
  const uint32_t dirSize = uint32_t(b.b.size()) - dirAt;
  b.U32(0x06054B50).U16(0).U16(0).U16(uint32_t(entries.size())).U16(uint32_t(entries.size()));
  b.U32(dirSize).U32(dirAt).U16(0);
  return b.b;
}

// A failure event that records (entry, native code) and answers action.
struct FailureLog {
  std::vector<std::pair<String, int>> seen;
  TZAAction action = fxaIgnore;
  void Attach(TZABaseArchiver& zip) {
    zip.OnProcessFileFailure = [this](TObject*, const String& file, TZAProcessOperation, int native,
                                      int, const String&, TZAAction& a) {
      seen.emplace_back(file, native);
      a = action;
    };
  }
};

// A source tree written into an archive by the archiver itself.
struct PackedTree {
  TempDir dir;
  String archive = dir.File("tree.zip");
  std::vector<std::pair<String, std::string>> files;

  explicit PackedTree(const String& password = "", int mode = 6) {
    std::mt19937 rng(11);
    std::string text, random(90000, '\0');
    for (int i = 0; i < 4000; ++i) text += Format("%d: line of the text\r\n", {i});
    for (char& c : random) c = char(rng());
    files = {{"text.txt", text}, {"empty.dat", ""}, {"sub/random.bin", random},
             {"sub/deeper/note.txt", "note"}, {"ro.txt", "read only"}};
    const String src = dir.File("src") + PathDelim;
    os::ForceDirectories(Slashed(src + "sub/deeper"));
    for (auto& [name, data] : files) {
      PutFile(Slashed(src + name), data);
      os::FileSetModTime(Slashed(src + name), ZADosDateTimeToUnix(uint32_t(kDosDate) << 16 | kDosTime));
    }
    os::FileSetAttr(src + "ro.txt", faReadOnly | faArchive);
    TZipArchiver zip(nullptr);
    zip.SetFileName(archive);
    zip.SetBaseDir(src);
    zip.SetPassword(password);
    zip.SetCompressionMode(mode);
    zip.OpenArchiveFile();
    zip.AddFiles("*");
    zip.CloseArchiveFile();
    os::FileSetAttr(src + "ro.txt", faArchive);
  }
  ~PackedTree() { MakeWritable(dir.Path()); }

  // Read-only files would stop the temporary folder from going away.
  static void MakeWritable(const String& folder) {
    for (const String& name : ListTree(folder)) os::FileSetAttr(Slashed(folder + name), faArchive);
  }
};

// Extracts the whole archive into out with scripted prompts.
void ExtractAll(TZipArchiver& zip, const String& archive, const String& out) {
  zip.SetFileName(archive);
  zip.SetBaseDir(out);
  zip.OpenArchiveFile();
  zip.ExtractFilesByMask("*.*");
  zip.CloseArchiveFile();
}

}  // namespace

TEST(ZAExtract, TreeWithFoldersTimesAndAttributes) {
  PackedTree tree;
  TempDir out;
  ScriptedPrompts prompts;
  TZipArchiver zip(nullptr);
  zip.SetPrompts(&prompts);
  ExtractAll(zip, tree.archive, out.Path());
  for (auto& [name, data] : tree.files) {
    SCOPED_TRACE(name);
    const String path = Slashed(out.Path() + name);
    EXPECT_EQ(Content(path), data);
    EXPECT_EQ(os::FileGetModTime(path), ZADosDateTimeToUnix(uint32_t(kDosDate) << 16 | kDosTime));
    EXPECT_EQ((os::FileGetAttr(path) & faReadOnly) != 0, name == "ro.txt");
  }
  EXPECT_TRUE(prompts.asked.empty());
  PackedTree::MakeWritable(out.Path());

  // Without CreateDirs every file lands in the base folder; the exclusion
  // mask leaves the .txt files out.
  TempDir flat;
  zip.Options().SetCreateDirs(false);
  zip.SetBaseDir(flat.Path());
  zip.OpenArchiveFile();
  zip.ExtractFilesByMask("*.*", ZADefaultSearchAttr, "*.txt");
  zip.CloseArchiveFile();
  EXPECT_EQ(ListTree(flat.Path()), (std::set<String>{"empty.dat", "random.bin"}));
}

TEST(ZAExtract, TestOperationLeavesNothingBehind) {
  PackedTree tree("pw");
  TempDir temp;
  TZipArchiver zip(nullptr);
  zip.SetFileName(tree.archive);
  zip.SetPassword("pw");
  zip.SetTempDir(temp.Path());
  std::vector<String> files;
  zip.OnFileProgress = [&](TObject*, const String& file, double, TZAProcessOperation op,
                           TZAProgressPhase phase, bool&) {
    EXPECT_EQ(op, poTest);
    if (phase == ppEnd) files.push_back(file);
  };
  zip.OpenArchiveFile();
  zip.SelectItemsByMask("*.*");
  zip.ProcessSelectedItems(poTest);
  EXPECT_EQ(files.size(), tree.files.size() + 2);  // the files and folders sub, sub/deeper
  EXPECT_TRUE(ListTree(temp.Path()).empty());
  zip.CloseArchiveFile();
}

TEST(ZAExtract, OverwriteRules) {
  PackedTree tree;
  const int64_t entryTime = ZADosDateTimeToUnix(uint32_t(kDosDate) << 16 | kDosTime);
  struct Case {
    const char* what;
    TZAOverwriteMode mode;
    int64_t existingTime;
    std::vector<TZAPrompts::TOverwriteAnswer> answers;
    bool replaced;
    TZAOverwriteMode modeAfter;
  };
  const Case cases[] = {
      {"always", omAlways, entryTime + 3600, {}, true, omAlways},
      {"never", omNever, entryTime - 3600, {}, false, omNever},
      {"if newer, file older", omIfNewer, entryTime - 3600, {}, true, omIfNewer},
      {"if newer, file as new", omIfNewer, entryTime, {}, false, omIfNewer},
      {"if older, file newer", omIfOlder, entryTime + 3600, {}, true, omIfOlder},
      {"if older, file older", omIfOlder, entryTime - 3600, {}, false, omIfOlder},
      {"prompt yes", omPrompt, entryTime, {TZAPrompts::oaYes}, true, omPrompt},
      {"prompt no", omPrompt, entryTime, {TZAPrompts::oaNo}, false, omPrompt},
      {"prompt closed", omPrompt, entryTime, {TZAPrompts::oaClosed}, false, omPrompt},
      {"prompt yes to all", omPrompt, entryTime, {TZAPrompts::oaYesToAll}, true, omAlways},
      {"prompt no to all", omPrompt, entryTime, {TZAPrompts::oaNoToAll}, false, omNever},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir out;
    const String target = out.File("text.txt");
    PutFile(target, "old");
    os::FileSetModTime(target, c.existingTime);
    ScriptedPrompts prompts;
    prompts.overwrite = c.answers;
    TZipArchiver zip(nullptr);
    zip.SetPrompts(&prompts);
    zip.Options().SetOverwriteMode(c.mode);
    zip.SetFileName(tree.archive);
    zip.SetBaseDir(out.Path());
    zip.OpenArchiveFile();
    zip.ExtractFilesByMask("text.txt");  // a file left alone by the rules counts as done
    EXPECT_EQ(Content(target) != "old", c.replaced);
    EXPECT_EQ(zip.Options().OverwriteMode(), c.modeAfter);
    if (c.mode == omPrompt) {
      ASSERT_EQ(prompts.asked.size(), 1u);
      EXPECT_EQ(prompts.asked[0], "Overwrite file \"" + target + "\" with \"text.txt\"");
    }
    EXPECT_EQ(ListTree(out.Path()), std::set<String>{"text.txt"});
  }

  // A read-only target stays when ReplaceReadOnly is off, and is replaced
  // when it is on.
  for (bool replace : {false, true}) {
    TempDir out;
    const String target = out.File("text.txt");
    PutFile(target, "old");
    os::FileSetAttr(target, faReadOnly);
    TZipArchiver zip(nullptr);
    zip.Options().SetReplaceReadOnly(replace);
    zip.SetFileName(tree.archive);
    zip.SetBaseDir(out.Path());
    zip.OpenArchiveFile();
    zip.ExtractFilesByMask("text.txt");
    EXPECT_EQ(Content(target) != "old", replace);
    os::FileSetAttr(target, faArchive);
  }
}

TEST(ZAExtract, PasswordsAskedUntilRightOrCancelled) {
  std::unique_ptr<PackedTree> packed;
  do packed = std::make_unique<PackedTree>("right");
  while (SomePasswordPasses(packed->archive, {"wrong", "still wrong"}));
  const PackedTree& tree = *packed;
  ASSERT_TRUE(SomePasswordPasses(tree.archive, {"right"}));
  {
    // Typed wrong, then right: the right one stays for the other entries.
    TempDir out;
    ScriptedPrompts prompts;
    prompts.passwords = {"still wrong", "right"};
    TZipArchiver zip(nullptr);
    zip.SetPrompts(&prompts);
    zip.SetPassword("wrong");
    ExtractAll(zip, tree.archive, out.Path());
    EXPECT_EQ(zip.Password(), "right");
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0], "Password for \"ro.txt\"|Enter password: |");
    EXPECT_EQ(Content(out.File("text.txt")), tree.files[0].second);
    PackedTree::MakeWritable(out.Path());
  }
  {
    // Cancelled: nothing is written, and the operation says so.
    TempDir out;
    ScriptedPrompts prompts;
    TZipArchiver zip(nullptr);
    zip.SetPrompts(&prompts);
    zip.SetPassword("wrong");
    try {
      ExtractAll(zip, tree.archive, out.Path());
      ADD_FAILURE() << "no error";
    } catch (const EZAException& e) {
      EXPECT_EQ(e.NativeError(), 60);
      // Five files; the two folders do not count.
      EXPECT_EQ(e.Message(), "4 of 5 selected entries were not processed - Native error: 00060");
    }
    // The empty file has no data to encrypt; the folders are made.
    EXPECT_EQ(ListTree(out.Path()), (std::set<String>{"empty.dat", "sub", "sub/deeper"}));
  }
  {
    // A handler that gives the same password back is not asked again.
    TempDir out;
    int asked = 0;
    TZipArchiver zip(nullptr);
    zip.SetPassword("wrong");
    zip.OnPassword = [&](TObject*, const String&, String&, bool&) { ++asked; };
    EXPECT_EQ(NativeErrorOf([&] { ExtractAll(zip, tree.archive, out.Path()); }), 60);
    EXPECT_EQ(asked, 4);
  }
}

TEST(ZAExtract, FailuresRetryIgnoreAbortAndTheOldFileSurvives) {
  const std::string good(5000, 'g');
  std::string data;
  for (int i = 0; i < 3000; ++i) data += Format("%d,", {i});
  CraftedEntry damaged = Deflated("b.txt", data);
  damaged.stored[damaged.stored.size() / 2] ^= 0x55;
  TempDir tmp;
  const String archive = tmp.File("damaged.zip");
  PutBytes(archive, BuildArchive({Stored("a.txt", good), damaged, Stored("c.txt", good)}));

  struct Case {
    const char* what;
    std::vector<TZAAction> answers;  // from the default dialog, one per failure
    std::set<String> written;
    int missing;
  };
  const Case cases[] = {
      {"ignore", {fxaIgnore}, {"a.txt", "b.txt", "c.txt"}, 1},
      {"abort", {fxaAbort}, {"a.txt", "b.txt"}, 2},
      {"retry, then ignore", {fxaRetry, fxaIgnore}, {"a.txt", "b.txt", "c.txt"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir out;
    PutFile(out.File("b.txt"), "old contents");
    ScriptedPrompts prompts;
    prompts.failures = c.answers;
    TZipArchiver zip(nullptr);
    zip.SetPrompts(&prompts);
    try {
      ExtractAll(zip, archive, out.Path());
      ADD_FAILURE() << "no error";
    } catch (const EZAException& e) {
      EXPECT_EQ(e.Message(), Format("%d of 3 selected entries were not processed - Native error: 00060",
                                    {c.missing}));
    }
    EXPECT_EQ(ListTree(out.Path()), c.written);  // no temporary file left over
    EXPECT_EQ(Content(out.File("b.txt")), "old contents");
    ASSERT_EQ(prompts.asked.size(), c.answers.size());
    EXPECT_EQ(prompts.asked[0],
              "Invalid size or check sum of file or unsupported compression format - Native "
              "error: 00008. File processing error, possibly disk is full");
  }

  // Asked to keep damaged files, the archiver replaces the old one quietly.
  TempDir out;
  PutFile(out.File("b.txt"), "old contents");
  TZipArchiver zip(nullptr);
  zip.SetExtractCorruptedFiles(true);
  ExtractAll(zip, archive, out.Path());
  EXPECT_NE(Content(out.File("b.txt")), "old contents");
}

TEST(ZAExtract, HostileNamesWriteNothingOutsideTheTarget) {
  TempDir tmp;
  const String archive = tmp.File("names.zip");
  const std::vector<std::string> hostile = {
      "/abs-za-test.txt", "\\rooted-za-test.txt", "C:/drive.txt", "C:drive-relative.txt",
      "//server/share/unc.txt", "../up.txt", "a/../../up2.txt", "a/.../x.txt", "a/.. /y.txt",
      "ads.txt:stream", "..",
  };
  std::vector<CraftedEntry> entries;
  for (const std::string& name : hostile) entries.push_back(Stored(name, "evil"));
  entries.push_back(Stored("ok/fine.txt", "fine"));
  entries.push_back(Stored("ok/./dot.txt", "dot"));
  PutBytes(archive, BuildArchive(entries));
  const String out = tmp.File("deep") + PathDelim + "out" + PathDelim;
  ASSERT_TRUE(os::ForceDirectories(out));

  FailureLog log;
  TZipArchiver zip(nullptr);
  log.Attach(zip);
  EXPECT_EQ(NativeErrorOf([&] { ExtractAll(zip, archive, out); }), 60);
  ASSERT_EQ(log.seen.size(), hostile.size());
  for (auto& [file, code] : log.seen) EXPECT_EQ(code, 57) << file;
  EXPECT_EQ(ListTree(tmp.Path()), (std::set<String>{"names.zip", "deep", "deep/out", "deep/out/ok",
                                                     "deep/out/ok/fine.txt", "deep/out/ok/dot.txt"}));
  EXPECT_FALSE(os::FileExists(Slashed("/abs-za-test.txt")));
  EXPECT_FALSE(os::FileExists(Slashed("/rooted-za-test.txt")));

  // A name that the extract event makes hostile is refused all the same.
  TempDir out2;
  TZipArchiver renamed(nullptr);
  FailureLog log2;
  log2.Attach(renamed);
  renamed.OnExtractFile = [](TObject*, String& name, uint32_t&, const String&) {
    name = "..\\" + name;
  };
  renamed.SetFileName(archive);
  renamed.SetBaseDir(out2.Path());
  renamed.OpenArchiveFile();
  EXPECT_EQ(NativeErrorOf([&] { renamed.ExtractFilesByMask("fine.txt"); }), 60);
  ASSERT_EQ(log2.seen.size(), 1u);
  EXPECT_EQ(log2.seen[0].second, 57);
  EXPECT_TRUE(ListTree(out2.Path()).empty());
}

namespace {

// Wine may report a link made that is not there: only one that can be gone
// through counts.
bool MakeFolderLink(const String& link, const String& target) {
#ifdef _WIN32
  ::CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
#else
  ::symlink(target.c_str(), link.c_str());
#endif
  return os::DirectoryExists(link);
}

// A link to the file target, which exists while the link is made.
bool MakeFileLink(const String& link, const String& target) {
#ifdef _WIN32
  ::CreateSymbolicLinkA(link.c_str(), target.c_str(), 0);
#else
  ::symlink(target.c_str(), link.c_str());
#endif
  return os::FileExists(link);
}

}  // namespace

// Links already in the target folder: a folder link that leads out of it is
// never written through, nor are folders made behind it; one that stays
// inside is followed. A link in a file's place, leading to a file outside
// or to nothing, is replaced by the extracted file, small or large.
TEST(ZAExtract, LinksInTheTargetLeadNowhereOutside) {
  TempDir tmp;
  const String out = tmp.File("out") + PathDelim;
  const String outside = tmp.File("outside") + PathDelim;
  os::CreateDir(out);
  os::CreateDir(outside);
  os::CreateDir(out + "sub");
  PutFile(outside + "kept.txt", "keep");
  PutFile(outside + "gone.txt", "probe");
  PutFile(outside + "big.bin", "probe");
  if (!MakeFolderLink(out + "pre", outside) || !MakeFolderLink(out + "in", out + "sub") ||
      !MakeFileLink(out + "kept.txt", outside + "kept.txt") ||
      !MakeFileLink(out + "gone.txt", outside + "gone.txt") ||
      !MakeFileLink(out + "big.bin", outside + "big.bin"))
    GTEST_SKIP() << "links cannot be made here";
  os::RemoveFile(outside + "gone.txt");
  os::RemoveFile(outside + "big.bin");
  const std::string big(3 << 20, 'b');  // past what is decoded in memory
  const String archive = tmp.File("links.zip");
  PutBytes(archive, BuildArchive({Stored("pre/x.txt", "evil"), Stored("pre/deep/y.txt", "evil"),
                                  Stored("ok.txt", "fine"), Stored("in/z.txt", "inside"),
                                  Stored("kept.txt", "new"), Stored("gone.txt", "new"),
                                  Stored("big.bin", big)}));
  FailureLog log;
  TZipArchiver zip(nullptr);
  log.Attach(zip);
  EXPECT_EQ(NativeErrorOf([&] { ExtractAll(zip, archive, out); }), 60);
  EXPECT_EQ(log.seen, (std::vector<std::pair<String, int>>{{"pre\\x.txt", 57},
                                                             {"pre\\deep\\y.txt", 57}}));
  EXPECT_EQ(ListTree(outside), std::set<String>{"kept.txt"});
  EXPECT_EQ(Content(outside + "kept.txt"), "keep");
  EXPECT_EQ(Content(out + "ok.txt"), "fine");
  EXPECT_EQ(Content(out + "sub" + PathDelim + "z.txt"), "inside");
  EXPECT_EQ(Content(out + "kept.txt"), "new");
  EXPECT_EQ(Content(out + "gone.txt"), "new");
  EXPECT_EQ(Content(out + "big.bin"), big);
}

TEST(ZAExtract, HostileDataEndsWithClearErrors) {
  std::string zeros(20 << 20, '\0');
  CraftedEntry bomb = Deflated("bomb.bin", zeros);
  bomb.uncompressedSize = 1000;  // 20 MiB inside, 1000 bytes declared
  CraftedEntry sizeLie = Stored("lie.txt", "twelve bytes");
  sizeLie.uncompressedSize = 5;
  CraftedEntry shortEncrypted = Stored("short.bin", "12345");
  shortEncrypted.flags = ZAFlagEncrypted;
  CraftedEntry unknownMethod = Stored("method.bin", "data");
  unknownMethod.method = 12;
  CraftedEntry first = Stored("first.txt", std::string(100, 'f'));
  first.compressedSize = 100 + 30 + 10 + 50;  // runs into the next entry
  first.uncompressedSize = first.compressedSize.value();
  CraftedEntry next = Stored("second.txt", std::string(100, 's'));
  CraftedEntry third = Stored("third.txt", std::string(100, 't'));
  CraftedEntry twin = Stored("twin.txt", std::string(100, 't'));
  twin.sharesHeaderOf = 6;

  TempDir tmp;
  const String archive = tmp.File("data.zip");
  PutBytes(archive, BuildArchive({bomb, sizeLie, shortEncrypted, unknownMethod, first, next, third,
                                  twin, Stored("good.txt", "good")}));
  TempDir out;
  PutFile(out.File("bomb.bin"), "old");
  FailureLog log;
  TZipArchiver zip(nullptr);
  log.Attach(zip);
  zip.SetPassword("pw");
  EXPECT_EQ(NativeErrorOf([&] { ExtractAll(zip, archive, out.Path()); }), 60);
  const std::vector<std::pair<String, int>> expected = {
      {"bomb.bin", 8}, {"lie.txt", 8}, {"short.bin", 8}, {"method.bin", 58},
      {"first.txt", 59}, {"third.txt", 59}, {"twin.txt", 59}};
  EXPECT_EQ(log.seen, expected);
  EXPECT_EQ(ListTree(out.Path()), (std::set<String>{"bomb.bin", "second.txt", "good.txt"}));
  EXPECT_EQ(Content(out.File("bomb.bin")), "old");
}

TEST(ZAExtract, ArchiveIsOpenedReadOnlyUntilAnUpdate) {
  PackedTree tree;
  const Bytes before = GetFile(tree.archive);
  TempDir out;
  TZipArchiver zip(nullptr);
  zip.SetFileName(tree.archive);
  zip.SetBaseDir(out.Path());
  zip.OpenArchiveFile();
  // Others may write the file while it is only read (Windows enforces this).
  const THandle other = os::FileOpen(tree.archive, fmOpenReadWrite | fmShareDenyWrite);
  EXPECT_NE(other, InvalidHandle);
  if (other != InvalidHandle) os::FileClose(other);
  zip.ExtractFilesByMask("*.*");
  zip.CloseArchiveFile();
  EXPECT_EQ(GetFile(tree.archive), before);
  PackedTree::MakeWritable(out.Path());

  // Opened read-only on purpose, it refuses updates.
  zip.OpenArchiveMode(ZAModeReadOnly);
  zip.SetBaseDir(tree.dir.File("src"));
  EXPECT_EQ(NativeErrorOf([&] { zip.AddFiles("text.txt"); }), 32);
  zip.CloseArchiveFile();
  // Opened by OpenArchiveFile, it takes write access when an update starts.
  zip.OpenArchiveFile();
  zip.SetBaseDir(tree.dir.File("src") + PathDelim + "sub");
  zip.AddFiles("random.bin");
  zip.CloseArchiveFile();
  zip.OpenArchiveFile();
  EXPECT_EQ(zip.FileCount(), 8);
  zip.CloseArchiveFile();
}

// Run as a child by the test below: extracts a large entry over an old file
// and dies in the middle, as a killed process would.
TEST(ZAExtractKill, Child) {
  const char* dir = std::getenv("QE_ZA_KILL_DIR");
  if (!dir) GTEST_SKIP() << "run by ZAExtract.KilledInTheMiddleKeepsTheOldFile";
  TZipArchiver zip(nullptr);
  zip.OnFileProgress = [](TObject*, const String&, double progress, TZAProcessOperation,
                          TZAProgressPhase phase, bool&) {
    if (phase == ppProcess && progress > 40) std::_Exit(7);
  };
  ExtractAll(zip, String(dir) + "big.zip", String(dir) + "out");
}

TEST(ZAExtract, KilledInTheMiddleKeepsTheOldFile) {
  TempDir tmp;
  std::string big(12 << 20, '\0');
  std::mt19937 rng(5);
  for (char& c : big) c = char(rng());
  os::CreateDir(tmp.File("src"));
  PutFile(tmp.File("src") + PathDelim + "big.bin", big);
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(tmp.File("big.zip"));
    zip.SetBaseDir(tmp.File("src"));
    zip.SetCompressionMode(0);
    zip.OpenArchiveFile();
    zip.AddFiles("big.bin");
    zip.CloseArchiveFile();
  }
  const String target = tmp.File("out") + PathDelim + "big.bin";
  os::CreateDir(tmp.File("out"));
  PutFile(target, "the old file");
  EXPECT_EQ(testing_support::RunSelf("ZAExtractKill.Child", {"QE_ZA_KILL_DIR=" + tmp.Path()}), 7);
  EXPECT_EQ(Content(target), "the old file");
  EXPECT_EQ(ListTree(tmp.File("out")).size(), 2u);  // and the partial new one

  // The next run replaces it whole.
  TZipArchiver zip(nullptr);
  ExtractAll(zip, tmp.File("big.zip"), tmp.File("out"));
  EXPECT_TRUE(Content(target) == big);
  // The killed run's temporary file is gone with it.
  EXPECT_EQ(ListTree(tmp.File("out")), std::set<String>{"big.bin"});
}

// Entries are decoded ahead on other threads; what the host sees must not
// change: one entry after the other in directory order, each started and
// ended before the next, a damaged one reported in its place, an entry too
// large to be held in memory decoded all the same, and a cancel that stops
// at once.
TEST(ZAExtract, ManyEntriesComeOutInOrderWhateverRunsAhead) {
  TempDir tmp;
  const String src = tmp.File("src") + PathDelim;
  os::ForceDirectories(src);
  std::mt19937 rng(5);
  std::vector<std::pair<String, std::string>> files;
  for (int i = 0; i < 40; ++i) {
    const size_t size = i % 7 == 0 ? size_t(rng() % 50) : size_t(rng() % 400000);
    std::string data(size, '\0');
    for (size_t k = 0; k < size; ++k) data[k] = i % 3 ? char('a' + (rng() % 4)) : char(rng());
    files.emplace_back(Format("f%.2d.dat", {i}), data);
  }
  // Larger than what is ever held in memory at once.
  files.emplace_back("huge.txt", std::string(33 << 20, 'h'));
  for (auto& [name, data] : files) PutFile(src + name, data);
  const String archive = tmp.File("many.zip");
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(archive);
    zip.SetBaseDir(src);
    zip.SetPassword("pw");
    zip.OpenArchiveFile();
    zip.AddFiles("*");
    zip.CloseArchiveFile();
  }
  // Damage one entry in the middle.
  String damaged;
  std::vector<String> names;  // in directory order
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(archive);
    zip.OpenArchiveFile();
    for (int i = 0; i < zip.FileCount(); ++i) names.push_back(zip.DirItem(i).Name);
    for (int i = 0; i < zip.FileCount() && damaged.empty(); ++i)
      if (zip.DirItem(i).CompressedSize > 1000 && i > zip.FileCount() / 2) {
        damaged = zip.DirItem(i).Name;
        Bytes bytes = GetFile(archive);
        bytes[size_t(zip.DirItem(i).LocalHeaderOffset) + 30 + damaged.size() + 500] ^= 0x5A;
        zip.CloseArchiveFile();
        PutBytes(archive, bytes);
      }
  }
  ASSERT_FALSE(damaged.empty());

  TempDir out;
  std::vector<std::pair<String, TZAProgressPhase>> events;
  std::vector<String> failures;
  TZipArchiver zip(nullptr);
  zip.SetPassword("pw");
  zip.OnFileProgress = [&](TObject*, const String& name, double, TZAProcessOperation, TZAProgressPhase phase,
                           bool&) {
    if (phase != ppProcess) events.emplace_back(name, phase);
  };
  zip.OnProcessFileFailure = [&](TObject*, const String& name, TZAProcessOperation, int, int, const String&,
                                 TZAAction& action) {
    failures.push_back(name);
    events.emplace_back(name, ppEnd);
    action = fxaIgnore;
  };
  EXPECT_EQ(NativeErrorOf([&] { ExtractAll(zip, archive, out.Path()); }), 60);
  EXPECT_EQ(failures, std::vector<String>{damaged});
  ASSERT_EQ(events.size(), 2 * names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(events[2 * i], std::make_pair(names[i], ppStart));
    EXPECT_EQ(events[2 * i + 1], std::make_pair(names[i], ppEnd));
  }
  for (auto& [name, data] : files) {
    if (name != damaged) {
      EXPECT_TRUE(Content(out.File(name)) == data) << name;
    }
  }

  // Cancelled as the fifth entry starts: the four before it are out, and
  // nothing after.
  TempDir out2;
  int started = 0;
  zip.OnFileProgress = [&](TObject*, const String&, double, TZAProcessOperation, TZAProgressPhase phase,
                           bool& cancel) {
    if (phase == ppStart && ++started == 5) cancel = true;
  };
  NativeErrorOf([&] { ExtractAll(zip, archive, out2.Path()); });
  EXPECT_EQ(ListTree(out2.Path()).size(), 4u);
}

// Where no event asks about single entries, workers write the entries they
// decode: the files, their times and attributes come out as the loop
// writes them, a name given twice (or twice but for case) ends with the
// later entry, an existing file is replaced, and a damaged entry is
// reported in its place.
TEST(ZAExtract, EntriesWrittenAheadComeOutAsTheLoopWritesThem) {
  std::mt19937 rng(17);
  std::vector<CraftedEntry> entries;
  for (int i = 0; i < 300; ++i) {
    std::string data;
    for (size_t k = 0, n = rng() % 3000; k < n; ++k) data += char('a' + rng() % (i % 5 + 2));
    const std::string name = Format("d%d/f%d.txt", {i % 5, i});
    entries.push_back(i % 4 ? Deflated(name, data) : Stored(name, data));
  }
  entries[150].crc ^= 1;
  entries.push_back(Stored("dup.txt", "first"));
  entries.push_back(Stored("Case.txt", "upper"));
  entries.push_back(Deflated("big.bin", std::string(200000, 'b')));
  entries.push_back(Stored("dup.txt", "second"));
  entries.push_back(Stored("case.txt", "lower"));
  CraftedEntry readOnly = Stored("ro.txt", "read only");
  readOnly.attributes = faReadOnly | faArchive;
  entries.push_back(readOnly);
  TempDir tmp;
  const String archive = tmp.File("ahead.zip");
  PutBytes(archive, BuildArchive(entries));

  struct Result {
    std::set<String> tree;
    std::vector<std::pair<String, int>> failures;
  };
  auto extract = [&](const String& out, bool watched) {
    os::ForceDirectories(out + "d1");
    PutFile(out + "d1" + PathDelim + "f1.txt", "old");
    FailureLog log;
    TZipArchiver zip(nullptr);
    log.Attach(zip);
    if (watched) zip.OnFileProgress = [](TObject*, const String&, double, TZAProcessOperation, TZAProgressPhase, bool&) {};
    EXPECT_EQ(NativeErrorOf([&] { ExtractAll(zip, archive, out); }), 60);
    return Result{ListTree(out), log.seen};
  };
  const String ahead = tmp.File("ahead") + PathDelim, loop = tmp.File("loop") + PathDelim;
  const Result written = extract(ahead, false), looped = extract(loop, true);
  EXPECT_EQ(written.failures, (std::vector<std::pair<String, int>>{{"d0\\f150.txt", 8}}));
  EXPECT_EQ(written.failures, looped.failures);
  ASSERT_EQ(written.tree, looped.tree);
  EXPECT_EQ(written.tree.count("d0/f150.txt"), 0u);
  for (const String& name : written.tree) {
    SCOPED_TRACE(name);
    const String a = Slashed(ahead + name), b = Slashed(loop + name);
    if (os::DirectoryExists(a)) continue;
    EXPECT_TRUE(Content(a) == Content(b));
    EXPECT_EQ(os::FileGetModTime(a), os::FileGetModTime(b));
    EXPECT_EQ(os::FileGetAttr(a), os::FileGetAttr(b));
  }
  EXPECT_EQ(Content(ahead + "dup.txt"), "second");
  EXPECT_EQ(Content(Slashed(ahead + "d1/f1.txt")), Content(Slashed(loop + "d1/f1.txt")));
  EXPECT_NE(Content(Slashed(ahead + "d1/f1.txt")), "old");
  EXPECT_TRUE((os::FileGetAttr(ahead + "ro.txt") & faReadOnly) != 0);
  os::FileSetAttr(ahead + "ro.txt", faArchive);
  os::FileSetAttr(loop + "ro.txt", faArchive);
}
