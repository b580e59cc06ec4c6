#include "app/Params.h"

#include "app/Finish.h"
#include "app/Install.h"
#include "app/Shortcuts.h"
#include "app/Unit_Main.h"
#include "archive/ZipArchiver.h"
#include "platform/DateTime.h"
#include "platform/OsFiles.h"
#include "tabledb/TomeDBTable.h"

TForm_Params* Form_Params = nullptr;

namespace {

// Sizes of the configuration database's "Societe" text fields that the
// edits are stored in: an edit never takes more than its field keeps.
constexpr int kSocieteSize = 40;
constexpr int kActiviteSize = 100;
constexpr int kAdresseSize = 80;
constexpr int kTelSize = 30;
constexpr int kFaxSize = 30;
constexpr int kEmailSize = 60;
constexpr int kURLSize = 40;
constexpr int kCBankSize = 50;
constexpr int kRCSize = 20;
constexpr int kMFSize = 15;
constexpr int kAISize = 11;
constexpr int kNIFSize = 15;
constexpr int kNISSize = 15;

// Posted to the page once it shows, to put the focus in its first field.
constexpr UINT WM_FOCUSFIRSTFIELD = WM_APP + 1;

constexpr TColor kLabelColor = RGBColor(60, 60, 60);
constexpr TColor kMandatoryMarkColor = RGBColor(185, 0, 0);
constexpr TColor kFrameColor = RGBColor(132, 193, 255);

const char kInstructions[] =
    "Veuillez SVP faire suivre les étapes nécessaires pour une installation complète.\r"
    "\r"
    "1- Remplir les champs par les informations correctes. (  ) => Champ obligatoire\r"
    "2- Choisir le chemin d'installation (Exp : \"D:\").\r"
    "3- Cliquer sur [Installer] puis choisir [Oui] pour terminer l'installation.";

}  // namespace

TForm_Params::TForm_Params(TComponent* owner) : TPageForm(owner, "Paramètres", 632, 402) {
  FmGroupBox2 = Make<TFmGroupBox>(this, 3, -1, 626, 399);
  FmGroupBox2->SetTransparent(true);
  MakeLabels();

  FmSeparator1 = Make<TFmSeparator>(FmGroupBox2, 67, 144, 483, 2);
  FmSeparator2 = Make<TFmSeparator>(FmGroupBox2, 67, 348, 483, 2);
  for (TFmSeparator* separator : {FmSeparator1, FmSeparator2}) {
    separator->SetShowGradient(true);
    separator->SetColor(clBtnFace);
  }

  PBar = Make<TFmProgressBar>(FmGroupBox2, 65, 375, 489, 17);
  PBar->SetBarStyle(bsGradient);
  PBar->SetBorderOuter(fsFlatRounded);
  PBar->SetBorderWidth(0);
  PBar->SetInteriorOffset(0);
  PBar->SetPercent(0);
  PBar->SetPartsComplete(0);
  PBar->SetTotalParts(0);

  MakeFields();

  Btn_Install = Make<TvxButton>(FmGroupBox2, 568, 368, 49, 25);
  Btn_Install->SetCaption("Installer");
  Btn_Install->SetTabOrder(15);
  Btn_Install->SetVisible(false);
  Btn_Install->OnClick = [this](TObject* s) { Btn_InstallClick(s); };

  Archiver = new TZipArchiver(this);
  Archiver->SetName("Archiver");
  Archiver->SetExtractCorruptedFiles(false);
  Archiver->SetCompressionLevel(TZACompressionLevel::clFastest);
  Archiver->SetCompressionMode(1);
  Archiver->SetCurrentVersion("2.64 ");
  Archiver->SetSpanningMode(smNone);
  Archiver->SpanningOptions().SetAdvancedNaming(true);
  Archiver->SpanningOptions().SetVolumeSize(vsAutoDetect);
  Archiver->Options().SetFlushBuffers(true);
  Archiver->Options().SetOEMFileNames(true);
  Archiver->SetInMemory(false);
  Archiver->SetZip64Mode(zmDisabled);
  install::AnswerArchiverQuestions(*Archiver);

  Config_tbl = new TTomeTable(this);
  Config_tbl->SetName("Config_tbl");
  Config_tbl->BeforeOpen = [this](TDataSet* d) { Config_tblBeforeOpen(d); };
  Societe_tbl = new TTomeTable(this);
  Societe_tbl->SetName("Societe_tbl");
  Societe_tbl->BeforeOpen = [this](TDataSet* d) { Societe_tblBeforeOpen(d); };

  OnShow = [this](TObject* s) { FormShow(s); };
}

