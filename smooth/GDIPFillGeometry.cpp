#include "smooth/GDIPFillGeometry.h"

#include <cmath>

void AddRoundRectPath(TPathSink& path, const TGPRectF& r, int radius, TFillRoundingType type) {
  const float L = r.X, T = r.Y, Rt = r.X + r.Width, B = r.Y + r.Height;
  const float rad = float(radius), d = 2 * rad;
  auto topLeftArc = [&] { path.AddArc(L, T, d, d, 180, 90); };
  auto topRightArc = [&] { path.AddArc(Rt - d, T, d, d, 270, 90); };
  auto bottomRightArc = [&] { path.AddArc(Rt - d, B - d, d, d, 0, 90); };
  auto bottomLeftArc = [&] { path.AddArc(L, B - d, d, d, 90, 90); };
  switch (type) {
    case rtNone:
      path.AddLine(L, T, Rt, T);
      path.AddLine(Rt, T, Rt, B);
      path.AddLine(Rt, B, L, B);
      path.AddLine(L, B, L, T);
      break;
    case rtTop:
      topLeftArc();
      path.AddLine(L + rad, T, Rt - rad, T);
      topRightArc();
      path.AddLine(Rt, T + rad, Rt, B);
      path.AddLine(Rt, B, L, B);
      path.AddLine(L, B, L, T + rad);
      break;
    case rtBottom:
      path.AddLine(L, T, Rt, T);
      path.AddLine(Rt, T, Rt, B - rad);
      bottomRightArc();
      path.AddLine(Rt - rad, B, L + rad, B);
      bottomLeftArc();
      path.AddLine(L, B - rad, L, T);
      break;
    case rtBoth:
      topLeftArc();
      path.AddLine(L + rad, T, Rt - rad, T);
      topRightArc();
      path.AddLine(Rt, T + rad, Rt, B - rad);
      bottomRightArc();
      path.AddLine(Rt - rad, B, L + rad, B);
      bottomLeftArc();
      path.AddLine(L, B - rad, L, T + rad);
      break;
    case rtLeft:
      topLeftArc();
      path.AddLine(L + rad, T, Rt - rad, T);
      path.AddLine(Rt, T, Rt, B);
      path.AddLine(Rt - rad, B, L + rad, B);
      bottomLeftArc();
      path.AddLine(L, B - rad, L, T + rad);
      break;
    case rtRight:
      path.AddLine(L, T, Rt - rad, T);
      topRightArc();
      path.AddLine(Rt, T + rad, Rt, B - rad);
      bottomRightArc();
      path.AddLine(Rt - rad, B, L, B);
      path.AddLine(L, B - rad, L, T + rad);
      break;
  }
  path.CloseFigure();
}

TGPRectF ShadowContentRect(const TGPRectF& r, TShadowType type, int offset) {
  const float o = float(offset);
  switch (type) {
    case stRightBottom: return {r.X, r.Y, r.Width - o, r.Height - o};
    case stSurround: return {r.X + o, r.Y + o, r.Width - 2 * o, r.Height - 2 * o};
    case stBottom: return {r.X, r.Y, r.Width, r.Height - o};
  }
  return r;
}

void SplitMirrorHalves(const TGPRectF& r, TGPRectF& upper, TGPRectF& lower) {
  const float h = r.Height / 2;
  upper = {r.X, r.Y, r.Width, r.Height - h + 1};
  lower = {r.X, r.Y + h - 1, r.Width, r.Height - h + 1};
}

TFillRoundingType HalfRoundingType(TFillRoundingType type, bool mirrorHalf) {
  switch (type) {
    case rtBoth: return mirrorHalf ? rtBottom : rtTop;
    case rtTop: return mirrorHalf ? rtNone : rtTop;
    case rtBottom: return mirrorHalf ? rtBottom : rtNone;
    default: return type;
  }
}

TIntRect RoundRect(const TGPRectF& r) {
  // lrint rounds in the current mode, which is to nearest, ties to even.
  const int left = int(std::lrint(r.X)), top = int(std::lrint(r.Y));
  return {left, top, left + int(std::lrint(r.Width)), top + int(std::lrint(r.Height))};
}

TFitSize FitPictureSize(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight, TPictureMode mode) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
  if (mode == pmNormal && pictureWidth < areaWidth && pictureHeight < areaHeight)
    return {float(pictureWidth), float(pictureHeight)};
  const double pw = pictureWidth, ph = pictureHeight, aw = areaWidth, ah = areaHeight;
  if (aw / ah <= pw / ph) return {float(aw), float(aw * ph / pw)};
  return {float(ah * pw / ph), float(ah)};
}

TPicturePlacement PlacePicture(TFillPicturePosition position, const TIntRect& area, int pictureWidth,
                               int pictureHeight, bool aspectRatio, TPictureMode aspectMode, int customLeft,
                               int customTop) {
  const int L = area.Left, T = area.Top, R = area.Right, B = area.Bottom;
  const int PW = pictureWidth, PH = pictureHeight;
  // Integer halves truncate toward zero, as C++ division does.
  const int centreX = L + (R - L - PW) / 2, centreY = T + (B - T - PH) / 2;
  switch (position) {
    case ppTopLeft: return {L, T, PW, PH};
    case ppTopCenter: return {centreX, T, PW, PH};
    case ppTopRight: return {R - PW, T, PW, PH};
    case ppBottomLeft: return {L, B - PH, PW, PH};
    case ppBottomCenter: return {centreX, B - PH, PW, PH};
    case ppBottomRight: return {R - PW, B - PH, PW, PH};
    case ppCenterLeft: return {L, centreY, PW, PH};
    case ppCenterCenter: return {centreX, centreY, PW, PH};
    case ppCenterRight: return {R - PW, centreY, PW, PH};
    case ppCustom: return {customLeft, customTop, PW, PH};
    case ppTiled: return {L, T, R - L, B - T, true};
    case ppStretched: {
      TFitSize fit{float(R - L), float(B - T)};
      if (aspectRatio) fit = FitPictureSize(PW, PH, R - L, B - T, aspectMode);
      return {int(std::lrint(L + (R - L - fit.Width) / 2)), int(std::lrint(T + (B - T - fit.Height) / 2)),
              int(std::lrint(fit.Width)), int(std::lrint(fit.Height))};
    }
  }
  return {};
}
