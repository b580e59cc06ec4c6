// The installation end to end: the built Setup.exe walked through the driver
// to the parameters page, its fields typed, then checked from outside the
// program (files, shortcuts, registry values read by name, database rows
// read back with the table database). The refusals: a folder that does not
// exist, a capital field that takes only numbers, Cancel at the confirmation, an
// existing installation, the package missing from the current folder, a
// cut, damaged or foreign package, a target that cannot be written; each
// leaves files, shortcuts and registry as they were. And an installation to
// a drive root.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "archive/ZipArchiver.h"
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

// The same path once Windows has resolved it: a doubled separator (the
// product folder below a drive root) is one.
String Resolved(const String& path) {
  char full[MAX_PATH * 2] = {};
  GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return full;
}

bool SamePath(const String& a, const String& b) { return lstrcmpiA(Resolved(a).c_str(), Resolved(b).c_str()) == 0; }

void ExpectShortcuts(const String& product) {
  CoInitialize(nullptr);
  const String program = product + "\\Quillor.EXE";
  const String menu = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\MERVALDO\\";
  for (const String& link : {SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kProgramLink,
                             SpecialFolder(CSIDL_PROGRAMS) + "\\" + kProgramLink, menu + kProgramLink}) {
    const LinkInfo info = ReadShortcut(link);
    EXPECT_TRUE(SamePath(info.Path, program)) << link << ": " << info.Path;
    EXPECT_TRUE(SamePath(info.WorkingDir, product + "\\")) << info.WorkingDir;
  }
  const LinkInfo notes = ReadShortcut(menu + "What is new - Quillor Pro 5.8 Build 1.lnk");
  EXPECT_TRUE(SamePath(notes.Path, product + "\\What is new - Quillor Pro 5.8 Build 1.TXT")) << notes.Path;
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

const char kRegistryKey[] = "SOFTWARE\\Software MERVALDO";

// The values of the maker's key in one registry view, by name.
std::map<String, String> RegistryValues(REGSAM view) {
  std::map<String, String> values;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return values;
  char name[256], data[1024];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = sizeof name, dataLength = sizeof data - 1, type = 0;
    if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLength) !=
        ERROR_SUCCESS)
      break;
    data[dataLength] = 0;
    values[name] = type == REG_SZ ? String(data) : "(type " + IntToStr(int(type)) + ")";
  }
  RegCloseKey(key);
  return values;
}

void RemoveRegistryKey() {
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, KEY_WOW64_32KEY, 0);
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, KEY_WOW64_64KEY, 0);
}

// The product reads the 32-bit view; nothing is written to the other.
void ExpectRegistryValues(const String& stored) {
  const std::map<String, String> expected = {{"ZLTR Application", "Quillor_Pro"},
                                             {"ZLTR Version", "5.8"},
                                             {"ZLTR Build", "1"},
                                             {"ZLTR Path", stored}};
  EXPECT_EQ(RegistryValues(KEY_WOW64_32KEY), expected);
  EXPECT_TRUE(RegistryValues(KEY_WOW64_64KEY).empty());
}

// --- What a refusal must leave as it was -----------------------------------------------------

// Every file and folder below the chosen folder and the maker's menu
// folder with its contents, the program's shortcuts on the desktop and in
// the user's menu, and the maker's registry values in both views.
using Snapshot = std::map<String, String>;

Snapshot TakeSnapshot(const String& chosen) {
  Snapshot snapshot;
  for (const String& root : {chosen, SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\MERVALDO"}) {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(root.c_str(), ignored)) {
      const String name = entry.path().string();
      snapshot[name] = entry.is_directory() ? String("<folder>") : ReadFile(name);
    }
  }
  for (const String& link : {SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kProgramLink,
                             SpecialFolder(CSIDL_PROGRAMS) + "\\" + kProgramLink})
    if (os::FileExists(link)) snapshot[link] = ReadFile(link);
  for (const auto& [name, value] : RegistryValues(KEY_WOW64_32KEY)) snapshot["HKLM 32: " + name] = value;
  for (const auto& [name, value] : RegistryValues(KEY_WOW64_64KEY)) snapshot["HKLM 64: " + name] = value;
  return snapshot;
}

