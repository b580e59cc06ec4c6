// The parameters page: the company's identity data and the target folder.
// Next (on the main window) is enabled exactly while the mandatory fields
// hold the rule below, and each mandatory edit is coloured by whether it is
// filled. The page also holds the archiver and the two configuration tables
// that the installation uses.
#pragma once

#include "app/Install.h"
#include "app/PageForm.h"
#include "foundation/vxButtons.h"
#include "framed/FmBckgnd.h"
#include "framed/FmEdit.h"
#include "framed/FmLabel.h"
#include "framed/FmPanel.h"
#include "framed/FmPrgres.h"
#include "platform/Variant.h"
#include "shell/vxShellComboBox.h"

class TDataSet;
class TTomeTable;
class TZipArchiver;

// The field colours: a filled mandatory field, an empty one.
constexpr TColor kFilledFieldColor = RGBColor(230, 255, 230);
constexpr TColor kEmptyFieldColor = RGBColor(255, 240, 240);
// The phone number's shortest length.
constexpr int kMinPhoneLength = 9;

class TForm_Params : public TPageForm {
 public:
  explicit TForm_Params(TComponent* owner);
  const char* ClassName() const override { return "TForm_Params"; }

  TFmGroupBox* FmGroupBox2;
  TFmLabel* FmLabel1;
  TFmLabel* FmLabel7;
  TFmSeparator* FmSeparator1;
  TFmSeparator* FmSeparator2;
  TFmProgressBar* PBar;
  TFmEdit* Edit_Societe;
  TFmEdit* Edit_Activite;
  TFmEdit* Edit_Adresse;
  TFmEdit* Edit_Tel;
  TFmEdit* Edit_Fax;
  TFmEdit* Edit_Email;
  TFmEdit* Edit_URL;
  TFmEdit* Edit_CBank;
  TFmEdit* Edit_RC;
  TFmEdit* Edit_MF;
  TFmEdit* Edit_AI;
  TFmEdit* Edit_NIF;
  TFmEdit* Edit_NIS;
  TFmNumericEdit* Edit_CapitalS;
  TvxShellComboBox* Combo_Path;
  TvxButton* Btn_Install;
  TZipArchiver* Archiver;
  TTomeTable* Config_tbl;
  TTomeTable* Societe_tbl;

  void FormShow(TObject* sender);
  void Edit_SocieteChange(TObject* sender);
  void Edit_ActiviteChange(TObject* sender);
  void Edit_AdresseChange(TObject* sender);
  void Edit_TelChange(TObject* sender);
  void Combo_PathPropertiesChange(TObject* sender);
  // The installation: checks and confirmations that leave the page as it
  // was, then extraction, yearly file, shortcuts, configuration rows,
  // registry values and the end page.
  void Btn_InstallClick(TObject* sender);
  void Config_tblBeforeOpen(TDataSet* dataSet);
  void Societe_tblBeforeOpen(TDataSet* dataSet);

  // True when every mandatory field is filled and the phone number is long
  // enough.
  bool NextRuleHolds();

  void Dispatch(TMessage& message) override;

 private:
  void MakeLabels();
  void MakeFields();
  TFmEdit* MakeEdit(TFmEdit* edit, int left, int top, int width, int maxLength, int tabOrder, const char* hint);
  void ApplyNextRule();
  // Steps before the point of no return; false when the user must act.
  bool ConfirmInstallation(const String& productFolder, Variant& capital, install::PackageContents& package);
  install::TInstallTrace TraceInstallation(const String& productFolder, const install::PackageContents& package);
  void CloseSources();
  void ReportFailure(const char* step, const install::TInstallTrace& trace);
  void ShowProgress(int percent);
  void ExtractPackage(const String& chosenFolder);
  void WriteConfigurationRows(const String& productFolder, const String& storedPath, const Variant& capital);
  void ShowEndPage();
  static void ColourField(TFmEdit* edit, bool filled);
};

extern TForm_Params* Form_Params;
