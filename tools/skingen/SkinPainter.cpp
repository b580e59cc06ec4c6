// Every skin is drawn from a palette of a few seed colours and two style
// values (corner radius and gloss); every element gets a picture of a shape
// that suits what it is (button, frame, panel, line, glyph...) in the states
// that the painters ask for, cut into parts with margins that keep its
// corners and edges unstretched.
#include "SkinPainter.h"

#include <cstring>
#include <string>

#include "Canvas.h"

namespace {

struct TSeed {
  const char* Skin;
  uint32_t Window, Face, Accent, Caption, Text;
  int Radius;
  double Gloss;  // 0 flat .. 1 strong highlight on the upper half
};

// window, face, accent (hot and selection), caption, text
const TSeed kSeeds[] = {
    {"Black", 0x2B2B2B, 0x4A4A4A, 0xF0A030, 0x161616, 0xE8E8E8, 3, 0.5},
    {"Blue", 0xDCE8F8, 0xC3D9F3, 0xFFC84B, 0x3F72BF, 0x15428B, 3, 0.6},
    {"Caramel", 0xF2E6D0, 0xE4C896, 0xF7B84B, 0x9A5F27, 0x4A2C0E, 4, 0.5},
    {"Coffee", 0xE8DCCB, 0xB89B7A, 0xD8A060, 0x5A3E2B, 0x2E1E12, 3, 0.3},
    {"Darkroom", 0x3C3C3C, 0x575757, 0xD05A4A, 0x222222, 0xDDDDDD, 1, 0.1},
    {"DarkSide", 0x2E3238, 0x474E58, 0x5D9CEC, 0x1B1E23, 0xD8DEE6, 3, 0.3},
    {"Foggy", 0xECEEF2, 0xDADEE5, 0x9FB4D0, 0xB3BECD, 0x333A45, 6, 0.3},
    {"GlassOceans", 0xD8EEF2, 0x9CCFD9, 0x38B0C8, 0x1F7A8C, 0x0F3A44, 5, 0.8},
    {"iMaginary", 0xF4F4FA, 0xE2E2EE, 0xB0A8E0, 0x8780BD, 0x30304A, 4, 0.5},
    {"Lilian", 0xF5EEF5, 0xE4CDE4, 0xD08AD0, 0x9E5E9E, 0x4A1F4A, 5, 0.5},
    {"LiquidSky", 0xE6F2FB, 0xAFD4F0, 0x4FA9E8, 0x2C7CC4, 0x0D3A66, 6, 0.9},
    {"LondonLiquidSky", 0xE9EDF1, 0xB9C9D8, 0x5C8CB8, 0x3E5F80, 0x1E2F40, 5, 0.7},
    {"McSkin", 0xEEEEEE, 0xD9D9D9, 0x8AB8E8, 0xA8A8A8, 0x202020, 6, 0.8},
    {"MoneyTwins", 0xE3EDF7, 0xBFD3E8, 0x7FA7D0, 0x5F86B3, 0x1C3450, 2, 0.4},
    {"Office2007Black", 0xD4D7DC, 0xB8BCC4, 0xFFC85A, 0x33373D, 0x1B1B1B, 3, 0.6},
    {"Office2007Blue", 0xDFE9F5, 0xC4DAF2, 0xFFD55A, 0x6E9AD3, 0x15428B, 3, 0.6},
    {"Office2007Green", 0xE4EEDC, 0xC9DDB8, 0xFFD55A, 0x6F9A4E, 0x274A17, 3, 0.6},
    {"Office2007Pink", 0xF7E4EC, 0xEDC3D4, 0xFFD55A, 0xCC6F95, 0x5A1E36, 3, 0.6},
    {"Office2007Silver", 0xE9EBEF, 0xD3D8E0, 0xFFD55A, 0x9BA5B5, 0x2B2F36, 3, 0.6},
    {"Office2010Black", 0xC6C6C6, 0x8E8E8E, 0xFFD36B, 0x3F3F3F, 0x111111, 2, 0.3},
    {"Office2010Blue", 0xD5E1F2, 0xC7D9F0, 0xFCE08E, 0x8FB0DA, 0x1E395B, 2, 0.3},
    {"Office2010Silver", 0xF0F1F3, 0xE1E4E8, 0xFCE08E, 0xC3C9D1, 0x3B3B3B, 2, 0.3},
    {"Pumpkin", 0xF5E6D3, 0xF2A65A, 0xFF8C1A, 0x4E3019, 0x2B1A0A, 4, 0.6},
    {"Seven", 0xE8EFF8, 0xDDE6F0, 0x7DB6E8, 0x5D8FCB, 0x1A2B3C, 4, 0.7},
    {"Sharp", 0xE4E4E4, 0xCFCFCF, 0x3C78C8, 0x2A2A2A, 0x000000, 0, 0.0},
    {"Silver", 0xECECEC, 0xD0D0D0, 0xA8B8CC, 0x878787, 0x222222, 3, 0.6},
    {"Springtime", 0xF1F8EA, 0xC8E6A8, 0x8CCB5E, 0x5A983A, 0x22401A, 5, 0.6},
    {"Stardust", 0x2F3547, 0x4A5370, 0xB8C4FF, 0x1A1F2E, 0xE4E8F8, 4, 0.5},
    {"Summer2008", 0xFFF8DC, 0xFFE08A, 0xFFB020, 0xDA7418, 0x4A2A00, 5, 0.7},
    {"Valentine", 0xFDEEF0, 0xF5B8C4, 0xE84A6A, 0xB01E3A, 0x4A0A18, 5, 0.6},
    {"Xmas2008Blue", 0xE4ECF6, 0xB4CCE8, 0xD02030, 0x1E4A88, 0x0A1F40, 4, 0.6},
    {"defaultuserskindata", 0xF0F0F0, 0xE1E1E1, 0x99C2EA, 0x6A8CB0, 0x000000, 2, 0.2},
};

TRgb Rgb(uint32_t v) { return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), 255}; }

