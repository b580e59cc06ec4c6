// The installation's steps in process: the product folder's names, the
// capital read as a number, the package checked whole, the target checked
// for writing, a failed run taken back, the yearly exercise file, the
// working folder of a shortcut, and the program's DLL search.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <random>

#include "app/Install.h"
#include "app/Shortcuts.h"
#include "archive/ArchiveTestUtil.h"
#include "platform/FormatSettings.h"
#include "platform/OsFiles.h"
#include "support/TestSupport.h"

namespace {

TEST(InstallSteps, ProductFolderNames) {
  const struct {
    const char* chosen;
    const char* product;
    const char* stored;
  } cases[] = {
      {"D:\\", "D:\\\\MERVALDO\\Quillor_Pro", "D:\\MERVALDO\\Quillor_Pro"},
      {"D:\\Data", "D:\\Data\\MERVALDO\\Quillor_Pro", "D:\\Data\\MERVALDO\\Quillor_Pro"},
  };
  for (const auto& c : cases) {
    const install::ProductPaths paths = install::PathsFor(c.chosen);
    EXPECT_EQ(paths.Product, c.product);
    EXPECT_EQ(paths.Stored, c.stored);
  }
}

TEST(InstallSteps, CapitalReadAsANumber) {
  const TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = '.';
  FormatSettings().ThousandSeparator = ',';
  const struct {
    const char* text;
    bool valid;
    double value;
  } cases[] = {
      {"1500000", true, 1500000},     {"1,500,000", true, 1500000},  {"(1,250)", true, -1250},
      {"1 500 000", true, 1500000},   {"1\xA0" "500", true, 1500},   {" 12.5 ", true, 12.5},
      {"-3", true, -3},               {"12 500 DA", false, 0},       {"abc", false, 0},
      {"1.5.2", false, 0},            {"(-5)", false, 0},            {"()", false, 0},
      {",100", false, 0},             {"100,", false, 0},            {"1,5", false, 0},
      {"12,34", false, 0},            {"1234,567", false, 0},        {"1,000,00", false, 0},
      {"1,,000", false, 0},           {"1 50", false, 0},            {"1,000.5", true, 1000.5},
      {"-1,000", true, -1000},        {"999,999", true, 999999},     {"1.2,000", false, 0},
  };
  for (const auto& c : cases) {
    Variant value;
    EXPECT_EQ(install::ReadCapital(c.text, value), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(value.AsDouble(), c.value) << c.text;
    }
  }
  Variant empty = 1;
  EXPECT_TRUE(install::ReadCapital("  ", empty));
  EXPECT_TRUE(VarIsNull(empty));
  FormatSettings() = saved;
}

// --- The package, checked whole before anything is written --------------------------------

String ReadAll(const String& name) {
  std::ifstream in(name.c_str(), std::ios::binary);
  return String(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const String& name, const String& bytes) {
  std::ofstream(name.c_str(), std::ios::binary | std::ios::trunc) << bytes;
}

// The demo package beside Setup.exe and the tree it was made from.
String DemoPackage() { return testing_support::BinaryDir() + "\\app\\" + install::kPackageName; }
String PackageTree() { return testing_support::BinaryDir() + "\\package-tree"; }

class PackageCheck : public ::testing::Test {
 protected:
  // Verifies bytes as a package; no prompt of the archiver may show.
  bool Verify(const String& bytes, install::PackageContents& contents) {
    const String name = dir_.File("package.qep");
    WriteAll(name, bytes);
    TZipArchiver archiver(nullptr);
    archive_test::ScriptedPrompts prompts;
    archiver.SetPrompts(&prompts);
    install::AnswerArchiverQuestions(archiver);
    const bool sound = install::VerifyPackage(archiver, name, contents);
    EXPECT_TRUE(prompts.asked.empty()) << prompts.asked[0];
    EXPECT_FALSE(archiver.Active());
    return sound;
  }
  bool Verify(const String& bytes) {
    install::PackageContents contents;
    return Verify(bytes, contents);
  }
  const String package_ = ReadAll(DemoPackage());
  testing_support::TempDir dir_;
};

TEST_F(PackageCheck, TheDemoPackageIsSound) {
  install::PackageContents contents;
  ASSERT_TRUE(Verify(package_, contents));
  EXPECT_EQ(contents.Files.size(), 5u);
  int64_t size = 0;
  for (const String& file : contents.Files) size += os::FileSizeByName(PackageTree() + "\\" + file);
  EXPECT_EQ(contents.Size, size);
}

// A download cut short: inside the first entry, inside the last entry (the
// directory is lost, every local header but the last is whole), inside the
// directory, and the last byte of the end record.
TEST_F(PackageCheck, ACutPackageIsRefused) {
  ASSERT_GT(package_.size(), 1000u);
  const size_t lastEntry = package_.rfind("PK\x03\x04");
  const size_t directory = package_.find("PK\x01\x02");
  ASSERT_NE(lastEntry, String::npos);
  ASSERT_NE(directory, String::npos);
  for (size_t cut : {size_t(100), lastEntry + 60, directory - 1, directory + 50, package_.size() - 1})
    EXPECT_FALSE(Verify(package_.substr(0, cut))) << "cut at " << cut;
}

TEST_F(PackageCheck, RandomCutsAreRefused) {
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  std::uniform_int_distribution<size_t> at(1, package_.size() - 1);
  for (int i = 0; i < 10; ++i) {
    const size_t cut = at(random);
    EXPECT_FALSE(Verify(package_.substr(0, cut))) << "cut at " << cut << ", seed " << seed;
  }
}

// A flipped byte inside an entry's data fails its check; an empty file and
// a file that is no zip at all are no package.
TEST_F(PackageCheck, DamagedOrForeignBytesAreRefused) {
  const size_t database = package_.find("scg.qec");
  ASSERT_NE(database, String::npos);
  String damaged = package_;
  damaged[database + 200] = char(damaged[database + 200] ^ 0x5A);
  EXPECT_FALSE(Verify(damaged));
  EXPECT_FALSE(Verify(""));
  EXPECT_FALSE(Verify("Quillor Pro 5.8: not a package"));
}

// The same files under another password: refused without a prompt (a
// prompt would show the installer's own password).
TEST_F(PackageCheck, AnotherPasswordIsRefusedWithoutAPrompt) {
  const String other = dir_.File("other.qep");
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(other);
    zip.SetPassword("autre");
    zip.SetBaseDir(IncludeTrailingPathDelimiter(PackageTree()));
    zip.OpenArchiveFile();
    zip.AddFiles(PackageTree() + "\\*");
    zip.CloseArchiveFile();
  }
  EXPECT_FALSE(Verify(ReadAll(other)));
}

// --- The target ---------------------------------------------------------------------------

TEST(InstallSteps, TargetThatCannotBeWritten) {
  testing_support::TempDir dir;
  install::PackageContents contents;
  contents.Files = {"Quillor.exe", "Common\\WrkData.FDB"};
  contents.Size = 1000;
  const String product = dir.File("MERVALDO\\Quillor_Pro");
  EXPECT_TRUE(install::CanWriteProductFolder(product, contents));

  // A file where a folder of the product must go.
  WriteAll(dir.File("MERVALDO"), "a file");
  EXPECT_FALSE(install::CanWriteProductFolder(product, contents));
  os::RemoveFile(dir.File("MERVALDO"));

  // A folder where a file of the package goes.
  os::ForceDirectories(product + "\\Quillor.exe");
  EXPECT_FALSE(install::CanWriteProductFolder(product, contents));
  os::RemoveDir(product + "\\Quillor.exe");

  // The earlier installation's program is running: its file is held.
  os::ForceDirectories(product);
  WriteAll(product + "\\Quillor.exe", "running");
  EXPECT_TRUE(install::CanWriteProductFolder(product, contents));
  const HANDLE held = CreateFileA((product + "\\Quillor.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(install::CanWriteProductFolder(product, contents));
  CloseHandle(held);

  // More than the disk holds.
  contents.Size = int64_t(1) << 62;
  EXPECT_FALSE(install::CanWriteProductFolder(product, contents));
}

// A failed run takes back the files and folders it added, puts back the
// kept files it replaced (an earlier installation's shortcut) and names the
// files of an earlier installation that stay.
TEST(InstallSteps, TraceUndoesWhatTheRunAdded) {
  testing_support::TempDir dir;
  const String product = dir.File("MERVALDO\\Quillor_Pro");
  os::ForceDirectories(product + "\\Common");
  const String earlier = product + "\\Common\\WrkData.FDB";
  WriteAll(earlier, "earlier");
  const String earlierLink = dir.File("Desktop\\Quillor.lnk");
  os::ForceDirectories(dir.File("Desktop"));
  WriteAll(earlierLink, String("earlier link\0to D:", 18));
  const String added[] = {product + "\\Quillor.exe", product + "\\Ex_Data\\DBEx_20xx.FDB",
                          dir.File("Menu\\MERVALDO\\Quillor.lnk")};
  install::TInstallTrace trace;
  trace.Note(added[0]);
  trace.Note(added[1]);
  trace.NoteKept(added[2]);  // a new shortcut: removed like any new file
  trace.Note(earlier);
  trace.NoteKept(earlierLink);
  for (const String& file : added) {
    os::ForceDirectories(ExtractFileDir(file));
    WriteAll(file, "new");
  }
  os::FileSetAttr(added[0], faReadOnly);
  WriteAll(earlier, "replaced");
  WriteAll(earlierLink, "new link");

  EXPECT_EQ(trace.Undo(), std::vector<String>{earlier});
  for (const String& file : added) EXPECT_FALSE(os::FileExists(file)) << file;
  EXPECT_FALSE(os::DirectoryExists(product + "\\Ex_Data"));
  EXPECT_FALSE(os::DirectoryExists(dir.File("Menu")));
  EXPECT_TRUE(os::FileExists(earlier));
  EXPECT_EQ(ReadAll(earlierLink), String("earlier link\0to D:", 18));
}

class YearlyFile : public ::testing::Test {
 protected:
  void SetUp() override { os::ForceDirectories(dir_.File("Ex_Data")); }
  String Name(const char* file) const { return dir_.File("Ex_Data\\") + file; }
  String Product() const { return ExcludeTrailingPathDelimiter(dir_.Path()); }
  void Write(const char* file, const char* text) const { std::ofstream(Name(file).c_str()) << text; }
  String Read(const char* file) const {
    std::ifstream in(Name(file).c_str());
    String text;
    std::getline(in, text);
    return text;
  }
  testing_support::TempDir dir_;
};

TEST_F(YearlyFile, TemplateBecomesTheYearsFile) {
  Write("DBEx_20xx.FDB", "template");
  install::MakeYearlyFile(Product(), 2031);
  EXPECT_EQ(Read("DBEx_2031.FDB"), "template");
  EXPECT_FALSE(os::FileExists(Name("DBEx_20xx.FDB")));
}

TEST_F(YearlyFile, AnEarlierYearsFileIsKept) {
  Write("DBEx_20xx.FDB", "template");
  Write("DBEx_2031.FDB", "earlier");
  install::MakeYearlyFile(Product(), 2031);
  EXPECT_EQ(Read("DBEx_2031.FDB"), "earlier");
  EXPECT_FALSE(os::FileExists(Name("DBEx_20xx.FDB")));
}

// A rename that fails with no yearly file to show for it keeps the
// template: it is the only copy of the exercise database.
TEST_F(YearlyFile, TemplateStaysWhenTheRenameFails) {
  Write("DBEx_20xx.FDB", "template");
  os::ForceDirectories(Name("DBEx_2031.FDB"));
  install::MakeYearlyFile(Product(), 2031);
  EXPECT_EQ(Read("DBEx_20xx.FDB"), "template");
}

TEST(InstallSteps, ShortcutWorkingFolderIsTheTargetsFolder) {
  EXPECT_EQ(install::FolderPart("D:\\Data\\MERVALDO\\Quillor_Pro\\Quillor.EXE"), "D:\\Data\\MERVALDO\\Quillor_Pro\\");
  EXPECT_EQ(install::FolderPart("D:Quillor.EXE"), "D:");
  EXPECT_EQ(install::FolderPart("Quillor.EXE"), "");
}

// A library that lies in the current folder loads by name until the search
// is restricted; after that only the system folder's libraries do.
TEST(InstallSteps, LibrariesLoadFromTheSystemFolderOnly) {
  testing_support::TempDir dir;
  const String before = dir.File("qe_planted_before.dll"), after = dir.File("qe_planted_after.dll");
  ASSERT_TRUE(CopyFileA(QE_PLANTED_DLL, before.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(QE_PLANTED_DLL, after.c_str(), FALSE));
  const String saved = os::GetCurrentDir();
  ASSERT_TRUE(os::SetCurrentDir(dir.Path()));

  HMODULE planted = LoadLibraryA("qe_planted_before.dll");
  EXPECT_NE(planted, nullptr);
  if (planted) FreeLibrary(planted);
  install::RestrictDllSearchToSystemFolder();
  EXPECT_EQ(LoadLibraryA("qe_planted_after.dll"), nullptr);
  HMODULE system = LoadLibraryA("version.dll");
  EXPECT_NE(system, nullptr);
  if (system) FreeLibrary(system);

  os::SetCurrentDir(saved);
}

}  // namespace
