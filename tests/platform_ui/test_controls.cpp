// The window machinery: message dispatch and WindowProc chaining, mouse
// enter and leave, accelerators through CM_DIALOGCHAR, focus order by
// TabOrder, alignment and anchors, notifications that name a child by its
// control identifier, and the lines of a memo.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/StandardControls.h"

namespace {

// A shown top-level form for the tests of this file.
class ShownForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(50, 50, 400, 300);
    form_->SetCaption("Test form");
  }
  void TearDown() override { form_.reset(); }
  void ShowAndSettle() {
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Application->ProcessMessages();
  }
  void Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    PostMessageA(window, msg, wParam, lParam);
    Application->ProcessMessages();
  }
  std::unique_ptr<TForm> form_;
};

TEST_F(ShownForm, WindowProcIsReplaceableAndChainable) {
  TPanel panel(form_.get());
  panel.SetParent(form_.get());
  std::vector<String> seen;
  TWndMethod original = panel.WindowProc();
  panel.SetWindowProc([&, original](TMessage& m) {
    if (m.Msg == WM_USER + 7) seen.push_back("hook");
    original(m);
  });
  panel.OnResize = [&](TObject*) { seen.push_back("resize"); };
  EXPECT_EQ(panel.Perform(WM_USER + 7, 1, 2), 0);
  panel.SetBounds(0, 0, 50, 50);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "hook");
  EXPECT_EQ(seen[1], "resize");
  // The window procedure reaches the replaced WindowProc too.
  SendMessageA(panel.Handle(), WM_USER + 7, 0, 0);
  EXPECT_EQ(seen.back(), "hook");
}

// A window of the process leads to its control while it lives, a new
// window of the same control leads to it again, and windows that belong to
// no control (the desktop, a bare window) lead nowhere.
TEST_F(ShownForm, WindowsLeadToTheirControls) {
  TPanel panel(form_.get());
  panel.SetParent(form_.get());
  const HWND first = panel.Handle();
  EXPECT_EQ(TWinControl::FindControl(first), &panel);
  EXPECT_EQ(TWinControl::FindControl(form_->Handle()), form_.get());
  panel.RecreateWnd();
  const HWND second = panel.Handle();
  ASSERT_NE(second, first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(TWinControl::FindControl(first), nullptr);
  EXPECT_EQ(TWinControl::FindControl(second), &panel);

  EXPECT_EQ(TWinControl::FindControl(GetDesktopWindow()), nullptr);
  const HWND bare = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, form_->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(TWinControl::FindControl(bare), nullptr);
  DestroyWindow(bare);
}

TEST_F(ShownForm, WindowClassNamesAreTheControlClassNames) {
  TButton button(form_.get());
  button.SetParent(form_.get());
  TPanel panel(form_.get());
  panel.SetParent(form_.get());
  TEdit edit(form_.get());
  edit.SetParent(form_.get());
  char name[64];
  GetClassNameA(button.Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TButton");
  GetClassNameA(panel.Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TPanel");
  GetClassNameA(edit.Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TEdit");
  GetClassNameA(form_->Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TForm");
  // The system's behaviour stays: the edit holds what is typed.
  edit.SetText("abc");
  EXPECT_EQ(GetWindowTextLengthA(edit.Handle()), 3);
}

TEST_F(ShownForm, MouseEnterAndLeaveFollowTheMouse) {
  TPanel left(form_.get()), right(form_.get());
  left.SetParent(form_.get());
  right.SetParent(form_.get());
  left.SetBounds(0, 0, 100, 100);
  right.SetBounds(200, 0, 100, 100);
  TLabel label(form_.get());
  label.SetParent(&right);
  label.SetAutoSize(false);
  label.SetBounds(10, 10, 40, 20);
  std::vector<String> events;
  auto log = [&](const char* what) { return [&events, what](TObject*) { events.push_back(what); }; };
  left.OnMouseEnter = log("enter left");
  left.OnMouseLeave = log("leave left");
  right.OnMouseEnter = log("enter right");
  right.OnMouseLeave = log("leave right");
  label.OnMouseEnter = log("enter label");
  label.OnMouseLeave = log("leave label");
  // The parent hears of its children's enter with the child in LParam.
  std::vector<LPARAM> parentHeard;
  TWndMethod original = right.WindowProc();
  right.SetWindowProc([&, original](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER && m.LParam) parentHeard.push_back(m.LParam);
    original(m);
  });
  ShowAndSettle();
  Send(left.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Send(right.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(80, 80));
  Send(right.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));  // over the label
  Send(right.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(80, 80));
  const std::vector<String> expected = {"enter left",  "leave left",  "enter right",
                                        "leave right", "enter label", "leave label", "enter right"};
  EXPECT_EQ(events, expected);
  ASSERT_EQ(parentHeard.size(), 1u);
  EXPECT_EQ(parentHeard[0], LPARAM(&label));
}

TEST_F(ShownForm, AcceleratorsReachControlsThroughDialogChar) {
  TEdit edit(form_.get());
  edit.SetParent(form_.get());
  TButton save(form_.get());
  save.SetParent(form_.get());
  save.SetCaption("&Save");
  save.SetTop(40);
  TCheckBox check(form_.get());
  check.SetParent(form_.get());
  check.SetCaption("&Keep");
  check.SetTop(80);
  TButton disabled(form_.get());
  disabled.SetParent(form_.get());
  disabled.SetCaption("&Delete");
  disabled.SetTop(120);
  disabled.SetEnabled(false);
  int saves = 0, deletes = 0;
  save.OnClick = [&](TObject*) { ++saves; };
  disabled.OnClick = [&](TObject*) { ++deletes; };
  ShowAndSettle();
  edit.SetFocus();
  Application->ProcessMessages();
  ASSERT_TRUE(edit.Focused());

  // Alt+S typed in the edit: the system turns it into WM_SYSCHAR.
  Send(edit.Handle(), WM_SYSCHAR, 's', 0x20000001);
  EXPECT_EQ(saves, 1);
  // A plain letter belongs to the edit, not to the accelerators.
  Send(edit.Handle(), WM_CHAR, 's', 1);
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(edit.Text(), "s");
  // Direct CM_DIALOGCHAR: the check box toggles, a disabled button ignores it.
  EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'k'), 1);
  EXPECT_TRUE(check.Checked());
  EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'd'), 0);
  EXPECT_EQ(deletes, 0);
  EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, 'x'), 0);
}

