// Volume sets and stubs: volume names, limits and labels, split sets
// written and read back, the disk requests of spanned sets through the
// prompt interface, and archives behind a stub.
#include <gtest/gtest.h>

#include <random>

#include "ArchiveTestUtil.h"

using namespace archive_test;
using testing_support::TempDir;

namespace {

std::string Noise(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(size, '\0');
  for (char& c : s) c = char(rng());
  return s;
}

// Three incompressible files of 100000 bytes: with 65536-byte volumes they
// need five volumes or more.
struct SplitSource {
  TempDir dir;
  SplitSource() {
    for (int i = 0; i < 3; ++i) PutFile(dir.File(Format("f%d.bin", {i})), Noise(100000, unsigned(i)));
  }
  void Write(TZipArchiver& zip, const String& archive, TZASpanningMode mode) {
    zip.SetFileName(archive);
    zip.SetBaseDir(dir.Path());
    zip.SetSpanningMode(mode);
    zip.SpanningOptions().SetVolumeSize(vsCustom);
    zip.SpanningOptions().SetCustomVolumeSize(65536);
    zip.OpenArchiveFile();
    zip.AddFiles("f?.bin");
    zip.CloseArchiveFile();
  }
  void ExpectReadBack(const String& archive) {
    TZipArchiver zip(nullptr);
    zip.SetFileName(archive);
    zip.OpenArchiveMode(ZAModeReadOnly);
    ASSERT_EQ(zip.FileCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Decode(zip, i), Noise(100000, unsigned(i))) << i;
    EXPECT_EQ(NativeErrorOf([&] { zip.BeginUpdate(); }), 52);
  }
};

}  // namespace

