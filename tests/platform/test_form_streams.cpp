// Form streams: a component tree written and read back, the loading
// bracket, DefineProperties, and streams that lie.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/FormStreams.h"
#include "tools/fixtures/FormStreamClasses.h"

namespace {

using namespace form_stream_test;

class FormStreams : public ::testing::Test {
 protected:
  void SetUp() override { RegisterFormStreamTestClasses(); }
  void TearDown() override { UnregisterFormStreamTestClasses(); }

  static std::vector<uint8_t> Write(Form& form) {
    TMemoryStream s;
    TWriter(s).WriteRootComponent(form);
    return s.Bytes();
  }
  static void Read(const std::vector<uint8_t>& bytes, Form& into) {
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    s.SetPosition(0);
    TReader(s).ReadRootComponent(into);
  }

};

TEST_F(FormStreams, ATreeIsWrittenAndReadBackEqual) {
  Form original(nullptr);
  FillTestForm(original);
  const std::vector<uint8_t> bytes = Write(original);
  ASSERT_EQ(String(bytes.begin(), bytes.begin() + 4), "TPF0");

  Form copy(nullptr);
  Read(bytes, copy);
  EXPECT_EQ(copy.Name(), "Main");
  EXPECT_EQ(copy.caption, original.caption);
  EXPECT_EQ(copy.count, -70000);
  EXPECT_EQ(copy.big, int64_t(1) << 40);
  EXPECT_FALSE(copy.visible);
  EXPECT_EQ(copy.shape, shTriangle);
  EXPECT_EQ(copy.style, original.style);
  EXPECT_EQ(copy.ratio, 0.1);
  EXPECT_EQ(copy.pen.width, 3);
  EXPECT_EQ(copy.pen.color, "clRed");
  EXPECT_EQ(copy.data, original.data);
  ASSERT_EQ(copy.columns.Count(), 2);
  EXPECT_EQ(static_cast<Column*>(copy.columns.Items(0))->caption, "Name");
  EXPECT_EQ(static_cast<Column*>(copy.columns.Items(0))->size, 64);
  EXPECT_EQ(static_cast<Column*>(copy.columns.Items(1))->size, 300);

  ASSERT_EQ(copy.ComponentCount(), 1);
  auto* panel = dynamic_cast<Widget*>(copy.Components(0));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Name(), "Panel");
  EXPECT_EQ(panel->caption, String(300, 'x'));
  EXPECT_EQ(panel->buddy, &copy);
  ASSERT_EQ(panel->ComponentCount(), 1);
  auto* button = dynamic_cast<Widget*>(panel->Components(0));
  EXPECT_EQ(button->count, 200);
  EXPECT_EQ(copy.buddy, button);
  // Loaded runs once everything, references included, is in place.
  EXPECT_EQ(copy.log, std::vector<String>{"loaded with Button"});
  EXPECT_EQ(copy.ComponentState() & (csLoading | csReading), 0u);
  EXPECT_EQ(button->ComponentState() & (csLoading | csReading), 0u);

  // Written again, the copy gives the same bytes.
  EXPECT_EQ(Write(copy), bytes);
}

TEST_F(FormStreams, DefaultsAreNotWritten) {
  Form form(nullptr);
  const std::vector<uint8_t> bytes = Write(form);
  // "TPF0", class, empty name, no properties, no children.
  const String expected = String("TPF0") + "\x09TTestForm" + '\0' + '\0' + '\0';
  EXPECT_EQ(String(bytes.begin(), bytes.end()), expected);
}

TEST_F(FormStreams, FloatsSurviveTheExtendedForm) {
  for (double v : {1.0, -2.5, 1e-300, 1e300, 0.1, std::numeric_limits<double>::denorm_min(),
                   std::numeric_limits<double>::infinity()}) {
    uint8_t ext[10];
    DoubleToExtended(v, ext);
    EXPECT_EQ(ExtendedToDouble(ext), v);
  }
  uint8_t ext[10];
  DoubleToExtended(std::nan(""), ext);
  EXPECT_TRUE(std::isnan(ExtendedToDouble(ext)));
  // 1.0 is 0x3FFF 8000000000000000.
  DoubleToExtended(1.0, ext);
  EXPECT_EQ(ext[7], 0x80);
  EXPECT_EQ(ext[8], 0xFF);
  EXPECT_EQ(ext[9], 0x3F);
}

