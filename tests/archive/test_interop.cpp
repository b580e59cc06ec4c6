// Interoperability with the host's zip tools, both ways: archives written by
// Info-ZIP zip, 7-Zip and Python's zipfile are listed, tested and extracted
// by us as unzip extracts them, and archives written by zatool pass unzip,
// 7z and zipfile with equal contents.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <random>

#include "ArchiveTestUtil.h"

using namespace archive_test;
using testing_support::TempDir;

namespace {

int Shell(const String& command) {
  const int rc = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : 128;
}

bool HaveTools() {
  return Shell("command -v zip") == 0 && Shell("command -v unzip") == 0 &&
         Shell("command -v 7z") == 0 && Shell("command -v python3") == 0;
}

String Q(const String& s) { return "'" + s + "'"; }

// The source tree every archive is made from, with fixed modification times.
struct Tree {
  TempDir dir;
  std::vector<std::pair<String, std::string>> files;
  int64_t mtime = 1636119008;  // 2021-11-05 13:30:08 UTC

  Tree() {
    std::mt19937 rng(7);
    std::string text, random(200000, '\0'), zeros(300000, '\0');
    for (int i = 0; i < 20000; ++i) text += Format("%d: the quick brown fox\n", {i});
    for (char& c : random) c = char(rng());
    files = {{"text.txt", text}, {"sub/random.bin", random}, {"sub/deeper/zeros.dat", zeros},
             {"empty.txt", ""}};
    os::ForceDirectories(dir.File("src/sub/deeper"));
    for (auto& [name, data] : files) {
      PutFile(dir.File("src/" + name), data);
      os::FileSetModTime(dir.File("src/" + name), mtime);
    }
  }
  String Src() const { return dir.File("src"); }
};

void ExpectListedRight(const String& archive, const Tree& tree, const String& password,
                       int timeTolerance) {
  SCOPED_TRACE(archive);
  TZipArchiver zip(nullptr);
  zip.SetFileName(archive);
  zip.SetPassword(password);
  zip.OpenArchiveMode(ZAModeReadOnly);
  for (auto& [name, data] : tree.files) {
    int index = -1;
    for (int i = 0; i < zip.FileCount(); ++i)
      if (zip.DirItem(i).Name == "src/" + name) index = i;
    ASSERT_GE(index, 0) << name;
    const TDirItem& item = zip.DirItem(index);
    EXPECT_EQ(item.UncompressedSize, data.size()) << name;
    EXPECT_EQ(item.Header.Crc, ZACrc32(data.data(), data.size())) << name;
    const int64_t stored = ZADosDateTimeToUnix(item.DosDateTime());
    EXPECT_LE(std::abs(stored - tree.mtime), timeTolerance) << name;
    EXPECT_EQ(Decode(zip, index), data) << name;
  }
  zip.CloseArchiveFile();
}

}  // namespace

class ZAInterop : public testing::Test {
 protected:
  void SetUp() override {
    if (!HaveTools()) GTEST_SKIP() << "zip, unzip, 7z or python3 missing";
  }
  Tree tree;
  String Cd() const { return "cd " + Q(tree.dir.Path()) + " && "; }
};

TEST_F(ZAInterop, ArchivesOfOtherToolsAreReadAndTested) {
  struct Maker {
    const char* name;
    const char* command;  // run in the tree's folder, writes out.zip
    const char* password;
    int timeTolerance;    // 7-Zip rounds odd seconds up
  };
  const Maker makers[] = {
      {"zip", "zip -qr out.zip src", "", 0},
      {"zip -P", "zip -qr -P s3cret out.zip src", "s3cret", 0},
      {"7z", "7z a -tzip -bd out.zip src", "", 2},
      {"7z ZipCrypto", "7z a -tzip -bd -mem=ZipCrypto -ps3cret out.zip src", "s3cret", 2},
      {"python", "python3 -c \"import zipfile,os\n"
                 "with zipfile.ZipFile('out.zip','w',zipfile.ZIP_DEFLATED) as z:\n"
                 "  [z.write(os.path.join(r,f)) for r,d,fs in os.walk('src') for f in sorted(fs)]\"",
       "", 0},
  };
  for (const Maker& m : makers) {
    SCOPED_TRACE(m.name);
    os::RemoveFile(tree.dir.File("out.zip"));
    ASSERT_EQ(Shell(Cd() + m.command), 0);
    ExpectListedRight(tree.dir.File("out.zip"), tree, m.password, m.timeTolerance);
    ASSERT_EQ(Shell(String(ZATOOL_PATH) + " t -p " + Q(m.password) + " " + Q(tree.dir.File("out.zip"))), 0);
    if (*m.password) {
      EXPECT_NE(Shell(String(ZATOOL_PATH) + " t -p wrong " + Q(tree.dir.File("out.zip"))), 0);
    }
  }
}

