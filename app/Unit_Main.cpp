#include "app/Unit_Main.h"

#include <cmath>
#include <cstdio>

#include "app/Contrat.h"
#include "app/Fonts.h"
#include "app/Params.h"
#include "app/Pictures.h"
#include "app/Welcome.h"
#include "platform/OsFiles.h"
#include "platform/ui/Dialogs.h"

TForm_Main* Form_Main = nullptr;

namespace {

const char kCaption[] = "Software MERVALDO Installer v  3.7";
const char kNotAcceptedText[] =
    "Attention, vous n'avez pas accepté le contrat d'utilisation de cet application. Installation impossible.";
const char kInstallErrorCaption[] = "Erreur d'installation";
const char kQuitQuestion[] = "Etes vous sur de vouloir quitter l'assistant d'installation ?";

// The splash's status lines: HTML text, the pause after it, and the progress
// reached then.
struct SplashStep {
  const char* Html;
  uint32_t SleepMs;
  int Progress;
};
const SplashStep kSplashSteps[] = {
    {"<IMG src=\"system\"><FONT size=\"16\" color=\"#A45302\">Vérification de système...</FONT><br>", 1500, 10},
    {"<IMG src=\"package\"><FONT size=\"16\" color=\"#A45302\">Vérification de package...</FONT><br>", 2000, 20},
    {"<IMG src=\"register\"><FONT size=\"16\" color=\"#A45302\">Vérification de registre...</FONT><br>", 1000, 30},
    {"<IMG src=\"folders\"><FONT size=\"16\" color=\"#A45302\">Préparation de répertoires...</FONT><br>", 1500, 40},
    {"<IMG src=\"files\"><FONT size=\"16\" color=\"#A45302\">Préparation de fichiers...</FONT><br>", 2000, 50},
};
const char kStartingHtml[] = "<FONT size=\"16\" color=\"#A45302\">Démarrage de l'assistant...</FONT>";

template <typename T>
T* Make(TForm_Main* form, TWinControl* parent, int left, int top, int width, int height) {
  T* control = new T(form);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

TvxButton* MakeWizardButton(TForm_Main* form, int left, const char* caption, const char* hint, const char* glyph,
                            int tabOrder) {
  TvxButton* button = Make<TvxButton>(form, form, left, 410, 97, 28);
  button->SetCaption(caption);
  button->SetHint(hint);
  button->SetShowHint(true);
  AssignFont(button->Font(), "Tahoma", -13, fsBold);
  pictures::Load(button->Glyph(), glyph);
  button->SetTabOrder(tabOrder);
  return button;
}

// The test switch of the splash: the environment variable
// QE_SETUP_SPLASH_WAITS, a percentage from 0 to 100, shortens every wait of
// the splash sequence to that share; lines, pictures and progress stay as
// they are. Unset (or not a number) the waits are whole. The end-to-end
// tests pay the whole sequence once per run and start short otherwise.
uint32_t SplashWait(uint32_t ms) {
  static const uint32_t percent = [] {
    char text[8] = {};
    const DWORD n = GetEnvironmentVariableA("QE_SETUP_SPLASH_WAITS", text, sizeof text);
    int32_t value = 100;
    if (n == 0 || n >= sizeof text || !TryStrToInt(text, value) || value < 0 || value > 100) return 100u;
    return uint32_t(value);
  }();
  return ms * percent / 100;
}

// Halves go to the even neighbour, as the platform's Round does.
int RoundHalfEven(double value) { return int(std::nearbyint(value)); }

}  // namespace

TForm_Main::TForm_Main(TComponent* owner) : TForm(owner) {
  SetBorderStyle(bsDialog);
  SetCaption(kCaption);
  SetColor(clBtnFace);
  AssignFont(Font(), "MS Sans Serif", -11, 0);
  SetClientSize(784, 442);

  Image1 = Make<TImage>(this, this, 0, 0, 153, 401);
  pictures::Load(Image1->Picture()->Bitmap(), pictures::kSideBand);
  Img1 = Make<TImage>(this, this, 8, 408, 16, 16);
  Img1->SetVisible(false);
  pictures::Load(Img1->Picture()->Bitmap(), pictures::kGlyphNext);
  Img2 = Make<TImage>(this, this, 32, 408, 16, 16);
  Img2->SetVisible(false);
  pictures::Load(Img2->Picture()->Bitmap(), pictures::kGlyphInstall);

  Panel_Work_Area = Make<TFmPanel>(this, this, 152, 0, 633, 401);
  Panel_Work_Area->SetBorderSides(0);

  Btn_Next = MakeWizardButton(this, 544, "&Suivant", "Etape suivante", pictures::kGlyphNext, 0);
  Btn_Next->SetLayout(blGlyphRight);
  Btn_Previous = MakeWizardButton(this, 440, "&Précédent", "Etape précédente", pictures::kGlyphPrevious, 1);
  Btn_Previous->SetEnabled(false);
  Btn_Quit = MakeWizardButton(this, 678, "&Quitter", "Quitter l'assistant d'installation", pictures::kGlyphQuit, 2);
  Panel_Work_Area->SetTabOrder(3);

  CB_Accept = Make<TvxCheckBox>(this, this, 192, 416, 225, 17);
  CB_Accept->SetCaption("J'aacept le contrat d'utilisation");
  AssignFont(CB_Accept->Style()->Font(), "Tahoma", -13, fsBold);
  CB_Accept->Style()->SetIsFontAssigned(true);
  CB_Accept->SetTransparent(true);
  CB_Accept->SetTabOrder(4);

  vdSkinController1 = new TvdSkinController(this);
  vdSkinController1->SetSkinName("Black");

  GDIPPictureContainer1 = new TGDIPPictureContainer(this);
  for (const char* name : pictures::kStatusNames) {
    TPictureItem* item = GDIPPictureContainer1->Items()->Add();
    item->SetName(name);
    pictures::Load(item->Picture(), "STATUS_" + UpperCase(name));
  }

  FmBalloonHints1 = new TFmBalloonHints(this);
  FmBalloonHints1->Bitmaps()->SetTransparentColor(clOlive);
  FmBalloonHints1->SetCenterThreshold(0);
  FmBalloonHints1->SetFrameColor(cl3DDkShadow);
  AssignFont(FmBalloonHints1->Font(), "Tahoma", -11, 0, clInfoText);

  Btn_Next->OnClick = [this](TObject* s) { Btn_NextClick(s); };
  Btn_Previous->OnClick = [this](TObject* s) { Btn_PreviousClick(s); };
  Btn_Quit->OnClick = [this](TObject* s) { Btn_QuitClick(s); };
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };

  // Last, as when the form is read: the splash shows and hooks OnShow.
  CreateSplash();
  Splash->Loaded();
}

void TForm_Main::CreateSplash() {
  Splash = new TLuxSmoothSplashScreen(this);
  TSplashHeadingText& name = Splash->BasicProgramInfo()->ProgramName;
  name.SetText("Software MERVALDO Installer 3.7");
  AssignFont(name.Font(), "Tahoma", -24, fsBold);
  name.Location = ilCustom;
  name.PosX = 20;
  name.PosY = 10;
  name.ColorStart = RGBColor(133, 201, 241);
  name.ColorEnd = RGBColor(251, 254, 255);
  TSplashHeadingText& version = Splash->BasicProgramInfo()->ProgramVersion;
  version.SetText("Quillor Pro 5.8 B1");
  AssignFont(version.Font(), "Tahoma", -16, fsBold);
  version.Location = ilCustom;
  version.PosX = 418;
  version.PosY = 80;
  version.ColorStart = clYellow;
  version.ColorEnd = RGBColor(232, 244, 244);
  // The texts above are the form's own: the version resource is not read.
  Splash->BasicProgramInfo()->AutoLoad = false;

  TGDIPFill* fill = Splash->Fill();
  pictures::Load(fill->Picture(), pictures::kSplash);
  fill->SetColor(clNone);
  fill->SetBorderColor(clNone);
  fill->SetOpacity(249);

  TGDIPSplashProgress* bar = Splash->ProgressBar();
  bar->SetVisible(true);
  bar->SetLeft(140);
  bar->SetTop(300);
  bar->SetWidth(320);
  bar->SetHeight(20);
  bar->SetValueVisible(true);
  bar->SetValueType(vtPercentage);
  bar->BackGroundFill()->SetColor(RGBColor(236, 242, 248));
  bar->BackGroundFill()->SetColorTo(RGBColor(206, 218, 232));
  bar->BackGroundFill()->SetBorderColor(clGray);
  bar->ProgressFill()->SetColor(RGBColor(0, 213, 128));
  bar->ProgressFill()->SetColorTo(RGBColor(1, 124, 150));
  AssignFont(bar->Font(), "Tahoma", -13, 0);
  AssignFont(bar->ProgressFont(), "Tahoma", -13, 0, clWhite);

  TListItemsRect& list = Splash->ListItemsSettings()->Rect;
  list.Left = 75;
  list.Top = 125;
  list.Width = 500;
  list.Height = 250;
  AssignFont(Splash->ListItemsSettings()->HTMLFont(), "Tahoma", -11, 0);
  Splash->SetPictureContainer(GDIPPictureContainer1);
  Splash->OnCloseRequest = [this](TObject*) { SplashCloseRequest(); };
  KeepSplashPushes();
}