double Luma(TRgb c) { return (0.299 * c.R + 0.587 * c.G + 0.114 * c.B) / 255.0; }

// The colours every element is drawn with, derived from the seed.
struct TPalette {
  TRgb Window, Face, Accent, Caption, Text;
  TRgb Border, Light, Pressed, Disabled, DisabledText, CaptionText, Content, ContentText, Selection;
  int Radius;
  double Gloss;
  bool Dark;
};

TPalette MakePalette(const TSeed& s) {
  TPalette p;
  p.Window = Rgb(s.Window);
  p.Face = Rgb(s.Face);
  p.Accent = Rgb(s.Accent);
  p.Caption = Rgb(s.Caption);
  p.Text = Rgb(s.Text);
  p.Dark = Luma(p.Window) < 0.45;
  p.Border = p.Dark ? Darker(p.Face, 0.55) : Darker(p.Face, 0.38);
  p.Light = Lighter(p.Face, p.Dark ? 0.18 : 0.55);
  p.Pressed = Darker(Mix(p.Face, p.Accent, 0.8), 0.08);
  p.Disabled = Mix(p.Face, p.Window, 0.6);
  p.DisabledText = Mix(p.Text, p.Window, 0.55);
  p.CaptionText = Luma(p.Caption) < 0.55 ? TRgb{255, 255, 255, 255} : Darker(p.Caption, 0.75);
  p.Content = p.Dark ? Darker(p.Window, 0.25) : TRgb{255, 255, 255, 255};
  p.ContentText = p.Dark ? Lighter(p.Text, 0.2) : Darker(p.Text, 0.3);
  p.Selection = p.Dark ? Darker(p.Accent, 0.25) : Mix(p.Accent, TRgb{255, 255, 255, 255}, 0.25);
  p.Radius = s.Radius;
  p.Gloss = s.Gloss;
  return p;
}

const TSeed& SeedOf(const char* skin) {
  for (const TSeed& s : kSeeds)
    if (std::strcmp(s.Skin, skin) == 0) return s;
  return kSeeds[sizeof kSeeds / sizeof kSeeds[0] - 1];
}

// --- Shapes -------------------------------------------------------------------------

enum TFace { fNormal, fHot, fPressed, fDisabled };
constexpr TvdSkinElementStates kButtonStates = vdSkinStates({esNormal, esHot, esPressed, esDisabled});

// A glossy face: lighter upper half, the base colour below, a rim and a thin
// inner highlight.
void DrawFace(TCanvas& c, int x, int y, int w, int h, const TPalette& p, TRgb base, TRgb border, int radius) {
  TRgb top = Lighter(base, 0.25 + 0.35 * p.Gloss), bottom = Darker(base, 0.08 + 0.1 * p.Gloss);
  c.RoundRect(x, y, w, h, radius, top, bottom, border);
  if (p.Gloss > 0 && h > 6) {
    TRgb shine = WithAlpha(TRgb{255, 255, 255, 255}, uint8_t(40 + 90 * p.Gloss));
    c.RoundRect(x + 1, y + 1, w - 2, (h - 2) / 2, std::max(0, radius - 1), shine, WithAlpha(shine, 20),
                WithAlpha(shine, 0));
  }
  c.Line(x + radius + 1, y + 1.5, x + w - radius - 1, y + 1.5, 1, WithAlpha(p.Light, 150));
}

TRgb FaceColor(const TPalette& p, TFace f) {
  switch (f) {
    case fHot: return Mix(Lighter(p.Face, 0.35), p.Accent, 0.5);
    case fPressed: return p.Pressed;
    case fDisabled: return p.Disabled;
    default: return p.Face;
  }
}

