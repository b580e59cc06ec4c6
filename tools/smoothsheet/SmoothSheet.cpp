// The picture sheet of the smooth controls: every rounding type, the body
// gradients and mirrored halves, glows, shadows and picture placements of
// the fill, smooth labels, the splash's mini-HTML and progress bars, drawn
// into "smooth.png" in the working folder for people to judge.
#include <windows.h>
#include <objidl.h>
// objidl.h first: the GDI+ header needs its property types.
#include <gdiplus.h>

#include <cstdio>
#include <functional>

#include "foundation/vdGDIPlusAPI.h"
#include "smooth/GDIPFill.h"
#include "smooth/LuxMiniHtmlRender.h"
#include "smooth/LuxSmoothLabel.h"
#include "smooth/LuxSmoothSplashScreen.h"

namespace {

constexpr int kSheetWidth = 960, kSheetHeight = 1040;
constexpr int kCellWidth = 150, kCellHeight = 110, kShapeWidth = 130, kShapeHeight = 70;

class TSheet {
 public:
  TSheet() {
    bitmap_.SetPixelFormat(pf32bit);
    bitmap_.SetSize(kSheetWidth, kSheetHeight);
    bitmap_.Canvas()->Brush()->SetColor(clWhite);
    bitmap_.Canvas()->FillRect(TRect(0, 0, kSheetWidth, kSheetHeight));
    font_.SetName("Tahoma");
    font_.SetHeight(-11);
    font_.SetColor(clBlack);
  }

  // A row heading at the left of row.
  void Heading(int row, const String& text) { Caption(10, Top(row) - 16, text, true); }

  // One fill in cell (column, row) with its caption.
  void Fill(int column, int row, const String& caption, const std::function<void(TGDIPFill&)>& setup) {
    TGDIPFill fill;
    fill.SetColor(RGBColor(120, 170, 230));
    fill.SetColorTo(RGBColor(20, 60, 140));
    fill.SetBorderColor(RGBColor(10, 30, 80));
    fill.SetRounding(10);
    setup(fill);
    const int x = Left(column), y = Top(row);
    {
      TGPGraphics g(bitmap_.Canvas()->Handle());
      g.SetSmoothingMode(SmoothingModeAntiAlias);
      fill.Fill(&g, TGPRectF(float(x), float(y), kShapeWidth, kShapeHeight));
    }
    Caption(x, y + kShapeHeight + 4, caption, false);
  }

  // A smooth label at (x, y) of the given size.
  void Label(int x, int y, int width, int height, const String& caption,
             const std::function<void(TLuxSmoothLabel&)>& setup) {
    TLuxSmoothLabel label(nullptr);
    label.SetBounds(x, y, width, height);
    setup(label);
    HDC dc = bitmap_.Canvas()->Handle();
    POINT old;
    SetViewportOrgEx(dc, x, y, &old);
    label.PaintTo(bitmap_.Canvas());
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
    Caption(x, y + height + 2, caption, false);
  }

  // Mini-HTML in the box (x, y, width, height), over a light panel, with
  // the sheet's picture as "dot".
  void Html(int x, int y, int width, int height, const String& caption, const String& html) {
    TGDIPPictureContainer pictures(nullptr);
    TPictureItem* dot = pictures.Items()->Add();
    dot->SetName("dot");
    dot->Picture()->Assign(&picture_);
    TCanvas* canvas = bitmap_.Canvas();
    canvas->Brush()->SetColor(RGBColor(240, 244, 250));
    canvas->FillRect(TRect(x, y, x + width, y + height));
    TFont font;
    font.SetName("Tahoma");
    font.SetSize(9);
    TGPGraphics g(canvas->Handle());
    g.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
    RenderMiniHtml(g, &font, html, 2, &pictures, TRect(x, y, x + width, y + height), clGray, 2, clNone, clNone,
                   clBlue, 1.0, true, false);
    Caption(x, y + height + 2, caption, false);
  }