void ExpectUnchanged(const Snapshot& before, const String& chosen) {
  const Snapshot after = TakeSnapshot(chosen);
  for (const auto& [name, contents] : after)
    EXPECT_TRUE(before.count(name)) << "added: " << name;
  for (const auto& [name, contents] : before) {
    auto found = after.find(name);
    if (found == after.end())
      ADD_FAILURE() << "removed: " << name;
    else
      EXPECT_TRUE(found->second == contents) << "changed: " << name;
  }
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
  const std::vector<const char*> texts = c.Texts();
  for (size_t i = 0; i < texts.size(); ++i)
    EXPECT_EQ(societe->FieldByName(Company::Fields[i])->AsString(), texts[i]) << Company::Fields[i];
  EXPECT_EQ(societe->FieldByName("CapitalS")->AsFloat(), capital);
  societe->Close();
}

// --- The end page -------------------------------------------------------------------------------

// The saved picture of the end page shows what a person sees: the
// congratulation in its grey text, and no Next or Previous button.
void ExpectEndPagePicture(HWND main, const String& png) {
  driver::Picture picture = driver::LoadPicture(png);
  const RECT frame = driver::WindowBounds(main);
  ASSERT_EQ(picture.Width, frame.right - frame.left);
  auto at = [&](int clientX, int clientY) {
    POINT p{clientX, clientY};
    ClientToScreen(main, &p);
    return picture.At(p.x - frame.left, p.y - frame.top);
  };
  // The first label of the page (work area at 152, 0; label at 274, 20).
  int textPixels = 0;
  for (int y = 20; y < 59; ++y)
    for (int x = 152 + 274; x < 152 + 553; ++x) textPixels += at(x, y) == 0x3C3C3Cu;
  EXPECT_GT(textPixels, 50);
  // Where Previous and Next were: one colour, the window's face.
  const uint32_t face = at(445, 414);
  for (int y = 412; y < 436; y += 3)
    for (int x = 442; x < 640; x += 3) ASSERT_EQ(at(x, y), face) << x << "," << y;
}

// --- The progress bar -----------------------------------------------------------------------------

// The parameters page's progress bar (489x17 at 65, 375 of its group box)
// in a picture of the main window shows an installation under way: a
// column near its left end holds the bar's blue (the system's highlight
// colour), a column near its right end none of it.
bool ShowsInstallationUnderWay(HWND main, const driver::Picture& picture) {
  HWND box = driver::FindChild(driver::FindChild(main, "TForm_Params"), "TFmGroupBox");
  if (!box) return false;
  const RECT frame = driver::WindowBounds(main);
  POINT bar{65, 375};
  ClientToScreen(box, &bar);
  const int left = bar.x - frame.left, top = bar.y - frame.top;
  if (picture.Width != frame.right - frame.left || left < 0 || top < 0 || left + 489 > picture.Width ||
      top + 17 > picture.Height)
    return false;
  auto blueIn = [&](int x) {
    for (int y = top; y < top + 17; ++y) {
      const uint32_t p = picture.At(x, y);
      if (int(p & 0xFF) - int(p >> 16) > 64) return true;
    }
    return false;
  };
  return blueIn(left + 5) && !blueIn(left + 489 - 6);
}

// --- The tests ----------------------------------------------------------------------------------------

const char kDamagedText[] =
    "Attention, le package fichiers d'installation est endommagé ou n'est pas celui de cette application. Rien n'a "
    "été modifié. Veuillez SVP contacter le support technique.";
const char kUnwritableText[] =
    "Attention, l'installation ne peut pas écrire dans le chemin choisi (accès refusé, espace disque insuffisant "
    "ou fichier en cours d'utilisation). Rien n'a été modifié. Veuillez SVP choisir un autre chemin ou fermer "
    "l'application installée.";