TRgb BorderColor(const TPalette& p, TFace f) {
  if (f == fDisabled) return Mix(p.Border, p.Window, 0.5);
  if (f == fHot || f == fPressed) return Darker(Mix(p.Border, p.Accent, 0.5), 0.1);
  return p.Border;
}

TRgb GlyphColor(const TPalette& p, TFace f) { return f == fDisabled ? p.DisabledText : p.Text; }

enum TGlyph { gNone, gUp, gDown, gLeft, gRight, gClose, gMinimize, gMaximize, gRestore, gHelp, gPlus, gMinus,
              gCheck, gDot, gPin };

void DrawGlyph(TCanvas& c, TGlyph g, double x, double y, double w, double h, TRgb ink) {
  double cx = x + w / 2, cy = y + h / 2, s = std::min(w, h) * 0.28;
  switch (g) {
    case gUp: c.Triangle(cx - s, cy + s / 2, cx + s, cy + s / 2, cx, cy - s / 2 - 1, ink); break;
    case gDown: c.Triangle(cx - s, cy - s / 2, cx + s, cy - s / 2, cx, cy + s / 2 + 1, ink); break;
    case gLeft: c.Triangle(cx + s / 2, cy - s, cx + s / 2, cy + s, cx - s / 2 - 1, cy, ink); break;
    case gRight: c.Triangle(cx - s / 2, cy - s, cx - s / 2, cy + s, cx + s / 2 + 1, cy, ink); break;
    case gClose:
      c.Line(cx - s, cy - s, cx + s, cy + s, 1.8, ink);
      c.Line(cx - s, cy + s, cx + s, cy - s, 1.8, ink);
      break;
    case gMinimize: c.Fill(int(cx - s), int(cy + s - 2), int(2 * s + 1), 2, ink); break;
    case gMaximize:
      c.Frame(int(cx - s), int(cy - s), int(2 * s + 1), int(2 * s + 1), ink);
      c.Fill(int(cx - s), int(cy - s), int(2 * s + 1), 2, ink);
      break;
    case gRestore:
      c.Frame(int(cx - s + 2), int(cy - s), int(2 * s - 1), int(2 * s - 1), ink);
      c.Frame(int(cx - s), int(cy - s + 2), int(2 * s - 1), int(2 * s - 1), ink);
      c.Fill(int(cx - s), int(cy - s + 2), int(2 * s - 1), 2, ink);
      break;
    case gHelp:
      c.Line(cx - s * 0.6, cy - s * 0.5, cx, cy - s, 1.6, ink);
      c.Line(cx, cy - s, cx + s * 0.6, cy - s * 0.5, 1.6, ink);
      c.Line(cx + s * 0.6, cy - s * 0.5, cx, cy + s * 0.2, 1.6, ink);
      c.Disc(cx, cy + s, 1.1, ink);
      break;
    case gPlus:
      c.Fill(int(cx - s), int(cy) - 1, int(2 * s + 1), 2, ink);
      c.Fill(int(cx) - 1, int(cy - s), 2, int(2 * s + 1), ink);
      break;
    case gMinus: c.Fill(int(cx - s), int(cy) - 1, int(2 * s + 1), 2, ink); break;
    case gCheck:
      c.Line(cx - s, cy, cx - s * 0.25, cy + s * 0.8, 2, ink);
      c.Line(cx - s * 0.25, cy + s * 0.8, cx + s, cy - s * 0.9, 2, ink);
      break;
    case gDot: c.Disc(cx, cy, s * 0.8, ink); break;
    case gPin:
      c.Line(cx, cy - s, cx, cy + s, 1.5, ink);
      c.Fill(int(cx - s), int(cy - s * 0.2), int(2 * s), 2, ink);
      break;
    case gNone: break;
  }
}

// --- Element builders -------------------------------------------------------------------

struct TBuilder {
  const TPalette& p;
  TvdSkinElement& e;

  void SetPicture(TvdSkinImage& image, const TCanvas& c) {
    TvdSkinPicture picture;
    picture.LoadFromBytes(vdSkinPngEncode(c.ToPixels()));
    image.SetPicture(std::move(picture));
  }

  void Layout(TvdSkinImage& image, TvdSkinElementStates states, TRect margins, TvdSkinStretchMode stretch,
              TvdSkinImageLayout layout = ilHorizontal) {
    image.SetStates(states);
    image.SetMargins(margins);
    image.SetStretch(stretch);
    image.SetImageLayout(layout);
  }

