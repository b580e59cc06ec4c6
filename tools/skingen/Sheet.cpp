#include "Sheet.h"

#include <algorithm>
#include <map>

#include "Canvas.h"
#include "skins/vdSkinPng.h"

namespace {

TRgb FromColorRef(TColor c) { return {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 255}; }

// Draws elements as the skin painters do: background colour, the picture's
// state part cut at its margins (corners kept, edges and centre stretched),
// then the borders.
class TSheetPainter {
 public:
  TSheetPainter(TvdSkin& skin, TCanvas& canvas) : skin_(skin), canvas_(canvas) {}

  TvdSkinElement* Element(const char* group, const char* name) {
    TvdSkinControlGroup* g = skin_.GetGroupByName(group);
    return g ? g->GetElementByName(name) : nullptr;
  }

  TColor Color(const char* name, TColor fallback) {
    TvdSkinColor* c = skin_.GetColorByName(name);
    return c ? c->Value() : fallback;
  }

  void Draw(const char* group, const char* name, TRect r, int index = 0, TvdSkinElementState state = esNormal) {
    TvdSkinElement* e = Element(group, name);
    if (!e || r.Width() <= 0 || r.Height() <= 0) return;
    if (e->IsColorAssigned()) canvas_.Fill(r.Left, r.Top, r.Width(), r.Height(), FromColorRef(e->Color()));
    DrawImage(*e, e->Image(), r, index, state);
    for (int side = 0; side < 4; ++side) {
      const TvdSkinBorder& b = e->Borders()[side];
      if (b.Color() == vdSkinColorNone) continue;
      TRgb c = FromColorRef(b.Color());
      int t = b.Thin();
      if (side == 0) canvas_.Fill(r.Left, r.Top, t, r.Height(), c);
      if (side == 1) canvas_.Fill(r.Left, r.Top, r.Width(), t, c);
      if (side == 2) canvas_.Fill(r.Right - t, r.Top, t, r.Height(), c);
      if (side == 3) canvas_.Fill(r.Left, r.Bottom - t, r.Width(), t, c);
    }
  }

  TSize PartSize(const char* group, const char* name) {
    TvdSkinElement* e = Element(group, name);
    return e ? e->Image().GetSize() : TSize();
  }

 private:
  const TCanvas& Picture(const TvdSkinImage& image) {
    auto it = pictures_.find(&image);
    if (it == pictures_.end())
      it = pictures_.emplace(&image, TCanvas::FromPixels(vdSkinPngDecode(image.Picture().Bytes()))).first;
    return it->second;
  }

  void DrawImage(TvdSkinElement& e, TvdSkinImage& image, TRect d, int index, TvdSkinElementState state) {
    if (image.IsEmpty()) return;
    TRect s = image.GetImageRect(index, image.CheckState(state));
    const TCanvas& pic = Picture(image);
    if (image.Stretch() == smNoResize) {
      TSize size = image.GetSize();
      int x = d.Left + (d.Width() - size.cx) / 2, y = d.Top + (d.Height() - size.cy) / 2;
      canvas_.StretchDraw(pic, s.Left, s.Top, size.cx, size.cy, x, y, size.cx, size.cy);
      return;
    }
    TRect m = image.Margins();
    auto shrink = [](int32_t& a, int32_t& b, int32_t length) {
      int32_t sum = a + b;
      if (sum - length > 0) {
        a -= (a * (sum - length) + sum / 2) / sum;
        b -= (b * (sum - length) + sum / 2) / sum;
      }
    };
    shrink(m.Left, m.Right, d.Width());
    shrink(m.Top, m.Bottom, d.Height());
    const auto& sources = image.SourceParts();
    int32_t x1 = std::min(d.Left + m.Left, d.Right), y1 = std::min(d.Top + m.Top, d.Bottom);
    int32_t x2 = std::max(d.Right - m.Right, d.Left), y2 = std::max(d.Bottom - m.Bottom, d.Top);
    const TRect dest[9] = {TRect(d.Left, d.Top, x1, y1), TRect(x1, d.Top, x2, y1), TRect(x2, d.Top, d.Right, y1),
                           TRect(d.Left, y1, x1, y2),    TRect(x1, y1, x2, y2),    TRect(x2, y1, d.Right, y2),
                           TRect(d.Left, y2, x1, d.Bottom), TRect(x1, y2, x2, d.Bottom),
                           TRect(x2, y2, d.Right, d.Bottom)};
    for (int i = 0; i < 9; ++i) {
      if (!image.PartVisible(i)) continue;
      const TRect& sp = sources[size_t(i)];
      canvas_.StretchDraw(pic, s.Left + sp.Left, s.Top + sp.Top, sp.Width(), sp.Height(), dest[i].Left,
                          dest[i].Top, dest[i].Width(), dest[i].Height());
    }
  }