TEST_F(ZAInterop, ZatoolArchivesPassOtherTools) {
  struct Variant {
    const char* name;
    const char* options;
    const char* password;
  };
  const Variant variants[] = {{"stored", "-m 0", ""},   {"fast", "-m 1", ""},
                              {"normal", "-m 6", ""},   {"max", "-m 9", ""},
                              {"encrypted", "-m 6 -p s3cret", "s3cret"},
                              {"encrypted stored", "-m 0 -p s3cret", "s3cret"}};
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.name);
    const String zipName = tree.dir.File(String(v.name) + ".zip");
    ASSERT_EQ(Shell(Cd() + ZATOOL_PATH + " a " + v.options + " " + Q(zipName) + " src"), 0);
    const String pw = *v.password ? String(" -P ") + v.password : String();
    EXPECT_EQ(Shell("unzip -t" + pw + " " + Q(zipName)), 0);
    EXPECT_EQ(Shell("7z t -p" + Q(v.password) + " " + Q(zipName)), 0);
    EXPECT_EQ(Shell("python3 -c \"import zipfile,sys\n"
                  "z=zipfile.ZipFile(sys.argv[1]); z.setpassword(sys.argv[2].encode())\n"
                  "sys.exit(z.testzip() is not None)\" " + Q(zipName) + " " + Q(v.password)),
              0);
    // Contents compare equal once unzip has extracted them.
    const String out = tree.dir.File(String("x-") + v.name);
    ASSERT_EQ(Shell("unzip -q" + pw + " -d " + Q(out) + " " + Q(zipName)), 0);
    for (auto& [name, data] : tree.files) {
      const Bytes got = GetFile(out + "/src/" + name);
      EXPECT_EQ(std::string(got.begin(), got.end()), data) << name;
    }
    EXPECT_TRUE(os::DirectoryExists(out + "/src/sub/deeper"));
    ExpectListedRight(zipName, tree, v.password, 0);
  }
}

namespace {

struct ExtractedFile {
  std::string data;
  int64_t mtime;
  bool readOnly;
  uint32_t permissions;
  bool operator==(const ExtractedFile&) const = default;
};

// Every file below dir by relative name, with what an extraction sets.
void Collect(const String& dir, const String& prefix, std::map<String, ExtractedFile>& out) {
  os::DirSearch search(dir + "/*");
  os::TSearchRec rec;
  while (search.Next(rec)) {
    const String full = dir + "/" + rec.Name;
    if (rec.Attr & faDirectory) {
      out[prefix + rec.Name + "/"] = {};
      Collect(full, prefix + rec.Name + "/", out);
      continue;
    }
    const Bytes b = GetFile(full);
    struct stat st;
    ::stat(full.c_str(), &st);
    out[prefix + rec.Name] = {std::string(b.begin(), b.end()), os::FileGetModTime(full),
                              !(st.st_mode & S_IWUSR), uint32_t(st.st_mode & 0777)};
  }
}

}  // namespace

