// The zip records, the directory reader and writer, and their bounds.
#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"

using namespace archive_test;

namespace {

// A stored entry "name" with data, local header at offset, as raw bytes of
// the local part and of its central header.
struct HandEntry {
  std::string name;
  std::string data;
  uint32_t attr = faArchive;
  std::string extra;  // central extra field
};

// Builds an archive from hand entries: optional stub, then local entries,
// directory and end record (with comment). Offsets count from the start of
// the archive part, as a stub-less writer would put them.
Bytes HandArchive(const std::vector<HandEntry>& entries, const std::string& comment = "",
                  const std::string& stub = "") {
  ByteBuilder local, central;
  for (const HandEntry& e : entries) {
    const uint32_t offset = uint32_t(local.b.size());
    const uint32_t crc = ZACrc32(e.data.data(), e.data.size());
    local.U32(0x04034B50).U16(20).U16(0).U16(0).U16(0x6000).U16(0x5821).U32(crc);
    local.U32(uint32_t(e.data.size())).U32(uint32_t(e.data.size()));
    local.U16(uint32_t(e.name.size())).U16(0).Str(e.name).Str(e.data);
    central.U32(0x02014B50).U16(20).U16(20).U16(0).U16(0).U16(0x6000).U16(0x5821).U32(crc);
    central.U32(uint32_t(e.data.size())).U32(uint32_t(e.data.size()));
    central.U16(uint32_t(e.name.size())).U16(uint32_t(e.extra.size())).U16(0).U16(0).U16(0);
    central.U32(e.attr).U32(offset).Str(e.name).Str(e.extra);
  }
  ByteBuilder out;
  out.Str(stub).Raw(local.b).Raw(central.b);
  out.U32(0x06054B50).U16(0).U16(0).U16(uint32_t(entries.size())).U16(uint32_t(entries.size()));
  out.U32(uint32_t(central.b.size())).U32(uint32_t(local.b.size())).U16(uint32_t(comment.size()));
  out.Str(comment);
  return out.b;
}

void ReadInto(TZADirManager& dm, const Bytes& bytes) {
  TMemoryStream m = MemoryOf(bytes);
  dm.ReadDirectory(m, dm.FindEndRecord(m));
}

int ReadFailure(const Bytes& bytes) {
  TZADirManager dm(nullptr, ZAZipSignatures, true);
  try {
    ReadInto(dm, bytes);
  } catch (const EZAException& e) {
    return e.NativeError();
  }
  return -1;
}

void Patch32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
void Patch16(Bytes& b, size_t at, uint16_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}

}  // namespace

TEST(ZAFormat, EmptyArchiveIsTheBareEndRecord) {
  TZADirManager dm(nullptr, ZAZipSignatures, true);
  TMemoryStream m;
  dm.WriteDirectory(m, false, "x.zip");
  ASSERT_EQ(m.Size(), 22);
  Bytes expected(22, 0);
  expected[0] = 0x50, expected[1] = 0x4B, expected[2] = 5, expected[3] = 6;
  EXPECT_EQ(Bytes(m.Memory(), m.Memory() + 22), expected);

  TZADirManager back(nullptr, ZAZipSignatures, true);
  ReadInto(back, expected);
  EXPECT_EQ(back.Items.Count(), 0);
}

TEST(ZAFormat, DirectoryRoundTripKeepsNamesExtrasCommentsAndZip64Values) {
  TZADirManager dm(nullptr, ZAZipSignatures, true);
  TDirItem small;
  small.Header.VersionMadeBy = small.Header.VersionNeeded = ZAVersionOem;
  small.Header.Crc = 0x11223344;
  small.Name = "caf\xE9/na\xEFve.txt";  // Windows-1252
  small.Comment = "note";
  small.UncompressedSize = 10;
  small.CompressedSize = 8;
  small.ExtraBlocks.push_back({0x5455, String("\x01\x02\x03\x04\x05", 5)});
  dm.Items.Add(small);
  TDirItem big;
  big.Name = "big.bin";
  big.UncompressedSize = 0x123456789ull;
  big.CompressedSize = 0x100000000ull;
  big.LocalHeaderOffset = 0x200000000ull;
  big.DiskNumberStart = 0x12345;
  dm.Items.Add(big);
  dm.Comment = "archive comment";

  TMemoryStream m;
  dm.WriteDirectory(m, true, "x.zip");
  const Bytes raw(m.Memory(), m.Memory() + m.Size());
  // Names go to disk in code page 437: e-acute is 0x82, i-diaeresis 0x8B.
  const std::string onDisk(raw.begin() + 46, raw.begin() + 46 + small.Name.size());
  EXPECT_EQ(onDisk, "caf\x82/na\x8Bve.txt");

  TZADirManager back(nullptr, ZAZipSignatures, true);
  ReadInto(back, raw);
  ASSERT_EQ(back.Items.Count(), 2);
  const TDirItem& s = back.Items.Item(0);
  EXPECT_EQ(s.Name, small.Name);
  EXPECT_EQ(s.Comment, "note");
  EXPECT_EQ(s.Header.Crc, 0x11223344u);
  ASSERT_EQ(s.ExtraBlocks.size(), 1u);
  EXPECT_EQ(s.ExtraBlocks[0].Id, 0x5455);
  EXPECT_EQ(s.ExtraBlocks[0].Data, small.ExtraBlocks[0].Data);
  const TDirItem& b = back.Items.Item(1);
  EXPECT_EQ(b.UncompressedSize, big.UncompressedSize);
  EXPECT_EQ(b.CompressedSize, big.CompressedSize);
  EXPECT_EQ(b.LocalHeaderOffset, big.LocalHeaderOffset);
  EXPECT_EQ(b.DiskNumberStart, big.DiskNumberStart);  // four bytes in the Zip64 block
  EXPECT_EQ(b.Header.DiskNumberStart, 0xFFFF);
  EXPECT_EQ(back.Comment, "archive comment");
}