TEST_F(ShownForm, TabMovesTheFocusInTabOrder) {
  TEdit a(form_.get()), b(form_.get()), c(form_.get());
  TPanel panel(form_.get());
  TEdit inner(form_.get());
  for (TEdit* e : {&a, &b, &c}) e->SetParent(form_.get());
  panel.SetParent(form_.get());
  inner.SetParent(&panel);
  a.SetName("a");
  b.SetName("b");
  c.SetName("c");
  inner.SetName("inner");
  // Order: c, panel (with inner), a, b.
  c.SetTabOrder(0);
  panel.SetTabOrder(1);
  EXPECT_EQ(c.TabOrder(), 0);
  EXPECT_EQ(a.TabOrder(), 2);
  EXPECT_EQ(b.TabOrder(), 3);
  std::vector<String> trail;
  for (TEdit* e : {&a, &b, &c, &inner}) {
    e->OnEnter = [&trail, e](TObject*) { trail.push_back("enter " + e->Name()); };
    e->OnExit = [&trail, e](TObject*) { trail.push_back("exit " + e->Name()); };
  }
  ShowAndSettle();
  c.SetFocus();
  Application->ProcessMessages();
  auto tab = [&](bool back) {
    HWND focus = GetFocus();
    if (back) PostMessageA(focus, WM_KEYDOWN, VK_SHIFT, 1);
    Send(focus, WM_KEYDOWN, VK_TAB, 1);
    if (back) Send(focus, WM_KEYUP, VK_SHIFT, 0xC0000001);
  };
  tab(false);
  EXPECT_TRUE(inner.Focused());  // the panel itself takes no focus
  tab(false);
  EXPECT_TRUE(a.Focused());
  tab(false);
  EXPECT_TRUE(b.Focused());
  tab(false);
  EXPECT_TRUE(c.Focused());  // round again
  const std::vector<String> expected = {"enter c", "exit c",     "enter inner", "exit inner", "enter a",
                                        "exit a",  "enter b",    "exit b",      "enter c"};
  EXPECT_EQ(trail, expected);
  // Without TabStop a control is skipped.
  inner.SetTabStop(false);
  form_->SelectNext(&c, true, true);
  EXPECT_TRUE(a.Focused());
}