  // A splash progress bar at (x, y).
  void Progress(int x, int y, const String& caption, const std::function<void(TGDIPSplashProgress&)>& setup) {
    TGDIPSplashProgress bar;
    bar.SetWidth(200);
    bar.SetHeight(20);
    bar.ProgressFill()->SetColor(RGBColor(0, 213, 128));
    bar.ProgressFill()->SetColorTo(RGBColor(1, 124, 150));
    bar.BackGroundFill()->SetColor(RGBColor(236, 242, 248));
    bar.BackGroundFill()->SetColorTo(RGBColor(206, 218, 232));
    bar.BackGroundFill()->SetBorderColor(clGray);
    bar.SetValueVisible(true);
    bar.SetValueType(vtPercentage);
    setup(bar);
    TGPGraphics g(bitmap_.Canvas()->Handle());
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
    bar.Draw(g, TRect(x, y, x + bar.Width(), y + bar.Height()), bar.Minimum(), bar.Maximum(), bar.Position());
    Caption(x, y + bar.Height() + 2, caption, false);
  }

  TLuxGDIPPicture* Picture() { return &picture_; }
  static int Left(int column) { return 10 + column * kCellWidth; }
  static int Top(int row) { return 26 + row * (kCellHeight + 16); }

  bool SavePng(const char* file) {
    if (!vdGpIsLibraryAvailable()) return false;
    Gdiplus::GpBitmap* image = nullptr;
    namespace flat = Gdiplus::DllExports;
    if (flat::GdipCreateBitmapFromHBITMAP(bitmap_.Handle(), nullptr, &image) != Gdiplus::Ok) return false;
    const WideString name = AnsiToWide(file);
    const bool saved = flat::GdipSaveImageToFile(image, reinterpret_cast<const WCHAR*>(name.c_str()),
                                                 &vdGpLookupPngEncoder(), nullptr) == Gdiplus::Ok;
    flat::GdipDisposeImage(image);
    return saved;
  }

 private:
  void Caption(int x, int y, const String& text, bool bold) {
    TCanvas* canvas = bitmap_.Canvas();
    canvas->Font()->Assign(&font_);
    canvas->Font()->SetStyle(bold ? fsBold : 0);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(x, y, text);
    canvas->Brush()->SetStyle(bsSolid);
  }

  TBitmap bitmap_;
  TFont font_;
  TLuxGDIPPicture picture_;
};

// A small picture with an alpha edge for the placements: a 24 x 24 orange
// disc on a transparent ground, encoded as PNG.
void MakePicture(TLuxGDIPPicture& picture) {
  TGPBitmap image(24, 24, kPixelFormat32bppARGB);
  {
    TGPGraphics g(&image);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.Clear(0);
    TGPSolidBrush brush(OpaqueARGB(240, 140, 20));
    g.FillEllipse(&brush, 1, 1, 22, 22);
  }
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) return;
  namespace flat = Gdiplus::DllExports;
  if (flat::GdipSaveImageToStream(static_cast<Gdiplus::GpImage*>(image.NativeHandle()), stream,
                                  &vdGpLookupPngEncoder(), nullptr) == Gdiplus::Ok) {
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    TMemoryStream bytes;
    bytes.SetSize(int64_t(stat.cbSize.QuadPart));
    ULONG read = 0;
    stream->Read(bytes.Memory(), ULONG(stat.cbSize.QuadPart), &read);
    bytes.SetPosition(0);
    picture.LoadFromStream(bytes);
  }
  stream->Release();
}

