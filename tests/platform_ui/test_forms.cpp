// Forms and the application object: closing with CloseQuery and OnClose,
// embedded forms, modal forms, the default exception handler, hints, and the
// order in which the application frees its forms at exit.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/StandardControls.h"
#include "platform/ui/Timers.h"
#include "tools/driver/Driver.h"

namespace {

// Answers the next message box of this process from another thread, the
// way a person would, and keeps what it showed.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(String button) : button_(std::move(button)) {
    thread_ = std::thread([this] {
      DWORD start = GetTickCount();
      while (GetTickCount() - start < 10000) {
        HWND box = FindBox();
        if (box) {
          caption_ = driver::WindowText(box);
          for (HWND child : driver::Descendants(box))
            if (driver::WindowClass(child) == "Static" && !driver::WindowText(child).empty())
              text_ = driver::WindowText(child);
          answered_ = driver::AnswerMessageBox(box, button_);
          return;
        }
        Sleep(20);
      }
    });
  }
  ~BoxAnswerer() { Join(); }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  const String& Caption() { Join(); return caption_; }
  const String& Text() { Join(); return text_; }
  bool Answered() { Join(); return answered_; }

 private:
  static HWND FindBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        mainThread, [](HWND w, LPARAM data) -> BOOL {
          if (IsWindowVisible(w) && driver::WindowClass(w) == "#32770") {
            *reinterpret_cast<HWND*>(data) = w;
            return FALSE;
          }
          return TRUE;
        },
        LPARAM(&found));
    return found;
  }

 public:
  static inline DWORD mainThread = GetCurrentThreadId();

 private:
  String button_;
  std::thread thread_;
  String caption_, text_;
  std::atomic<bool> answered_{false};
};

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    BoxAnswerer::mainThread = GetCurrentThreadId();
  }
};

TEST_F(FormsTest, CloseQueryCanVetoAndOnCloseChoosesTheAction) {
  TForm form(nullptr);
  bool allow = false;
  std::vector<String> trail;
  form.OnCloseQuery = [&](TObject*, bool& canClose) {
    trail.push_back("query");
    canClose = allow;
  };
  form.OnClose = [&](TObject*, TCloseAction& action) {
    trail.push_back("close");
    EXPECT_EQ(action, caHide);
  };
  form.Show();
  Application->ProcessMessages();
  ASSERT_TRUE(form.Showing());
  // The system menu's close arrives as WM_CLOSE.
  SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form.Showing());
  allow = true;
  form.Close();
  EXPECT_FALSE(form.Showing());
  EXPECT_FALSE(form.Visible());
  const std::vector<String> expected = {"query", "query", "close"};
  EXPECT_EQ(trail, expected);
  // caNone keeps the form.
  form.Show();
  form.OnClose = [](TObject*, TCloseAction& action) { action = caNone; };
  form.Close();
  EXPECT_TRUE(form.Showing());
}

TEST_F(FormsTest, EmbeddedBorderlessFormFillsItsParent) {
  TForm host(nullptr);
  host.SetBorderStyle(bsDialog);
  host.SetClientSize(400, 300);
  TPanel work(&host);
  work.SetParent(&host);
  work.SetBounds(100, 0, 300, 250);
  work.SetBevelOuter(bvNone);
  host.Show();
  int shows = 0;
  TForm page(nullptr);
  page.SetBorderStyle(bsNone);
  page.SetColor(clWhite);
  page.OnShow = [&](TObject*) { ++shows; };
  page.SetParent(&work);
  page.SetAlign(alClient);
  page.Show();
  Application->ProcessMessages();
  EXPECT_TRUE(page.Showing());
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(GetParent(page.Handle()), work.Handle());
  EXPECT_EQ(page.BoundsRect(), TRect(0, 0, 300, 250));
  LONG style = GetWindowLongA(page.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_CAPTION);
  work.SetBounds(100, 0, 280, 200);
  EXPECT_EQ(page.BoundsRect(), TRect(0, 0, 280, 200));
  // Closing a page hides it.
  page.Close();
  EXPECT_FALSE(page.Showing());
  EXPECT_TRUE(work.Showing());
}

