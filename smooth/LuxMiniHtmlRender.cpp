#include "smooth/LuxMiniHtmlRender.h"

#include <shellapi.h>

#include <cmath>

static_assert(kHtmlNoColor == clNone, "the layout's absent colour is the platform's");

namespace {

void ToTFont(const TMiniHtmlFont& from, TFont& to) {
  to.SetName(from.Name);
  to.SetSize(from.Size);
  to.SetColor(from.Color);
  to.SetStyle(TFontStyles(from.Style));
}

// Measures runs with the graphics' text-run helper, and images by their
// source.
class TGdipMeasurer : public TMiniHtmlMeasurer {
 public:
  TGdipMeasurer(TGPGraphics& graphics, TGDIPPictureContainer* pictures, HIMAGELIST images)
      : graphics_(graphics), pictures_(pictures), images_(images) {}

  THtmlSize MeasureRun(std::string_view text, const TMiniHtmlFont& font) override {
    ToTFont(font, font_);
    RECT r{0, 0, 0, 0};
    graphics_.DrawTextRun(String(text), int(text.size()), clNone, kTextRunCalculate, &font_, r);
    return {r.right - r.left, r.bottom - r.top};
  }

  bool ImageSize(const TMiniHtmlImage& image, THtmlSize& size) override {
    switch (image.Kind) {
      case TMiniHtmlImage::Picture: {
        TLuxGDIPPicture* picture = Picture(image.Source);
        if (!picture) return false;
        size = {picture->Width(), picture->Height()};
        return true;
      }
      case TMiniHtmlImage::ImageList: {
        int w = 0, h = 0;
        if (!images_ || image.Index >= ImageList_GetImageCount(images_) || !ImageList_GetIconSize(images_, &w, &h))
          return false;
        size = {w, h};
        return true;
      }
      case TMiniHtmlImage::SmallIcon:
      case TMiniHtmlImage::LargeIcon: {
        SIZE s{};
        DrawSystemIcon(nullptr, 0, 0, s, 1.0, false, false, image.Kind == TMiniHtmlImage::LargeIcon, image.Source);
        size = {int(s.cx), int(s.cy)};
        return s.cx > 0;
      }
    }
    return false;
  }

  // A named picture that has something to draw; its size is refreshed.
  TLuxGDIPPicture* Picture(const std::string& name) {
    TLuxGDIPPicture* picture = pictures_ ? pictures_->FindPicture(name) : nullptr;
    if (!picture || picture->Empty()) return nullptr;
    if (picture->Width() == 0) picture->UpdateSize();
    return picture;
  }

 private:
  TGPGraphics& graphics_;
  TGDIPPictureContainer* pictures_;
  HIMAGELIST images_;
  TFont font_;
};

// A list bullet in the font "Symbol", through GDI: GDI+ reads a symbol
// font's characters only from the private range. False when the system
// has no symbol font with the character.
bool DrawSymbolBullet(TGPGraphics& graphics, const TMiniHtmlOp& op) {
  HDC dc = nullptr;
  if (graphics.GetHDC(dc) != 0) return false;
  const HFONT symbol = CreateFontA(-MulDiv(op.Font.Size, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0,
                                   0, SYMBOL_CHARSET, 0, 0, 0, 0, "Symbol");
  HGDIOBJ old = SelectObject(dc, symbol);
  WORD glyph = 0xFFFF;
  const bool present = GetGlyphIndicesA(dc, op.Text.c_str(), 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
                       glyph != 0xFFFF && glyph != 0;
  if (present) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(op.Font.Color));
    TextOutA(dc, op.X, op.Y, op.Text.c_str(), int(op.Text.size()));
  }
  SelectObject(dc, old);
  DeleteObject(symbol);
  graphics.ReleaseHDC(dc);
  return present;
}

void Draw(TGPGraphics& graphics, TGdipMeasurer& measurer, const TMiniHtmlLayout& layout, HIMAGELIST images,
          double scale) {
  TFont font;
  for (const TMiniHtmlOp& op : layout.Ops) {
    switch (op.Kind) {
      case okText: {
        ToTFont(op.Font, font);
        if (op.Font.Name == "Symbol" && DrawSymbolBullet(graphics, op)) break;
        if (op.Font.Name == "Symbol") {
          // No symbol font with the bullet: the text font's own bullet.
          font.SetName("Tahoma");
          if (op.Text == "\xB7") {
            RECT r{op.X, op.Y, op.X, op.Y};
            graphics.DrawTextRun("\x95", 1, op.Background, 0, &font, r);
            break;
          }
        }
        RECT r{op.X, op.Y, op.X, op.Y};
        graphics.DrawTextRun(op.Text, int(op.Text.size()), op.Background, 0, &font, r);
        break;
      }
      case okImage: {
        const TMiniHtmlImage& image = layout.Images[size_t(op.Image)];
        if (image.Kind == TMiniHtmlImage::Picture) {
          if (TLuxGDIPPicture* picture = measurer.Picture(image.Source))
            picture->DrawToGraphics(graphics, TRect(op.X, op.Y, op.X + op.Width, op.Y + op.Height));
          break;
        }
        HDC dc = nullptr;
        if (graphics.GetHDC(dc) != 0) break;
        if (image.Kind == TMiniHtmlImage::ImageList) {
          ImageList_Draw(images, image.Index, dc, op.X, op.Y, ILD_TRANSPARENT);
        } else {
          SIZE size{};
          DrawSystemIcon(dc, op.X, op.Y, size, scale, scale != 1.0, true, image.Kind == TMiniHtmlImage::LargeIcon,
                         image.Source);
        }
        graphics.ReleaseHDC(dc);
        break;
      }
      case okSquare:
      case okCircle: {
        TGPSolidBrush brush(ColorToOpaqueARGB(op.Color));
        if (op.Kind == okSquare) graphics.FillRectangle(&brush, float(op.X), float(op.Y), float(op.Width), float(op.Height));
        else graphics.FillEllipse(&brush, op.X, op.Y, op.Width, op.Height);
        break;
      }
      case okLine: {
        TGPPen pen(ColorToOpaqueARGB(op.Color), 1);
        graphics.DrawLine(&pen, float(op.X), float(op.Y), float(op.X + op.Width), float(op.Y + op.Height));
        break;
      }
    }
  }
}

}  // namespace