void DrawSheet(TSheet& sheet) {
  const char* roundings[] = {"rtNone", "rtTop", "rtBottom", "rtBoth", "rtLeft", "rtRight"};
  sheet.Heading(0, "Rounding types (Rounding 10, vertical gradient, border)");
  for (int i = 0; i < 6; ++i)
    sheet.Fill(i, 0, roundings[i], [i](TGDIPFill& f) { f.SetRoundingType(TFillRoundingType(i)); });

  sheet.Heading(1, "Bodies");
  sheet.Fill(0, 1, "gtSolid", [](TGDIPFill& f) { f.SetGradientType(gtSolid); });
  sheet.Fill(1, 1, "gtHorizontal", [](TGDIPFill& f) { f.SetGradientType(gtHorizontal); });
  sheet.Fill(2, 1, "gtForwardDiagonal", [](TGDIPFill& f) { f.SetGradientType(gtForwardDiagonal); });
  sheet.Fill(3, 1, "gtAngle 30", [](TGDIPFill& f) {
    f.SetGradientType(gtAngle);
    f.SetAngle(30);
  });
  sheet.Fill(4, 1, "gtHatch", [](TGDIPFill& f) {
    f.SetGradientType(gtHatch);
    f.SetHatchStyle(HatchStyleSolidDiamond);
  });
  sheet.Fill(5, 1, "gtRadial", [](TGDIPFill& f) { f.SetGradientType(gtRadial); });

  sheet.Heading(2, "Mirrored halves and glows");
  sheet.Fill(0, 2, "mirror, solid lower", [](TGDIPFill& f) {
    f.SetColorMirror(RGBColor(10, 40, 110));
    f.SetColorMirrorTo(clNone);
  });
  sheet.Fill(1, 2, "mirror, gradient lower", [](TGDIPFill& f) {
    f.SetColorTo(RGBColor(200, 225, 250));
    f.SetColorMirror(RGBColor(60, 110, 200));
    f.SetColorMirrorTo(RGBColor(130, 180, 240));
    f.SetGradientMirrorType(gtVertical);
  });
  sheet.Fill(2, 2, "mirror, radial halves", [](TGDIPFill& f) {
    f.SetGradientType(gtRadial);
    f.SetColorMirror(RGBColor(10, 40, 110));
    f.SetColorMirrorTo(RGBColor(100, 160, 240));
    f.SetGradientMirrorType(gtRadial);
  });
  sheet.Fill(3, 2, "gmGradient", [](TGDIPFill& f) { f.SetGlow(gmGradient); });
  sheet.Fill(4, 2, "gmRadial", [](TGDIPFill& f) { f.SetGlow(gmRadial); });
  sheet.Fill(5, 2, "gmRadialGradient", [](TGDIPFill& f) { f.SetGlow(gmRadialGradient); });

  sheet.Heading(3, "Shadows (offset 6), focus and opacity");
  sheet.Fill(0, 3, "stRightBottom", [](TGDIPFill& f) { f.SetShadowOffset(6); });
  sheet.Fill(1, 3, "stBottom", [](TGDIPFill& f) {
    f.SetShadowOffset(6);
    f.SetShadowType(stBottom);
  });
  sheet.Fill(2, 3, "stSurround", [](TGDIPFill& f) {
    f.SetShadowOffset(6);
    f.SetShadowType(stSurround);
  });
  sheet.Fill(3, 3, "Focus", [](TGDIPFill& f) {
    f.Focus = true;
    f.SetBorderWidth(3);
  });
  sheet.Fill(4, 3, "Opacity 128 to 40", [](TGDIPFill& f) {
    f.SetOpacity(128);
    f.SetOpacityTo(40);
  });
  sheet.Fill(5, 3, "border 3, rtNone", [](TGDIPFill& f) {
    f.SetBorderWidth(3);
    f.SetRoundingType(rtNone);
  });

  sheet.Heading(4, "Picture placement (24 x 24 PNG with alpha)");
  TLuxGDIPPicture* picture = sheet.Picture();
  const std::pair<TFillPicturePosition, const char*> places[] = {
      {ppTopLeft, "ppTopLeft"}, {ppCenterCenter, "ppCenterCenter"}, {ppBottomRight, "ppBottomRight"},
      {ppStretched, "ppStretched, aspect"}, {ppTiled, "ppTiled (texture)"}};
  for (int i = 0; i < 5; ++i) {
    const auto [position, name] = places[i];
    sheet.Fill(i, 4, name, [&, position = position](TGDIPFill& f) {
      f.SetGradientType(position == ppTiled ? gtTexture : gtSolid);
      f.SetColor(RGBColor(230, 238, 250));
      if (position == ppTiled) {
        f.SetBackGroundPicture(picture);
        f.SetBackGroundPicturePosition(ppTiled);
      } else {
        f.SetPicture(picture);
        f.SetPicturePosition(position);
        f.SetPictureAspectRatio(true);
      }
    });
  }

  // Smooth labels, most on a dark fill as on the welcome page.
  const int top = TSheet::Top(5) - 12;
  sheet.Label(10, top, 300, 44, "gradient caption (default colours)", [](TLuxSmoothLabel& l) {
    l.SetTransparent(false);
    l.Fill()->SetColor(RGBColor(16, 30, 60));
    l.Fill()->SetColorTo(RGBColor(30, 60, 110));
    l.Caption()->SetText("Bienvenu");
    l.Caption()->SetLocation(plCenterLeft);
  });
  sheet.Label(330, top, 300, 44, "shadow caption, offsets 2/2", [](TLuxSmoothLabel& l) {
    l.SetTransparent(false);
    l.Fill()->SetColor(RGBColor(16, 30, 60));
    l.Fill()->SetColorTo(RGBColor(30, 60, 110));
    l.SetCaptionShadowVisible(true);
    l.SetCaptionShadowOffsetLeft(2);
    l.SetCaptionShadowOffsetTop(2);
    l.CaptionShadow()->SetGradientType(gtSolid);
    l.CaptionShadow()->SetColorStart(clBlack);
    l.CaptionShadow()->SetLocation(plCenterLeft);
    l.Caption()->SetLocation(plCenterLeft);
    l.Caption()->SetText("Software MERVALDO");
  });
  sheet.Label(650, top, 300, 44, "rounded fill with shadow, ClearType", [](TLuxSmoothLabel& l) {
    l.SetTransparent(false);
    l.SetTextRendering(tClearType);
    l.Fill()->SetRounding(8);
    l.Fill()->SetShadowOffset(4);
    l.Fill()->SetBorderColor(clGray);
    l.Caption()->SetGradientType(gtHorizontal);
    l.Caption()->SetColorStart(clNavy);
    l.Caption()->SetColorEnd(clTeal);
    l.Caption()->Font()->SetSize(16);
    l.Caption()->SetText("Quillor Pro 5.8");
  });
  sheet.Label(10, top + 64, 440, 62, "word wrap, centred, 12 pt", [](TLuxSmoothLabel& l) {
    l.SetTransparent(false);
    l.Fill()->SetColor(RGBColor(16, 30, 60));
    l.Fill()->SetColorTo(RGBColor(30, 60, 110));
    l.SetWordWrap(true);
    l.Caption()->Font()->SetSize(12);
    l.Caption()->SetColorStart(RGBColor(162, 189, 253));
    l.Caption()->SetText("L'assistant d'installation va vous guider dans l'installation de l'application.");
  });
  sheet.Label(470, top + 64, 200, 62, "AutoSize", [](TLuxSmoothLabel& l) {
    l.Caption()->SetGradientType(gtHatch);
    l.Caption()->SetHatchStyle(HatchStyleSolidDiamond - 2);
    l.Caption()->SetColorStart(clMaroon);
    l.Caption()->SetColorEnd(clRed);
    l.Caption()->SetText("Hatched");
    l.SetAutoSize(true);
  });

  const int html = top + 150;
  sheet.Heading(7, "Splash mini-HTML and progress bar");
  sheet.Html(10, html, 300, 150, "status lines, styles, list, link, rule",
             "<IMG src=\"dot\"><FONT size=\"16\" color=\"#A45302\">V\xE9rification...</FONT><BR>"
             "<B>bold</B> <I>italic</I> <U>under</U> <S>struck</S> <FONT color=\"clRed\" size=\"3\">red 12</FONT> "
             "x<SUP>2</SUP> &lt;tag&gt; &amp;lt; <A href=\"more\">a link</A><HR>"
             "<UL><LI>first</LI><LI type=\"square\" color=\"clGreen\">second</LI></UL>"
             "<SHAD>shadowed</SHAD> <E>speling</E> <HI>highlight</HI>");
  sheet.Html(330, html, 180, 150, "wrapping at 180, centred paragraph",
             "<P align=\"CENTER\">A longer status text that wraps at the width of its box, word by word.</P>"
             "<P align=\"RIGHT\">right</P>");
  sheet.Progress(540, html, "0 %", [](TGDIPSplashProgress& b) { b.SetPosition(0); });
  sheet.Progress(540, html + 44, "35 %, value centred", [](TGDIPSplashProgress& b) { b.SetPosition(35); });
  sheet.Progress(540, html + 88, "100 %, no shadows or overlays", [](TGDIPSplashProgress& b) {
    b.SetPosition(100);
    b.SetShadows(false);
    b.SetOverlays(false);
  });
  sheet.Progress(750, html, "60 %, value at the progress end", [](TGDIPSplashProgress& b) {
    b.SetPosition(60);
    b.SetValuePosition(vpProgressRight);
  });
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TSheet sheet;
  MakePicture(*sheet.Picture());
  DrawSheet(sheet);
  if (!sheet.SavePng("smooth.png")) {
    std::fprintf(stderr, "smooth.png could not be written\n");
    return 1;
  }
  return 0;
}
