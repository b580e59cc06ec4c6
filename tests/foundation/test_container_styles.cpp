// Container styles and the style controller: defaults by state, the
// controller chain and its cycle refusal, root-only values, the change
// bracket, direct access, the published-property rule and the rescaling of
// assigned fonts when the stored pixels per inch differ.
#include <gtest/gtest.h>

#include <memory>

#include "foundation/vxContainer.h"

namespace {

// The foundation's modules run for the whole program (test_container_win32.cpp).

// A free-standing set of four styles, as a popup or a controller has.
std::unique_ptr<TvxContainerStyles> MakeStyles() {
  return std::make_unique<TvxContainerStyles>(nullptr, vxCreateContainerStyle);
}

TEST(ContainerStyles, DefaultsByState) {
  auto styles = MakeStyles();
  TvxContainerStyle* normal = styles->NormalStyle();
  normal->SetBorderStyle(cbsSingle);

  EXPECT_EQ(styles->FocusedStyle()->GetBorderStyle(), cbsThick);
  EXPECT_EQ(styles->HotStyle()->GetBorderStyle(), cbsThick);
  EXPECT_EQ(styles->DisabledStyle()->GetBorderStyle(), cbsSingle);
  EXPECT_EQ(styles->DisabledStyle()->GetBorderColor(), clBtnShadow);
  EXPECT_EQ(styles->DisabledStyle()->GetTextColor(), clBtnShadow);
  EXPECT_EQ(normal->GetBorderColor(), clWindowFrame);
  EXPECT_EQ(styles->FocusedStyle()->GetBorderColor(), clWindowFrame);
  // No container: the Normal style is parent-coloured.
  EXPECT_EQ(normal->GetColor(), clBtnFace);
  EXPECT_EQ(styles->DisabledStyle()->GetColor(), clBtnFace);
  EXPECT_EQ(normal->GetEdges(), 0x0F);
  EXPECT_TRUE(normal->GetHotTrack());
  EXPECT_FALSE(normal->GetShadow());
  EXPECT_TRUE(normal->GetTransparentBorder());

  normal->SetHotTrack(false);
  EXPECT_EQ(styles->FocusedStyle()->GetBorderStyle(), cbsSingle);

  // The Normal style's own default follows the look-and-feel kind.
  normal->SetAssignedValues(0);
  struct Case {
    TvxLookAndFeelKind kind;
    TvxContainerBorderStyle border;
  } cases[] = {{lfFlat, cbsFlat}, {lfStandard, cbs3D}, {lfUltraFlat, cbsUltraFlat}, {lfOffice11, cbsOffice11}};
  for (const Case& c : cases) {
    normal->GetLookAndFeel()->SetKind(c.kind);
    EXPECT_EQ(normal->GetBorderStyle(), c.border) << c.kind;
  }
}

TEST(ContainerStyles, AssignedValueMasks) {
  auto styles = MakeStyles();
  TvxContainerStyle* hot = styles->HotStyle();
  struct Case {
    const char* name;
    std::function<void(TvxContainerStyle*)> write;
    TvxContainerStyleValues hotMask, normalMask;
  } cases[] = {
      {"BorderColor", [](TvxContainerStyle* s) { s->SetBorderColor(clRed); }, 0x001, 0},
      {"BorderStyle", [](TvxContainerStyle* s) { s->SetBorderStyle(cbsThick); }, 0x002, 0},
      {"Color", [](TvxContainerStyle* s) { s->SetColor(clYellow); }, 0x004, 0},
      {"TextColor", [](TvxContainerStyle* s) { s->SetTextColor(clBlue); }, 0x080, 0},
      {"TextStyle", [](TvxContainerStyle* s) { s->SetTextStyle(fsBold); }, 0x100, 0},
      // Root-only values land on the Normal style.
      {"Edges", [](TvxContainerStyle* s) { s->SetEdges(0x05); }, 0, 0x008},
      {"HotTrack", [](TvxContainerStyle* s) { s->SetHotTrack(false); }, 0, 0x020},
      {"Shadow", [](TvxContainerStyle* s) { s->SetShadow(true); }, 0, 0x040},
      {"TransparentBorder", [](TvxContainerStyle* s) { s->SetTransparentBorder(false); }, 0, 0x200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hot->SetAssignedValues(0);
    styles->NormalStyle()->SetAssignedValues(0);
    c.write(hot);
    EXPECT_EQ(hot->GetAssignedValues(), c.hotMask);
    EXPECT_EQ(styles->NormalStyle()->GetAssignedValues(), c.normalMask);
  }
  hot->SetShadow(true);
  EXPECT_TRUE(styles->NormalStyle()->GetShadow());

  // Changing the root's font marks it assigned unless the mark is locked.
  TvxContainerStyle* normal = styles->NormalStyle();
  normal->SetAssignedValues(0);
  normal->LockFontMark(true);
  normal->GetFont()->SetHeight(-20);
  EXPECT_FALSE(normal->GetAssignedValues() & vxStyleValueBit(svFont));
  normal->LockFontMark(false);
  normal->GetFont()->SetHeight(-21);
  EXPECT_TRUE(normal->GetAssignedValues() & vxStyleValueBit(svFont));

  // A direct-access style reports every value as set and fixed answers.
  TFont font;
  font.SetStyle(fsItalic);
  TvxContainerStyle direct(nullptr, cssNormal, nullptr, true);
  direct.SetFont(&font);
  EXPECT_EQ(direct.GetAssignedValues(), 0x3FFu);
  EXPECT_EQ(direct.GetFont(), &font);
  EXPECT_EQ(direct.GetBorderColor(), clDefault);
  EXPECT_EQ(direct.GetEdges(), 0);
  EXPECT_EQ(direct.GetTextStyle(), fsItalic);
}

TEST(ContainerStyles, ControllerFallBack) {
  TvxStyleController outer(nullptr), inner(nullptr);
  outer.NormalStyle()->SetBorderColor(clRed);
  outer.NormalStyle()->SetColor(clYellow);
  outer.StyleForState(cssHot)->SetTextColor(clLime);
  inner.NormalStyle()->SetStyleController(&outer);
  inner.NormalStyle()->SetColor(clAqua);

  auto styles = MakeStyles();
  TvxContainerStyle* normal = styles->NormalStyle();
  normal->SetStyleController(&inner);
  EXPECT_TRUE(inner.IsRegistered(normal));
  EXPECT_EQ(normal->GetStyleController(), &inner);

  struct Case {
    const char* name;
    TColor got, expected;
  } cases[] = {
      {"inner's colour", normal->GetColor(), clAqua},
      {"outer's border colour through inner", normal->GetBorderColor(), clRed},
      {"hot text colour from outer's hot style", styles->HotStyle()->GetTextColor(), clLime},
      {"focused text colour: default", styles->FocusedStyle()->GetTextColor(), normal->GetFont()->Color()},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
  EXPECT_TRUE(normal->HasAssignedValue(svBorderColor));
  EXPECT_FALSE(normal->HasAssignedValue(svShadow));

  // A local value wins; clearing its bit falls back again.
  normal->SetColor(clFuchsia);
  EXPECT_EQ(normal->GetColor(), clFuchsia);
  normal->SetAssignedValues(normal->GetAssignedValues() & ~vxStyleValueBit(svColor));
  EXPECT_EQ(normal->GetColor(), clAqua);

  // Controller changes reach the style.
  int changes = 0;
  normal->OnChanged = [&](TObject*) { ++changes; };
  inner.NormalStyle()->SetColor(clMaroon);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(normal->GetColor(), clMaroon);
}

TEST(ContainerStyles, ControllerFreedLeavesStylesOnTheirOwn) {
  auto styles = MakeStyles();
  {
    TvxStyleController controller(nullptr);
    controller.NormalStyle()->SetColor(clYellow);
    styles->NormalStyle()->SetStyleController(&controller);
    EXPECT_EQ(styles->NormalStyle()->GetColor(), clYellow);
  }
  EXPECT_EQ(styles->NormalStyle()->GetStyleController(), nullptr);
  EXPECT_EQ(styles->NormalStyle()->ActiveStyleController(), nullptr);
  EXPECT_EQ(styles->NormalStyle()->GetColor(), clBtnFace);
}

TEST(ContainerStyles, CyclesAreRefused) {
  TvxStyleController a(nullptr), b(nullptr), c(nullptr);
  b.NormalStyle()->SetStyleController(&a);
  c.NormalStyle()->SetStyleController(&b);
  // a -> c would close a -> c -> b -> a.
  a.NormalStyle()->SetStyleController(&c);
  EXPECT_EQ(a.NormalStyle()->GetStyleController(), nullptr);
  // A controller can never be its own.
  a.NormalStyle()->SetStyleController(&a);
  EXPECT_EQ(a.NormalStyle()->GetStyleController(), nullptr);
  // A state style forwards to its root, and so is refused the same way.
  a.StyleForState(cssHot)->SetStyleController(&c);
  EXPECT_EQ(a.NormalStyle()->GetStyleController(), nullptr);
  EXPECT_FALSE(c.IsRegistered(a.NormalStyle()));
}

TEST(ContainerStyles, ChangeBracketFiresOnce) {
  auto styles = MakeStyles();
  TvxContainerStyle* normal = styles->NormalStyle();
  int changes = 0;
  normal->OnChanged = [&](TObject*) { ++changes; };
  normal->SuspendChangeNotify();
  normal->SetColor(clRed);
  normal->SetBorderStyle(cbsThick);
  EXPECT_EQ(changes, 0);
  normal->ResumeChangeNotify();
  EXPECT_EQ(changes, 1);
  // Writing the value a style already holds changes nothing.
  normal->SetColor(clRed);
  EXPECT_EQ(changes, 1);
  normal->ResumeChangeNotify();  // unbalanced: harmless
  normal->SetColor(clBlue);
  EXPECT_EQ(changes, 2);
}

TEST(ContainerStyles, PublishedPropertiesOfStateStyles) {
  auto styles = MakeStyles();
  TvxContainerStyle* hot = styles->HotStyle();
  struct Case {
    const char* name;
    bool published;
  } cases[] = {
      {"BorderColor", true}, {"bordercolor", true}, {"Color", true},      {"TextStyle", true},
      {"Edges", false},      {"Font", false},       {"HotTrack", false},  {"Shadow", false},
      {"TransparentBorder", false}, {"LookAndFeel", false}, {"StyleController", false},
      {"NotAValue", true},
  };
  for (const Case& c : cases) EXPECT_EQ(hot->PublishesStyleProperty(c.name), c.published) << c.name;
  TvxContainerStyleValue value = -1;
  EXPECT_TRUE(hot->FindStyleValueByName("textcolor", value));
  EXPECT_EQ(value, svTextColor);
}

TEST(ContainerStyles, CopyFromTakesValuesAndMask) {
  auto source = MakeStyles(), target = MakeStyles();
  source->NormalStyle()->SetBorderStyle(cbsThick);
  source->NormalStyle()->SetShadow(true);
  source->NormalStyle()->GetFont()->SetName("Tahoma");
  int changes = 0;
  target->NormalStyle()->OnChanged = [&](TObject*) { ++changes; };
  target->CopyNormalStyleFrom(*source->NormalStyle());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(target->NormalStyle()->GetAssignedValues(), source->NormalStyle()->GetAssignedValues());
  EXPECT_EQ(target->NormalStyle()->GetBorderStyle(), cbsThick);
  EXPECT_TRUE(target->NormalStyle()->GetShadow());
  EXPECT_EQ(target->NormalStyle()->GetFont()->Name(), "Tahoma");
  TFont notAStyle;
  EXPECT_THROW(target->NormalStyle()->Assign(&notAStyle), EConvertError);
}

TEST(ContainerStyles, StoredPixelsPerInchRescalesAssignedFonts) {
  ASSERT_EQ(vxScreenPixelsPerInch(), 96);
  TvxStyleController controller(nullptr);
  controller.NormalStyle()->GetFont()->SetHeight(-15);  // assigned
  auto unassigned = std::make_unique<TvxStyleController>(nullptr);
  const int untouched = unassigned->NormalStyle()->GetFont()->Height();
  int notices = 0;
  controller.OnStyleChanged = [&](TObject*) { ++notices; };
  notices = 0;

  // Stored at 120 pixels per inch, read on this 96 screen.
  controller.ApplyPixelsPerInch(120);
  unassigned->ApplyPixelsPerInch(120);
  EXPECT_EQ(controller.NormalStyle()->GetFont()->Height(), -12);
  EXPECT_EQ(unassigned->NormalStyle()->GetFont()->Height(), untouched);
  EXPECT_GT(notices, 0);
  // The same value again changes nothing.
  const int heard = notices;
  controller.ApplyPixelsPerInch(120);
  EXPECT_EQ(controller.NormalStyle()->GetFont()->Height(), -12);
  EXPECT_EQ(notices, heard);
}

}  // namespace
