// The installation end to end: the built Setup.exe walked through the driver
// to the parameters page, then checked from outside the program (files,
// shortcuts, registry values read back with reg.exe, database rows read back
// with the table database). The failure paths: a folder that does not
// exist, a capital that is not a number, Cancel at the confirmation, an
// existing installation, the package missing from the current folder, a
// damaged package.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/DateTime.h"
#include "platform/OsFiles.h"
#include "tabledb/TomeDBTable.h"
#include "tools/fixtures/InstallSession.h"
#include "tools/driver/Driver.h"

namespace fs = std::filesystem;

namespace {

using install_session::Company;
using install_session::Session;
using install_session::SetupFolder;
using install_session::kStepTimeoutMs;

const char kPackage[] = "qelpkg_Quillor_Pro_5.8_B1_05-11-2021.qep";
const char kConfirmText[] = "Etes vous sur de vouloir installer l'application utilisant ces informations ?";

// The tree the demo package was made from.
String PackageTree() { return driver::BuildPath("package-tree"); }

String Screenshot(const char* name) {
  String dir = driver::BuildPath("screenshots");
  os::ForceDirectories(dir);
  return dir + "\\" + name;
}

// A fresh, empty folder under the build folder (drive Z: under Wine).
String FreshFolder(const char* name) {
  const String folder = driver::BuildPath(String("install-e2e\\") + name);
  std::error_code ignored;
  fs::remove_all(folder.c_str(), ignored);
  os::ForceDirectories(folder);
  return folder;
}

String ReadFile(const String& name) {
  std::ifstream in(name.c_str(), std::ios::binary);
  return String(std::istreambuf_iterator<char>(in), {});
}

// --- What an installation leaves -----------------------------------------------------------------

String ProductFolder(const String& chosen) { return chosen + "\\MERVALDO\\Quillor_Pro"; }
String YearlyName() { return "Ex_Data\\DBEx_" + IntToStr(CurrentYear()) + ".FDB"; }

// Every file of the package tree in place and equal to its source; the
// configuration database is left out (the installation writes into it).
void ExpectPackageFilesInPlace(const String& product) {
  const fs::path tree(PackageTree().c_str());
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(tree)) {
    if (!entry.is_regular_file()) continue;
    String relative = fs::relative(entry.path(), tree).string();
    if (relative == "scg.qec") continue;
    ++files;
    const String source = ReadFile(entry.path().string());
    if (relative == "Ex_Data\\DBEx_20xx.FDB") {
      EXPECT_FALSE(os::FileExists(product + "\\" + relative));
      relative = YearlyName();
    }
    EXPECT_EQ(ReadFile(product + "\\" + relative), source) << relative;
  }
  EXPECT_EQ(files, 4);
}

struct LinkInfo {
  String Path, Arguments, WorkingDir;
};

LinkInfo ReadShortcut(const String& fileName) {
  LinkInfo info;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return info;
  IPersistFile* file = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  std::wstring wide(fileName.begin(), fileName.end());
  if (file && SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
    char text[1024] = {};
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    info.Path = text;
    link->GetArguments(text, sizeof text);
    info.Arguments = text;
    link->GetWorkingDirectory(text, sizeof text);
    info.WorkingDir = text;
  }
  if (file) file->Release();
  link->Release();
  return info;
}