TEST_F(FormsTest, ShowModalReturnsTheModalResultOfAButton) {
  TForm dialog(nullptr);
  dialog.SetBorderStyle(bsDialog);
  TButton ok(&dialog);
  ok.SetParent(&dialog);
  ok.SetModalResult(mrOk);
  TTimer press(&dialog);
  press.SetInterval(30);
  press.SetOnTimer([&](TObject*) {
    press.SetEnabled(false);
    SendMessageA(ok.Handle(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_THROW({ dialog.Show(); dialog.ShowModal(); }, EInvalidOperation);
}

TEST_F(FormsTest, AnExceptionInAHandlerReachesTheDefaultHandlerAsAMessageBox) {
  Application->SetTitle("Handler test");
  TForm form(nullptr);
  TButton button(&form);
  button.SetParent(&form);
  button.OnClick = [](TObject*) { throw EInvalidOperation("Nothing to install"); };
  form.Show();
  Application->ProcessMessages();
  {
    BoxAnswerer answerer("OK");
    // The click travels as a real message; the handler's exception must
    // not cross the window procedure.
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(answerer.Answered());
    EXPECT_EQ(answerer.Text(), "Nothing to install");
    EXPECT_EQ(answerer.Caption(), "Handler test");
  }
  // OnException takes over; EAbort stays silent.
  std::vector<String> reported;
  Application->OnException = [&](TObject*, const Exception& e) { reported.push_back(e.Message()); };
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  button.OnClick = [](TObject*) { Abort(); };
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  Application->OnException = nullptr;
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], "Nothing to install");
}

TEST_F(FormsTest, HintsShowThroughTheReplaceableHintWindow) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  TButton button(&form);
  button.SetParent(&form);
  button.SetHint("Next step|Goes to the next page");
  button.SetShowHint(true);
  int made = 0;
  THintWindowClass standard = Application->HintWindowClass();
  Application->SetHintWindowClass([&](TComponent* owner) {
    ++made;
    return standard(owner);
  });
  Application->SetShowHint(false);
  Application->SetShowHint(true);
  EXPECT_EQ(made, 1);
  String shown;
  Application->OnShowHint = [&](String& hint, bool& canShow, THintInfo& info) {
    shown = hint;
    EXPECT_EQ(info.HintControl, &button);
  };
  form.Show();
  Application->ProcessMessages();
  // The mouse rests on the button: after the pause the hint shows.
  PostMessageA(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  DWORD start = GetTickCount();
  while (!Application->HintWindow()->Showing() && GetTickCount() - start < 3000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Application->ProcessMessages();
  }
  ASSERT_TRUE(Application->HintWindow()->Showing());
  EXPECT_EQ(shown, "Next step");
  EXPECT_EQ(Application->HintWindow()->Caption(), "Next step");
  EXPECT_EQ(Application->Hint(), "Goes to the next page");
  Application->CancelHint();
  EXPECT_FALSE(Application->HintWindow()->Showing());
  Application->OnShowHint = nullptr;
  Application->SetHintWindowClass(standard);
  Application->SetShowHint(false);
}

TEST_F(FormsTest, ScreenKnowsFormsCursorsAndMonitors) {
  EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(Screen->MonitorCount(), 1);
  EXPECT_EQ(Screen->Cursors(crArrow), LoadCursorA(nullptr, IDC_ARROW));
  HCURSOR custom = LoadCursorA(nullptr, IDC_HAND);
  Screen->SetCursors(2100, custom);
  EXPECT_EQ(Screen->Cursors(2100), custom);
  int before = Screen->FormCount();
  {
    TForm form(nullptr);
    EXPECT_EQ(Screen->FormCount(), before + 1);
    form.SetPosition(poScreenCenter);
    form.SetBounds(0, 0, 200, 100);
    form.Show();
    EXPECT_EQ(form.Left(), (Screen->Width() - 200) / 2);
    Application->ProcessMessages();
  }
  EXPECT_EQ(Screen->FormCount(), before);
}


// Tells, as it is freed, whether the application is still there and knows
// that it is going.
class ApplicationWitness : public TComponent {
 public:
  using TComponent::TComponent;
  ~ApplicationWitness() override {
    bool sound = Application && Application->IsDestroying();
    std::fprintf(stderr, "application %s\n", sound ? "sound" : "gone");
  }
};

// At program exit the application frees its forms, and what they own, while
// it is still the Application and marked destroying.
TEST(ApplicationDeathTest, FreesItsFormsWhileStillTheApplication) {
  EXPECT_EXIT(
      {
        auto* form = new TForm(Application);
        new ApplicationWitness(form);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "application sound");
}

}  // namespace
