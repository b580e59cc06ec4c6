// The windowed half of the skin info: the placeholder picture drawn with GDI,
// the skin's icons and the scroll-bar part drawers.
#include <windows.h>

#include "foundation/vdGDIPlusClasses.h"
#include "platform/ui/ResourceStream.h"
#include "skins/vdSkinInfo.h"

TvdSkinPicture vdSkinRedCrossPicture() {
  static const TvdSkinPicture cross = [] {
    TvdSkinPicture picture;
    // Without GDI+ nothing is drawn with skins: the placeholder stays empty.
    if (!vdGpIsLibraryAvailable()) return picture;
    constexpr int kSize = 32;
    TBitmap bitmap;
    bitmap.SetSize(kSize, kSize);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Pen()->SetColor(TColor(RGB(255, 0, 0)));
    canvas->Pen()->SetWidth(2);
    canvas->MoveTo(0, 0);
    canvas->LineTo(kSize, kSize);
    canvas->MoveTo(0, kSize);
    canvas->LineTo(kSize, 0);
    // Kept as PNG bytes only: each placeholder decodes its copy when drawn,
    // and nothing decoded outlives GDI+ in this static.
    TvdPNGImage png;
    png.LoadFromBitmap(&bitmap);
    TMemoryStream stream;
    png.SaveToStream(stream);
    picture.LoadFromBytes(stream.Bytes());
    return picture;
  }();
  return cross;
}

std::unique_ptr<TBitmap> TvdSkinInfo::GetIcon(int index) {
  TvdSkinElement* icon = SkinIcons.at(size_t(index));
  if (icon && !icon->Image().IsEmpty() && icon->Image().Picture().Image())
    return icon->Image().Picture().Image()->ToBitmap();
  TResourceStream stream(GetModuleHandleA(nullptr), index == 0 ? "DEFAULTSKINICONSMALL" : "DEFAULTSKINICONLARGE",
                         "VDSKINS");
  TvdPNGImage png;
  png.LoadFromStream(stream);
  return png.ToBitmap();
}

bool TvdSkinScrollInfo::Draw(HDC dc, const TRect& r, int imageIndex, TvdSkinElementState state) {
  if (!Element) return false;
  Element->Draw(dc, r, imageIndex, state);
  return true;
}

bool TvdSkinScrollInfo::DrawPart(HDC dc, const TRect& r, TvdSkinElementState state) {
  return Draw(dc, r, ImageIndex, state);
}