TMiniHtmlRenderResult RenderMiniHtml(TGPGraphics& graphics, TFont* font, const String& text, int lineSpacing,
                                     TGDIPPictureContainer* pictures, const TRect& rect, TColor shadowColor,
                                     int shadowOffset, TColor hoverColor, TColor hoverBackground, TColor urlColor,
                                     double imageScale, bool wordWrap, bool measureOnly, int hitX, int hitY,
                                     int hoverAnchor, HIMAGELIST images) {
  TMiniHtmlParams params;
  params.Font = {font->Name(), font->Size(), font->Color(), uint8_t(font->Style())};
  params.LineSpacing = lineSpacing;
  params.Rect = {rect.Left, rect.Top, rect.Right, rect.Bottom};
  params.ShadowColor = shadowColor;
  params.ShadowOffset = shadowOffset;
  params.HoverColor = hoverColor;
  params.HoverBackground = hoverBackground;
  params.URLColor = urlColor;
  params.WordWrap = wordWrap;
  params.MeasureOnly = measureOnly;
  params.HitX = hitX;
  params.HitY = hitY;
  params.HoverAnchor = hoverAnchor;
  TGdipMeasurer measurer(graphics, pictures, images);
  TMiniHtmlLayout layout = LayoutMiniHtml(text, params, measurer);
  if (!measureOnly) Draw(graphics, measurer, layout, images, imageScale);
  return {layout.Width, layout.Height, layout.OnAnchor, std::move(layout.Anchor), std::move(layout.PlainText)};
}

void DrawSystemIcon(HDC dc, int x, int y, SIZE& size, double scale, bool stretch, bool draw, bool large,
                    const String& path) {
  int index = 0;
  if (!TryStrToInt(path, index)) {
    SHFILEINFOA info{};
    const bool exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, exists ? SHGFI_SYSICONINDEX : SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    index = info.iIcon;
  }
  SHFILEINFOA listInfo{};
  const HIMAGELIST list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("", 0, &listInfo, sizeof listInfo, large ? SHGFI_SYSICONINDEX : SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  int w = 0, h = 0;
  if (!list || !ImageList_GetIconSize(list, &w, &h)) {
    size = {0, 0};
    return;
  }
  size = {w, h};
  if (!draw || !dc) return;
  if (!stretch) {
    ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  // Drawn at its own size into a bitmap first, then stretched.
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, dc, x, y, SRCCOPY);
  ImageList_Draw(list, index, memory, 0, 0, ILD_TRANSPARENT);
  GdiFlush();
  StretchDIBits(dc, x, y, int(std::lround(w * scale)), int(std::lround(h * scale)), 0, 0, w, h, bits, &bi,
                DIB_RGB_COLORS, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}
