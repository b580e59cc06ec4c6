// The demo program of the driver tests: a main form with a borderless page
// embedded in its work panel, each standard control, a timer, a hint and a
// message box.
#include "platform/ui/Forms.h"
#include "platform/ui/StandardControls.h"
#include "platform/ui/Timers.h"

namespace {

class TDemoPage : public TForm {
 public:
  explicit TDemoPage(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsNone);
    SetColor(clWhite);
    SetCaption("Page");
    Label_Name = Make<TLabel>(10, 14, 60, 17);
    Label_Name->SetCaption("&Name:");
    Edit_Name = Make<TEdit>(70, 10, 150, 21);
    Edit_Name->SetName("Edit_Name");
    Label_Name->SetFocusControl(Edit_Name);
    Btn_Greet = Make<TButton>(230, 8, 90, 25);
    Btn_Greet->SetCaption("&Greet");
    Btn_Greet->SetHint("Says hello to the name");
    Btn_Greet->SetShowHint(true);
    CB_Polite = Make<TCheckBox>(10, 44, 120, 17);
    CB_Polite->SetCaption("&Polite");
    List_Colours = Make<TListBox>(10, 70, 100, 80);
    for (const char* c : {"Red", "Green", "Blue"}) List_Colours->Items()->Add(c);
    List_Colours->SetItemIndex(1);
    Memo_Notes = Make<TMemo>(120, 70, 200, 80);
    Memo_Notes->Lines()->Add("First line");
    Memo_Notes->Lines()->Add("Second line");
    Image_Logo = Make<TImage>(330, 70, 40, 40);
    TBitmap* logo = Image_Logo->Picture()->Bitmap();
    logo->SetSize(40, 40);
    logo->Canvas()->Brush()->SetColor(clRed);
    logo->Canvas()->FillRect(TRect(0, 0, 40, 40));
    Panel_Status = Make<TPanel>(10, 160, 360, 30);
    Panel_Status->SetCaption("Status");
    Panel_Status->SetColor(clNavy);
    Panel_Status->Font()->SetColor(clWhite);
    Btn_Greet->OnClick = [this](TObject*) { Btn_GreetClick(); };
  }

  TLabel* Label_Name;
  TEdit* Edit_Name;
  TButton* Btn_Greet;
  TCheckBox* CB_Polite;
  TListBox* List_Colours;
  TMemo* Memo_Notes;
  TImage* Image_Logo;
  TPanel* Panel_Status;

 private:
  template <typename T>
  T* Make(int left, int top, int width, int height) {
    T* control = new T(this);
    control->SetParent(this);
    control->SetBounds(left, top, width, height);
    return control;
  }

  void Btn_GreetClick() {
    String greeting = (CB_Polite->Checked() ? "Good day, " : "Hello, ") + Edit_Name->Text();
    Application->MessageBox(greeting, "Greeting", MB_OK | MB_ICONINFORMATION);
    GetParentForm(this)->SetCaption("QE Demo - answered");
  }
};

class TDemoForm : public TForm {
 public:
  explicit TDemoForm(TComponent* owner) : TForm(owner) {
    SetCaption("QE Demo");
    SetBorderStyle(bsDialog);
    SetBounds(20, 20, 500, 300);
    SetClientSize(480, 260);
    Label_Ticks = new TLabel(this);
    Label_Ticks->SetParent(this);
    Label_Ticks->SetBounds(10, 235, 200, 17);
    Label_Ticks->SetCaption("Ticks: 0");
    Panel_Work = new TPanel(this);
    Panel_Work->SetParent(this);
    Panel_Work->SetBounds(60, 0, 420, 230);
    Panel_Work->SetBevelOuter(bvNone);
    Panel_Work->SetCaption("");
    Timer = new TTimer(this);
    Timer->SetInterval(100);
    Timer->SetOnTimer([this](TObject*) { Label_Ticks->SetCaption("Ticks: " + IntToStr(++ticks_)); });
    OnShow = [this](TObject*) { ShowPage(); };
  }

 private:
  void ShowPage() {
    Page = new TDemoPage(Application);
    Page->SetParent(Panel_Work);
    Page->SetAlign(alClient);
    Page->Show();
    Page->Edit_Name->SetFocus();
  }

  TLabel* Label_Ticks;
  TPanel* Panel_Work;
  TTimer* Timer;
  TDemoPage* Page = nullptr;
  int ticks_ = 0;
};

TDemoForm* Form_Demo;

}  // namespace

// With "--busy MS" the program works that long before it takes input, as
// one with a blocking splash sequence does.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const std::string_view line = commandLine, busy = "--busy ";
  if (line.starts_with(busy)) Sleep(DWORD(StrToInt(line.substr(busy.size()))));
  Application->Initialize();
  Application->SetTitle("QE Demo Application");
  Application->SetShowHint(true);
  Application->CreateForm(Form_Demo);
  Application->Run();
  return 0;
}