  TvdSkin& skin_;
  TCanvas& canvas_;
  std::map<const TvdSkinImage*, TCanvas> pictures_;
};

constexpr TvdSkinElementState kStates[] = {esNormal, esHot, esPressed, esDisabled};

// A form of the given size at (x, y) with its caption, frame and buttons;
// returns its client rectangle.
TRect DrawForm(TSheetPainter& p, int x, int y, int w, int h, bool active) {
  TvdSkinElementState state = active ? esActive : esNormal;
  int captionHeight = std::max(24, p.PartSize("Form", "FormCaption").cy);
  int left = p.PartSize("Form", "FormFrameLeft").cx, right = p.PartSize("Form", "FormFrameRight").cx;
  int bottom = p.PartSize("Form", "FormFrameBottom").cy;
  p.Draw("Form", "FormCaption", TRect(x, y, x + w, y + captionHeight), 0, state);
  p.Draw("Form", "FormFrameLeft", TRect(x, y + captionHeight, x + left, y + h - bottom), 0, state);
  p.Draw("Form", "FormFrameRight", TRect(x + w - right, y + captionHeight, x + w, y + h - bottom), 0, state);
  p.Draw("Form", "FormFrameBottom", TRect(x, y + h - bottom, x + w, y + h), 0, state);
  TRect client(x + left, y + captionHeight, x + w - right, y + h - bottom);
  p.Draw("Form", "FormContent", client);
  const char* buttons[] = {"FormButtonClose", "FormButtonMaximize", "FormButtonMinimize"};
  int bx = x + w - right - 4;
  for (int i = 0; i < 3; ++i) {
    TSize size = p.PartSize("Form", buttons[i]);
    bx -= size.cx + 2;
    int by = y + (captionHeight - size.cy) / 2 + 1;
    p.Draw("Form", buttons[i], TRect(bx, by, bx + size.cx, by + size.cy), 0, i == 0 && active ? esHot : esNormal);
  }
  return client;
}

void DrawEdit(TSheetPainter& p, TCanvas& c, TRect r) {
  TRgb border = FromColorRef(p.Color("ContainerBorderColor", 0x808080));
  TRgb content = FromColorRef(p.Color("ContentColor", 0xFFFFFF));
  c.Fill(r.Left, r.Top, r.Width(), r.Height(), content);
  c.Frame(r.Left, r.Top, r.Width(), r.Height(), border);
  // A caret and a line of "text".
  TRgb text = FromColorRef(p.Color("ContentTextColor", 0));
  c.Fill(r.Left + 5, r.Top + r.Height() / 2 - 1, r.Width() / 2, 2, WithAlpha(text, 160));
  c.Fill(r.Left + 7 + r.Width() / 2, r.Top + 4, 1, r.Height() - 8, text);
}

}  // namespace

