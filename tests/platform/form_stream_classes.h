// Test classes of the form-stream tests and fuzzer: a component with one
// published property of each kind, a sub-object, a collection, a reference
// and a binary "Data" block, and the form a tree of them is read into.
#pragma once

#include <vector>

#include "platform/ClassRegistry.h"
#include "platform/Collections.h"
#include "platform/FormStreams.h"

namespace form_stream_test {

enum TShape { shCircle, shSquare, shTriangle };
enum TStyleFlag { sfBold, sfItalic, sfUnderline };

class Pen : public TPersistent {
 public:
  const char* ClassName() const override { return "TTestPen"; }
  int32_t width = 1;
  String color;
};

class Column : public TCollectionItem {
 public:
  explicit Column(TCollection* c) : TCollectionItem(c) {}
  const char* ClassName() const override { return "TTestColumn"; }
  String caption;
  int32_t size = 64;
};

// A component with one property of each kind, a sub-object, a collection, a
// reference and a binary "Data" block.
class Widget : public TComponent {
 public:
  explicit Widget(TComponent* owner)
      : TComponent(owner), columns(this, [](TCollection* c) { return new Column(c); }) {}
  const char* ClassName() const override { return "TTestWidget"; }

  int32_t count = 0;
  int64_t big = 0;
  bool visible = true;
  TShape shape = shCircle;
  int64_t style = 0;
  double ratio = 0;
  String caption;
  Pen pen;
  TOwnedCollection columns;
  TComponent* buddy = nullptr;
  std::vector<uint8_t> data;
  std::vector<String> log;

 protected:
  void Loaded() override {
    TComponent::Loaded();
    log.push_back(buddy ? "loaded with " + buddy->Name() : "loaded");
  }
};

inline const TClassInfo penClass("TTestPen", TPersistentClass(),
                          {IntegerProp<Pen>(
                               "Width", [](const Pen& p) { return int64_t(p.width); },
                               [](Pen& p, int64_t v) { p.width = int32_t(v); }, 1),
                           StringProp<Pen>(
                               "Color", [](const Pen& p) { return p.color; },
                               [](Pen& p, const String& v) { p.color = v; })});

inline const TClassInfo columnClass("TTestColumn", TCollectionItemClass(),
                             {StringProp<Column>(
                                  "Caption", [](const Column& c) { return c.caption; },
                                  [](Column& c, const String& v) { c.caption = v; }),
                              IntegerProp<Column>(
                                  "Size", [](const Column& c) { return int64_t(c.size); },
                                  [](Column& c, int64_t v) { c.size = int32_t(v); }, 64)});

inline const TClassInfo widgetClass(
    "TTestWidget", TComponentClass(),
    {IntegerProp<Widget>(
         "Count", [](const Widget& w) { return int64_t(w.count); }, [](Widget& w, int64_t v) { w.count = int32_t(v); },
         0),
     OrdinalProp<Widget>(
         "Big", TPropKind::Int64, [](const Widget& w) { return w.big; }, [](Widget& w, int64_t v) { w.big = v; }, 0),
     BooleanProp<Widget>(
         "Visible", [](const Widget& w) { return w.visible; }, [](Widget& w, bool v) { w.visible = v; }, true),
     OrdinalProp<Widget>(
         "Shape", TPropKind::Enum, [](const Widget& w) { return int64_t(w.shape); },
         [](Widget& w, int64_t v) { w.shape = TShape(v); }, shCircle, {"shCircle", "shSquare", "shTriangle"}),
     OrdinalProp<Widget>(
         "Style", TPropKind::Set, [](const Widget& w) { return w.style; }, [](Widget& w, int64_t v) { w.style = v; },
         0, {"sfBold", "sfItalic", "sfUnderline"}),
     FloatProp<Widget>(
         "Ratio", [](const Widget& w) { return w.ratio; }, [](Widget& w, double v) { w.ratio = v; }),
     StringProp<Widget>(
         "Caption", [](const Widget& w) { return w.caption; }, [](Widget& w, const String& v) { w.caption = v; }),
     ObjectProp<Widget>("Pen", [](const Widget& w) { return (TPersistent*)&w.pen; }),
     ObjectProp<Widget>("Columns", [](const Widget& w) { return (TPersistent*)&w.columns; }),
     ComponentProp<Widget>(
         "Buddy", [](const Widget& w) { return w.buddy; }, [](Widget& w, TComponent* c) { w.buddy = c; })},
    [](TComponent* owner) { return new Widget(owner); },
    [](TPersistent& instance, TFiler& filer) {
      auto& w = static_cast<Widget&>(instance);
      filer.DefineBinaryProperty(
          "Data",
          [&w](TStream& s) {
            w.data.resize(size_t(s.Size()));
            s.ReadBuffer(w.data.data(), s.Size());
          },
          [&w](TStream& s) { s.WriteBuffer(w.data.data(), int64_t(w.data.size())); }, !w.data.empty());
    });

// The form the tree is read into.
class Form : public Widget {
 public:
  explicit Form(TComponent* owner) : Widget(owner) {}
  const char* ClassName() const override { return "TTestForm"; }
};
inline const TClassInfo formClass("TTestForm", &widgetClass);

inline void RegisterFormStreamTestClasses() {
  RegisterPersistentClasses({&penClass, &columnClass, &widgetClass, &formClass});
}

inline void UnregisterFormStreamTestClasses() {
  for (TClass c : {&penClass, &columnClass, &widgetClass, &formClass}) UnregisterPersistentClass(c);
}

// A form with a nested tree that sets every kind of property.
inline void FillTestForm(Form& form) {
  form.SetName("Main");
  form.caption = "Fen\xEAtre";
  form.count = -70000;
  form.big = int64_t(1) << 40;
  form.visible = false;
  form.shape = shTriangle;
  form.style = (1 << sfBold) | (1 << sfUnderline);
  form.ratio = 0.1;
  form.pen.width = 3;
  form.pen.color = "clRed";
  form.data = {0, 1, 2, 255};
  for (const char* caption : {"Name", "Phone"}) {
    auto* col = static_cast<Column*>(form.columns.Add());
    col->caption = caption;
  }
  static_cast<Column*>(form.columns.Items(1))->size = 300;
  auto* panel = new Widget(&form);
  panel->SetName("Panel");
  panel->caption = String(300, 'x');  // a long string
  auto* button = new Widget(panel);
  button->SetName("Button");
  button->count = 200;
  form.buddy = button;
  panel->buddy = &form;
}

}  // namespace form_stream_test