TEST_F(ZAInterop, ExtractionMatchesUnzip) {
  PutFile(tree.dir.File("src/sub/ro.txt"), "read only");
  os::FileSetModTime(tree.dir.File("src/sub/ro.txt"), tree.mtime);
  ::chmod(tree.dir.File("src/sub/ro.txt").c_str(), 0444);
  PutFile(tree.dir.File("src/run.sh"), "#!/bin/sh\n");
  os::FileSetModTime(tree.dir.File("src/run.sh"), tree.mtime);
  ::chmod(tree.dir.File("src/run.sh").c_str(), 0750);
  struct Maker {
    const char* name;
    const char* command;  // run in the tree's folder, writes out.zip
    const char* password;
  };
  const Maker makers[] = {
      {"zip -P", "zip -qr -P s3cret out.zip src", "s3cret"},
      {"7z ZipCrypto", "7z a -tzip -bd -mem=ZipCrypto -ps3cret out.zip src", "s3cret"},
      {"python", "python3 -c \"import zipfile,os\n"
                 "with zipfile.ZipFile('out.zip','w',zipfile.ZIP_DEFLATED) as z:\n"
                 "  [z.write(os.path.join(r,f)) for r,d,fs in os.walk('src') for f in sorted(fs)]\"",
       ""},
  };
  for (const Maker& m : makers) {
    SCOPED_TRACE(m.name);
    const String zipName = tree.dir.File("out.zip");
    const String byUnzip = tree.dir.File("by-unzip"), byUs = tree.dir.File("by-us");
    os::RemoveFile(zipName);
    ASSERT_EQ(Shell("rm -rf " + Q(byUnzip) + " " + Q(byUs)), 0);
    ASSERT_EQ(Shell(Cd() + m.command), 0);
    ASSERT_EQ(Shell("unzip -q -P " + Q(m.password) + " -d " + Q(byUnzip) + " " + Q(zipName)), 0);
    ASSERT_EQ(Shell(String(ZATOOL_PATH) + " x -p " + Q(m.password) + " -d " + Q(byUs) + " " +
                    Q(zipName)),
              0);
    std::map<String, ExtractedFile> expected, got;
    Collect(byUnzip, "", expected);
    Collect(byUs, "", got);
    EXPECT_EQ(got.size(), expected.size());
    for (auto& [name, file] : expected) {
      SCOPED_TRACE(name);
      ASSERT_EQ(got.count(name), 1u);
      EXPECT_EQ(ZACrc32(got[name].data.data(), got[name].data.size()),
                ZACrc32(file.data.data(), file.data.size()));
      EXPECT_TRUE(got[name] == file);
    }
    EXPECT_TRUE(expected["src/sub/ro.txt"].readOnly);
    EXPECT_EQ(got["src/run.sh"].permissions, 0750u);
    EXPECT_EQ(expected["src/text.txt"].mtime, tree.mtime);
  }
}

// Split sets both ways, and archives changed by our writer (update round
// trip, forced Zip64, more than 65534 entries, a stub in front) pass unzip
// and 7z.
TEST_F(ZAInterop, SplitSetsAndUpdatedArchivesPassOtherTools) {
  const String zatool = ZATOOL_PATH;
  const String src = tree.Src();
  // Ours, split: 7z looks for the lower-case ".z01" that zip writes.
  ASSERT_EQ(Shell(Cd() + Q(zatool) + " a -m 0 -v 65536 ours.zip src"), 0);
  for (int v = 1; os::FileExists(tree.dir.File(Format("ours.Z%.2d", {v}))); ++v)
    ASSERT_EQ(Shell(Cd() + Format("ln -s ours.Z%.2d ours.z%.2d", {v, v})), 0);
  EXPECT_TRUE(os::FileExists(tree.dir.File("ours.Z05")));
  EXPECT_EQ(Shell(Cd() + "7z t ours.zip"), 0);
  ExpectListedRight(tree.dir.File("ours.zip"), tree, "", 2);
  // zip's, split: read by us.
  ASSERT_EQ(Shell(Cd() + "zip -q -r -s 64k theirs.zip src"), 0);
  ExpectListedRight(tree.dir.File("theirs.zip"), tree, "", 2);

  // Update round trip.
  ASSERT_EQ(Shell(Cd() + Q(zatool) + " a upd.zip src"), 0);
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(tree.dir.File("upd.zip"));
    zip.SetBaseDir(tree.dir.Path());
    zip.OpenArchiveFile();
    zip.BeginUpdate();
    zip.RenameItem(1, "renamed.txt");
    zip.DeleteItemAt(2);
    PutFile(tree.dir.File("src/empty.txt"), "now with text");
    zip.AddFiles("src/empty.txt");
    PutFile(tree.dir.File("added.txt"), "added");
    zip.AddFiles("added.txt");
    zip.CloseArchiveFile();
  }
  EXPECT_EQ(Shell(Cd() + "unzip -t upd.zip"), 0);
  EXPECT_EQ(Shell(Cd() + "7z t upd.zip"), 0);
  EXPECT_EQ(Shell(Cd() + Q(zatool) + " d upd.zip added.txt"), 0);
  EXPECT_EQ(Shell(Cd() + "unzip -t upd.zip"), 0);
  EXPECT_EQ(Shell(Cd() + "unzip -l upd.zip | grep -q added.txt"), 1);

  // Forced Zip64, with a stub in front.
  PutFile(tree.dir.File("src/empty.txt"), "");
  os::FileSetModTime(tree.dir.File("src/empty.txt"), tree.mtime);
  PutFile(tree.dir.File("stub.bin"), std::string(5000, 'S'));
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(tree.dir.File("z64.exe"));
    zip.SetBaseDir(tree.dir.Path());
    zip.SetSFXStub(tree.dir.File("stub.bin"));
    zip.SetZip64Mode(zmAlways);
    zip.OpenArchiveFile();
    zip.AddFiles("src");
    zip.CloseArchiveFile();
  }
  EXPECT_EQ(Shell(Cd() + "unzip -t z64.exe"), 0);
  EXPECT_EQ(Shell(Cd() + "7z t z64.exe"), 0);
  ExpectListedRight(tree.dir.File("z64.exe"), tree, "", 2);
}