void TForm_Params::MakeLabels() {
  auto label = [this](int left, int top, int width, int height, const char* caption) {
    auto* l = Make<TFmLabel>(FmGroupBox2, left, top, width, height);
    l->SetAutoSize(false);
    l->SetTransparent(true);
    AssignFont(l->Font(), "MS Sans Serif", -12, fsBold, kLabelColor);
    l->SetCaption(caption);
    return l;
  };
  FmLabel1 = label(8, 8, 569, 112, kInstructions);
  FmLabel1->SetWordWrap(true);
  AssignFont(FmLabel1->Font(), "Tahoma", -12, fsBold, RGBColor(26, 66, 132));
  FmLabel7 = label(8, 124, 605, 14,
                   "Le numéro de téléphone doit contenir au minimum 9 chiffres, sinon l'installation sera "
                   "interrompue.");
  FmLabel7->SetWordWrap(true);
  AssignFont(FmLabel7->Font(), "Tahoma", -12, fsBold, RGBColor(234, 0, 0));
  FmLabel7->SetBlinkColor(RGBColor(55, 155, 255));
  FmLabel7->SetBlinking(true);

  label(66, 153, 44, 13, "Société");
  label(66, 177, 44, 13, "Activité");
  label(66, 201, 46, 13, "Adresse");
  label(66, 225, 23, 13, "Tél.");
  label(66, 250, 21, 13, "Fax");
  label(66, 274, 36, 13, "E-Mail");
  label(66, 298, 53, 13, "Site Web");
  label(319, 181, 63, 13, "C.Bancaire");
  label(319, 205, 72, 13, "R.Commerce");
  label(319, 229, 63, 13, "Mat. Fiscal");
  label(319, 253, 74, 13, "Articel Impos");
  label(319, 277, 21, 13, "NIF");
  label(319, 301, 22, 13, "NIS");
  label(319, 326, 70, 13, "Capital Soc.");
  label(66, 356, 129, 13, "Chemin d'installation : ");
  // The marks of the mandatory fields; the last stands in the instructions.
  const TPoint marks[] = {{114, 153}, {115, 177}, {115, 201}, {115, 225}, {341, 38}};
  for (const TPoint& at : marks) {
    TFmLabel* mark = label(at.X, at.Y, 7, 16, "*");
    AssignFont(mark->Font(), "MS Sans Serif", -15, fsBold, kMandatoryMarkColor);
  }
}

TFmEdit* TForm_Params::MakeEdit(TFmEdit* edit, int left, int top, int width, int maxLength, int tabOrder,
                                const char* hint) {
  edit->SetParent(FmGroupBox2);
  edit->SetBounds(left, top, width, 22);
  AssignFont(edit->Font(), "Tahoma", -12, 0);
  edit->SetFrameColor(kFrameColor);
  edit->SetFrameHotColor(kFrameColor);
  edit->SetFrameHotTrack(true);
  edit->SetFrameHotStyle(fsFlat);
  edit->SetFrameVisible(true);
  edit->SetCtl3D(true);
  edit->SetTabOnEnter(true);
  edit->SetMaxLength(maxLength);
  edit->SetTabOrder(tabOrder);
  edit->SetHint(hint);
  edit->SetShowHint(true);
  return edit;
}