// A zip of every file of tree, encrypted with password, made as fileName;
// its bytes.
String ZipOf(const String& tree, const char* password, const String& fileName) {
  {
    TZipArchiver zip(nullptr);
    zip.SetFileName(fileName);
    zip.SetPassword(password);
    zip.SetBaseDir(tree + "\\");
    zip.OpenArchiveFile();
    zip.AddFiles(tree + "\\*");
    zip.CloseArchiveFile();
  }
  const String bytes = ReadFile(fileName);
  fs::remove(fileName.c_str());
  return bytes;
}

// Next pressed on a refusal: the page stays with its buttons as they were.
void ExpectPageStays(const Session& s) {
  EXPECT_TRUE(s.ShowsPage("TForm_Params"));
  EXPECT_TRUE(driver::IsEnabled(s.Next()));
  EXPECT_TRUE(driver::IsEnabled(s.Previous()));
  EXPECT_EQ(driver::WindowText(s.Quit()), "&Quitter");
}

TEST(Installation, RefusalsLeaveThePageThenAWholeInstallation) {
  const String chosen = FreshFolder("whole");
  const String product = ProductFolder(chosen);
  // The package carries one more file, large and incompressible, so that the
  // extraction keeps the progress bar on its way long enough to be seen
  // however busy the machine is.
  const String work = FreshFolder("whole-work");
  const String tree = FreshFolder("whole-tree") + "\\tree";
  fs::copy(PackageTree().c_str(), tree.c_str(), fs::copy_options::recursive);
  {
    std::mt19937 random(7);
    String bulk(24 << 20, '\0');
    for (char& c : bulk) c = char(random());
    std::ofstream((tree + "\\Bulk.bin").c_str(), std::ios::binary) << bulk;
  }
  std::ofstream((work + "\\" + kPackage).c_str(), std::ios::binary)
      << ZipOf(tree, "pelurok", work + "\\package.zip");
  RemoveShortcuts();
  RemoveRegistryKey();
  const Snapshot untouched = TakeSnapshot(chosen);
  Session s(work);
  ASSERT_TRUE(s.AtParameters());
  Company company;

  s.Fill(company, chosen + "\\missing", "1250000");
  EXPECT_EQ(s.PressNext({"OK"}), std::vector<String>{"Attention, le chemin d'installation choisis n'existe pas. "
                                                     "Veuillez SVP faire choisir un chemin existant ?"});
  // The capital field takes only what a whole number may hold: blanks,
  // letters and grouping marks typed into it are refused.
  driver::ReplaceText(s.Capital(), "12 500 DA,5");
  EXPECT_TRUE(driver::WaitUntil(kStepTimeoutMs, [&] { return driver::WindowText(s.Capital()) == "125005"; }))
      << driver::WindowText(s.Capital());
  s.Fill(company, chosen, "(1250000)");
  EXPECT_EQ(s.PressNext({"Cancel"}), std::vector<String>{kConfirmText});
  ExpectPageStays(s);
  ExpectUnchanged(untouched, chosen);

  const TDateTime before = Now();
  driver::ClickCenter(s.Next());
  const driver::MessageBoxInfo confirm = driver::WaitForMessageBox(s.Program(), kStepTimeoutMs);
  ASSERT_EQ(confirm.Text, kConfirmText);
  driver::AnswerMessageBox(confirm.Window, "OK");
  // The program is busy installing: the window is captured in memory again
  // and again until a picture shows the progress bar on its way, or the end
  // page; the last picture is saved.
  driver::Picture shot;
  bool underWay = false;
  driver::WaitUntil(kStepTimeoutMs, [&] {
    shot = driver::CaptureWindow(s.Main());
    underWay = ShowsInstallationUnderWay(s.Main(), shot);
    return underWay || s.ShowsPage("TForm_Finish");
  });
  driver::SavePicturePng(shot, Screenshot("06-installing.png"));
  EXPECT_TRUE(underWay) << "no picture showed the progress bar between its ends";
  ASSERT_TRUE(s.WaitForPage("TForm_Finish"));
  EXPECT_FALSE(driver::IsVisible(s.Next()));
  EXPECT_FALSE(driver::IsVisible(s.Previous()));
  EXPECT_EQ(driver::WindowText(s.Quit()), "&Terminer");
  driver::Settle(s.Main());
  const String png = Screenshot("07-finish.png");
  driver::SaveWindowPng(s.Main(), png);
  ExpectEndPagePicture(s.Main(), png);
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

// A package cut as an interrupted download leaves it (at fixed places and
// at random ones), damaged, made with another password, or no zip at all:
// each is refused with one French message before anything is written, and
// no prompt shows the password. The package is swapped between presses.
TEST(Installation, ABadPackageIsRefusedAndChangesNothing) {
  const String chosen = FreshFolder("badpackage");
  const String work = FreshFolder("badpackage-work");
  const String package = ReadFile(String(SetupFolder()) + "\\" + kPackage);
  RemoveShortcuts();
  const Snapshot before = TakeSnapshot(chosen);

  std::vector<std::pair<String, String>> cases;  // what, bytes
  const size_t lastEntry = package.rfind("PK\x03\x04");
  const size_t directory = package.find("PK\x01\x02");
  ASSERT_NE(lastEntry, String::npos);
  ASSERT_NE(directory, String::npos);
  for (size_t cut : {lastEntry + 100, directory + 30, package.size() - 1})
    cases.push_back({"cut at " + IntToStr(int(cut)), package.substr(0, cut)});
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  std::uniform_int_distribution<size_t> at(1, package.size() - 1);
  for (int i = 0; i < 10; ++i) {
    const size_t cut = at(random);
    cases.push_back({"random cut at " + IntToStr(int(cut)) + ", seed " + IntToStr(int(seed)), package.substr(0, cut)});
  }
  String damaged = package;
  const size_t inDatabase = package.find("scg.qec") + 200;
  damaged[inDatabase] = char(damaged[inDatabase] ^ 0x5A);
  cases.push_back({"damaged", damaged});
  cases.push_back({"not a zip", "MZ, a program and no package"});
  cases.push_back({"another password", ZipOf(PackageTree(), "autre", work + "\\other.zip")});

  Session s(work);
  ASSERT_TRUE(s.AtParameters());
  // A click on the disabled "Installer" does nothing.
  driver::ClickCenter(s.Next());
  EXPECT_EQ(driver::WaitForMessageBox(s.Program(), 1000).Window, nullptr);
  EXPECT_TRUE(s.ShowsPage("TForm_Params"));
  s.Fill(Company(), chosen, "");
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    std::ofstream((work + "\\" + kPackage).c_str(), std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_EQ(s.PressNext({"OK", "OK"}), (std::vector<String>{kConfirmText, kDamagedText}));
    EXPECT_EQ(driver::WaitForMessageBox(s.Program(), 0).Window, nullptr);
    ExpectPageStays(s);
  }
  EXPECT_EQ(s.QuitProgram(), 0);
  ExpectUnchanged(before, chosen);
}

// A folder that cannot hold the product: a file stands where its folder
// must go, or the program of an earlier installation is running and holds
// its file. Refused before anything is written.
TEST(Installation, ATargetThatCannotBeWrittenIsRefusedAndChangesNothing) {
  const String blocked = FreshFolder("blocked");
  std::ofstream((blocked + "\\MERVALDO").c_str()) << "a file, not a folder";
  const String running = FreshFolder("running");
  const String product = ProductFolder(running);
  os::ForceDirectories(product);
  std::ofstream((product + "\\Quillor.exe").c_str(), std::ios::binary) << "the earlier program, running";
  RemoveShortcuts();
  const Snapshot beforeBlocked = TakeSnapshot(blocked), beforeRunning = TakeSnapshot(running);

  Session s(SetupFolder());
  ASSERT_TRUE(s.AtParameters());
  s.Fill(Company(), blocked, "");
  EXPECT_EQ(s.PressNext({"OK", "OK"}), (std::vector<String>{kConfirmText, kUnwritableText}));
  ExpectPageStays(s);

  const HANDLE held = CreateFileA((product + "\\Quillor.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  s.Fill(Company(), running, "");
  std::vector<String> texts = s.PressNext({"OK", "OK", "OK"});
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[2], kUnwritableText);
  ExpectPageStays(s);
  CloseHandle(held);
  EXPECT_EQ(s.QuitProgram(), 0);

  ExpectUnchanged(beforeBlocked, blocked);
  ExpectUnchanged(beforeRunning, running);
}

// A sound package whose configuration database is not one: the failure
// comes after the point of no return, once files and shortcuts are written.
// It is told in French, what the run added is removed again, the shortcuts
// of an earlier installation elsewhere are put back as they were, and the
// page can be used once more.
TEST(Installation, AFailureAfterThePointOfNoReturnIsTakenBack) {
  const String chosen = FreshFolder("nodatabase");
  const String work = FreshFolder("nodatabase-work");
  const String tree = FreshFolder("nodatabase-tree") + "\\tree";
  fs::copy(PackageTree().c_str(), tree.c_str(), fs::copy_options::recursive);
  std::ofstream((tree + "\\scg.qec").c_str(), std::ios::binary | std::ios::trunc) << "no database";
  std::ofstream((work + "\\" + kPackage).c_str(), std::ios::binary)
      << ZipOf(tree, "pelurok", work + "\\package.zip");
  RemoveShortcuts();
  RemoveRegistryKey();
  const String menu = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\MERVALDO";
  os::ForceDirectories(menu);
  for (const String& link : {SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kProgramLink, menu + "\\" + kProgramLink})
    std::ofstream(link.c_str(), std::ios::binary) << "an earlier installation's shortcut to D:\\Quillor.EXE";
  const Snapshot untouched = TakeSnapshot(chosen);

  Session s(work);
  ASSERT_TRUE(s.AtParameters());
  s.Fill(Company(), chosen, "");
  EXPECT_EQ(s.PressNext({"OK", "OK"}),
            (std::vector<String>{kConfirmText,
                                 "Attention, l'installation n'a pas pu être terminée pendant l'écriture de la "
                                 "configuration. Les fichiers, dossiers et raccourcis ajoutés par cette installation "
                                 "ont été supprimés."}));
  ExpectPageStays(s);
  EXPECT_EQ(s.QuitProgram(), 0);
  ExpectUnchanged(untouched, chosen);
  RemoveShortcuts();
}

// A drive root as the chosen folder ("Q:\", a drive the test set-up maps to
// a folder of the build): files go below it, the database, the registry
// and the shortcuts name the product folder without a doubled separator.
TEST(Installation, ToADriveRoot) {
  ASSERT_TRUE(os::DirectoryExists("Q:\\")) << "the test set-up maps drive Q:";
  std::error_code ignored;
  fs::remove_all("Q:\\MERVALDO", ignored);
  RemoveShortcuts();
  RemoveRegistryKey();
  Session s(SetupFolder());
  ASSERT_TRUE(s.AtParameters());
  Company company;
  s.Fill(company, "Q:\\", "1 000 000");
  const TDateTime before = Now();
  EXPECT_EQ(s.PressNext({"OK"}), std::vector<String>{kConfirmText});
  ASSERT_TRUE(s.WaitForPage("TForm_Finish"));
  EXPECT_EQ(s.QuitProgram(), 0);

  const String stored = "Q:\\MERVALDO\\Quillor_Pro";
  ExpectPackageFilesInPlace(stored);
  ExpectShortcuts("Q:\\\\MERVALDO\\Quillor_Pro");
  ExpectRegistryValues(stored);
  ExpectConfigurationRows(stored, stored, company, 1000000, before);
}

}  // namespace