  // A strip of images x faces parts of w x h, each drawn by draw(canvas, x,
  // y, image index, face).
  template <typename F>
  TCanvas Strip(int w, int h, int images, std::initializer_list<TFace> faces, F draw) {
    TCanvas c(w * images * int(faces.size()), h);
    int x = 0;
    for (int i = 0; i < images; ++i)
      for (TFace f : faces) {
        draw(c, x, 0, i, f);
        x += w;
      }
    return c;
  }

  void Button(int w, int h, int radius, TGlyph glyph = gNone) {
    TCanvas c = Strip(w, h, 1, {fNormal, fHot, fPressed, fDisabled}, [&](TCanvas& c, int x, int y, int, TFace f) {
      DrawFace(c, x, y, w, h, p, FaceColor(p, f), BorderColor(p, f), radius);
      DrawGlyph(c, glyph, x, y, w, h, GlyphColor(p, f));
    });
    int m = std::max(3, radius + 1);
    Layout(e.Image(), kButtonStates, TRect(m, m, m, m), smStretch);
    SetPicture(e.Image(), c);
    e.SetTextColor(ToColorRef(p.Text));
  }

  void CaptionButton(TGlyph glyph, int size) {
    bool close = glyph == gClose;
    TCanvas c = Strip(size, size, 1, {fNormal, fHot, fPressed, fDisabled}, [&](TCanvas& c, int x, int y, int, TFace f) {
      TRgb ink = f == fDisabled ? Mix(p.CaptionText, p.Caption, 0.5) : p.CaptionText;
      if (f == fHot || f == fPressed) {
        TRgb base = close ? TRgb{212, 64, 52, 255} : Mix(p.Caption, p.Accent, 0.6);
        if (f == fPressed) base = Darker(base, 0.2);
        DrawFace(c, x, y, size, size, p, base, Darker(base, 0.35), std::min(3, p.Radius));
        ink = TRgb{255, 255, 255, 255};
      } else {
        c.RoundRect(x + 1, y + 1, size - 2, size - 2, std::min(3, p.Radius), WithAlpha(p.Light, 40),
                    WithAlpha(p.Light, 10), WithAlpha(p.CaptionText, 60));
      }
      DrawGlyph(c, glyph, x, y, size, size, ink);
    });
    Layout(e.Image(), kButtonStates, TRect(3, 3, 3, 3), smStretch);
    SetPicture(e.Image(), c);
  }

  // Caption of a form: inactive (esNormal) and active (esActive) parts.
  void Caption(int height, bool ribbon) {
    int w = 32;
    TCanvas c(w * 2, height);
    for (int i = 0; i < 2; ++i) {
      bool active = i == 1;
      TRgb base = active ? p.Caption : Mix(p.Caption, p.Window, 0.55);
      int r = p.Radius > 0 ? p.Radius + 3 : 0;
      c.RoundRect(i * w, 0, w, height + r + 1, r, Lighter(base, 0.18 + 0.3 * p.Gloss), Darker(base, 0.12),
                  Darker(base, 0.45));
      if (p.Gloss > 0)
        c.VerticalGradient(i * w + 2, 2, w - 4, height / 2 - 1, WithAlpha(TRgb{255, 255, 255, 255}, uint8_t(70 * p.Gloss)),
                           WithAlpha(TRgb{255, 255, 255, 255}, 0));
      c.Fill(i * w, height - 1, w, 1, Darker(base, 0.3));
    }
    Layout(e.Image(), vdSkinStates({esNormal, esActive}), TRect(p.Radius + 6, 6, p.Radius + 6, 3), smStretch);
    SetPicture(e.Image(), c);
    e.SetTextColor(ToColorRef(p.CaptionText));
    e.SetContentOffset(TRect(6, 2, 6, 2));
    if (!ribbon) e.Properties().Add<TvdSkinIntegerProperty>("FontDelta")->SetValue(1);
    e.Properties().AddColor("TextColorInactive", ToColorRef(Mix(p.CaptionText, p.Caption, 0.45)));
  }

  // A side of a form frame, inactive and active: left and right are 4 wide,
  // the bottom 4 high.
  void FrameSide(bool vertical) {
    int w = vertical ? 4 : 16, h = vertical ? 16 : 4;
    TCanvas c(w * 2, h);
    for (int i = 0; i < 2; ++i) {
      TRgb base = i == 1 ? p.Caption : Mix(p.Caption, p.Window, 0.55);
      TRgb outer = Darker(base, 0.45);
      c.Fill(i * w, 0, w, h, Darker(base, 0.1));
      if (vertical) {
        c.Fill(i * w, 0, 1, h, outer);
        c.Fill(i * w + w - 1, 0, 1, h, Darker(base, 0.25));
      } else {
        c.Fill(i * w, h - 1, w, 1, outer);
        c.Fill(i * w, 0, 1, h, outer);
        c.Fill(i * w + w - 1, 0, 1, h, outer);
      }
    }
    Layout(e.Image(), vdSkinStates({esNormal, esActive}), vertical ? TRect(0, 2, 0, 2) : TRect(3, 0, 3, 0),
           smStretch);
    SetPicture(e.Image(), c);
  }

