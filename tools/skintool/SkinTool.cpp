// skintool list|dump|check FILE: looks into a skin stream.
//   list   the skin's name, version, colours, properties, and each group
//          with its element count
//   dump   the whole tree: every colour, property, group and element with
//          its values and pictures
//   check  exit 0 when the stream reads cleanly and every picture in it
//          decodes, 1 with the error otherwise
#include <cstdio>
#include <cstring>

#include "platform/Streams.h"
#include "skins/vdSkinPng.h"
#include "skins/vdSkinsCore.h"

namespace {

String Hex(int32_t v) { return Format("$%.8X", {v}); }

String RectText(const TRect& r) { return Format("(%d, %d, %d, %d)", {r.Left, r.Top, r.Right, r.Bottom}); }

String ValueText(TvdSkinProperty& p) {
  if (auto* v = dynamic_cast<TvdSkinColor*>(&p)) return Hex(v->Value());
  if (auto* v = dynamic_cast<TvdSkinIntegerProperty*>(&p)) return Format("%d", {v->Value()});
  if (auto* v = dynamic_cast<TvdSkinBooleanProperty*>(&p)) return v->Value() ? "True" : "False";
  if (auto* v = dynamic_cast<TvdSkinRectProperty*>(&p)) return RectText(v->Value());
  if (auto* v = dynamic_cast<TvdSkinSizeProperty*>(&p)) return Format("%d x %d", {v->Value().cx, v->Value().cy});
  if (auto* v = dynamic_cast<TvdSkinStringProperty*>(&p)) return "\"" + v->Value() + "\"";
  return String();
}

void PrintProperties(const TvdSkinProperties& list, const char* indent) {
  for (int i = 0; i < list.Count(); ++i) {
    TvdSkinProperty& p = *list.Items(i);
    std::printf("%s%s: %s = %s\n", indent, p.Name().c_str(), p.GetDescription().c_str(), ValueText(p).c_str());
  }
}

String StatesText(TvdSkinElementStates states) {
  static const char* const kNames[] = {"Normal", "Hot",    "Pressed", "Disabled", "Active",       "Focused",
                                       "DroppedDown", "Checked", "HotCheck", "ActiveDisabled", "CheckPressed"};
  String s;
  for (int i = 0; i < vdSkinElementStateCount; ++i)
    if (states & (1u << i)) s += (s.empty() ? "" : ",") + String(kNames[i]);
  return "[" + s + "]";
}

void PrintImage(const char* label, TvdSkinImage& image) {
  if (image.IsEmpty() && image.GradientBeginColor() == vdSkinColorNone) return;
  TSize part = image.GetSize();
  std::printf("      %s: %d x %d picture (%zu bytes), part %d x %d, states %s, margins %s, layout %d, stretch %d",
              label, image.Picture().Width(), image.Picture().Height(), image.Picture().Bytes().size(), part.cx,
              part.cy, StatesText(image.States()).c_str(), RectText(image.Margins()).c_str(), image.ImageLayout(),
              image.Stretch());
  if (image.GradientBeginColor() != vdSkinColorNone)
    std::printf(", gradient %s..%s mode %d", Hex(image.GradientBeginColor()).c_str(),
                Hex(image.GradientEndColor()).c_str(), image.Gradient());
  std::printf("\n");
}

void PrintHeader(TvdSkin& skin) {
  std::printf("skin %s (\"%s\"), version %.2f\n", skin.Name().c_str(), skin.DisplayName().c_str(), skin.Version());
}

void List(TvdSkin& skin) {
  PrintHeader(skin);
  std::printf("colours: %d\n", skin.Colors().Count());
  PrintProperties(skin.Colors(), "  ");
  std::printf("properties: %d\n", skin.PropertyCount());
  PrintProperties(skin.Properties(), "  ");
  int total = 0;
  std::printf("groups: %d\n", skin.Groups().Count());
  for (int g = 0; g < skin.Groups().Count(); ++g) {
    TvdSkinControlGroup& group = *skin.Groups().Items(g);
    std::printf("  %-16s %3d elements, %d properties\n", group.Name().c_str(), group.Elements().Count(),
                group.PropertyCount());
    total += group.Elements().Count();
  }
  std::printf("elements: %d\n", total);
}

void Dump(TvdSkin& skin) {
  PrintHeader(skin);
  std::printf("colours:\n");
  PrintProperties(skin.Colors(), "  ");
  std::printf("properties:\n");
  PrintProperties(skin.Properties(), "  ");
  for (int g = 0; g < skin.Groups().Count(); ++g) {
    TvdSkinControlGroup& group = *skin.Groups().Items(g);
    std::printf("group %s\n", group.Name().c_str());
    PrintProperties(group.Properties(), "  ");
    for (int i = 0; i < group.Elements().Count(); ++i) {
      TvdSkinElement& e = *group.Elements().Items(i);
      std::printf("    element %s: color %s, alpha %d, images %d, text %s, content offset %s, min size %d x %d\n",
                  e.Name().c_str(), Hex(e.Color()).c_str(), e.Alpha(), e.ImageCount(), Hex(e.TextColor()).c_str(),
                  RectText(e.ContentOffset()).c_str(), e.MinSize().cx, e.MinSize().cy);
      PrintImage("image", e.Image());
      PrintImage("glyph", e.Glyph());
      for (int side = 0; side < 4; ++side) {
        const TvdSkinBorder& b = e.Borders()[side];
        if (b.Color() != vdSkinColorNone)
          std::printf("      border %s: %s, %d\n", b.Name().c_str(), Hex(b.Color()).c_str(), b.Thin());
      }
      PrintProperties(e.Properties(), "      ");
    }
  }
}

// The reader takes a picture on its header alone (its pixels are decoded
// when first drawn); a check decodes them all.
void DecodePictures(TvdSkin& skin) {
  for (int g = 0; g < skin.Groups().Count(); ++g) {
    TvdSkinControlGroup& group = *skin.Groups().Items(g);
    for (int i = 0; i < group.Elements().Count(); ++i) {
      TvdSkinElement& e = *group.Elements().Items(i);
      for (TvdSkinImage* image : {&e.Image(), &e.Glyph()}) {
        if (image->Picture().Empty()) continue;
        try {
          vdSkinPngDecode(image->Picture().Bytes());
        } catch (const EvdSkin& error) {
          throw EvdSkin(String(error.what()) + " (" + image->GetName() + ")");
        }
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "list") && std::strcmp(argv[1], "dump") && std::strcmp(argv[1], "check"))) {
    std::fprintf(stderr, "usage: skintool list|dump|check FILE\n");
    return 2;
  }
  try {
    TMemoryStream stream;
    stream.LoadFromFile(argv[2]);
    TvdSkin skin("");
    skin.LoadFromStream(stream);
    if (!std::strcmp(argv[1], "list")) List(skin);
    if (!std::strcmp(argv[1], "dump")) Dump(skin);
    if (!std::strcmp(argv[1], "check")) DecodePictures(skin);
    if (!std::strcmp(argv[1], "check")) std::printf("%s: skin %s reads cleanly\n", argv[2], skin.Name().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[2], e.what());
    return 1;
  }
  return 0;
}
