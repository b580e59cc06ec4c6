// The installer's configuration step on real database files: two tables of
// one file opened through the default session with the password handed
// over in BeforeOpen, the first row edited (inserted when the table is
// empty) field by field, posted, closed, and read back after reopening; in
// a plain file, a compressed one, and one encrypted by each cipher in each
// chaining mode.
#include <gtest/gtest.h>

#include <memory>

#include "support/TestSupport.h"
#include "tabledb/TomeDBFileCheck.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBSession.h"
#include "tabledb/TomeDBTable.h"
#include "tools/mkpackage/ConfigSchema.h"

using testing_support::TempDir;

namespace {

// The package's own tables, without its compression and cipher lines: each
// test puts its file kind's lines before them.
const String kTables = [] {
  const String schema = kConfigSchema;
  return schema.substr(schema.find("table Config"));
}();

const char* const kSocieteTexts[] = {"Societe", "Activite", "Adresse", "Tel", "Fax", "Email", "URL",
                                     "CBank",   "RC",       "AI",      "NIF", "NIS", "MF"};

// A table as the installer's form holds it: its BeforeOpen hands over the
// password.
std::unique_ptr<TTomeTable> InstallerTable(const String& file, const String& table, const String& password) {
  auto t = std::make_unique<TTomeTable>(nullptr);
  t->SetDatabaseName(file);
  t->SetTableName(table);
  t->BeforeOpen = [password](TDataSet* dataSet) {
    static_cast<TTMEDataSet*>(dataSet)->SetDatabasePassword(password);
  };
  return t;
}

struct Install {
  String path;
  String society;
  TDateTime when;
};

void RunConfigurationStep(const String& file, const Install& in) {
  auto config = InstallerTable(file, "Config", "vorel");
  auto societe = InstallerTable(file, "Societe", "vorel");
  config->Open();
  societe->Open();
  config->Edit();
  societe->Edit();
  config->FieldByName("DDMP")->SetAsString("120");
  config->FieldByName("Exercice")->SetAsString("2026");
  config->FieldByName("App_Path")->SetAsString(in.path);
  config->FieldByName("Prn_PdfPath")->SetAsString(in.path + "\\Files_Export");
  config->FieldByName("Save_Path")->SetAsString(in.path + "\\BackUp");
  config->FieldByName("Install_Date")->SetAsDateTime(double(int(in.when)));
  config->FieldByName("Install_Time")->SetAsDateTime(in.when);
  for (const char* name : kSocieteTexts) societe->FieldByName(name)->SetAsString(in.society + " " + name);
  societe->FieldByName("CapitalS")->SetAsString("250000.5");
  config->Post();
  societe->Post();
  config->Close();
  societe->Close();
}

void ExpectInstalled(const String& file, const Install& in) {
  auto config = InstallerTable(file, "Config", "vorel");
  auto societe = InstallerTable(file, "Societe", "vorel");
  config->Open();
  societe->Open();
  ASSERT_EQ(config->RecordCount(), 1);
  ASSERT_EQ(societe->RecordCount(), 1);
  EXPECT_EQ(config->FieldByName("ID")->AsInteger(), 1);
  EXPECT_EQ(config->FieldByName("DDMP")->AsString(), "120");
  EXPECT_EQ(config->FieldByName("Exercice")->AsString(), "2026");
  EXPECT_EQ(config->FieldByName("App_Path")->AsString(), in.path);
  EXPECT_EQ(config->FieldByName("Prn_PdfPath")->AsString(), in.path + "\\Files_Export");
  EXPECT_EQ(config->FieldByName("Save_Path")->AsString(), in.path + "\\BackUp");
  EXPECT_EQ(config->FieldByName("Install_Date")->AsDateTime(), double(int(in.when)));
  EXPECT_NEAR(config->FieldByName("Install_Time")->AsDateTime(), in.when, 1e-8);
  for (const char* name : kSocieteTexts) {
    // Texts longer than their field are cut to its size.
    const String expected = (in.society + " " + name).substr(0, size_t(societe->FieldByName(name)->Size()));
    EXPECT_EQ(societe->FieldByName(name)->AsString(), expected) << name;
  }
  EXPECT_EQ(societe->FieldByName("CapitalS")->AsFloat(), 250000.5);
  EXPECT_TRUE(societe->FieldByName("Logo")->IsNull());
  config->Close();
  societe->Close();
}

struct FileKind {
  const char* name;
  String header;  // schema lines before the tables
};

std::vector<FileKind> FileKinds() {
  std::vector<FileKind> kinds = {{"plain", ""}, {"zlib", "compress ZLIB\n"}};
  for (const char* cipher : {"Blowfish", "Twofish", "Gost"})
    for (int mode = 0; mode <= 4; ++mode)
      kinds.push_back({cipher, Format("compress ZLIB\nencrypt %s %d\npassword vorel\n", {cipher, mode})});
  return kinds;
}

TEST(TomeDBTableInstaller, ConfigurationStepWritesAndReadsBackInEveryFileKind) {
  TempDir dir;
  for (const FileKind& kind : FileKinds()) {
    SCOPED_TRACE(kind.header.empty() ? kind.name : kind.header);
    const String file = dir.File("scg.qec");
    CreateTomeDatabase(file, ParseTomeSchema(kind.header + kTables));
    // First run: empty tables, Edit starts an insert. Second run: the row
    // exists and is modified in place.
    const Install first{"C:\\MERVALDO\\Quillor_Pro", "Vorel et Fils", 46000.25};
    RunConfigurationStep(file, first);
    ExpectInstalled(file, first);
    const Install second{"D:\\Data\\MERVALDO\\Quillor_Pro", "Soci\xE9t\xE9 G\xE9n\xE9rale d'Ameublement du Nord", 46001.5};
    RunConfigurationStep(file, second);
    ExpectInstalled(file, second);
    EXPECT_EQ(CheckTomeDatabase(file, "vorel"), std::vector<String>());
    // Nothing stays connected once the tables are closed.
    EXPECT_EQ(Session()->FindDatabase(file), nullptr);
  }
}

TEST(TomeDBTableInstaller, WrongPasswordIsRefusedAndOpensNothing) {
  TempDir dir;
  const String file = dir.File("scg.qec");
  // Appended, not "String(...) + kTables": GCC 12 sees a false
  // out-of-bounds copy (-Warray-bounds) in that operator+ here.
  String schema = "encrypt Blowfish 1\npassword vorel\n";
  schema += kTables;
  CreateTomeDatabase(file, ParseTomeSchema(schema));
  const int databasesBefore = Session()->DatabaseCount();
  auto config = InstallerTable(file, "Config", "wrong");
  try {
    config->Open();
    FAIL() << "opened with a wrong password";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Access denied");
  }
  EXPECT_FALSE(config->Active());
  EXPECT_EQ(Session()->DatabaseCount(), databasesBefore);
  EXPECT_EQ(Session()->FindDatabase(file), nullptr);
  // Without a login dialog a missing password is refused the same way.
  config->BeforeOpen = nullptr;
  EXPECT_THROW(config->Open(), EDatabaseError);
  EXPECT_EQ(Session()->FindDatabase(file), nullptr);
  // The file is not left open: it can be replaced and opened again.
  CreateTomeDatabase(file, ParseTomeSchema(kTables));
  config->Open();
  EXPECT_EQ(config->RecordCount(), 0);
  config->Close();
}

}  // namespace