  void Panel(TRgb fill, TRgb border, int radius, bool gradient) {
    int size = 2 * radius + 12;
    TCanvas c(size, size);
    TRgb top = gradient ? Lighter(fill, 0.2) : fill, bottom = gradient ? Darker(fill, 0.06) : fill;
    c.RoundRect(0, 0, size, size, radius, top, bottom, border);
    int m = radius + 2;
    Layout(e.Image(), vdSkinStates({esNormal}), TRect(m, m, m, m), smStretch);
    SetPicture(e.Image(), c);
    e.SetContentOffset(TRect(m, m, m, m));
  }

  // A group box frame with a caption band on the top.
  void GroupPanel(bool caption) {
    int size = 24, r = std::max(2, p.Radius);
    TCanvas c(size, size);
    c.RoundRect(0, 0, size, size, r, caption ? Mix(p.Face, p.Caption, 0.35) : p.Window,
                caption ? p.Face : Mix(p.Window, p.Face, 0.3), p.Border);
    Layout(e.Image(), vdSkinStates({esNormal}), TRect(r + 3, r + 3, r + 3, r + 3), smStretch);
    SetPicture(e.Image(), c);
    e.SetContentOffset(TRect(6, 4, 6, 4));
    e.SetTextColor(ToColorRef(caption ? p.Text : p.ContentText));
  }

  void Line(bool vertical) {
    int w = vertical ? 2 : 8, h = vertical ? 8 : 2;
    TCanvas c(w, h);
    TRgb dark = Darker(p.Window, p.Dark ? 0.4 : 0.22), light = Lighter(p.Window, 0.6);
    if (vertical) {
      c.Fill(0, 0, 1, h, dark);
      c.Fill(1, 0, 1, h, light);
    } else {
      c.Fill(0, 0, w, 1, dark);
      c.Fill(0, 1, w, 1, light);
    }
    Layout(e.Image(), vdSkinStates({esNormal}), TRect(), smStretch);
    SetPicture(e.Image(), c);
  }

  void Glyph(TGlyph glyph, int size, int images = 1) {
    static const TGlyph kPairs[][2] = {{gPlus, gMinus}};
    TCanvas c = Strip(size, size, images, {fNormal, fHot, fPressed, fDisabled}, [&](TCanvas& c, int x, int y, int i, TFace f) {
      TRgb ink = f == fHot ? Darker(Mix(p.Text, p.Accent, 0.6), 0.1) : GlyphColor(p, f);
      DrawGlyph(c, images == 2 ? kPairs[0][i] : glyph, x, y, size, size, ink);
    });
    Layout(e.Image(), kButtonStates, TRect(), smNoResize);
    SetPicture(e.Image(), c);
  }

  // Check box: unchecked, checked, grayed; radio button: off, on.
  void Check(bool radio) {
    int size = 13, images = radio ? 2 : 3;
    TCanvas c = Strip(size, size, images, {fNormal, fHot, fPressed, fDisabled}, [&](TCanvas& c, int x, int y, int i, TFace f) {
      // On a dark skin the box sits on a darker content colour: its rim is
      // lighter than the face, or it would vanish.
      TRgb border = !p.Dark                         ? BorderColor(p, f)
                    : f == fHot || f == fPressed    ? p.Accent
                    : f == fDisabled                ? Mix(p.Face, p.Window, 0.4)
                                                    : Lighter(p.Face, 0.3);
      TRgb fill = f == fPressed ? Mix(p.Content, p.Accent, 0.35) : f == fHot ? Mix(p.Content, p.Accent, 0.15)
                  : f == fDisabled                                ? p.Disabled
                                                                  : p.Content;
      TRgb ink = f == fDisabled ? p.DisabledText : p.Dark ? p.Accent : Darker(p.Caption, 0.2);
      int r = radio ? size / 2 : std::min(2, p.Radius);
      c.RoundRect(x, y, size, size, r, Darker(fill, 0.06), Lighter(fill, 0.3), border);
      if (radio && i == 1) DrawGlyph(c, gDot, x, y, size, size, ink);
      if (!radio && i == 1) DrawGlyph(c, gCheck, x, y, size, size, ink);
      if (!radio && i == 2) c.Fill(x + 3, y + 3, size - 6, size - 6, WithAlpha(ink, 150));
    });
    Layout(e.Image(), kButtonStates, TRect(), smNoResize);
    SetPicture(e.Image(), c);
    e.SetImageCount(images);
    e.SetTextColor(ToColorRef(p.Text));
  }