void TForm_Params::MakeFields() {
  auto edit = [this](int left, int top, int width, int maxLength, int tabOrder, const char* hint) {
    return MakeEdit(new TFmEdit(this), left, top, width, maxLength, tabOrder, hint);
  };
  Edit_Societe = edit(126, 150, 430, kSocieteSize, 0, "Dénomination : Raison sociale ou Nom du propriétaire");
  Edit_Activite = edit(126, 174, 180, kActiviteSize, 1, "Activité : L'activité commerciale");
  Edit_Adresse = edit(126, 198, 180, kAdresseSize, 2, "Adresse : Adresse de l'activité");
  Edit_Tel = edit(126, 222, 180, kTelSize, 3, "Numéro de Téléphone");
  Edit_Fax = edit(126, 247, 180, kFaxSize, 4, "Numéro de Fax");
  Edit_Email = edit(126, 271, 180, kEmailSize, 5, "Votre E-Mail professionnel (Facultatif)");
  Edit_URL = edit(126, 296, 180, kURLSize, 6, "Adresse de votre Site Web (Facultatif)");
  Edit_CBank = edit(396, 178, 160, kCBankSize, 7, "Votre Compte Bancaire : Numéro & Banque (Facultatif)");
  Edit_RC = edit(396, 202, 160, kRCSize, 8, "Le numéro de votre Registre de Commerce");
  Edit_MF = edit(396, 226, 160, kMFSize, 9, "Le numéro de votre Matricule Fiscal");
  Edit_AI = edit(396, 250, 160, kAISize, 10, "Le numéro de votre Article d'Imposition");
  Edit_NIF = edit(396, 274, 160, kNIFSize, 11, "Le numéro de votre Identité Fiscale");
  Edit_NIS = edit(396, 298, 160, kNISSize, 12, "NIS");

  Edit_CapitalS = new TFmNumericEdit(this);
  MakeEdit(Edit_CapitalS, 396, 323, 160, 0, 13, "Votre Capital Social");
  Edit_CapitalS->SetHeight(21);
  Edit_CapitalS->SetDisplayFormat(",0;(,0)");
  Edit_CapitalS->SetFrameColor(clGradientActiveCaption);
  Edit_CapitalS->SetFrameHotColor(clActiveCaption);

  for (TFmEdit* mandatory : {Edit_Societe, Edit_Activite, Edit_Adresse, Edit_Tel}) mandatory->SetColor(kEmptyFieldColor);
  Edit_Societe->OnChange = [this](TObject* s) { Edit_SocieteChange(s); };
  Edit_Activite->OnChange = [this](TObject* s) { Edit_ActiviteChange(s); };
  Edit_Adresse->OnChange = [this](TObject* s) { Edit_AdresseChange(s); };
  Edit_Tel->OnChange = [this](TObject* s) { Edit_TelChange(s); };

  Combo_Path = Make<TvxShellComboBox>(FmGroupBox2, 199, 352, 356, 22);
  Combo_Path->Properties()->Root()->SetCustomPath("D:");
  Combo_Path->Properties()->SetShowFullPath(sfpNotFocused);
  Combo_Path->Properties()->SetDropDownWidth(356);
  AssignFont(Combo_Path->Style()->Font(), "Tahoma", -12, 0);
  Combo_Path->SetHint("Recommander de choisir la PARTITION dont vous voulez installer votre application");
  Combo_Path->SetShowHint(true);
  Combo_Path->SetTabOrder(14);
  Combo_Path->Properties()->OnChange = [this](TObject* s) { Combo_PathPropertiesChange(s); };
}

void TForm_Params::FormShow(TObject*) { PostMessageA(Handle(), WM_FOCUSFIRSTFIELD, 0, 0); }

void TForm_Params::Dispatch(TMessage& m) {
  if (m.Msg == WM_FOCUSFIRSTFIELD) {
    if (Edit_Societe->CanFocus()) Edit_Societe->SetFocus();
    return;
  }
  TPageForm::Dispatch(m);
}