TEST_F(FormStreams, EveryCutOfAStreamIsAReadError) {
  Form original(nullptr);
  FillTestForm(original);
  const std::vector<uint8_t> bytes = Write(original);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    Form form(nullptr);
    std::vector<uint8_t> part(bytes.begin(), bytes.begin() + ptrdiff_t(cut));
    EXPECT_THROW(Read(part, form), EReadError) << "cut at " << cut;
    // Nothing half-read stays behind.
    EXPECT_EQ(form.ComponentCount(), 0) << "cut at " << cut;
    EXPECT_EQ(form.ComponentState() & (csLoading | csReading), 0u);
  }
}

// Builds streams by hand for the hostile cases.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& raw(std::initializer_list<uint8_t> v) {
    b.insert(b.end(), v);
    return *this;
  }
  Bytes& str(std::string_view s) {
    b.push_back(uint8_t(s.size()));
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& header(std::string_view cls, std::string_view name) {
    if (b.empty()) b = {'T', 'P', 'F', '0'};
    return str(cls).str(name);
  }
};

TEST_F(FormStreams, HostileStreamsRaiseReadErrors) {
  auto form = [] { return Bytes().header("TTestForm", ""); };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"wrong signature", Bytes().str("TPF1").b},
      {"other root class", Bytes().header("TTestPen", "").raw({0, 0}).b},
      {"unknown class", form().raw({0}).str("TNoSuchClass").str("X").raw({0, 0, 0}).b},
      {"class that is no component", form().raw({0}).str("TTestPen").str("X").raw({0, 0, 0}).b},
      {"unknown property", form().str("Colour").raw({vaInt8, 1, 0, 0}).b},
      {"string for an integer", form().str("Count").raw({vaString}).str("1").raw({0, 0}).b},
      {"integer for a string", form().str("Caption").raw({vaInt8, 1, 0, 0}).b},
      {"unknown enumeration name", form().str("Shape").raw({vaIdent}).str("shHexagon").raw({0, 0}).b},
      {"unknown set element", form().str("Style").raw({vaSet}).str("sfBlink").str("").raw({0, 0}).b},
      {"64-bit value for a 32-bit property", form().str("Count").raw({vaInt64, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}).b},
      {"huge string length", form().str("Caption").raw({vaLString, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0, 0}).b},
      {"negative string length", form().str("Caption").raw({vaLString, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}).b},
      {"huge wide string", form().str("Caption").raw({vaWString, 0xFF, 0xFF, 0xFF, 0x3F, 0, 0}).b},
      {"huge binary block", form().str("Data").raw({vaBinary, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}).b},
      {"integer for binary data", form().str("Data").raw({vaInt8, 1, 0, 0}).b},
      {"collection without items list", form().str("Columns").raw({vaCollection, vaInt8, 1, 0, 0, 0}).b},
      {"list for a sub-object", form().str("Pen").raw({vaList, 0, 0, 0}).b},
      {"unknown sub-object", form().str("Brush.Width").raw({vaInt8, 1, 0, 0}).b},
      {"unresolved reference", form().str("Buddy").raw({vaIdent}).str("Nobody").raw({0, 0}).b},
      {"invalid component name", form().raw({0}).str("TTestWidget").str("1abc").raw({0, 0, 0}).b},
      {"duplicate component name",
       form().raw({0}).str("TTestWidget").str("A").raw({0, 0}).str("TTestWidget").str("A").raw({0, 0, 0}).b},
      {"unknown value type", form().str("Count").raw({0x7F, 0, 0}).b},
  };
  for (const Case& c : cases) {
    Form f(nullptr);
    EXPECT_THROW(Read(c.bytes, f), EReadError) << c.what;
    EXPECT_EQ(f.ComponentCount(), 0) << c.what;
  }
}