  // The four arrow buttons of scroll bars: up, down, left, right.
  void ScrollButton() {
    int size = 17;
    static const TGlyph kArrows[] = {gUp, gDown, gLeft, gRight};
    TCanvas c = Strip(size, size, 4, {fNormal, fHot, fPressed, fDisabled}, [&](TCanvas& c, int x, int y, int i, TFace f) {
      if (f != fNormal) DrawFace(c, x, y, size, size, p, FaceColor(p, f), BorderColor(p, f), std::min(2, p.Radius));
      else c.RoundRect(x, y, size, size, std::min(2, p.Radius), Lighter(p.Face, 0.3), p.Face, Mix(p.Border, p.Face, 0.4));
      DrawGlyph(c, kArrows[i], x, y, size, size, GlyphColor(p, f));
    });
    Layout(e.Image(), kButtonStates, TRect(3, 3, 3, 3), smStretch);
    SetPicture(e.Image(), c);
    e.SetImageCount(4);
  }

  void ScrollThumb(bool vertical) {
    int w = vertical ? 17 : 24, h = vertical ? 24 : 17;
    TCanvas c = Strip(w, h, 1, {fNormal, fHot, fPressed, fDisabled}, [&](TCanvas& c, int x, int y, int, TFace f) {
      DrawFace(c, x + (vertical ? 1 : 0), y + (vertical ? 0 : 1), w - (vertical ? 2 : 0), h - (vertical ? 0 : 2), p,
               FaceColor(p, f), BorderColor(p, f), std::min(3, p.Radius));
    });
    Layout(e.Image(), kButtonStates, vertical ? TRect(3, 5, 3, 5) : TRect(5, 3, 5, 3), smStretch);
    SetPicture(e.Image(), c);
  }

  void ScrollTrack(bool vertical) {
    int w = vertical ? 17 : 8, h = vertical ? 8 : 17;
    TCanvas c(w * 2, h);
    for (int i = 0; i < 2; ++i) {
      TRgb base = i == 0 ? Mix(p.Window, p.Face, 0.35) : Mix(p.Face, p.Accent, 0.3);
      if (vertical) c.HorizontalGradient(i * w, 0, w, h, Darker(base, 0.06), Lighter(base, 0.15));
      else c.VerticalGradient(i * w, 0, w, h, Darker(base, 0.06), Lighter(base, 0.15));
    }
    Layout(e.Image(), vdSkinStates({esNormal, esPressed}), TRect(), smStretch);
    SetPicture(e.Image(), c);
  }

  void Grip() {
    int size = 12;
    TCanvas c(size, size);
    for (int row = 0; row < 3; ++row)
      for (int col = 2 - row; col < 3; ++col) {
        c.Fill(3 + col * 3, 3 + row * 3, 2, 2, Lighter(p.Window, 0.7));
        c.Fill(2 + col * 3, 2 + row * 3, 2, 2, Darker(p.Face, 0.4));
      }
    Layout(e.Image(), vdSkinStates({esNormal}), TRect(), smNoResize);
    SetPicture(e.Image(), c);
  }

  void Progress(bool chunk, bool vertical) {
    int size = 12;
    TCanvas c(size, size);
    if (chunk) {
      TRgb a = p.Dark ? p.Accent : Mix(p.Accent, p.Caption, 0.3);
      if (vertical) c.HorizontalGradient(0, 0, size, size, Lighter(a, 0.35), Darker(a, 0.1));
      else c.VerticalGradient(0, 0, size, size, Lighter(a, 0.35), Darker(a, 0.1));
      Layout(e.Image(), vdSkinStates({esNormal}), TRect(1, 1, 1, 1), smStretch);
    } else {
      c.RoundRect(0, 0, size, size, std::min(2, p.Radius), Darker(p.Content, 0.06), p.Content, p.Border);
      Layout(e.Image(), vdSkinStates({esNormal}), TRect(3, 3, 3, 3), smStretch);
      e.SetContentOffset(TRect(2, 2, 2, 2));
    }
    SetPicture(e.Image(), c);
  }

  void Icon(int size) {
    TCanvas c(size, size);
    int r = std::max(2, size / 6);
    c.RoundRect(0, 0, size, size, r, Lighter(p.Caption, 0.3), Darker(p.Caption, 0.15), Darker(p.Caption, 0.5));
    int inner = size / 5;
    c.RoundRect(inner, inner + size / 8, size - 2 * inner, size - 2 * inner - size / 8, std::max(1, r / 2),
                Lighter(p.Window, 0.2), p.Window, Darker(p.Face, 0.3));
    c.Disc(size * 0.68, size * 0.62, size * 0.14, p.Accent);
    Layout(e.Image(), vdSkinStates({esNormal}), TRect(), smNoResize);
    SetPicture(e.Image(), c);
  }