TEST_F(ZAInterop, SeventyThousandEntriesPassOtherTools) {
  os::CreateDir(tree.dir.File("many"));
  for (int i = 0; i < 70000; ++i)
    PutFile(tree.dir.File("many/") + Format("%.5d", {i}), Format("%d", {i}));
  TZipArchiver zip(nullptr);
  zip.SetFileName(tree.dir.File("many.zip"));
  zip.SetBaseDir(tree.dir.Path());
  zip.SetZip64Mode(zmAuto);
  zip.OpenArchiveFile();
  zip.AddFiles("many");
  zip.CloseArchiveFile();
  EXPECT_EQ(Shell(Cd() + "unzip -tq many.zip"), 0);
  EXPECT_EQ(Shell(Cd() + "7z t many.zip"), 0);
}

// Cut downloads: wherever unzip -t finds an archive damaged, zatool's test
// and extraction fail too; zatool refuses to add to a file that is not an
// archive and leaves it as it was.
TEST_F(ZAInterop, CutArchivesFailWhereUnzipFails) {
  const String zatool = Q(ZATOOL_PATH);
  ASSERT_EQ(Shell(Cd() + "zip -q -r whole.zip src"), 0);
  const Bytes whole = GetFile(tree.dir.File("whole.zip"));
  std::mt19937 rng(17);
  int refusedByUnzip = 0;
  for (int trial = 0; trial < 50; ++trial) {
    const size_t size = rng() % whole.size();
    SCOPED_TRACE(size);
    PutBytes(tree.dir.File("cut.zip"), Bytes(whole.begin(), whole.begin() + long(size)));
    if (Shell(Cd() + "unzip -tq cut.zip") == 0) continue;
    ++refusedByUnzip;
    EXPECT_NE(Shell(Cd() + zatool + " t cut.zip"), 0);
    EXPECT_NE(Shell(Cd() + "rm -rf out && " + zatool + " x -d out cut.zip"), 0);
    EXPECT_NE(Shell(Cd() + zatool + " t -r cut.zip"), 0);
  }
  EXPECT_EQ(refusedByUnzip, 50);

  Bytes notArchive(70000);
  for (uint8_t& b : notArchive) b = uint8_t(rng());
  notArchive[50000] = 'P', notArchive[50001] = 'K', notArchive[50002] = 3, notArchive[50003] = 4;
  PutBytes(tree.dir.File("data.bin"), notArchive);
  EXPECT_NE(Shell(Cd() + zatool + " a data.bin src/text.txt"), 0);
  EXPECT_NE(Shell(Cd() + zatool + " l data.bin"), 0);
  EXPECT_TRUE(GetFile(tree.dir.File("data.bin")) == notArchive);
}