String SpecialFolder(int csidl) {
  char path[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return path;
}

const char kProgramLink[] = "Quillor Pro 5.8 - Gestion Commerciale.lnk";

void RemoveShortcuts() {
  std::error_code ignored;
  fs::remove((SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kProgramLink).c_str(), ignored);
  fs::remove((SpecialFolder(CSIDL_PROGRAMS) + "\\" + kProgramLink).c_str(), ignored);
  fs::remove_all((SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\MERVALDO").c_str(), ignored);
}

void ExpectShortcuts(const String& product) {
  CoInitialize(nullptr);
  const String program = product + "\\Quillor.EXE";
  const String menu = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\MERVALDO\\";
  for (const String& link : {SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kProgramLink,
                             SpecialFolder(CSIDL_PROGRAMS) + "\\" + kProgramLink, menu + kProgramLink}) {
    const LinkInfo info = ReadShortcut(link);
    EXPECT_TRUE(lstrcmpiA(info.Path.c_str(), program.c_str()) == 0) << link << ": " << info.Path;
    EXPECT_TRUE(lstrcmpiA(info.WorkingDir.c_str(), (product + "\\").c_str()) == 0) << info.WorkingDir;
  }
  const LinkInfo notes = ReadShortcut(menu + "What is new - Quillor Pro 5.8 Build 1.lnk");
  EXPECT_TRUE(lstrcmpiA(notes.Path.c_str(), (product + "\\What is new - Quillor Pro 5.8 Build 1.TXT").c_str()) == 0)
      << notes.Path;
  // Web pages open through the shell's URL handler, with the address as
  // its argument and the system folder to run in.
  const std::pair<const char*, const char*> web[] = {
      {"Visiter le site web de Software MERVALDO.lnk", "https://www.mervaldo-soft.example/"},
      {"Visiter le Forum de Software MERVALDO.lnk", "/viewforum.php?f=121"},
      {"Suiver Software MERVALDO sur Facebook.lnk", "https://www.facebook.com/"},
      {"Visiter la chaine YouTube de Software MERVALDO.lnk", "https://www.youtube.com/"}};
  for (const auto& [name, address] : web) {
    const LinkInfo info = ReadShortcut(menu + name);
    EXPECT_NE(info.Path.find("rundll32.exe"), String::npos) << name << ": " << info.Path;
    EXPECT_EQ(info.Arguments.rfind("url.dll,FileProtocolHandler https://", 0), 0u) << info.Arguments;
    EXPECT_NE(info.Arguments.find(address), String::npos) << info.Arguments;
    EXPECT_EQ(info.WorkingDir.find("https:"), String::npos) << info.WorkingDir;
  }
  CoUninitialize();
}

// What reg.exe prints for the key in the 32-bit view.
String QueryRegistry(const char* view) {
  String command = String("reg query \"HKLM\\SOFTWARE\\Software MERVALDO\" ") + view + " 2>&1";
  String output;
  if (FILE* pipe = _popen(command.c_str(), "r")) {
    char line[512];
    while (fgets(line, sizeof line, pipe)) output += line;
    _pclose(pipe);
  }
  return output;
}

void RemoveRegistryKey() {
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Software MERVALDO", KEY_WOW64_32KEY, 0);
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Software MERVALDO", KEY_WOW64_64KEY, 0);
}

void ExpectRegistryValues(const String& stored) {
  const String values = QueryRegistry("/reg:32");
  for (const String& expected : {String("ZLTR Application"), String("Quillor_Pro"), String("ZLTR Version"),
                                 String("5.8"), String("ZLTR Build"), String("ZLTR Path"), stored})
    EXPECT_NE(values.find(expected), String::npos) << expected << " in\n" << values;
  EXPECT_EQ(QueryRegistry("/reg:64").find("ZLTR Path"), String::npos);
}

std::unique_ptr<TTomeTable> OpenTable(const String& product, const char* name) {
  auto table = std::make_unique<TTomeTable>(nullptr);
  table->SetDatabaseName(product + "\\scg.qec");
  table->SetTableName(name);
  table->BeforeOpen = [](TDataSet* d) { static_cast<TTMEDataSet*>(d)->SetDatabasePassword("vorel"); };
  table->Open();
  return table;
}

void ExpectConfigurationRows(const String& product, const String& stored, const Company& c, double capital,
                             TDateTime before) {
  auto config = OpenTable(product, "Config");
  ASSERT_EQ(config->RecordCount(), 1);
  EXPECT_EQ(config->FieldByName("DDMP")->AsInteger(), 120);
  EXPECT_EQ(config->FieldByName("Exercice")->AsInteger(), CurrentYear());
  EXPECT_EQ(config->FieldByName("App_Path")->AsString(), stored);
  EXPECT_EQ(config->FieldByName("Prn_PdfPath")->AsString(), stored + "\\Files_Export");
  EXPECT_EQ(config->FieldByName("Save_Path")->AsString(), stored + "\\BackUp");
  EXPECT_EQ(config->FieldByName("Install_Date")->AsDateTime(), double(int(before)));
  EXPECT_GE(config->FieldByName("Install_Time")->AsDateTime(), before - 1e-5);
  EXPECT_LE(config->FieldByName("Install_Time")->AsDateTime(), Now() + 1e-5);
  config->Close();

  auto societe = OpenTable(product, "Societe");
  ASSERT_EQ(societe->RecordCount(), 1);
  const std::pair<const char*, const char*> texts[] = {
      {"Societe", c.Societe}, {"Activite", c.Activite}, {"Adresse", c.Adresse}, {"Tel", c.Tel}, {"Fax", c.Fax},
      {"Email", c.Email},     {"URL", ""},              {"CBank", ""},          {"NIF", c.NIF}};
  for (const auto& [field, text] : texts) EXPECT_EQ(societe->FieldByName(field)->AsString(), text) << field;
  EXPECT_EQ(societe->FieldByName("CapitalS")->AsFloat(), capital);
  societe->Close();
}

// --- The tests ----------------------------------------------------------------------------------------

TEST(Installation, RefusalsLeaveThePageThenAWholeInstallation) {
  const String chosen = FreshFolder("whole");
  const String product = ProductFolder(chosen);
  RemoveShortcuts();
  RemoveRegistryKey();
  Session s(SetupFolder());
  ASSERT_TRUE(s.AtParameters());
  Company company;

  s.Fill(company, chosen + "\\missing", "1,250,000");
  EXPECT_EQ(s.PressNext({"OK"}), std::vector<String>{"Attention, le chemin d'installation choisis n'existe pas. "
                                                     "Veuillez SVP faire choisir un chemin existant ?"});
  s.Fill(company, chosen, "12 500 DA");
  std::vector<String> texts = s.PressNext({"OK"});
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("capital social doit être un nombre"), String::npos) << texts[0];
  s.Fill(company, chosen, "(1,250,000)");
  EXPECT_EQ(s.PressNext({"Cancel"}), std::vector<String>{kConfirmText});
  EXPECT_TRUE(s.ShowsPage("TForm_Params"));
  EXPECT_TRUE(driver::IsEnabled(s.Next()));
  EXPECT_TRUE(driver::IsEnabled(s.Previous()));
  EXPECT_FALSE(os::DirectoryExists(product));

  const TDateTime before = Now();
  EXPECT_EQ(s.PressNext({"OK"}), std::vector<String>{kConfirmText});
  ASSERT_TRUE(s.WaitForPage("TForm_Finish"));
  EXPECT_FALSE(driver::IsVisible(s.Next()));
  EXPECT_FALSE(driver::IsVisible(s.Previous()));
  EXPECT_EQ(driver::WindowText(s.Quit()), "&Terminer");
  driver::Settle(s.Main());
  Sleep(200);
  driver::SaveWindowPng(s.Main(), Screenshot("06-finish.png"));
  EXPECT_EQ(s.QuitProgram(), 0);

  ExpectPackageFilesInPlace(product);
  ExpectShortcuts(product);
  ExpectRegistryValues(product);
  ExpectConfigurationRows(product, product, company, -1250000, before);
}

// An existing installation: Cancel touches nothing; OK overwrites it but
// keeps the year's exercise file.
TEST(Installation, OverAnEarlierInstallationKeepsTheYearlyFile) {
  const String chosen = FreshFolder("again");
  const String product = ProductFolder(chosen);
  os::ForceDirectories(product + "\\Ex_Data");
  os::ForceDirectories(product + "\\Common");
  const String earlierYearly = "the exercise of an earlier installation";
  std::ofstream(((product + "\\") + YearlyName()).c_str(), std::ios::binary) << earlierYearly;
  std::ofstream((product + "\\Common\\WrkData.FDB").c_str(), std::ios::binary) << "earlier work";

  Session s(SetupFolder());
  ASSERT_TRUE(s.AtParameters());
  Company company;
  s.Fill(company, chosen + "\\", "");
  std::vector<String> texts = s.PressNext({"OK", "Cancel"});
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].rfind("Attention, Une installation de cette application a été détectée", 0), 0u);
  EXPECT_TRUE(s.ShowsPage("TForm_Params"));
  EXPECT_EQ(ReadFile(product + "\\Common\\WrkData.FDB"), "earlier work");

  const TDateTime before = Now();
  EXPECT_EQ(s.PressNext({"OK", "OK"}).size(), 2u);
  ASSERT_TRUE(s.WaitForPage("TForm_Finish"));
  EXPECT_EQ(s.QuitProgram(), 0);

  EXPECT_EQ(ReadFile(product + "\\" + YearlyName()), earlierYearly);
  EXPECT_FALSE(os::FileExists(product + "\\Ex_Data\\DBEx_20xx.FDB"));
  EXPECT_EQ(ReadFile(product + "\\Common\\WrkData.FDB"), ReadFile(PackageTree() + "\\Common\\WrkData.FDB"));
  // A folder chosen with a trailing backslash, as a drive root is, is
  // stored without a doubled separator; an empty capital reads as 0.
  ExpectConfigurationRows(product, chosen + "\\MERVALDO\\Quillor_Pro", company, 0, before);
}