  // Six row indicator glyphs: arrow, star, pencil, asterisk, ...
  void Indicators() {
    int size = 10;
    TCanvas c(size * 6, size);
    TRgb ink = p.Text;
    DrawGlyph(c, gRight, 0, 0, size, size, ink);
    DrawGlyph(c, gPlus, size, 0, size, size, ink);
    DrawGlyph(c, gDot, size * 2, 0, size, size, ink);
    DrawGlyph(c, gCheck, size * 3, 0, size, size, ink);
    DrawGlyph(c, gClose, size * 4, 0, size, size, ink);
    DrawGlyph(c, gMinus, size * 5, 0, size, size, ink);
    Layout(e.Image(), vdSkinStates({esNormal}), TRect(), smNoResize);
    SetPicture(e.Image(), c);
    e.SetImageCount(6);
  }
};

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

TGlyph ArrowOf(const std::string& name) {
  if (Contains(name, "Up") || Contains(name, "Top")) return gUp;
  if (Contains(name, "Left") || Contains(name, "Prev")) return gLeft;
  if (Contains(name, "Right") || Contains(name, "Next")) return gRight;
  if (Contains(name, "Pin")) return gPin;
  if (Contains(name, "Close")) return gClose;
  return gDown;
}

TGlyph CaptionGlyphOf(const std::string& name) {
  if (Contains(name, "Help")) return gHelp;
  if (Contains(name, "Minimize")) return gMinimize;
  if (Contains(name, "Maximize")) return gMaximize;
  if (Contains(name, "Restore")) return gRestore;
  return gClose;
}

void BuildElement(const TPalette& p, const std::string& group, const std::string& name, TvdSkinElement& e) {
  TBuilder b{p, e};
  bool vertical = Contains(name, "Vert") || Contains(name, "Left") || Contains(name, "Right");
  if (name == "SkinIcon") return b.Icon(16);
  if (name == "SkinIconLarge") return b.Icon(48);
  if (name == "FormContent") {
    e.SetColor(ToColorRef(p.Window));
    e.SetTextColor(ToColorRef(p.Text));
    return;
  }
  if (name == "FormCaption" || name == "SmallFormCaption") return b.Caption(name == "SmallFormCaption" ? 20 : 28, group == "Ribbon");
  if (Contains(name, "FrameLeft") || Contains(name, "FrameRight")) return b.FrameSide(true);
  if (Contains(name, "FrameBottom")) return b.FrameSide(false);
  if (group == "Form" || Contains(name, "MDIButton"))
    return b.CaptionButton(CaptionGlyphOf(name), name == "SmallFormButtonClose" ? 14 : 18);
  if (name == "Checkbox" || name == "PopupMenuCheck") return b.Check(false);
  if (name == "RadioButton") return b.Check(true);
  if (name == "ScrollButton") return b.ScrollButton();
  if (name == "ScrollThumbVert") return b.ScrollThumb(true);
  if (name == "ScrollThumbHorz") return b.ScrollThumb(false);
  if (name == "ScrollContentVert") return b.ScrollTrack(true);
  if (name == "ScrollContentHorz") return b.ScrollTrack(false);
  if (name == "PlusMinus") return b.Glyph(gPlus, 9, 2), e.SetImageCount(2);
  if (name == "IndicatorImages") return b.Indicators();
  if (Contains(name, "SizeGrip")) return b.Grip();
  if (Contains(name, "ProgressChunk")) return b.Progress(true, vertical);
  if (Contains(name, "ProgressBorder")) return b.Progress(false, vertical);
  if (Contains(name, "Glyph") || Contains(name, "Arrow") || name == "DockWindowButtonGlyphs")
    return b.Glyph(ArrowOf(name), 9);
  if (Contains(name, "Separator") || Contains(name, "Line") || Contains(name, "Splitter") ||
      name == "AppointmentRightBorder")
    return b.Line(vertical);
  if (Contains(name, "GroupPanel")) return b.GroupPanel(Contains(name, "Caption"));
  if (name == "Button" || Contains(name, "EditorButton") || Contains(name, "CloseButton"))
    return b.Button(group == "Ribbon" ? 22 : 24, 22, p.Radius,
                    Contains(name, "Close") ? gClose : gNone);
  bool tab = Contains(name, "Tab") && !Contains(name, "Pane") && !Contains(name, "Panel") &&
             !Contains(name, "Background");
  if (tab || Contains(name, "Button") || Contains(name, "Header") || Contains(name, "Item") ||
      Contains(name, "Link") || Contains(name, "Thumb") || name == "Category" || name == "RowHeader" ||
      name == "GroupRow" || name == "FooterCell" || name == "KeyTip" || Contains(name, "Selected"))
    return b.Button(20, 20, std::min(p.Radius, 3));
  bool framed = Contains(name, "Border") || Contains(name, "Window") || Contains(name, "Popup") ||
                Contains(name, "Pane") || Contains(name, "Client") || Contains(name, "Record");
  TRgb fill = Contains(name, "Bar") || Contains(name, "Menu") || Contains(name, "Dock") ? p.Face
              : Contains(name, "Content") || name == "AllDayArea" || Contains(name, "Appointment") ? p.Content
                                                                                                  : p.Window;
  b.Panel(fill, framed ? p.Border : Darker(fill, 0.18), framed ? std::min(p.Radius, 4) : 0, !framed);
  e.SetTextColor(ToColorRef(p.Text));
}