TEST_F(FormStreams, NestingIsBounded) {
  Bytes deep = Bytes().header("TTestForm", "").raw({0});
  const int levels = TReader::MaxDepth + 10;
  for (int i = 0; i < levels; ++i) deep.str("TTestWidget").str("W" + std::to_string(i)).raw({0});
  for (int i = 0; i < levels; ++i) deep.raw({0, 0});
  Form f(nullptr);
  EXPECT_THROW(Read(deep.b, f), EReadError);
  EXPECT_EQ(f.ComponentCount(), 0);
}

TEST_F(FormStreams, ReadsTheOtherValueForms) {
  // Forms other writers use: prefix flags with a child position, a UTF-8
  // and a wide string, a double and an item index in a collection.
  Bytes b = Bytes().header("TTestForm", "");
  b.str("Caption").raw({vaUTF8String, 2, 0, 0, 0, 0xC3, 0xA9});
  b.str("Pen.Color").raw({vaWString, 1, 0, 0, 0, 0xAC, 0x20});
  b.str("Ratio").raw({vaDouble, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F});
  b.str("Columns").raw({vaCollection, vaInt8, 0, vaList}).str("Caption").raw({vaString}).str("A").raw({0, 0});
  b.raw({0});
  b.raw({0xF0 | ffChildPos, vaInt8, 3}).str("TTestWidget").str("Child").raw({0, 0});
  b.raw({0});
  Form f(nullptr);
  Read(b.b, f);
  EXPECT_EQ(f.caption, "\xE9");
  EXPECT_EQ(f.pen.color, "\x80");
  EXPECT_EQ(f.ratio, 1.5);
  ASSERT_EQ(f.columns.Count(), 1);
  EXPECT_EQ(static_cast<Column*>(f.columns.Items(0))->caption, "A");
  ASSERT_EQ(f.ComponentCount(), 1);
  EXPECT_EQ(f.Components(0)->Name(), "Child");
}

TEST_F(FormStreams, UnregisteredClassesAreNotWritten) {
  Form form(nullptr);
  new TComponent(&form);
  TMemoryStream s;
  EXPECT_THROW(TWriter(s).WriteRootComponent(form), EWriteError);
}

}  // namespace

namespace {

const TClassInfo shapeBase("TShapeBase", TComponentClass());
const TClassInfo shapeRound("TShapeRound", &shapeBase);
const TClassInfo shapeOther("TShapeRound", TComponentClass());
const TClassInfo looseClass("TLoose", TPersistentClass());

TEST(ClassRegistry, FindsByNameAndRefusesAnotherClassOfTheSameName) {
  RegisterPersistentClass(&shapeRound);
  RegisterPersistentClass(&shapeRound);  // again: nothing
  EXPECT_EQ(FindClass("tshaperound"), &shapeRound);
  EXPECT_THROW(RegisterPersistentClass(&shapeOther), EComponentError);
  UnregisterPersistentClass(&shapeOther);  // not the registered one: nothing
  EXPECT_EQ(FindClass("TShapeRound"), &shapeRound);
  UnregisterPersistentClass(&shapeRound);
  EXPECT_EQ(FindClass("TShapeRound"), nullptr);
  EXPECT_THROW(GetClass("TShapeRound"), EClassNotFound);
  EXPECT_TRUE(shapeRound.InheritsFrom(TComponentClass()));
  EXPECT_FALSE(shapeBase.InheritsFrom(&shapeRound));
  EXPECT_EQ(shapeRound.FindProperty("TAG")->Name, "Tag");
}

TEST(ClassRegistry, ClassGroups) {
  StartClassGroup(&shapeBase);
  GroupDescendentsWith(&looseClass, &shapeBase);
  EXPECT_EQ(ClassGroupOf(&shapeRound), &shapeBase);
  EXPECT_EQ(ClassGroupOf(&looseClass), &shapeBase);
  EXPECT_EQ(ClassGroupOf(TPersistentClass()), nullptr);
}

}  // namespace
