// The parameters page in process: the Next rule, the field colours and the
// edits' limits, with the page embedded in a main window as the wizard
// shows it (the splash sequence is not run: OnCreate is not fired).
#include <gtest/gtest.h>

#include "tabledb/TomeDBFileSchema.h"
#include "tools/fixtures/WizardForms.h"
#include "tools/mkpackage/ConfigSchema.h"

namespace {

// The declared size of a field of the configuration database, as the
// package's own schema gives it; -1 when the table has no such field.
int DatabaseFieldSize(const char* table, const char* field) {
  static const TTomeSchema schema = ParseTomeSchema(kConfigSchema);
  for (const TTomeTableHeader& header : schema.Tables) {
    if (header.Name() != table) continue;
    for (int i = 0; i < header.FieldCount(); ++i)
      if (header.Field(i).Name == field) return header.Field(i).Size;
  }
  return -1;
}

class ParamsPage : public testing::Test {
 protected:
  void SetUp() override {
    // Through the wizard's own steps: welcome, agreement accepted, parameters.
    Form_Main = new TForm_Main(Application);
    Form_Main->Show();
    Form_Main->Btn_NextClick(nullptr);
    Form_Main->CB_Accept->SetChecked(true);
    Form_Main->Btn_NextClick(nullptr);
  }
  void TearDown() override { FreeWizardForms(); }
};

struct RuleCase {
  const char* Societe;
  const char* Activite;
  const char* Adresse;
  const char* Tel;
  const char* Path;
  bool NextEnabled;
};

TEST_F(ParamsPage, NextIsEnabledExactlyWhenTheMandatoryFieldsHold) {
  const RuleCase cases[] = {
      {"", "", "", "", "", false},
      {"ACME", "Vente", "1 rue", "12345678", "C:\\", false},   // phone one short
      {"ACME", "Vente", "1 rue", "123456789", "C:\\", true},
      {"ACME", "Vente", "1 rue", "         ", "C:\\", true},   // blanks count
      {"ACME", "Vente", "1 rue", "123456789", "", false},      // no folder
      {"", "Vente", "1 rue", "123456789", "C:\\", false},
      {"ACME", "", "1 rue", "123456789", "C:\\", false},
      {"ACME", "Vente", "", "123456789", "C:\\", false},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Societe << "|" << c.Activite << "|" << c.Adresse << "|" << c.Tel << "|"
                                    << c.Path);
    Form_Params->Edit_Societe->SetText(c.Societe);
    Form_Params->Edit_Activite->SetText(c.Activite);
    Form_Params->Edit_Adresse->SetText(c.Adresse);
    Form_Params->Edit_Tel->SetText(c.Tel);
    Form_Params->Combo_Path->SetText(c.Path);
    EXPECT_EQ(Form_Main->Btn_Next->Enabled(), c.NextEnabled);
  }
}

TEST_F(ParamsPage, EachMandatoryFieldIsColouredByItsOwnText) {
  TForm_Params* page = Form_Params;
  for (TFmEdit* edit : {page->Edit_Societe, page->Edit_Activite, page->Edit_Adresse, page->Edit_Tel})
    EXPECT_EQ(edit->Color(), kEmptyFieldColor);
  EXPECT_EQ(page->Edit_Fax->Color(), clWindow);

  page->Edit_Societe->SetText("ACME");
  EXPECT_EQ(page->Edit_Societe->Color(), kFilledFieldColor);
  EXPECT_EQ(page->Edit_Activite->Color(), kEmptyFieldColor);
  page->Edit_Tel->SetText("12345678");
  EXPECT_EQ(page->Edit_Tel->Color(), kEmptyFieldColor);
  page->Edit_Tel->SetText("123456789");
  EXPECT_EQ(page->Edit_Tel->Color(), kFilledFieldColor);
  // Clearing the name turns it back and takes Next away again.
  page->Edit_Activite->SetText("Vente");
  page->Edit_Adresse->SetText("1 rue");
  page->Combo_Path->SetText("C:\\");
  EXPECT_TRUE(Form_Main->Btn_Next->Enabled());
  page->Edit_Societe->SetText("");
  EXPECT_EQ(page->Edit_Societe->Color(), kEmptyFieldColor);
  EXPECT_FALSE(Form_Main->Btn_Next->Enabled());
  // Optional fields change nothing.
  page->Edit_Societe->SetText("ACME");
  page->Edit_Fax->SetText("");
  page->Edit_Email->SetText("x@y.z");
  EXPECT_TRUE(Form_Main->Btn_Next->Enabled());
}