// Colours and values that the painters read from groups and elements.
void AddValues(const TPalette& p, TvdSkin& skin) {
  auto color = [&](const char* group, const char* name, TRgb c) {
    skin.GetGroupByName(group)->Properties().AddColor(name, ToColorRef(c));
  };
  color("Form", "TextColorInactive", Mix(p.CaptionText, p.Caption, 0.45));
  color("Form", "TextShadowColor", Darker(p.Caption, 0.5));
  color("Editors", "TextColor", p.ContentText);
  color("Editors", "TextDisabledColor", p.DisabledText);
  color("Editors", "TextInactiveColor", p.ContentText);
  color("Editors", "TextReadOnlyColor", p.ContentText);
  color("Editors", "BackgroundColor", p.Content);
  color("Editors", "BackgroundDisabledColor", Mix(p.Content, p.Window, 0.6));
  color("Editors", "BackgroundInactiveColor", p.Content);
  color("Editors", "BackgroundReadOnlyColor", Mix(p.Content, p.Window, 0.3));
  color("Editors", "HyperLinkTextColor", p.Dark ? Lighter(p.Accent, 0.2) : Darker(p.Caption, 0.2));
  color("Editors", "ProgressBarEmptyTextColor", p.ContentText);
  color("Editors", "ProgressBarFilledTextColor", p.CaptionText);
  color("Bars", "DisabledTextColor", p.DisabledText);
  TvdSkinElement* button = skin.GetGroupByName("Common")->GetElementByName("Button");
  button->Properties().AddColor("DisabledText", ToColorRef(p.DisabledText));
  button->Properties().AddColor("TextColorHot", ToColorRef(p.Dark ? p.Text : Darker(p.Text, 0.2)));
  button->Properties().AddColor("TextColorPressed", ToColorRef(p.Text));
  button->Properties().AddColor("TextColorDisabled", ToColorRef(p.DisabledText));
  skin.GetGroupByName("Editors")->GetElementByName("EditorButton")->Properties().Add<TvdSkinBooleanProperty>(
      "MergeBorders");
}

}  // namespace

std::unique_ptr<TvdSkin> BuildSkin(const TSkinEntry& entry) {
  TPalette p = MakePalette(SeedOf(entry.Name));
  auto skin = std::make_unique<TvdSkin>(entry.Name);
  skin->BeginUpdate();
  TRgb header = Mix(p.Face, p.Window, 0.3);
  // An edit's frame: on a dark skin a light rim, as the content is darker
  // than the window.
  TRgb containerBorder = p.Dark ? Lighter(p.Face, 0.2) : p.Border;
  const TRgb colors[] = {containerBorder, p.Accent, p.Content, p.Content, Mix(p.Content, p.Face, 0.25), p.ContentText,
                         p.Text, p.Accent, header, p.Text, p.Window, p.Selection,
                         p.Dark ? TRgb{255, 255, 255, 255} : p.Text};
  for (size_t i = 0; i < SkinColorNames().size(); ++i) skin->Colors().AddColor(SkinColorNames()[i], ToColorRef(colors[i]));
  skin->Properties().Add<TvdSkinWideStringProperty>("DisplayName")->SetValue(entry.DisplayName);
  if (!IsUserSkin(entry)) skin->Properties().Add<TvdSkinStringProperty>("SkinGroupName")->SetValue(entry.GroupName);
  for (const TGroupEntry& g : GroupEntries()) {
    TvdSkinControlGroup* group = skin->AddGroup(g.Name);
    for (const char* name : g.Elements)
      if (SkinHasElement(entry, g.Name, name)) BuildElement(p, g.Name, name, *group->AddElement(name));
  }
  AddValues(p, *skin);
  skin->EndUpdate();
  return skin;
}

std::vector<uint8_t> DefaultSkinIcon(bool large) {
  TPalette p = MakePalette(SeedOf("defaultuserskindata"));
  TvdSkinElement element(nullptr, "SkinIcon");
  TBuilder{p, element}.Icon(large ? 48 : 16);
  return element.Image().Picture().Bytes();
}