std::vector<uint8_t> DrawSkinSheet(TvdSkin& skin) {
  const int width = 720, height = 300;
  TCanvas c(width, height);
  c.Fill(0, 0, width, height, TRgb{128, 128, 128, 255});
  TSheetPainter p(skin, c);

  // The active form with a group box, an edit, check boxes and a scroll bar.
  TRect client = DrawForm(p, 10, 10, 330, 280, true);
  TRect group(client.Left + 10, client.Top + 10, client.Right - 34, client.Top + 150);
  p.Draw("Common", "GroupPanel", group);
  p.Draw("Common", "GroupPanelCaptionTop", TRect(group.Left, group.Top, group.Right, group.Top + 22));
  DrawEdit(p, c, TRect(group.Left + 12, group.Top + 34, group.Right - 12, group.Top + 56));
  for (int i = 0; i < 3; ++i)
    p.Draw("Editors", "Checkbox", TRect(group.Left + 12, group.Top + 66 + i * 20, group.Left + 28, group.Top + 82 + i * 20),
           i, i == 1 ? esHot : esNormal);
  for (int i = 0; i < 2; ++i)
    p.Draw("Editors", "RadioButton",
           TRect(group.Left + 120, group.Top + 66 + i * 20, group.Left + 136, group.Top + 82 + i * 20), i);
  int bx = client.Left + 10, by = client.Bottom - 40;
  p.Draw("Common", "Button", TRect(bx, by, bx + 84, by + 26));
  p.Draw("Common", "Button", TRect(bx + 94, by, bx + 178, by + 26), 0, esHot);
  // A vertical scroll bar at the client's right edge.
  int sx = client.Right - 17, top = client.Top, bottomY = client.Bottom;
  p.Draw("Common", "ScrollContentVert", TRect(sx, top + 17, client.Right, bottomY - 17));
  p.Draw("Common", "ScrollButton", TRect(sx, top, client.Right, top + 17), 0);
  p.Draw("Common", "ScrollButton", TRect(sx, bottomY - 17, client.Right, bottomY), 1, esHot);
  p.Draw("Common", "ScrollThumbVert", TRect(sx, top + 40, client.Right, top + 110));

  // Beside it: buttons in every state, check boxes in every state, an
  // inactive form, a horizontal scroll bar and a progress bar.
  int x0 = 360, y0 = 14;
  for (int s = 0; s < 4; ++s) p.Draw("Common", "Button", TRect(x0 + s * 88, y0, x0 + s * 88 + 80, y0 + 26), 0, kStates[s]);
  for (int img = 0; img < 3; ++img)
    for (int s = 0; s < 4; ++s)
      p.Draw("Editors", "Checkbox",
             TRect(x0 + s * 22 + img * 96, y0 + 36, x0 + s * 22 + img * 96 + 16, y0 + 52), img, kStates[s]);
  DrawForm(p, x0, y0 + 64, 200, 120, false);
  int hx = x0, hy = y0 + 196, hw = 340;
  p.Draw("Common", "ScrollContentHorz", TRect(hx + 17, hy, hx + hw - 17, hy + 17));
  p.Draw("Common", "ScrollButton", TRect(hx, hy, hx + 17, hy + 17), 2);
  p.Draw("Common", "ScrollButton", TRect(hx + hw - 17, hy, hx + hw, hy + 17), 3, esPressed);
  p.Draw("Common", "ScrollThumbHorz", TRect(hx + 60, hy, hx + 150, hy + 17), 0, esHot);
  p.Draw("Editors", "ProgressBorder", TRect(hx, hy + 28, hx + hw, hy + 46));
  p.Draw("Editors", "ProgressChunk", TRect(hx + 2, hy + 30, hx + 2 + hw * 6 / 10, hy + 44));
  for (int s = 0; s < 3; ++s)
    p.Draw("Common", "Header", TRect(hx + s * 80, hy + 56, hx + s * 80 + 80, hy + 76), 0, kStates[s]);
  p.Draw("Common", "SkinIconLarge", TRect(x0 + 220, y0 + 64, x0 + 268, y0 + 112));
  p.Draw("Form", "FormButtonClose", TRect(x0 + 290, y0 + 70, x0 + 308, y0 + 88), 0, esPressed);
  return vdSkinPngEncode(c.ToPixels());
}