// Archives with names beyond ASCII: raw UTF-8 bytes from zip on Unix, and
// UTF-8 with flag bit 11 from Python. An update keeps every untouched name
// byte for byte (other tools list the same names before and after, and the
// headers agree); extraction writes the names Windows-1252 can hold and
// refuses, entry by entry, the ones it cannot, instead of writing "?".
TEST_F(ZAInterop, ForeignNamesSurviveAnUpdateAndExtractAsWritten) {
  const String zatool = Q(ZATOOL_PATH);
  const std::string cafe = "caf\xC3\xA9 r\xC3\xA9sum\xC3\xA9.txt", naive = "na\xC3\xAFve.txt";
  const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC.txt", zhong = "\xE4\xB8\xAD\xE6\x96\x87.txt";
  os::CreateDir(tree.dir.File("names"));
  for (const std::string& n : {cafe, naive, nihon, zhong}) PutFile(tree.dir.File("names/" + n), n);
  PutFile(tree.dir.File("added.txt"), "added");
  const String names = "python3 -c \"import zipfile,sys\n"
                       "print(sorted(zipfile.ZipFile(sys.argv[1]).namelist()))\" ";
  struct Maker {
    const char* name;
    const char* command;  // run in the names folder
  };
  const Maker makers[] = {
      {"zip", "zip -q -r ../foreign.zip ."},
      {"python", "python3 -c \"import zipfile,os\n"
                 "with zipfile.ZipFile('../foreign.zip','w',zipfile.ZIP_DEFLATED) as z:\n"
                 "  [z.write(f) for f in sorted(os.listdir('.'))]\""},
  };
  for (const Maker& m : makers) {
    SCOPED_TRACE(m.name);
    os::RemoveFile(tree.dir.File("foreign.zip"));
    ASSERT_EQ(Shell("cd " + Q(tree.dir.File("names")) + " && " + m.command), 0);
    ASSERT_EQ(Shell(Cd() + names + "foreign.zip > before.txt"), 0);
    ASSERT_EQ(Shell(Cd() + zatool + " a foreign.zip added.txt"), 0);
    EXPECT_EQ(Shell(Cd() + "unzip -t foreign.zip"), 0);
    EXPECT_EQ(Shell(Cd() + "7z t foreign.zip"), 0);
    EXPECT_EQ(Shell(Cd() + "python3 -c \"import zipfile\n"
                           "assert zipfile.ZipFile('foreign.zip').testzip() is None\""),
              0);
    ASSERT_EQ(Shell(Cd() + names + "foreign.zip | sed \"s/, 'added.txt'//\" > after.txt"), 0);
    EXPECT_EQ(Shell(Cd() + "cmp before.txt after.txt"), 0);

    Shell(Cd() + "rm -rf out");
    EXPECT_NE(Shell(Cd() + zatool + " x -d out foreign.zip"), 0);  // the two that cannot be
    const String out = tree.dir.File("out/");
    EXPECT_EQ(Content(out + "caf\xE9 r\xE9sum\xE9.txt"), cafe);  // Windows-1252 names
    EXPECT_EQ(Content(out + "na\xEFve.txt"), naive);
    EXPECT_EQ(Content(out + "added.txt"), "added");
    EXPECT_FALSE(os::FileExists(out + "??.txt"));
  }
}

// zatool's command line as people use it.
TEST_F(ZAInterop, ZatoolCommandLine) {
  const String zatool = Q(ZATOOL_PATH);
  EXPECT_EQ(Shell(zatool + " --help | grep -q '^  zatool x '"), 0);
  EXPECT_EQ(Shell(Cd() + zatool + " a z.zip -q src"), 2);  // unknown options are no file names
  EXPECT_EQ(Shell(Cd() + zatool + " t z.zip -p"), 2);      // -p needs its value
  EXPECT_FALSE(os::FileExists(tree.dir.File("z.zip")));

  // "." stores names relative to itself.
  ASSERT_EQ(Shell("cd " + Q(tree.Src()) + " && " + zatool + " a ../dot.zip ."), 0);
  EXPECT_EQ(Shell(Cd() + "unzip -Z1 dot.zip | sort | tr '\\n' ' ' | "
                         "grep -qx 'empty.txt sub/ sub/deeper/ sub/deeper/zeros.dat sub/random.bin text.txt '"),
            0);

  // Masks and files that match nothing fail; a refused new archive leaves
  // nothing behind and a failed add leaves an old one as it was.
  EXPECT_EQ(Shell(Cd() + zatool + " x -d out dot.zip 'nothing*'"), 1);
  EXPECT_EQ(Shell(Cd() + zatool + " a none.zip missing.txt"), 1);
  EXPECT_FALSE(os::FileExists(tree.dir.File("none.zip")));
  const Bytes before = GetFile(tree.dir.File("dot.zip"));
  EXPECT_EQ(Shell(Cd() + zatool + " a dot.zip src/text.txt missing.txt"), 1);
  EXPECT_EQ(Shell(Cd() + zatool + " a dot.zip 'src/*.none'"), 1);
  EXPECT_TRUE(GetFile(tree.dir.File("dot.zip")) == before);

  // A link back up the tree is found, not followed for ever.
  ASSERT_EQ(Shell(Cd() + "ln -s .. src/sub/loop"), 0);
  EXPECT_EQ(Shell(Cd() + zatool + " a loop.zip src 2>&1 | grep -q 'leads back'"), 0);
  EXPECT_FALSE(os::FileExists(tree.dir.File("loop.zip")));
  Shell(Cd() + "rm src/sub/loop");

  // AES entries say what they are.
  ASSERT_EQ(Shell(Cd() + "7z a -tzip -bd -mem=AES256 -ps3cret aes.zip src/text.txt"), 0);
  EXPECT_EQ(Shell(Cd() + zatool + " t -p s3cret aes.zip 2>&1 | grep -q 'AES encryption is not supported'"),
            0);
  EXPECT_NE(Shell(Cd() + zatool + " t -p s3cret aes.zip"), 0);
}

