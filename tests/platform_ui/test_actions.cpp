// Actions and their controls on a shown form: what an action's properties
// set on its controls, what a click executes, that either side may be freed
// first, check groups, the idle update; and two things of the same layer:
// the default-button look that follows the focus, and the text direction
// that controls take from their parent.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/Actions.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StandardControls.h"

namespace {

class ActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(60, 60, 400, 300);
    list_ = new TActionList(form_.get());
  }
  void TearDown() override { form_.reset(); }

  TAction* NewAction(const String& caption) {
    auto* action = new TAction(form_.get());
    action->SetActionList(list_);
    action->SetCaption(caption);
    return action;
  }
  template <typename T>
  T* Place(int top) {
    auto* control = new T(form_.get());
    control->SetParent(form_.get());
    control->SetBounds(10, top, 120, 24);
    return control;
  }
  void ShowAndSettle() {
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Application->ProcessMessages();
  }
  static String WindowText(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }

  std::unique_ptr<TForm> form_;
  TActionList* list_ = nullptr;
};

TEST_F(ActionsTest, PropertiesReachTheControlsAndFollowChanges) {
  TAction* action = NewAction("&Save");
  action->SetHint("Save the file");
  action->SetChecked(true);
  auto* button = Place<TButton>(10);
  auto* box = Place<TCheckBox>(40);
  button->SetCaption("old");
  ShowAndSettle();
  button->SetAction(action);
  box->SetAction(action);
  EXPECT_EQ(button->Action(), action);
  EXPECT_EQ(action->ClientCount(), 2);
  EXPECT_EQ(WindowText(button->Handle()), "&Save") << "the window shows the action's caption";
  EXPECT_EQ(button->Hint(), "Save the file");
  EXPECT_TRUE(box->Checked());
  EXPECT_FALSE(button->Checked()) << "a push button has no check mark";

  action->SetCaption("Save &as");
  action->SetEnabled(false);
  action->SetChecked(false);
  action->SetVisible(false);
  for (TControl* control : {static_cast<TControl*>(button), static_cast<TControl*>(box)}) {
    EXPECT_EQ(control->Caption(), "Save &as");
    EXPECT_FALSE(control->Enabled());
    EXPECT_FALSE(control->Visible());
  }
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));
  EXPECT_FALSE(box->Checked());

  // Without an action the control keeps what it was given last.
  button->SetAction(nullptr);
  EXPECT_EQ(action->ClientCount(), 1);
  action->SetCaption("other");
  EXPECT_EQ(button->Caption(), "Save &as");
}

TEST_F(ActionsTest, AClickExecutesTheActionUnlessTheControlHasItsOwnHandler) {
  TAction* action = NewAction("Run");
  std::vector<String> trail;
  action->OnExecute = [&](TObject* sender) { trail.push_back(sender == action ? "execute" : "wrong sender"); };
  action->SetAutoCheck(true);
  auto* button = Place<TButton>(10);
  button->SetAction(action);
  ShowAndSettle();
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(trail, std::vector<String>{"execute"});
  EXPECT_TRUE(action->Checked()) << "AutoCheck flips the check mark on execution";

  // The update before executing may disable the action: then nothing runs.
  action->OnUpdate = [&](TObject*) { action->SetEnabled(false); };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(trail.size(), 1u);
  EXPECT_TRUE(action->Checked());

  action->OnUpdate = nullptr;
  action->SetEnabled(true);
  button->OnClick = [&](TObject*) { trail.push_back("own handler"); };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(trail.back(), "own handler");
  EXPECT_EQ(trail.size(), 2u);
}

// Each case frees one side first and then exercises the other: a link left
// pointing at freed memory would be written through and crash or show.
TEST_F(ActionsTest, EitherSideMayBeFreedFirst) {
  {
    TAction* action = NewAction("Gone");
    auto* button = Place<TButton>(10);
    button->SetAction(action);
    delete action;
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(button->ActionLink(), nullptr) << "the control drops the link of a freed action";
    EXPECT_EQ(list_->ActionCount(), 0) << "a freed action leaves its list";
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->Click();
    EXPECT_EQ(clicks, 1);
    delete button;
  }
  {
    // A link of no control sees the action go too.
    TAction* action = NewAction("Gone too");
    TActionLink link;
    link.SetAction(action);
    ASSERT_EQ(action->ClientCount(), 1);
    delete action;
    EXPECT_EQ(link.Action(), nullptr);
    EXPECT_FALSE(link.Execute());
  }
  {
    TAction* action = NewAction("Stays");
    auto* first = Place<TButton>(10);
    auto* second = Place<TButton>(40);
    first->SetAction(action);
    second->SetAction(action);
    delete first;
    ASSERT_EQ(action->ClientCount(), 1);
    action->SetCaption("Still here");
    EXPECT_EQ(second->Caption(), "Still here");
    delete second;
    EXPECT_EQ(action->ClientCount(), 0);
    action->SetCaption("No one");
  }
  {
    // The list frees the actions it holds; their controls let go.
    auto* list = new TActionList(form_.get());
    auto* action = new TAction(form_.get());
    action->SetActionList(list);
    auto* button = Place<TButton>(10);
    button->SetAction(action);
    delete list;
    EXPECT_EQ(button->Action(), nullptr);
  }
  // The form frees its components last made first, whichever of action
  // and control that is.
  TAction* before = NewAction("Before");
  auto* early = Place<TButton>(70);
  auto* late = Place<TButton>(100);
  TAction* after = NewAction("After");
  early->SetAction(after);
  late->SetAction(before);
  form_.reset();
}