TEST(ZAFormat, ZipAndBaseSignatureSetsAreKeptApart) {
  TZADirManager base(nullptr, ZABaseSignatures, true);
  TMemoryStream m;
  base.WriteDirectory(m, false, "x");
  EXPECT_EQ(m.Memory()[0], 0x41);
  EXPECT_EQ(m.Memory()[3], 0x06);
  TZADirManager zip(nullptr, ZAZipSignatures, true);
  m.SetPosition(0);
  EXPECT_FALSE(zip.FindEndRecord(m));
}

TEST(ZAFormat, EndRecordFoundBehindCommentWithStraySignature) {
  // The comment holds an end-record signature whose own comment length does
  // not reach the end of the file.
  std::string comment(100, 'c');
  comment.replace(10, 4, "PK\x05\x06");
  const Bytes raw = HandArchive({{"a.txt", "hello", faArchive, ""}}, comment);
  TZADirManager dm(nullptr, ZAZipSignatures, true);
  ReadInto(dm, raw);
  EXPECT_EQ(dm.Comment, comment);
  ASSERT_EQ(dm.Items.Count(), 1);
  EXPECT_EQ(dm.Items.Item(0).Name, "a.txt");
}

TEST(ZAFormat, StubInFrontShiftsEveryOffset) {
  // The stub holds a local signature of its own, which the search passes by.
  std::string stub(1000, 'M');
  stub.replace(100, 4, "PK\x03\x04");
  const Bytes raw = HandArchive({{"d/", "", faDirectory, ""}, {"d/a.txt", "hello", faArchive, ""}}, "", stub);
  TZADirManager dm(nullptr, ZAZipSignatures, true);
  ReadInto(dm, raw);
  EXPECT_EQ(dm.StubSize, 1000);
  ASSERT_EQ(dm.Items.Count(), 2);
  EXPECT_EQ(dm.Items.Item(0).LocalHeaderOffset, 1000u);  // the folder too
  const uint64_t second = dm.Items.Item(1).LocalHeaderOffset;
  EXPECT_EQ(std::string(raw.begin() + long(second), raw.begin() + long(second) + 4), "PK\x03\x04");
}

TEST(ZAFormat, RecoveryScanRebuildsTheDirectoryFromLocalHeaders) {
  Bytes raw = HandArchive({{"dir/", "", faArchive, ""}, {"empty.txt", "", faArchive, ""}, {"a.txt", "hello", faArchive, ""}});
  // Cut the archive just after the last local entry.
  const size_t localEnd = raw.size() - 22 - 3 * 46 - (4 + 9 + 5);
  raw.resize(localEnd);
  TZADirManager dm(nullptr, ZAZipSignatures, true);
  ReadInto(dm, raw);
  ASSERT_EQ(dm.Items.Count(), 3);
  EXPECT_TRUE(dm.Items.Item(0).IsFolder());
  EXPECT_EQ(dm.Items.Item(0).Header.ExternalAttributes, uint32_t(faDirectory));
  // An empty file is still a file: folders are known by their name.
  EXPECT_FALSE(dm.Items.Item(1).IsFolder());
  EXPECT_EQ(dm.Items.Item(1).Header.ExternalAttributes, uint32_t(faArchive));
  EXPECT_EQ(dm.Items.Item(2).UncompressedSize, 5u);
  EXPECT_EQ(dm.DirectoryOffset, int64_t(raw.size()));
}

