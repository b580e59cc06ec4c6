#include "framed/FmCommon.h"

void PaintTwoColorGradient(HDC dc, const TRect& r, TColor from, TColor to, bool vertical) {
  const COLORREF a = ColorToRGB(from), b = ColorToRGB(to);
  const int steps = vertical ? r.Height() : r.Width();
  for (int i = 0; i < steps; ++i) {
    auto mix = [&](int u, int v) { return u + (v - u) * i / (steps > 1 ? steps - 1 : 1); };
    HBRUSH brush = CreateSolidBrush(
        RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b))));
    RECT line = vertical ? RECT{r.Left, r.Top + i, r.Right, r.Top + i + 1} : RECT{r.Left + i, r.Top, r.Left + i + 1, r.Bottom};
    FillRect(dc, &line, brush);
    DeleteObject(brush);
  }
}