// The test switch QE_SETUP_SPLASH_PUSHES names a folder: every buffer that
// the layered splash pushes is saved there as "push-NNN.png", and a line of
// "pushes.txt" gives its number, its alpha, the count of status lines and
// the progress.
void TForm_Main::KeepSplashPushes() {
  char dir[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("QE_SETUP_SPLASH_PUSHES", dir, sizeof dir);
  if (n == 0 || n >= sizeof dir) return;
  const String folder(dir);
  Splash->OnPushLayered = [this, folder, count = 0](TGPBitmap& buffer, uint8_t alpha) mutable {
    char name[32];
    std::snprintf(name, sizeof name, "push-%03d.png", ++count);
    buffer.SaveToPngFile(folder + "\\" + name);
    char line[96];
    std::snprintf(line, sizeof line, "%d %d %d %.0f\r\n", count, alpha, Splash->ListItems()->Count(),
                  Splash->ProgressBar()->Position());
    if (FILE* log = std::fopen((folder + "\\pushes.txt").c_str(), "ab")) {
      std::fputs(line, log);
      std::fclose(log);
    }
  };
}

// Closing the splash's window asks to leave the wizard. The request waits in
// the queue until the main window shows, where the close query answers it;
// the splash sequence itself runs on.
void TForm_Main::SplashCloseRequest() { PostMessageA(Handle(), WM_CLOSE, 0, 0); }

void TForm_Main::SetSplashProgress(int percent) { Splash->ProgressBar()->SetPosition(double(percent)); }

void TForm_Main::FormCreate(TObject*) {
  Splash->Show();
  Splash->BeginUpdate();
  TSplashHeadingText& version = Splash->BasicProgramInfo()->ProgramVersion;
  version.SetText("Application: " + version.Text());
  version.Location = ilCustom;
  version.PosX = 290;
  Splash->EndUpdate();

  TListItemsRect& list = Splash->ListItemsSettings()->Rect;
  list.Left = 150;
  list.Top = 260;
  list.Height = 50;
  os::SleepMs(SplashWait(1000));

  auto addLine = [this](const char* html) {
    TSplashListItem* item = Splash->ListItems()->Add();
    item->BeginUpdate();
    item->SetHTMLText(html);
    item->EndUpdate();
  };
  for (const SplashStep& step : kSplashSteps) {
    addLine(step.Html);
    os::SleepMs(SplashWait(step.SleepMs));
    SetSplashProgress(step.Progress);
  }
  Splash->ListItems()->Clear();
  addLine(kStartingHtml);

  for (int i = 50; Splash->ProgressBar()->Position() < 100; ++i) {
    os::SleepMs(SplashWait(1));
    SetSplashProgress(i);
  }
  Splash->ActivateFormLater(Form_Main);
}

void TForm_Main::FormShow(TObject*) {
  SetLeft(RoundHalfEven(Screen->Width() / 2.0) - 400);
  SetTop(RoundHalfEven(Screen->Height() / 2.0) - 240);
  ShowPage(Form_Welcome);
}

void TForm_Main::Btn_NextClick(TObject*) {
  if (Form_Welcome->Showing()) {
    Form_Welcome->Close();
    ShowPage(Form_Contrat);
    Btn_Previous->SetEnabled(true);
  } else if (Form_Contrat->Showing()) {
    if (!CB_Accept->Checked()) {
      Application->MessageBox(kNotAcceptedText, kInstallErrorCaption, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    Form_Contrat->Close();
    ShowPage(Form_Params);
    Btn_Next->SetCaption("&Installer");
    Btn_Next->SetGlyph(Img2->Picture()->Bitmap());
    Btn_Next->SetEnabled(false);
  } else if (Form_Params->Showing()) {
    Form_Params->Btn_InstallClick(nullptr);
  }
}

void TForm_Main::Btn_PreviousClick(TObject*) {
  if (Form_Contrat->Showing()) {
    Form_Contrat->Close();
    ShowPage(Form_Welcome);
    Btn_Previous->SetEnabled(false);
  }
  if (Form_Params->Showing()) {
    Form_Params->Close();
    ShowPage(Form_Contrat);
    Btn_Next->SetCaption("&Suivant");
    Btn_Next->SetGlyph(Img1->Picture()->Bitmap());
    Btn_Next->SetEnabled(true);
  }
}

void TForm_Main::Btn_QuitClick(TObject*) { Close(); }

void TForm_Main::FormCloseQuery(TObject*, bool& canClose) {
  canClose = MessageDlg(kQuitQuestion, mtConfirmation, mbYesNo) == mrYes;
}