// An archive of 70,000 entries made by Python takes zatool's additions,
// with Zip64 end records switched on as needed.
TEST_F(ZAInterop, ZatoolAddsToSeventyThousandEntriesOfPython) {
  ASSERT_EQ(Shell(Cd() + "python3 -c \"import zipfile\n"
                         "with zipfile.ZipFile('many.zip','w') as z:\n"
                         "  [z.writestr('m/%05d' % i, str(i)) for i in range(70000)]\""),
            0);
  ASSERT_EQ(Shell(Cd() + Q(ZATOOL_PATH) + " a many.zip src"), 0);
  EXPECT_EQ(Shell(Cd() + "unzip -tq many.zip"), 0);
  EXPECT_EQ(Shell(Cd() + "7z t many.zip"), 0);
  EXPECT_EQ(Shell(Cd() + "unzip -Z1 many.zip | wc -l | grep -qx 70007"), 0);
}

// Names as raw 8-bit bytes without the UTF-8 flag: Windows-1252 bytes from
// zip on Unix, and OEM (code page 850) bytes from a DOS host. An update
// keeps them byte for byte, and we extract them under the names unzip
// gives them.
TEST_F(ZAInterop, RawEightBitNamesSurviveAnUpdateAndExtractAsUnzipDoes) {
  const String zatool = Q(ZATOOL_PATH);
  PutFile(tree.dir.File("added.txt"), "added");
  ASSERT_EQ(Shell(Cd() + "mkdir raw && cd raw && python3 -c \"\n"
                         "for n in [b'caf\\xe9 r\\xe9sum\\xe9.txt', b'na\\xefve.txt']: open(n, 'wb').write(n)\" && "
                         "LANG=C zip -q ../unix.zip *"),
            0);
  ASSERT_EQ(Shell(Cd() + "python3 -c \"import zipfile\n"
                         "class Dos(zipfile.ZipInfo):\n"
                         "  def _encodeFilenameFlags(self): return self.filename.encode('cp850'), self.flag_bits\n"
                         "with zipfile.ZipFile('dos.zip', 'w') as z:\n"
                         "  for n in ['caf\\u00e9 r\\u00e9sum\\u00e9.txt', 'Gr\\u00f6\\u00dfe.txt']:\n"
                         "    i = Dos(n); i.create_system = 0; z.writestr(i, n)\""),
            0);
  const String rawNames = "python3 -c \"import zipfile,sys\n"
                          "print([(i.orig_filename.encode('cp437'), i.flag_bits) for i in "
                          "zipfile.ZipFile(sys.argv[1]).infolist()])\" ";
  for (const char* archive : {"unix.zip", "dos.zip"}) {
    SCOPED_TRACE(archive);
    ASSERT_EQ(Shell(Cd() + rawNames + archive + " > before.txt"), 0);
    Shell(Cd() + "rm -rf by-unzip by-us");
    ASSERT_EQ(Shell(Cd() + "unzip -q -d by-unzip " + archive), 0);
    ASSERT_EQ(Shell(Cd() + zatool + " x -d by-us " + archive), 0);
    EXPECT_EQ(Shell(Cd() + "ls by-unzip > a.txt && ls by-us > b.txt && cmp a.txt b.txt"), 0);

    ASSERT_EQ(Shell(Cd() + zatool + " a " + archive + " added.txt"), 0);
    EXPECT_EQ(Shell(Cd() + "unzip -t " + archive), 0);
    EXPECT_EQ(Shell(Cd() + "7z t " + archive), 0);
    EXPECT_EQ(Shell(Cd() + "python3 -c \"import zipfile,sys\n"
                           "assert zipfile.ZipFile(sys.argv[1]).testzip() is None\" " + archive),
              0);
    ASSERT_EQ(Shell(Cd() + rawNames + archive + " | sed \"s/, (b'added.txt', 0)//\" > after.txt"), 0);
    EXPECT_EQ(Shell(Cd() + "cmp before.txt after.txt"), 0);
  }
}