bool TForm_Params::NextRuleHolds() {
  return !Edit_Societe->Text().empty() && !Edit_Activite->Text().empty() && !Combo_Path->Text().empty() &&
         !Edit_Tel->Text().empty() && !Edit_Adresse->Text().empty() && int(Edit_Tel->Text().size()) >= kMinPhoneLength;
}

void TForm_Params::ApplyNextRule() { Form_Main->Btn_Next->SetEnabled(NextRuleHolds()); }

void TForm_Params::ColourField(TFmEdit* edit, bool filled) {
  edit->SetColor(filled ? kFilledFieldColor : kEmptyFieldColor);
}

void TForm_Params::Edit_SocieteChange(TObject*) {
  ApplyNextRule();
  ColourField(Edit_Societe, !Edit_Societe->Text().empty());
}

void TForm_Params::Edit_ActiviteChange(TObject*) {
  ApplyNextRule();
  ColourField(Edit_Activite, !Edit_Activite->Text().empty());
}

void TForm_Params::Edit_AdresseChange(TObject*) {
  ApplyNextRule();
  ColourField(Edit_Adresse, !Edit_Adresse->Text().empty());
}

void TForm_Params::Edit_TelChange(TObject*) {
  ApplyNextRule();
  ColourField(Edit_Tel, int(Edit_Tel->Text().size()) >= kMinPhoneLength);
}

void TForm_Params::Combo_PathPropertiesChange(TObject*) { ApplyNextRule(); }

// --- Installation ----------------------------------------------------------------------

namespace {

const char kInstallErrorCaption[] = "Erreur d'installation";
const char kConfirmCaption[] = "Confirmation de l'installation";
const char kNoFolderText[] =
    "Attention, le chemin d'installation choisis n'existe pas. Veuillez SVP faire choisir un chemin existant ?";
const char kCapitalText[] =
    "Attention, le capital social doit être un nombre (exemple : 1500000). Veuillez SVP corriger ce champ.";
const char kConfirmText[] = "Etes vous sur de vouloir installer l'application utilisant ces informations ?";
const char kOverwriteText[] =
    "Attention, Une installation de cette application a été détectée dans le chemin choisi. Voulez vous écraser "
    "cette installation et la remplacer par cette version ? (N.B: Vous risquez de perdre vos anciennes données.)";
const char kNoPackageText[] =
    "Attention, le package fichiers d'installation n'existe pas. Veuillez SVP contacter le support technique.";
const char kDamagedPackageText[] =
    "Attention, le package fichiers d'installation est endommagé ou n'est pas celui de cette application. Rien n'a "
    "été modifié. Veuillez SVP contacter le support technique.";
const char kUnwritableText[] =
    "Attention, l'installation ne peut pas écrire dans le chemin choisi (accès refusé, espace disque insuffisant "
    "ou fichier en cours d'utilisation). Rien n'a été modifié. Veuillez SVP choisir un autre chemin ou fermer "
    "l'application installée.";
const char kFailedText[] =
    "Attention, l'installation n'a pas pu être terminée pendant %s. Les fichiers, dossiers et raccourcis ajoutés "
    "par cette installation ont été supprimés.";
const char kStillThereText[] =
    "Ces fichiers d'une installation précédente restent en place et ont pu être remplacés :";

// The steps after the point of no return that can fail, as the failure
// message names them.
const char kExtractionStep[] = "l'extraction du package";
const char kShortcutsStep[] = "la création des raccourcis";
const char kConfigurationStep[] = "l'écriture de la configuration";
const char kRegistryStep[] = "l'inscription dans le registre";

String PackageFileName() { return os::GetCurrentDir() + "\\" + install::kPackageName; }

}  // namespace

void TForm_Params::Config_tblBeforeOpen(TDataSet*) {
  Config_tbl->SetDatabasePassword(install::kConfigDatabasePassword);
}