TEST(Installation, WithoutThePackageInTheCurrentFolderNothingIsWritten) {
  const String chosen = FreshFolder("nopackage");
  Session s(FreshFolder("elsewhere"));
  ASSERT_TRUE(s.AtParameters());
  s.Fill(Company(), chosen, "");
  EXPECT_EQ(s.PressNext({"OK", "OK"}),
            (std::vector<String>{kConfirmText, "Attention, le package fichiers d'installation n'existe pas. Veuillez "
                                               "SVP contacter le support technique."}));
  EXPECT_TRUE(s.ShowsPage("TForm_Params"));
  EXPECT_TRUE(driver::IsEnabled(s.Next()));
  EXPECT_FALSE(os::DirectoryExists(ProductFolder(chosen)));
  EXPECT_EQ(s.QuitProgram(), 0);
}

// A package whose configuration database entry is damaged: the archiver
// asks, Abort stops the installation with its message, and only Quit is
// left; the end page never shows.
TEST(Installation, ADamagedPackageStopsBeforeTheEndPage) {
  const String chosen = FreshFolder("damaged");
  const String work = FreshFolder("damaged-package");
  String package = ReadFile(String(SetupFolder()) + "\\" + kPackage);
  const size_t header = package.find("PK\x03\x04");
  size_t at = package.find("scg.qec");
  ASSERT_NE(header, String::npos);
  ASSERT_NE(at, String::npos);
  for (size_t i = at + 200; i < at + 260; ++i) package[i] = char(package[i] ^ 0x5A);
  std::ofstream((work + "\\" + kPackage).c_str(), std::ios::binary) << package;

  Session s(work);
  ASSERT_TRUE(s.AtParameters());
  s.Fill(Company(), chosen, "");
  std::vector<String> texts = s.PressNext({"OK", "Abort", "OK"});
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_NE(texts[2].find("were not processed"), String::npos) << texts[2];
  EXPECT_FALSE(s.ShowsPage("TForm_Finish"));
  EXPECT_FALSE(driver::IsEnabled(s.Next()));
  EXPECT_FALSE(driver::IsEnabled(s.Previous()));
  EXPECT_EQ(driver::WindowText(s.Quit()), "&Terminer");
  EXPECT_EQ(s.QuitProgram(), 0);
}

}  // namespace
