// Text output of the canvas: a fast single-line path through ExtTextOut, a
// formatted path through DrawText, vertical placement of multi-line text,
// embossed disabled text and text turned by quarter turns.
#include "foundation/vxGraphics.h"

static_assert(vxdt::Center == DT_CENTER && vxdt::Right == DT_RIGHT && vxdt::VCenter == DT_VCENTER &&
              vxdt::Bottom == DT_BOTTOM && vxdt::WordBreak == DT_WORDBREAK && vxdt::SingleLine == DT_SINGLELINE &&
              vxdt::ExpandTabs == DT_EXPANDTABS && vxdt::NoClip == DT_NOCLIP && vxdt::CalcRect == DT_CALCRECT &&
              vxdt::NoPrefix == DT_NOPREFIX && vxdt::EditControl == DT_EDITCONTROL &&
              vxdt::PathEllipsis == DT_PATH_ELLIPSIS && vxdt::EndEllipsis == DT_END_ELLIPSIS &&
              vxdt::NoFullWidthCharBreak == DT_NOFULLWIDTHCHARBREAK);

TSize TvxCanvas::MeasureTextSize(const String& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(DeviceContext(), text.data(), int(text.size()), &size);
  return {size.cx, size.cy};
}

void TvxCanvas::MeasureTextRect(const String& text, TRect& rect, TvxTextFlags flags) {
  const TRect entry = rect;
  const int w0 = entry.Width(), h0 = entry.Height();
  const UINT format = vxTextFlagsToDrawTextFlags(flags);
  TRect measured = entry;
  if (w0 <= 0 && !text.empty()) measured.Right = measured.Left + 1;
  // Measured from the top: the placement below aligns it (some DrawText
  // implementations let a bottom alignment stretch the measured height).
  const UINT measure = (format & ~UINT(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT;
  if (vxDrawTextInColor(DeviceContext(), text, measured, measure, -1, clDefault, TRANSPARENT) == 0) {
    rect = TRect(entry.Left, entry.Top, entry.Left, entry.Top);
    return;
  }
  const int w1 = measured.Width(), h1 = measured.Height();
  int dx = 0, dy = 0;
  if (format & DT_CENTER)
    dx = (w0 - w1) / 2;
  else if (format & DT_RIGHT)
    dx = w0 - w1;
  if (format & DT_VCENTER)
    dy = (h0 - h1) / 2;
  else if (format & DT_BOTTOM)
    dy = h0 - h1;
  rect = vxShiftedRect(measured, dx, dy, true);
}

int TvxCanvas::LineHeightForFont(const TFont* font) {
  AssignFontObject(font);
  return MeasureTextHeight("Qq");
}

void TvxCanvas::ApplyFontAngle(int angle) {
  // The platform font makes its handle with this escapement; a raster font
  // draws upright whatever it says, a TrueType face turns.
  FontObject()->SetOrientation(angle * 10);
}

void TvxCanvas::PlaceTextVertically(TRect& rect, const String& text, bool endEllipsis, bool noCharBreak,
                                    bool enabled, bool showPrefix, bool wordBreak, int alignment) {
  if (alignment == 0) return;
  const int d = enabled ? 0 : 1;
  const TvxTextFlags flags = TvxTextFlags(vxtfAlignLeft | vxtfAlignTop | (wordBreak ? vxtfWordBreak : 0) |
                                          (showPrefix ? vxtfShowPrefix : 0));
  int height;
  if (endEllipsis && wordBreak) {
    // As many whole lines as fit, at least one.
    const int line = MeasureTextHeight("Wg");
    if (line <= 0) return;
    height = std::max(line, line * ((rect.Height() - d) / line));
  } else {
    TRect measure(0, 0, rect.Width() - d, 0);
    MeasureTextRect(text, measure, TvxTextFlags(flags | (noCharBreak ? vxtfDontBreakChars : 0)));
    height = measure.Height();
  }
  if (alignment == 1)
    rect.Top = rect.Bottom - height - d;
  else
    rect.Top = (rect.Top + rect.Bottom - height) / 2;
}

void TvxCanvas::OutputTextEx(const String& text, const TRect& rect, TvxTextFlags flags, bool enabled,
                             TvxRotation rotation) {
  if (text.empty()) return;
  TRect r = rect;
  const bool singleLine = (flags & vxtfSingleLine) != 0;
  const bool formatted =
      !singleLine || rotation != raNone || (flags & (vxtfShowPrefix | vxtfEndEllipsis | vxtfPathEllipsis));
  const TSize extent = MeasureTextSize(text);
  if (r.Width() >= extent.cx && r.Height() >= extent.cy) flags |= vxtfNoClip;
  const int horz = flags & vxtfHorzAlignMask, vert = flags & vxtfVertAlignMask;
  const int d = enabled ? 0 : 1;

  UINT format = 0, options = 0;
  if (formatted) {
    if (!singleLine && (vert == vxtfAlignBottom || vert == vxtfAlignVCenter))
      PlaceTextVertically(r, text, flags & vxtfEndEllipsis, flags & vxtfDontBreakChars, enabled,
                          flags & vxtfShowPrefix, flags & vxtfWordBreak, vert == vxtfAlignBottom ? 1 : 2);
    format = vxTextFlagsToDrawTextFlags(flags);
  } else {
    if (extent.cx < r.Width()) {
      if (horz == vxtfAlignRight)
        r.Left = r.Right - extent.cx - d;
      else if (horz == vxtfAlignHCenter)
        r.Left = (r.Left + r.Right - extent.cx) / 2;
    }
    if (extent.cy < r.Height()) {
      if (vert == vxtfAlignBottom)
        r.Top = r.Bottom - extent.cy - d;
      else if (vert == vxtfAlignVCenter)
        r.Top = (r.Top + r.Bottom - extent.cy) / 2;
    }
    options = (flags & vxtfNoClip) ? 0 : ETO_CLIPPED;
  }

  auto draw = [&](const TRect& at) {
    if (formatted)
      vxDrawRotatedText(this, text, at, format, clDefault, rotation);
    else
      vxTextOutAt(DeviceContext(), text, at.TopLeft(), -1, options, &at);
  };
  const TBrushStyle brushStyle = BrushObject()->Style();
  const TColor fontColor = FontObject()->Color();
  if (!enabled) {
    // Embossed: a highlight copy one pixel down and right, the shadow on top.
    BrushObject()->SetStyle(bsClear);
    FontObject()->SetColor(clBtnHighlight);
    draw(vxShiftedRect(r, 1, 1, true));
    FontObject()->SetColor(clBtnShadow);
  }
  draw(r);
  if (BrushObject()->Style() != brushStyle) BrushObject()->SetStyle(brushStyle);
  FontObject()->SetColor(fontColor);
}

int vxDrawRotatedText(TvxCanvas* canvas, const String& text, const TRect& rect, UINT format, TColor color,
                      TvxRotation rotation) {
  TRect r = rect;
  if (rotation == raNone) return vxDrawTextOnCanvas(canvas->Canvas(), text, r, color, format);
  // The area is turned upright into a bitmap, written on, and turned back.
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(r.Width(), r.Height());
  BitBlt(bitmap.Canvas()->Handle(), 0, 0, r.Width(), r.Height(), canvas->DeviceContext(), r.Left, r.Top, SRCCOPY);
  TvxCanvas::RotateBitmap(&bitmap, vxInverseRotation(rotation), false);
  bitmap.Canvas()->Font()->Assign(canvas->FontObject());
  TRect upright(0, 0, bitmap.Width(), bitmap.Height());
  const int result = vxDrawTextOnCanvas(bitmap.Canvas(), text, upright, color, format);
  TvxCanvas::RotateBitmap(&bitmap, rotation, false);
  BitBlt(canvas->DeviceContext(), r.Left, r.Top, r.Width(), r.Height(), bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
  return result;
}