void TForm_Params::Societe_tblBeforeOpen(TDataSet*) {
  Societe_tbl->SetDatabasePassword(install::kConfigDatabasePassword);
}

void TForm_Params::ShowProgress(int percent) { PBar->SetPercent(uint16_t(percent)); }

// Everything the user can put right is checked here, before anything is
// written, so that a refusal leaves the page as it was.
bool TForm_Params::ConfirmInstallation(const String& productFolder, Variant& capital,
                                       install::PackageContents& package) {
  if (!os::DirectoryExists(Combo_Path->Text())) {
    Application->MessageBox(kNoFolderText, kInstallErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  if (!install::ReadCapital(Edit_CapitalS->Text(), capital)) {
    Application->MessageBox(kCapitalText, kInstallErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  if (Application->MessageBox(kConfirmText, kConfirmCaption, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
    return false;
  if (install::InstallationExists(productFolder) &&
      Application->MessageBox(kOverwriteText, kConfirmCaption, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
    return false;
  if (!os::FileExists(install::kPackageName)) {
    Application->MessageBox(kNoPackageText, kInstallErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  if (!install::VerifyPackage(*Archiver, PackageFileName(), package)) {
    Application->MessageBox(kDamagedPackageText, kInstallErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  if (!install::CanWriteProductFolder(productFolder, package)) {
    Application->MessageBox(kUnwritableText, kInstallErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  return true;
}

// Every file the installation may add: the package's files, the year's
// exercise file and the shortcuts, those of an earlier installation kept.
install::TInstallTrace TForm_Params::TraceInstallation(const String& productFolder,
                                                       const install::PackageContents& package) {
  install::TInstallTrace trace;
  for (const String& file : package.Files) trace.Note(productFolder + "\\" + file);
  trace.Note(productFolder + "\\Ex_Data\\DBEx_" + IntToStr(CurrentYear()) + ".FDB");
  for (const String& link : install::ShortcutFiles()) trace.NoteKept(link);
  return trace;
}

// The archive and the tables, closed after a failure so that their files
// can be removed; a close that fails in turn changes nothing more.
void TForm_Params::CloseSources() {
  auto quietly = [](const auto& close) {
    try {
      close();
    } catch (...) {
    }
  };
  quietly([this] { Archiver->CloseArchiveFile(); });
  quietly([this] { Config_tbl->Close(); });
  quietly([this] { Societe_tbl->Close(); });
}

// After a failure past the point of no return: what the run added is
// removed, the message says what stays, and the page is usable again.
void TForm_Params::ReportFailure(const char* step, const install::TInstallTrace& trace) {
  const std::vector<String> stay = trace.Undo();
  String text = Format(kFailedText, {step});
  if (!stay.empty()) {
    text += String("\r\n\r\n") + kStillThereText;
    for (const String& file : stay) text += "\r\n" + file;
  }
  ShowProgress(0);
  Form_Main->Btn_Quit->SetCaption("&Quitter");
  Form_Main->Btn_Previous->SetEnabled(true);
  ApplyNextRule();
  Application->MessageBox(text, kInstallErrorCaption, MB_OK | MB_ICONERROR);
}

void TForm_Params::Btn_InstallClick(TObject*) {
  const install::ProductPaths paths = install::PathsFor(Combo_Path->Text());
  Variant capital;
  install::PackageContents package;
  if (!ConfirmInstallation(paths.Product, capital, package)) return;

  // No way back from here: only Quit remains, unless a step fails and what
  // was added is taken back.
  Form_Main->Btn_Next->SetEnabled(false);
  Form_Main->Btn_Previous->SetEnabled(false);
  Form_Main->Btn_Quit->SetCaption("&Terminer");
  const install::TInstallTrace trace = TraceInstallation(paths.Product, package);
  const char* step = kExtractionStep;
  try {
    ShowProgress(10);
    os::ForceDirectories(paths.Product);
    ShowProgress(20);
    ExtractPackage(Combo_Path->Text());
    install::MakeYearlyFile(paths.Product, CurrentYear());
    ShowProgress(40);
    step = kShortcutsStep;
    install::CreateShortcuts(paths.Product);
    ShowProgress(60);
    step = kConfigurationStep;
    WriteConfigurationRows(paths.Product, paths.Stored, capital);
    step = kRegistryStep;
    install::WriteRegistryValues(paths.Stored);
    ShowProgress(90);
    ShowProgress(100);
  } catch (...) {
    // Whatever failed (the archiver, the database, the memory), the user
    // gets the installer's own words and an untouched folder.
    CloseSources();
    ReportFailure(step, trace);
    return;
  }
  ShowEndPage();
}

// A package entry that cannot be written stops the extraction with an
// exception: the archiver's questions are answered by the installer.
void TForm_Params::ExtractPackage(const String& chosenFolder) {
  Archiver->SetFileName(PackageFileName());
  ShowProgress(23);
  Archiver->SetPassword(install::kPackagePassword);
  ShowProgress(26);
  Archiver->OpenArchiveFile();
  ShowProgress(29);
  Archiver->SetBaseDir(chosenFolder + "\\MERVALDO\\Quillor_Pro\\");
  ShowProgress(32);
  Archiver->ExtractFilesByMask("*.*", install::kPackageSearchAttr, "");
  ShowProgress(33);
  Archiver->CloseArchiveFile();
  ShowProgress(36);
}

void TForm_Params::WriteConfigurationRows(const String& productFolder, const String& storedPath,
                                          const Variant& capital) {
  const String database = productFolder + "\\" + install::kConfigDatabaseName;
  Config_tbl->SetDatabaseName(database);
  Societe_tbl->SetDatabaseName(database);
  Config_tbl->SetTableName("Config");
  Societe_tbl->SetTableName("Societe");
  Config_tbl->Open();
  Societe_tbl->Open();
  Config_tbl->Edit();
  Societe_tbl->Edit();

  const TDateTime now = Now();
  Config_tbl->FieldByName("DDMP")->SetAsString("120");
  Config_tbl->FieldByName("Exercice")->SetAsString(IntToStr(CurrentYear()));
  Config_tbl->FieldByName("App_Path")->SetAsString(storedPath);
  Config_tbl->FieldByName("Prn_PdfPath")->SetAsString(storedPath + "\\Files_Export");
  Config_tbl->FieldByName("Save_Path")->SetAsString(storedPath + "\\BackUp");
  Config_tbl->FieldByName("Install_Date")->SetAsDateTime(Date());
  Config_tbl->FieldByName("Install_Time")->SetAsDateTime(now);
  ShowProgress(65);

  const std::pair<const char*, TFmEdit*> texts[] = {
      {"Societe", Edit_Societe}, {"Activite", Edit_Activite}, {"Adresse", Edit_Adresse}, {"Tel", Edit_Tel},
      {"Fax", Edit_Fax},         {"Email", Edit_Email},       {"URL", Edit_URL},         {"CBank", Edit_CBank},
      {"RC", Edit_RC},           {"MF", Edit_MF},             {"AI", Edit_AI},           {"NIF", Edit_NIF},
      {"NIS", Edit_NIS}};
  for (const auto& [field, edit] : texts) Societe_tbl->FieldByName(field)->SetAsString(edit->Text());
  // Read as a number before anything was written: the displayed text, with
  // its grouping and parentheses, is no float.
  Societe_tbl->FieldByName("CapitalS")->SetValue(capital);
  ShowProgress(70);

  Config_tbl->Post();
  Societe_tbl->Post();
  Config_tbl->Close();
  Societe_tbl->Close();
  ShowProgress(80);
}

void TForm_Params::ShowEndPage() {
  Form_Main->Btn_Next->SetVisible(false);
  Form_Main->Btn_Previous->SetVisible(false);
  Close();
  Form_Main->ShowPage(Form_Finish);
  Form_Main->CB_Accept->SetVisible(false);
}