TEST_F(ShownForm, AlignAndAnchorsFollowTheParent) {
  TPanel top(form_.get()), client(form_.get()), anchored(form_.get());
  for (TPanel* p : {&top, &client, &anchored}) p->SetParent(form_.get());
  form_->SetClientSize(300, 200);
  top.SetHeight(30);
  top.SetAlign(alTop);
  client.SetAlign(alClient);
  anchored.SetBounds(250, 150, 40, 40);
  anchored.SetAnchors(akRight | akBottom);
  anchored.BringToFront();
  EXPECT_EQ(top.BoundsRect(), TRect(0, 0, 300, 30));
  EXPECT_EQ(client.BoundsRect(), TRect(0, 30, 300, 200));
  form_->SetClientSize(400, 260);
  EXPECT_EQ(top.BoundsRect(), TRect(0, 0, 400, 30));
  EXPECT_EQ(client.BoundsRect(), TRect(0, 30, 400, 260));
  EXPECT_EQ(anchored.BoundsRect(), TRect(350, 210, 390, 250));
  // The window follows the control.
  RECT r{};
  GetWindowRect(client.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 400);
}

TEST_F(ShownForm, ClicksBecomeClickEventsAndModalResults) {
  TButton ok(form_.get());
  ok.SetParent(form_.get());
  ok.SetModalResult(mrOk);
  int clicks = 0;
  ok.OnClick = [&](TObject*) { ++clicks; };
  ShowAndSettle();
  SendMessageA(ok.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form_->ModalResult(), mrOk);
  // A graphic control gets the click through its parent.
  TLabel label(form_.get());
  label.SetParent(form_.get());
  label.SetAutoSize(false);
  label.SetBounds(100, 100, 50, 20);
  int labelClicks = 0;
  label.OnClick = [&](TObject*) { ++labelClicks; };
  Send(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 110));
  Send(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(110, 110));
  EXPECT_EQ(labelClicks, 1);
}

// An owner-draw list asks its parent for its item height with
// WM_MEASUREITEM while its window is being made, naming itself by control
// identifier alone: with an edit made before it, the question must still
// reach the list, so every child has an identifier of its own.
TEST_F(ShownForm, MeasureItemReachesTheOwnerDrawListBehindAnEdit) {
  class TOwnerDrawList : public TListBox {
   public:
    using TListBox::TListBox;
    int measured = 0;
    void Dispatch(TMessage& m) override {
      if (m.Msg != CN_MEASUREITEM) return TListBox::Dispatch(m);
      ++measured;
      reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight = 23;
      m.Result = TRUE;
    }

   protected:
    void CreateParams(TCreateParams& p) override {
      TListBox::CreateParams(p);
      p.Style |= LBS_OWNERDRAWFIXED;
    }
  };
  TEdit edit(form_.get());
  edit.SetParent(form_.get());
  TOwnerDrawList list(form_.get());
  list.SetParent(form_.get());
  list.SetBounds(10, 40, 120, 100);
  edit.HandleNeeded();
  list.HandleNeeded();
  EXPECT_EQ(list.measured, 1);
  EXPECT_EQ(SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0), 23);
  EXPECT_NE(GetDlgCtrlID(edit.Handle()), GetDlgCtrlID(list.Handle()));
  EXPECT_EQ(GetDlgItem(form_->Handle(), GetDlgCtrlID(list.Handle())), list.Handle());
}


// Lines written one by one read back the same, blank ones included (last
// ones too), whether the memo's text ended with a line break or not.
TEST_F(ShownForm, MemoLinesKeepBlankLines) {
  TMemo memo(form_.get());
  memo.SetParent(form_.get());
  TStrings* lines = memo.Lines();
  auto all = [&] {
    std::vector<String> list;
    for (int i = 0; i < lines->Count(); ++i) list.push_back(lines->Strings(i));
    return list;
  };
  for (const char* line : {"first", "", "third", ""}) lines->Add(line);
  EXPECT_EQ(all(), (std::vector<String>{"first", "", "third", ""}));
  EXPECT_EQ(memo.Text(), "first\r\n\r\nthird\r\n\r\n");
  lines->Delete(2);
  EXPECT_EQ(all(), (std::vector<String>{"first", "", ""}));

  memo.SetText("typed\r\nby hand");
  lines->Add("");
  lines->Add("end");
  EXPECT_EQ(all(), (std::vector<String>{"typed", "by hand", "", "end"}));
}

}  // namespace
