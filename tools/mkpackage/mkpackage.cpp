// mkpackage: makes the demo installation package of Quillor Pro 5.8 Build 1
// that the setup program installs.
//
//   mkpackage PACKAGE QUILLOR_EXE TREE
//
// TREE receives the stand-in product files under their product names:
//   Quillor.exe                                the program (copied from QUILLOR_EXE)
//   scg.qec                                    the configuration database
//   Common\WrkData.FDB                         the shared working database
//   Ex_Data\DBEx_20xx.FDB                      the yearly exercise template
//   What is new - Quillor Pro 5.8 Build 1.TXT  the release notes
// and PACKAGE becomes a zip archive of TREE whose entries are encrypted with
// the package password. The tree stays, so that an installation can be
// compared with it file by file.
//
// Exit status 0 on success; otherwise the message on stderr and status 1
// (2 for a wrong command line).
#include <cstdio>

#include "archive/ZipArchiver.h"
#include "platform/OsFiles.h"
#include "platform/Streams.h"
#include "tools/mkpackage/ConfigSchema.h"
#include "tabledb/TomeDBFileSchema.h"

namespace {

const char kPackagePassword[] = "pelurok";

// Stand-ins for the product's working and yearly databases: the installer
// only places and renames them.
const char kWorkSchema[] = R"(
table Utilisateurs
  field ID autoinc
  field Nom string 40
  index PK ID primary unique
)";
const char kYearlySchema[] = R"(
table Pieces
  field ID autoinc
  field Numero string 20
  field Date_Piece date
  field Montant currency
  index PK ID primary unique
)";

const char kReleaseNotes[] =
    "Quillor Pro 5.8 Build 1\r\n"
    "=======================\r\n"
    "\r\n"
    "- Exercice annuel cree a l'installation.\r\n"
    "- Sauvegardes dans le dossier BackUp.\r\n"
    "- Exports PDF dans le dossier Files_Export.\r\n";

String Join(const String& folder, const char* name) { return IncludeTrailingPathDelimiter(folder) + name; }

void CopyFile(const String& from, const String& to) {
  TFileStream source(from, fmOpenRead | fmShareDenyWrite);
  TFileStream target(to, fmCreate);
  target.CopyFrom(source, 0);
}

void WriteText(const String& fileName, const String& text) {
  TFileStream file(fileName, fmCreate);
  file.WriteBuffer(text.data(), int64_t(text.size()));
}

void MakeTree(const String& tree, const String& program) {
  for (const char* folder : {"Common", "Ex_Data"}) os::ForceDirectories(Join(tree, folder));
  CopyFile(program, Join(tree, "Quillor.exe"));
  CreateTomeDatabase(Join(tree, "scg.qec"), ParseTomeSchema(kConfigSchema));
  CreateTomeDatabase(Join(Join(tree, "Common"), "WrkData.FDB"), ParseTomeSchema(kWorkSchema));
  CreateTomeDatabase(Join(Join(tree, "Ex_Data"), "DBEx_20xx.FDB"), ParseTomeSchema(kYearlySchema));
  WriteText(Join(tree, "What is new - Quillor Pro 5.8 Build 1.TXT"), kReleaseNotes);
}

// A new archive of the whole tree, names relative to it.
void MakePackage(const String& package, const String& tree) {
  if (os::FileExists(package) && !os::RemoveFile(package))
    throw Exception("Cannot replace " + package);
  TZipArchiver zip(nullptr);
  String failure;
  zip.OnProcessFileFailure = [&](TObject*, const String&, TZAProcessOperation, int, int, const String& message,
                                 TZAAction& action) {
    failure = message;
    action = fxaAbort;
  };
  zip.SetFileName(package);
  zip.SetPassword(kPackagePassword);
  zip.SetBaseDir(IncludeTrailingPathDelimiter(tree));
  zip.OpenArchiveFile();
  zip.AddFiles(Join(tree, "*"));
  zip.CloseArchiveFile();
  if (!failure.empty()) throw Exception(failure);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: mkpackage PACKAGE QUILLOR_EXE TREE\n");
    return 2;
  }
  try {
    MakeTree(argv[3], argv[2]);
    MakePackage(argv[1], argv[3]);
  } catch (const Exception& e) {
    std::fprintf(stderr, "mkpackage: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