// Every edit keeps at most what the configuration database's field keeps,
// so nothing typed is cut off when it is stored.
TEST_F(ParamsPage, NoEditTakesMoreThanItsDatabaseField) {
  TForm_Params* page = Form_Params;
  const std::pair<TFmEdit*, const char*> fields[] = {
      {page->Edit_Societe, "Societe"}, {page->Edit_Activite, "Activite"}, {page->Edit_Adresse, "Adresse"},
      {page->Edit_Tel, "Tel"},         {page->Edit_Fax, "Fax"},           {page->Edit_Email, "Email"},
      {page->Edit_URL, "URL"},         {page->Edit_CBank, "CBank"},       {page->Edit_RC, "RC"},
      {page->Edit_MF, "MF"},           {page->Edit_AI, "AI"},             {page->Edit_NIF, "NIF"},
      {page->Edit_NIS, "NIS"},
  };
  for (const auto& [edit, field] : fields) {
    const int size = DatabaseFieldSize("Societe", field);
    ASSERT_GT(size, 0) << field;
    EXPECT_EQ(edit->MaxLength(), size) << field;
    // The window enforces it on typing.
    EXPECT_EQ(int(SendMessageA(edit->Handle(), EM_GETLIMITTEXT, 0, 0)), size);
  }
}

// The blocking splash sequence, run as the program runs it (about 9 s).
TEST(Splash, SequenceEndsAtOneHundredWithTheStartingLine) {
  Form_Main = new TForm_Main(Application);
  TLuxSmoothSplashScreen* splash = Form_Main->Splash;
  EXPECT_TRUE(splash->Showing());
  const uint32_t start = GetTickCount();
  Form_Main->FormCreate(nullptr);
  EXPECT_GE(GetTickCount() - start, 9000u);
  EXPECT_EQ(splash->ProgressBar()->Position(), 100.0);
  EXPECT_EQ(splash->BasicProgramInfo()->ProgramVersion.Text(), "Application: Quillor Pro 5.8 B1");
  EXPECT_EQ(splash->BasicProgramInfo()->ProgramVersion.PosX, 290);
  const TListItemsRect& list = splash->ListItemsSettings()->Rect;
  EXPECT_EQ((std::vector<int>{list.Left, list.Top, list.Width, list.Height}), (std::vector<int>{150, 260, 500, 50}));
  ASSERT_EQ(splash->ListItems()->Count(), 1);
  EXPECT_EQ(splash->ListItems()->Items(0)->HTMLText(),
            "<FONT size=\"16\" color=\"#A45302\">D\xE9marrage de l'assistant...</FONT>");
  // Showing the main window closes the splash.
  Form_Main->Show();
  EXPECT_FALSE(splash->Showing());
  delete Form_Welcome;
  delete Form_Main;
  Form_Welcome = nullptr;
  Form_Main = nullptr;
}

TEST(Agreement, HoldsTheWholeLicenceText) {
  TForm_Contrat page(nullptr);
  EXPECT_EQ(page.Memo->Lines()->Count(), 207);
  EXPECT_EQ(page.Memo->Lines()->Get(0), "CONTRAT DE LICENCE D'UTILISATION DU LOGICIEL QUILLOR PRO");
  EXPECT_TRUE(page.Memo->ReadOnly());
}

}  // namespace
