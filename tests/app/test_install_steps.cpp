// The installation's steps in process: the product folder's names, the
// capital read as a number, the yearly exercise file, the working folder of
// a shortcut, and the program's DLL search.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "app/Install.h"
#include "app/Shortcuts.h"
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
      {",100", false, 0},             {"100,", false, 0},
  };
  for (const auto& c : cases) {
    Variant value;
    EXPECT_EQ(install::ReadCapital(c.text, value), c.valid) << c.text;
    if (c.valid) { EXPECT_EQ(value.AsDouble(), c.value) << c.text; }
  }
  Variant empty = 1;
  EXPECT_TRUE(install::ReadCapital("  ", empty));
  EXPECT_TRUE(VarIsNull(empty));
  FormatSettings() = saved;
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
