// Damaged, cut and foreign files: an archive without its end records does
// not open unless the recovery scan is asked for, and even then an entry
// that was cut fails; a file that is not an archive is refused and left as
// it was.
#include <gtest/gtest.h>

#include <random>

#include "ArchiveTestUtil.h"

using namespace archive_test;
using testing_support::TempDir;

namespace {

// A small archive of the archiver's own: a folder, a compressible file, a
// random one and a tiny one.
Bytes SmallArchive(const TempDir& tmp) {
  const String src = tmp.File("src") + PathDelim;
  os::ForceDirectories(src + "sub");
  std::mt19937 rng(3);
  std::string text, random(700, '\0');
  for (int i = 0; i < 60; ++i) text += Format("line %d of the text\n", {i});
  for (char& c : random) c = char(rng());
  PutFile(src + "a.txt", text);
  PutFile(src + "sub" + PathDelim + "b.bin", random);
  PutFile(src + "c.txt", "c");
  TZipArchiver zip(nullptr);
  zip.SetFileName(tmp.File("small.zip"));
  zip.SetBaseDir(src);
  zip.OpenArchiveFile();
  zip.AddFiles("*");
  zip.CloseArchiveFile();
  return GetFile(tmp.File("small.zip"));
}

struct TestOutcome {
  int files = 0;   // file entries found
  int passed = 0;  // of them, decoded with the right size and CRC
};

TestOutcome TestAll(TZipArchiver& zip) {
  TestOutcome o;
  for (int i = 0; i < zip.FileCount(); ++i) {
    if (zip.DirItem(i).IsFolder()) continue;
    ++o.files;
    if (NativeErrorOf([&] { Decode(zip, i); }) == -1) ++o.passed;
  }
  return o;
}

}  // namespace

TEST(ZADamaged, EveryCutOfAnArchiveIsRefused) {
  TempDir tmp;
  const Bytes whole = SmallArchive(tmp);
  const String cut = tmp.File("cut.zip");
  // Every few bytes, and each of the last ones (the end records).
  for (size_t size = 0; size < whole.size(); size += size + 40 < whole.size() ? 5 : 1) {
    SCOPED_TRACE(size);
    PutBytes(cut, Bytes(whole.begin(), whole.begin() + long(size)));
    TZipArchiver zip(nullptr);
    zip.SetFileName(cut);
    // What no longer starts like an archive is none; the rest is damaged.
    EXPECT_EQ(NativeErrorOf([&] { zip.OpenArchiveMode(ZAModeReadOnly); }), size < 4 ? 35 : 48);
    EXPECT_FALSE(zip.Active());
  }
}

// With the recovery scan asked for, every entry that lies whole in front
// of the cut comes back and decodes; the one the cut runs through fails.
TEST(ZADamaged, RecoveryScanIsAskedForAndCutEntriesFail) {
  TempDir tmp;
  const Bytes whole = SmallArchive(tmp);
  TZipArchiver full(nullptr);
  full.SetFileName(tmp.File("small.zip"));
  full.OpenArchiveMode(ZAModeReadOnly);
  std::vector<uint64_t> ends;  // where each file entry's data end
  for (int i = 0; i < full.FileCount(); ++i) {
    const TDirItem& e = full.DirItem(i);
    if (!e.IsFolder()) ends.push_back(e.LocalHeaderOffset + 30 + e.Name.size() + e.CompressedSize);
  }
  const String cut = tmp.File("cut.zip");
  for (size_t size = 4; size < ends.back(); size += 13) {
    SCOPED_TRACE(size);
    PutBytes(cut, Bytes(whole.begin(), whole.begin() + long(size)));
    TZipArchiver zip(nullptr);
    zip.SetFileName(cut);
    zip.SetRecoverDamagedArchives(true);
    if (NativeErrorOf([&] { zip.OpenArchiveMode(ZAModeReadOnly); }) != -1) continue;
    const TestOutcome o = TestAll(zip);
    const int wholeEntries = int(std::count_if(ends.begin(), ends.end(),
                                               [&](uint64_t end) { return end <= size; }));
    EXPECT_EQ(o.passed, wholeEntries);
    EXPECT_LT(o.passed, int(ends.size()));
    // Extraction says how many were not written.
    zip.SetBaseDir(tmp.File("out"));
    zip.OnProcessFileFailure = [](TObject*, const String&, TZAProcessOperation, int, int,
                                  const String&, TZAAction& action) { action = fxaIgnore; };
    if (o.passed < o.files) {
      EXPECT_EQ(NativeErrorOf([&] { zip.ExtractFilesByMask("*.*"); }), 60);
    }
  }
}

// Files that merely hold a local header signature somewhere, a tar file
// holding an archive, an empty file: none is listed or updated, and none
// changes by a byte.
TEST(ZADamaged, FilesThatAreNoArchivesAreRefusedAndUntouched) {
  TempDir tmp;
  const Bytes zip = SmallArchive(tmp);
  std::mt19937 rng(9);
  Bytes random(60000);
  for (uint8_t& b : random) b = uint8_t(rng());
  const Bytes signature = {'P', 'K', 3, 4};
  std::copy(signature.begin(), signature.end(), random.begin() + 50000);
  Bytes tar = zip;  // behind a header block, padded with zero blocks
  tar.insert(tar.begin(), 512, uint8_t('h'));
  tar.resize(tar.size() + 1024 + (512 - tar.size() % 512), 0);
  const String source = tmp.File("new.txt");
  PutFile(source, "new");

  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {{"random", random}, {"tar", tar}, {"empty", {}}, {"text", Bytes(100, 'x')}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const String file = tmp.File(c.name);
    PutBytes(file, c.bytes);
    TZipArchiver zip(nullptr);
    zip.SetFileName(file);
    EXPECT_EQ(NativeErrorOf([&] { zip.OpenArchiveFile(); }), 35);
    EXPECT_EQ(NativeErrorOf([&] { zip.OpenArchiveMode(ZAModeReadOnly); }), 35);
    EXPECT_TRUE(GetFile(file) == c.bytes);
  }
}
