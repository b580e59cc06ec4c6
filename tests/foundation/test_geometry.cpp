// Rectangle arithmetic, and the rectangle and size objects with their
// change events and stored properties.
#include <gtest/gtest.h>

#include "foundation/vxGeometry.h"
#include "platform/FormStreams.h"

namespace {

TEST(Geometry, CenteringTruncatesTowardZero) {
  EXPECT_EQ(vxCenteredRect({0, 0, 5, 5}, 2, 2), TRect(1, 1, 3, 3));
  EXPECT_EQ(vxCenteredRect({-5, 0, 0, 0}, 2, 0).Left, -3);
  EXPECT_EQ(vxRectCenterPoint({-5, -5, 0, 0}), TPoint(-2, -2));
}

TEST(Geometry, FitToAspectShrinksFromTheTopLeft) {
  struct Case {
    TRect r;
    int aw, ah;
    TRect want;
  } cases[] = {
      {{0, 0, 200, 100}, 1, 1, {0, 0, 100, 100}},
      {{0, 0, 100, 200}, 1, 1, {0, 0, 100, 100}},
      {{10, 10, 110, 60}, 4, 3, {10, 10, 76, 60}},
      // No ratio to compare: the rectangle comes back as it is.
      {{0, 0, 100, 0}, 1, 1, {0, 0, 100, 0}},
      {{0, 0, 100, 50}, 0, 1, {0, 0, 100, 50}},
      {{0, 0, 100, 50}, 1, 0, {0, 0, 100, 50}},
  };
  for (const Case& c : cases) EXPECT_EQ(vxRectFitToAspect(c.r, c.aw, c.ah), c.want) << c.aw << ":" << c.ah;
}

TEST(Geometry, IntersectionAndContainment) {
  TRect r{1, 1, 1, 1};
  EXPECT_FALSE(vxIntersectRects(r, {0, 0, 10, 10}, {10, 0, 20, 10}));  // touching edges only
  EXPECT_EQ(r, TRect());
  EXPECT_TRUE(vxIntersectRects(r, {0, 0, 10, 10}, {5, 2, 20, 8}));
  EXPECT_EQ(r, TRect(5, 2, 10, 8));
  EXPECT_TRUE(vxIsPointInRect({0, 0, 10, 10}, {0, 0}));
  EXPECT_FALSE(vxIsPointInRect({0, 0, 10, 10}, {10, 5}));
  EXPECT_FALSE(vxIsXYInRect({0, 0, 10, 10}, 5, 10));
  EXPECT_EQ(vxShiftedRect({0, 0, 2, 2}, 3, 4, false), TRect(-3, -4, -1, -2));
  EXPECT_EQ(vxRectWithRightAndWidth({0, 5, 10, 9}, 50, 20), TRect(30, 5, 50, 9));
  EXPECT_EQ(vxTransposedRect({1, 2, 3, 4}), TRect(2, 1, 4, 3));
}

TEST(Geometry, RectChangesOnlyWhenItDiffers) {
  TvxRect rect(nullptr);
  int changes = 0;
  rect.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &rect);
    ++changes;
  };
  rect.SetRect({0, 0, 0, 0});
  EXPECT_EQ(changes, 0);
  rect.SetRight(7);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(rect.Rect(), TRect(0, 0, 7, 0));
  EXPECT_EQ(rect.GetValue(9), 0);  // any index past Right reads Bottom
  TvxRect other(nullptr);
  other.Assign(&rect);
  EXPECT_TRUE(other.IsEqual(rect));
  TvxSize size(nullptr);
  rect.Assign(&size);  // ignored, no error
  EXPECT_EQ(changes, 1);
}

TEST(Geometry, SizeClampsNegativeComponents) {
  TvxSize size(nullptr);
  int changes = 0;
  size.OnChange = [&](TObject*) { ++changes; };
  size.SetSize({-5, 7});
  EXPECT_EQ(size.GetSize(), (TSize{0, 7}));
  EXPECT_EQ(changes, 1);
  size.SetSize({0, 7});
  EXPECT_EQ(changes, 1);
  size.SetHeight(-1);
  EXPECT_EQ(size.Height(), 0);
  TvxRect rect(nullptr);
  EXPECT_THROW(size.Assign(&rect), EConvertError);
}

// A component that carries a margin rectangle and a minimal size.
class Holder : public TComponent {
 public:
  explicit Holder(TComponent* owner) : TComponent(owner), margins(this), minSize(this) {}
  const char* ClassName() const override { return "GeometryHolder"; }
  TvxRect margins;
  TvxSize minSize;
};

const TClassInfo holderClass("GeometryHolder", TComponentClass(),
                             {ObjectProp<Holder>("Margins", [](const Holder& h) { return (TPersistent*)&h.margins; }),
                              ObjectProp<Holder>("MinSize", [](const Holder& h) { return (TPersistent*)&h.minSize; })},
                             [](TComponent* owner) { return new Holder(owner); });

class GeometryStreaming : public ::testing::Test {
 protected:
  void SetUp() override {
    vxGeometryInitialize();
    RegisterPersistentClass(&holderClass);
  }
  void TearDown() override {
    UnregisterPersistentClass(&holderClass);
    vxGeometryFinalize();
  }
  static String Write(Holder& h) {
    TMemoryStream s;
    TWriter(s).WriteRootComponent(h);
    return String(s.Bytes().begin(), s.Bytes().end());
  }
};

TEST_F(GeometryStreaming, RectAndSizeAreStoredOnlyWhenNotZero) {
  Holder empty(nullptr);
  const String bytes = Write(empty);
  EXPECT_EQ(bytes.find("MinSize"), String::npos);
  EXPECT_EQ(bytes.find("Margins"), String::npos);

  Holder h(nullptr);
  h.margins.SetRect({1, 0, 3, 0});
  h.minSize.SetWidth(40);
  const String written = Write(h);
  EXPECT_NE(written.find("Margins.Left"), String::npos);
  EXPECT_EQ(written.find("Margins.Top"), String::npos);
  EXPECT_NE(written.find("MinSize.Width"), String::npos);
  EXPECT_EQ(written.find("MinSize.Height"), String::npos);

  Holder back(nullptr);
  TStringStream in(written);
  TReader(in).ReadRootComponent(back);
  EXPECT_EQ(back.margins.Rect(), TRect(1, 0, 3, 0));
  EXPECT_EQ(back.minSize.GetSize(), (TSize{40, 0}));
}

}  // namespace
