// Look-and-feel settings over the real modules: the painter each object
// resolves to for every combination of its own and inherited values, the
// theme and the skins; who is told of a change and how often; masters and
// controllers; and system colour changes heard by the palette window.
// The painter table runs in two child processes, one with visual styles off
// and one with Wine's light theme on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "LightTheme.h"
#include "TestSkinPainter.h"
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "foundation/vxLookAndFeelPaintersOffice11.h"
#include "foundation/vxLookAndFeels.h"
#include "foundation/vxModules.h"

namespace {

TvxLookAndFeelPainterClass Skin() { return &TestSkinPainter::Painter(); }
TvxLookAndFeelPainterClass KindPainter(TvxLookAndFeelKind kind) { return vxLookAndFeelPainterOfKind(kind); }
TvxLookAndFeelPainterClass Native() { return &TvxWinXPLookAndFeelPainter::Painter(); }

// The modules for one test, and the switch of skins put back afterwards.
class LookAndFeels : public testing::Test {
 protected:
  TvxFoundationModules modules_;
  ~LookAndFeels() override { vxUseSkins = true; }
  TvxLookAndFeel& Root() { return *vxGetLookAndFeelRoot(); }
  TvxExtendedStylePainters& Registry() { return *vxGetStylePainterRegistry(); }
};

// Records what an object was told.
struct Listener : TObject, IvxLookAndFeelObserver {
  std::vector<TvxLookAndFeelValues> changes;
  int destroys = 0;
  std::function<void()> onChange;
  TObject* GetObserverObject() override { return this; }
  void HandleLookAndFeelChange(TvxLookAndFeel*, TvxLookAndFeelValues values) override {
    changes.push_back(values);
    if (onChange) onChange();
  }
  void HandleLookAndFeelDestroy(TvxLookAndFeel*) override { ++destroys; }
};

// Every combination of (kind assigned locally, a master, NativeStyle on the
// source, a skin registered, vxUseSkins), in the theme state of this
// process. The expectation is written from the rules, not the code.
void CheckPainterTable(bool themed) {
  ASSERT_EQ(vdThemeClassesUsable(0), themed);
  for (int bits = 0; bits < 32; ++bits) {
    const bool kindAssigned = bits & 1, withMaster = bits & 2, native = bits & 4, registered = bits & 8,
               useSkins = bits & 16;
    SCOPED_TRACE(testing::Message() << "kind assigned " << kindAssigned << ", master " << withMaster << ", native "
                                    << native << ", registered " << registered << ", use skins " << useSkins);
    TvxLookAndFeel& root = *vxGetLookAndFeelRoot();
    vxUseSkins = useSkins;
    if (registered) vxGetStylePainterRegistry()->RegisterPainter("Black", Skin(), nullptr);
    root.SetKind(lfStandard);
    root.SetSkinName("Black");
    root.RefreshAll();
    TvxLookAndFeel master(nullptr);
    master.SetKind(lfOffice11);
    TvxLookAndFeel& source = withMaster ? master : root;
    source.SetNativeStyle(native);
    TvxLookAndFeel object(nullptr);
    if (withMaster) object.ChangeMaster(&master);
    if (kindAssigned) object.SetKind(lfFlat);

    const TvxLookAndFeelKind kind = kindAssigned ? lfFlat : withMaster ? lfOffice11 : lfStandard;
    TvxLookAndFeelPainterClass expected = KindPainter(kind);
    if (native && themed)
      expected = Native();
    else if (!native && registered && useSkins)
      expected = Skin();
    EXPECT_EQ(object.GetKind(), kind);
    EXPECT_EQ(object.GetNativeStyle(), native);
    EXPECT_EQ(object.GetSkinName(), "Black");
    EXPECT_EQ(object.ActivePainter(), expected);
    EXPECT_EQ(object.PainterForThemeClass(tcButton), expected);

    vxGetStylePainterRegistry()->UnregisterPainter("Black");
    EXPECT_EQ(object.ActivePainter(), native && themed ? Native() : KindPainter(kind)) << "after unregistering";
    root.ClearAssignedValues();
  }
  vxUseSkins = true;
}

TEST(LookAndFeelsThemeChild, PainterForEveryCombination) {
  if (!std::getenv("QE_THEME_CHILD")) GTEST_SKIP() << "runs as a child process";
  TvxFoundationModules modules;
  CheckPainterTable(ThemeChildHasVisualStyles());
}

TEST(LookAndFeelsByTheme, PainterForEveryCombination) {
  EXPECT_EQ(RunWithVisualStyles("LookAndFeelsThemeChild.*", false), 0) << "visual styles off";
  EXPECT_EQ(RunWithVisualStyles("LookAndFeelsThemeChild.*", true), 0) << "Wine's light theme";
}

TEST_F(LookAndFeels, RootStartsUltraFlatAndFollowersTakeItsChanges) {
  EXPECT_EQ(Root().ActivePainter(), KindPainter(lfUltraFlat));
  TvxLookAndFeel follower(nullptr), own(nullptr);
  own.SetKind(lfFlat);
  std::vector<TvxLookAndFeelValues> followerTold, ownTold;
  follower.OnChanged = [&](TvxLookAndFeel*, TvxLookAndFeelValues v) { followerTold.push_back(v); };
  own.OnChanged = [&](TvxLookAndFeel*, TvxLookAndFeelValues v) { ownTold.push_back(v); };

  Root().SetKind(lfStandard);
  EXPECT_EQ(follower.GetKind(), lfStandard);
  EXPECT_EQ(follower.ActivePainter(), KindPainter(lfStandard));
  EXPECT_EQ(followerTold, std::vector<TvxLookAndFeelValues>{lfvKind});
  EXPECT_TRUE(ownTold.empty());
  EXPECT_EQ(own.ActivePainter(), KindPainter(lfFlat));

  // Setting a value equal to the effective one only marks it assigned.
  follower.SetKind(lfStandard);
  EXPECT_EQ(follower.AssignedValues(), lfvKind);
  EXPECT_EQ(followerTold.size(), 1u);
  Root().SetKind(lfOffice11);
  EXPECT_EQ(follower.GetKind(), lfStandard);

  // Clearing the mask returns the inherited values, with the differences.
  follower.ClearAssignedValues();
  EXPECT_EQ(follower.GetKind(), lfOffice11);
  EXPECT_EQ(followerTold.back(), lfvKind);
}

TEST_F(LookAndFeels, SkinNamesCompareWithCaseTheRegistryWithout) {
  ASSERT_TRUE(Registry().RegisterPainter("Black", Skin(), nullptr));
  TvxLookAndFeel l(nullptr);
  std::vector<TvxLookAndFeelValues> told;
  l.OnChanged = [&](TvxLookAndFeel*, TvxLookAndFeelValues v) { told.push_back(v); };
  l.SetSkinName("Black");
  EXPECT_EQ(l.ActivePainter(), Skin());
  l.SetSkinName("black");
  EXPECT_EQ(told, (std::vector<TvxLookAndFeelValues>{lfvSkinName, lfvSkinName}));
  EXPECT_EQ(l.ActivePainter(), Skin());

  // Skins off: the name still resolves, no skin painter is used; a refresh
  // with nothing changed still recomputes because the switch moved.
  vxUseSkins = false;
  TvxLookAndFeelPainterClass painter = Native();
  EXPECT_TRUE(l.FindSkinPainter("BLACK", painter));
  EXPECT_EQ(painter, nullptr);
  Root().PropagateChange(0);
  EXPECT_EQ(l.ActivePainter(), KindPainter(lfUltraFlat));
  EXPECT_EQ(told.back(), 0) << "an empty change, passed on as it is";
  vxUseSkins = true;
  Root().PropagateChange(0);
  EXPECT_EQ(l.ActivePainter(), Skin());
  Registry().UnregisterPainter("Black");
}

TEST_F(LookAndFeels, RegisteringASkinLaterSwitchesItsUsers) {
  TvxLookAndFeel a(nullptr), b(nullptr), plain(nullptr);
  a.SetSkinName("Black");
  Root().SetSkinName("Black");
  EXPECT_EQ(b.ActivePainter(), KindPainter(lfUltraFlat));
  ASSERT_TRUE(Registry().RegisterPainter("Black", Skin(), nullptr));
  for (TvxLookAndFeel* l : {&a, &b, &plain}) EXPECT_EQ(l->ActivePainter(), Skin());
  // When the skin goes they draw by kind again, and keep waiting for the
  // name until they no longer use one.
  ASSERT_TRUE(Registry().UnregisterPainter("Black"));
  for (TvxLookAndFeel* l : {&a, &b, &plain}) EXPECT_EQ(l->ActivePainter(), KindPainter(lfUltraFlat));
  EXPECT_TRUE(Registry().HasObserver(&a));
  a.ClearAssignedValues();
  Root().ClearAssignedValues();
  EXPECT_FALSE(Registry().HasObserver(&a));
  EXPECT_FALSE(Registry().HasObserver(&Root()));
}

TEST_F(LookAndFeels, ListenersToldOnceAndMayLeaveDuringTheCall) {
  TvxLookAndFeel l(nullptr);
  Listener first, second, third;
  for (Listener* x : {&first, &second, &third, &second}) l.AddChangeListener(x);
  first.onChange = [&] { l.RemoveChangeListener(&first); };
  l.AddChangeListener(nullptr);
  TObject unsupported;
  l.AddChangeListener(&unsupported);

  l.SetNativeStyle(true);
  for (Listener* x : {&first, &second, &third}) EXPECT_EQ(x->changes, std::vector<TvxLookAndFeelValues>{lfvNativeStyle});
  l.SetNativeStyle(false);
  EXPECT_EQ(first.changes.size(), 1u);
  EXPECT_EQ(second.changes.size(), 2u);
  EXPECT_EQ(third.changes.size(), 2u);
  l.RemoveChangeListener(&second);
  l.RemoveChangeListener(&third);
}

TEST_F(LookAndFeels, MastersChainWithoutCycles) {
  auto a = std::make_unique<TvxLookAndFeel>(nullptr);
  TvxLookAndFeel b(nullptr), c(nullptr);
  a->SetKind(lfOffice11);
  b.ChangeMaster(a.get());
  c.ChangeMaster(&b);
  EXPECT_EQ(c.GetKind(), lfOffice11);
  EXPECT_EQ(c.EffectiveMaster(), &b);

  // A master whose chain reaches the object itself is refused.
  a->ChangeMaster(&c);
  EXPECT_EQ(a->Master(), nullptr);
  b.ChangeMaster(&b);
  EXPECT_EQ(b.Master(), a.get());
  // The root follows nobody; an object without master already follows it.
  Root().ChangeMaster(&b);
  EXPECT_EQ(Root().EffectiveMaster(), nullptr);
  TvxLookAndFeel d(nullptr);
  d.ChangeMaster(&Root());
  EXPECT_EQ(d.Master(), nullptr);

  // A master that goes: its followers fall back to the root and hear what
  // differs.
  std::vector<TvxLookAndFeelValues> told;
  b.OnChanged = [&](TvxLookAndFeel*, TvxLookAndFeelValues v) { told.push_back(v); };
  a.reset();
  EXPECT_EQ(b.Master(), nullptr);
  EXPECT_EQ(b.EffectiveMaster(), &Root());
  EXPECT_EQ(b.GetKind(), lfUltraFlat);
  EXPECT_EQ(c.GetKind(), lfUltraFlat);
  EXPECT_EQ(told, std::vector<TvxLookAndFeelValues>{lfvKind});

  // Assign copies the values and follows the same master.
  TvxLookAndFeel e(nullptr);
  e.Assign(&c);
  EXPECT_EQ(e.Master(), &b);
}

TEST_F(LookAndFeels, ControllersEditTheRootUntilTheLastGoes) {
  auto one = std::make_unique<TvxLookAndFeelController>(nullptr);
  auto two = std::make_unique<TvxLookAndFeelController>(nullptr);
  EXPECT_EQ(vxLookAndFeelControllerCount(), 2);
  TvxLookAndFeel other(nullptr);
  other.AddChangeListener(one.get());  // only the root takes controllers

  one->SetKind(lfOffice11);
  two->SetNativeStyle(true);
  EXPECT_EQ(Root().AssignedValues(), lfvKind | lfvNativeStyle);
  EXPECT_EQ(other.GetKind(), lfOffice11);
  one.reset();
  EXPECT_EQ(two->Kind(), lfOffice11);
  two.reset();
  EXPECT_EQ(vxLookAndFeelControllerCount(), 0);
  EXPECT_EQ(Root().AssignedValues(), 0);
  EXPECT_EQ(other.GetKind(), lfUltraFlat);
  EXPECT_FALSE(other.GetNativeStyle());
}

// Records the order in which palette notifiers were told.
struct OrderedNotifier : TvxSystemPaletteChangedNotifier {
  OrderedNotifier(bool primary, int id, std::vector<int>& order) : TvxSystemPaletteChangedNotifier(primary) {
    OnSystemPaletteChanged = [id, &order] { order.push_back(id); };
  }
};

TEST_F(LookAndFeels, ColourChangesReachPrimaryNotifiersFirstLastToFirst) {
  std::vector<int> order;
  TvxLookAndFeel l(nullptr);
  Listener listener;
  l.AddChangeListener(&listener);
  l.OnChanged = [&](TvxLookAndFeel*, TvxLookAndFeelValues) { order.push_back(0); };
  OrderedNotifier o1(false, 1, order), p1(true, 11, order), o2(false, 2, order), p2(true, 12, order);
  ASSERT_NE(vxPaletteListenerWindow(), nullptr);
  SendMessageA(vxPaletteListenerWindow(), WM_SYSCOLORCHANGE, 0, 0);
  // The object hears its own notifier, then the root's change passed down.
  EXPECT_EQ(order, (std::vector<int>{12, 11, 2, 1, 0, 0}));
  EXPECT_EQ(listener.changes, (std::vector<TvxLookAndFeelValues>{lfvNativeStyle, lfvNativeStyle}));
  l.RemoveChangeListener(&listener);
}

}  // namespace