TEST(ZAFormat, RecoveryTakesSizesFromDataDescriptors) {
  ByteBuilder b;
  const std::string data = "described";
  const uint32_t crc = ZACrc32(data.data(), data.size());
  b.U32(0x04034B50).U16(20).U16(8).U16(0).U16(0).U16(0).U32(0).U32(0).U32(0).U16(1).U16(0);
  b.Str("x").Str(data).U32(0x08074B50).U32(crc).U32(uint32_t(data.size())).U32(uint32_t(data.size()));
  TZADirManager dm(nullptr, ZAZipSignatures, true);
  ReadInto(dm, b.b);
  ASSERT_EQ(dm.Items.Count(), 1);
  EXPECT_EQ(dm.Items.Item(0).Header.Crc, crc);
  EXPECT_EQ(dm.Items.Item(0).CompressedSize, data.size());
}

TEST(ZAFormat, EntryCountsAroundTheSixteenBitLimit) {
  for (int count : {65534, 65535}) {
    SCOPED_TRACE(count);
    TZADirManager dm(nullptr, ZAZipSignatures, true);
    for (int i = 0; i < count; ++i) {
      TDirItem item;
      item.Name = Format("f%d", {i});
      dm.Items.Add(std::move(item));
    }
    TMemoryStream m;
    dm.WriteDirectory(m, true, "x.zip");
    EXPECT_EQ(dm.EndRecord.TotalEntries, count == 65534 ? 65534 : 0xFFFF);
    EXPECT_EQ(dm.UsesZip64, count == 65535);
    TZADirManager back(nullptr, ZAZipSignatures, true);
    ReadInto(back, Bytes(m.Memory(), m.Memory() + m.Size()));
    EXPECT_EQ(back.Items.Count(), count);
    EXPECT_EQ(back.UsesZip64, count == 65535);
    if (back.UsesZip64) {
      // The Zip64 end record and locator of a single file: disk 0 of 1.
      EXPECT_EQ(back.Zip64EndRecord.ThisDisk, 0u);
      EXPECT_EQ(back.Zip64EndRecord.TotalEntries, 65535u);
      EXPECT_EQ(back.Zip64Locator.TotalDisks, 1u);
    }
    if (count == 65535) {
      TMemoryStream again;
      try {
        dm.WriteDirectory(again, false, "x.zip");
        ADD_FAILURE() << "more than 65534 entries need Zip64";
      } catch (const EZAException& e) {
        EXPECT_EQ(e.NativeError(), 43);
      }
    }
  }
}

TEST(ZAFormat, HostileDirectoriesRaiseInsteadOfCrashing) {
  const Bytes good = HandArchive({{"a.txt", "hello", faArchive, ""}, {"b.txt", "world", faArchive, ""}});
  const size_t end = good.size() - 22;
  const size_t central = end - 2 * (46 + 5);
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    int code;
  };
  const std::vector<Case> cases = {
      {"count beyond the directory", [&](Bytes& b) { Patch16(b, end + 10, 60000); }, 48},
      {"directory larger than the file", [&](Bytes& b) { Patch32(b, end + 12, 0x7FFFFFF0); }, 48},
      {"name running past the directory", [&](Bytes& b) { Patch16(b, central + 28, 0xFFFF); }, 48},
      {"central signature broken", [&](Bytes& b) { b[central] = 'X'; }, 48},
      {"other disks", [&](Bytes& b) { Patch16(b, end + 4, 3); }, 45},
      {"locator without Zip64 record",
       [&](Bytes& b) {
         ByteBuilder loc;
         loc.U32(0x07064B50).U32(0).U64(3).U32(1);
         b.insert(b.begin() + long(end), loc.b.begin(), loc.b.end());
       },
       40},
      {"no zip at all", [&](Bytes& b) { b.assign(5000, 'z'); }, 35},
  };
  for (const Case& c : cases) {
    Bytes b = good;
    c.damage(b);
    EXPECT_EQ(ReadFailure(b), c.code) << c.what;
  }
}

TEST(ZAFormat, OverlongExtraBlocksAreCutToWhatIsLeft) {
  // An extra block that claims 200 bytes in a 6-byte field.
  const std::string extra("\x99\x99\xC8\x00\x01\x02", 6);
  const Bytes raw = HandArchive({{"a.txt", "hello", faArchive, extra}});
  TZADirManager dm(nullptr, ZAZipSignatures, true);
  ReadInto(dm, raw);
  ASSERT_EQ(dm.Items.Item(0).ExtraBlocks.size(), 1u);
  EXPECT_EQ(dm.Items.Item(0).ExtraBlocks[0].Data, std::string("\x01\x02", 2));
}

TEST(ZAFormat, DirArrayBoundsRaiseTheirCodes) {
  TZADirArray a(nullptr);
  a.Add(TDirItem());
  auto code = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const EZAException& e) {
      return e.NativeError();
    }
    return -1;
  };
  EXPECT_EQ(code([&] { a.SetItem(1, TDirItem()); }), 1);
  EXPECT_EQ(code([&] { a.Item(-1); }), 2);
  EXPECT_EQ(code([&] { a.At(5); }), 3);
  EXPECT_EQ(code([&] { a.Delete(1); }), 4);
  a.SetCount(0);
  EXPECT_EQ(a.Count(), 0);
}