TEST(ZAVolumes, NamesOfVolumes) {
  struct Case {
    const char* archive;
    TZASpanningMode mode;
    bool advanced, sfx;
    int volume;
    const char* want;
  } cases[] = {
      {"d\\data.zip", smSplitting, false, false, 0, "d\\data.Z01"},
      {"d\\data.zip", smSplitting, false, false, 11, "d\\data.Z12"},
      {"d\\data.zip", smSplitting, true, false, 1, "d\\data_002.zip"},
      {"d\\data.zip", smSplitting, true, false, -1, "d\\data.zip"},
      {"d\\data.exe", smSplitting, false, true, 0, "d\\data.exe"},
      {"d\\data.exe", smSplitting, false, true, -1, "d\\data.ZIP"},
      {"d\\data.zip", smSpanning, true, false, 2, "d\\data_003.zip"},
      {"d\\data.zip", smSpanning, false, false, 2, "d\\data.zip"},
      {"d\\data.zip", smSpanning, false, true, 0, "d\\data.exe"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ZAVolumeFileName(c.archive, c.mode, c.advanced, c.sfx, true, c.volume), c.want)
        << c.archive << " " << c.volume;
  EXPECT_EQ(ZAVolumeFileName("data.za", smSplitting, false, false, false, 0), "data.F01");
  EXPECT_EQ(ZAVolumeFileName("data.exe", smSplitting, false, true, false, -1), "data.ZA");

  EXPECT_EQ(ZAVolumeLimit(vs1_44MB, 0, 0, 3), 1457664);
  EXPECT_EQ(ZAVolumeLimit(vs4700MB, 0, 0, 1), 4928307200);
  EXPECT_EQ(ZAVolumeLimit(vsCustom, 1000, 0, 1), 65536);
  EXPECT_EQ(ZAVolumeLimit(vs650MB, 0, 200000, 0), 200000);  // the first volume's own size
  EXPECT_EQ(ZAVolumeLimit(vsAutoDetect, 0, 0, 0), 0);
  EXPECT_EQ(ZAVolumeLabel(0), "pkback# 001");
  EXPECT_EQ(ZAVolumeLabel(11), "pkback# 012");
}

TEST(ZAVolumes, SplitSetsRoundTripUnderBothNamings) {
  for (const bool advanced : {false, true}) {
    SCOPED_TRACE(advanced ? "advanced" : "plain");
    SplitSource src;
    TempDir out;
    TZipArchiver zip(nullptr);
    zip.SpanningOptions().SetAdvancedNaming(advanced);
    src.Write(zip, out.File("data.zip"), smSplitting);
    EXPECT_TRUE(os::FileExists(out.File(advanced ? "data_001.zip" : "data.Z01")));
    EXPECT_TRUE(os::FileExists(out.File(advanced ? "data_004.zip" : "data.Z04")));
    for (int v = 1; v <= 4; ++v) {
      const String name = out.File(advanced ? Format("data_%.3d.zip", {v}) : Format("data.Z%.2d", {v}));
      EXPECT_LE(os::FileSizeByName(name), 65536) << name;
    }
    EXPECT_LE(os::FileSizeByName(out.File("data.zip")), 65536);
    src.ExpectReadBack(out.File("data.zip"));  // naming found by looking
  }
}

// A missing middle volume ends the open with 45.
TEST(ZAVolumes, MissingVolumeIsCancelled) {
  SplitSource src;
  TempDir out;
  TZipArchiver zip(nullptr);
  zip.SpanningOptions().SetAdvancedNaming(false);
  src.Write(zip, out.File("data.zip"), smSplitting);
  os::RemoveFile(out.File("data.Z02"));
  TZipArchiver reader(nullptr);
  reader.SetFileName(out.File("data.zip"));
  EXPECT_EQ(NativeErrorOf([&] { reader.OpenArchiveMode(ZAModeReadOnly); }), 45);
}

// Spanning asks for each blank disk; the answers come from the script.
TEST(ZAVolumes, SpanningAsksForBlankDisks) {
  SplitSource src;
  TempDir out;
  ScriptedPrompts prompts;
  prompts.confirms.assign(10, true);
  TZipArchiver zip(nullptr);
  zip.SetPrompts(&prompts);
  src.Write(zip, out.File("span.zip"), smSpanning);
  ASSERT_GE(prompts.asked.size(), 5u);
  EXPECT_EQ(prompts.asked[0], "Please insert a blank disk #1");
  EXPECT_EQ(prompts.asked[4], "Please insert a blank disk #5");
  EXPECT_TRUE(os::FileExists(out.File("span_001.zip")));
  src.ExpectReadBack(out.File("span.zip"));

  // Cancel at the third disk: the entry fails with 45, the default answer
  // aborts, and the set is rolled back to an empty archive on the first disk.
  ScriptedPrompts refusing;
  refusing.confirms = {true, true, false};
  TZipArchiver again(nullptr);
  again.SetPrompts(&refusing);
  TempDir out2;
  src.Write(again, out2.File("span.zip"), smSpanning);
  ASSERT_EQ(refusing.asked.size(), 4u);
  EXPECT_NE(refusing.asked[3].find("Native error: 00045"), String::npos);
  EXPECT_FALSE(os::FileExists(out2.File("span_002.zip")));
  EXPECT_EQ(os::FileSizeByName(out2.File("span.zip")), 22);
}

// A disk with less free space than a volume needs: the disk-full question,
// then the blank disk again, until the person gives up.
TEST(ZAVolumes, DiskFullAsksForAnotherDisk) {
  TempDir out;
  ScriptedPrompts prompts;
  prompts.confirms = {true, true, true, false};
  TZipArchiver zip(nullptr);
  zip.SetPrompts(&prompts);
  zip.SetFileName(out.File("full.zip"));
  zip.SetSpanningMode(smSpanning);
  zip.SpanningOptions().SetVolumeSize(vsCustom);
  zip.SpanningOptions().SetCustomVolumeSize(int64_t(1) << 60);  // more than any disk
  EXPECT_EQ(NativeErrorOf([&] { zip.OpenArchiveFile(); }), 45);
  ASSERT_EQ(prompts.asked.size(), 4u);
  EXPECT_EQ(prompts.asked[0], "Please insert a blank disk #1");
  EXPECT_EQ(prompts.asked[1].rfind("Disk is full. Required free space: 1152921504606846976 bytes, "
                                   "but available only: ", 0),
            0u);
  EXPECT_EQ(prompts.asked[2], "Please insert a blank disk #1");
  EXPECT_FALSE(os::FileExists(out.File("full_001.zip")));
}

// A stub in front: our own archive keeps absolute offsets, and an archive
// whose offsets count from its own start is found behind a stub as well.
TEST(ZAVolumes, ArchiveBehindAStub) {
  TempDir dir;
  const std::string stub = "MZ" + Noise(3000, 9);
  PutFile(dir.File("stub.bin"), stub);
  PutFile(dir.File("a.txt"), "alpha");
  os::CreateDir(dir.File("f"));
  TZipArchiver zip(nullptr);
  zip.SetFileName(dir.File("sfx.exe"));
  zip.SetBaseDir(dir.Path());
  zip.SetSFXStub(dir.File("stub.bin"));
  zip.OpenArchiveFile();
  zip.AddFiles("a.txt");
  zip.AddFiles("f");
  zip.CloseArchiveFile();
  const Bytes whole = GetFile(dir.File("sfx.exe"));
  ASSERT_GT(whole.size(), stub.size());
  EXPECT_EQ(std::string(whole.begin(), whole.begin() + long(stub.size())), stub);

  TZipArchiver reader(nullptr);
  reader.SetFileName(dir.File("sfx.exe"));
  reader.SetSFXStub("");
  reader.OpenArchiveMode(ZAModeReadOnly);
  ASSERT_EQ(reader.FileCount(), 2);
  EXPECT_EQ(reader.DirItem(0).LocalHeaderOffset, stub.size());
  EXPECT_EQ(Decode(reader, 0), "alpha");
  reader.SetBaseDir(dir.File("x"));
  reader.ExtractFilesByMask("*.*");
  EXPECT_EQ(GetFile(dir.File("x") + PathDelim + "a.txt"), (Bytes{'a', 'l', 'p', 'h', 'a'}));
  reader.CloseArchiveFile();

  // An empty archive with a stub is the stub and an end record.
  TZipArchiver empty(nullptr);
  empty.SetFileName(dir.File("empty.exe"));
  empty.SetSFXStub(dir.File("stub.bin"));
  empty.OpenArchiveFile();
  empty.CloseArchiveFile();
  EXPECT_EQ(os::FileSizeByName(dir.File("empty.exe")), int64_t(stub.size() + 22));

  // A stub bigger than the first volume may be.
  TZipArchiver tooBig(nullptr);
  tooBig.SetFileName(dir.File("split.exe"));
  tooBig.SetSFXStub(dir.File("stub.bin"));
  tooBig.SetSpanningMode(smSplitting);
  tooBig.SpanningOptions().SetVolumeSize(vsCustom);
  tooBig.SpanningOptions().SetFirstVolumeSize(1000);
  EXPECT_EQ(NativeErrorOf([&] { tooBig.OpenArchiveFile(); }), 47);
}