TEST_F(ActionsTest, CheckingAnActionOfAGroupUnchecksTheOthers) {
  TAction* left = NewAction("Left");
  TAction* centre = NewAction("Centre");
  TAction* other = NewAction("Other group");
  left->SetGroupIndex(1);
  centre->SetGroupIndex(1);
  other->SetGroupIndex(2);
  other->SetChecked(true);
  left->SetChecked(true);
  auto* box = Place<TCheckBox>(10);
  box->SetAction(left);
  centre->SetChecked(true);
  EXPECT_FALSE(left->Checked());
  EXPECT_FALSE(box->Checked()) << "the unchecked action's control follows";
  EXPECT_TRUE(other->Checked());
  // AutoCheck in a group only checks: executing the checked action keeps it.
  centre->SetAutoCheck(true);
  centre->Execute();
  EXPECT_TRUE(centre->Checked());
}

TEST_F(ActionsTest, IdleTimeUpdatesTheActionsOfVisibleControls) {
  TAction* shown = NewAction("Shown");
  TAction* hidden = NewAction("Hidden");
  int shownUpdates = 0, hiddenUpdates = 0;
  shown->OnUpdate = [&](TObject*) {
    ++shownUpdates;
    shown->SetEnabled(false);
  };
  hidden->OnUpdate = [&](TObject*) { ++hiddenUpdates; };
  auto* panel = Place<TPanel>(10);
  auto* inPanel = new TButton(form_.get());
  inPanel->SetParent(panel);
  inPanel->SetAction(shown);
  auto* invisible = Place<TButton>(50);
  invisible->SetAction(hidden);
  invisible->SetVisible(false);
  ShowAndSettle();

  // The idle handler leaves a message behind so that the wait after the
  // update returns at once.
  bool idled = false;
  Application->OnIdle = [&](TObject*, bool& done) {
    idled = true;
    done = true;
    PostMessageA(form_->Handle(), WM_NULL, 0, 0);
  };
  for (int i = 0; i < 20 && !idled; ++i) Application->HandleMessage();
  Application->OnIdle = nullptr;
  ASSERT_TRUE(idled);
  EXPECT_GE(shownUpdates, 1);
  EXPECT_FALSE(inPanel->Enabled()) << "the handler's change reaches the control";
  EXPECT_EQ(hiddenUpdates, 0);
}

// --- The default-button look -------------------------------------------------------------

TEST_F(ActionsTest, TheDefaultLookFollowsTheFocus) {
  auto* first = Place<TButton>(10);
  auto* second = Place<TButton>(40);
  auto* edit = Place<TEdit>(70);
  second->SetDefault(true);
  ShowAndSettle();
  auto isDefault = [](TButton* b) { return (GetWindowLongA(b->Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; };
  edit->SetFocus();
  Application->ProcessMessages();
  EXPECT_FALSE(isDefault(first));
  EXPECT_TRUE(isDefault(second)) << "the Default button while the focus is on no button";

  first->SetFocus();
  Application->ProcessMessages();
  EXPECT_TRUE(isDefault(first)) << "the focused button";
  EXPECT_FALSE(isDefault(second));

  PostMessageA(first->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Application->ProcessMessages();
  ASSERT_TRUE(second->Focused());
  EXPECT_FALSE(isDefault(first));
  EXPECT_TRUE(isDefault(second));

  edit->SetFocus();
  Application->ProcessMessages();
  EXPECT_TRUE(isDefault(second)) << "regained when the focus leaves the buttons";
  second->SetDefault(false);
  EXPECT_FALSE(isDefault(second));
  first->SetDefault(true);
  EXPECT_TRUE(isDefault(first));
}

// --- Text direction ---------------------------------------------------------------------------

TEST_F(ActionsTest, ControlsTakeTheirParentsTextDirection) {
  auto* panel = Place<TPanel>(10);
  auto* inner = new TButton(form_.get());
  inner->SetParent(panel);
  auto* own = new TButton(form_.get());
  own->SetBiDiMode(bdRightToLeftReadingOnly);
  own->SetParent(panel);
  form_->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(inner->BiDiMode(), bdRightToLeft) << "through the panel";
  EXPECT_TRUE(inner->ParentBiDiMode());
  EXPECT_EQ(own->BiDiMode(), bdRightToLeftReadingOnly);
  EXPECT_FALSE(own->ParentBiDiMode());
  own->SetParentBiDiMode(true);
  EXPECT_EQ(own->BiDiMode(), bdRightToLeft);
  // A control placed later takes the direction at once.
  auto* late = Place<TButton>(200);
  EXPECT_EQ(late->BiDiMode(), bdRightToLeft);
}

TEST_F(ActionsTest, DrawTextFlagsFollowTheDirection) {
  auto* button = Place<TButton>(10);
  struct Case {
    TBiDiMode Mode;
    UINT In, Out;
  };
  const Case cases[] = {
      {bdLeftToRight, DT_LEFT, DT_LEFT},
      {bdLeftToRight, DT_RIGHT, DT_RIGHT},
      {bdRightToLeft, DT_LEFT, DT_RIGHT | DT_RTLREADING},
      {bdRightToLeft, DT_RIGHT, DT_LEFT | DT_RTLREADING},
      {bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING},
      {bdRightToLeftNoAlign, DT_LEFT, DT_LEFT | DT_RTLREADING},
      {bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
  };
  for (const Case& c : cases) {
    button->SetBiDiMode(c.Mode);
    EXPECT_EQ(button->DrawTextBiDiModeFlags(c.In), c.Out) << "mode " << c.Mode << ", flags " << c.In;
  }
}

}  // namespace
