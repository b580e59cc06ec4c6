#include "framed/FmBHintsGeometry.h"

TRect BalloonWindowRect(const TRect& r, TFmHintCorner corner, bool showBalloon) {
  const bool tail = showBalloon && HasTail(corner);
  const int margin = tail ? 4 : 2;
  TRect w(r.Left - margin, r.Top - margin, r.Right + margin, r.Bottom + margin);
  if (tail && IsLower(corner)) w.Top -= kBalloonTailHeight;
  else if (tail) w.Bottom += kBalloonTailHeight;
  return w;
}

TFmBalloonPlace PlaceBalloon(const TRect& r, int width, int height, TFmHintCorner corner, const TRect& workArea) {
  TPoint p;
  switch (corner) {
    case hcLowerLeft: p = TPoint(r.Left - width + 10, r.Top); break;
    case hcUpperLeft: p = TPoint(r.Left - width + 10, r.Top - height); break;
    case hcUpperRight: p = TPoint(r.Left - 10, r.Top - height); break;
    default: p = TPoint(r.Left - 10, r.Top); break;
  }
  if (p.Y < workArea.Top) {
    if (corner == hcUpperRight) corner = hcLowerRight;
    else if (corner == hcUpperLeft) corner = hcLowerLeft;
    p.Y = r.Top;
  }
  if (p.Y + height > workArea.Bottom) {
    if (corner == hcLowerRight) corner = hcUpperRight;
    else if (corner == hcLowerLeft) corner = hcUpperLeft;
    p.Y = r.Top - height;
  }
  if (p.X + width > workArea.Right) {
    if (corner == hcLowerRight) corner = hcLowerLeft;
    else if (corner == hcUpperRight) corner = hcUpperLeft;
    p.X = r.Left - width - 1;
  }
  if (p.X < workArea.Left) {
    if (corner == hcLowerLeft) corner = hcLowerRight;
    else if (corner == hcUpperLeft) corner = hcUpperRight;
    p.X = r.Left + 1;
  }
  return {p, corner};
}

TRect BalloonBody(const TRect& client, TFmHintCorner corner) {
  TRect b = client;
  if (!HasTail(corner)) return b;
  if (IsLower(corner)) b.Top += kBalloonTailHeight;
  else b.Bottom -= kBalloonTailHeight;
  return b;
}

std::array<TPoint, 3> BalloonTail(const TRect& b, const TRect& c, TFmHintCorner corner) {
  switch (corner) {
    case hcLowerRight: return {TPoint(b.Left + 10, b.Top + 1), TPoint(b.Left + 10, c.Top + 1), TPoint(b.Left + 30, b.Top + 1)};
    case hcLowerLeft: return {TPoint(b.Right - 10, b.Top + 1), TPoint(b.Right - 10, c.Top + 1), TPoint(b.Right - 30, b.Top + 1)};
    case hcUpperLeft:
      return {TPoint(b.Right - 10, b.Bottom - 2), TPoint(b.Right - 10, c.Bottom - 2), TPoint(b.Right - 30, b.Bottom - 2)};
    default:
      return {TPoint(b.Left + 10, b.Bottom - 2), TPoint(b.Left + 10, c.Bottom - 2), TPoint(b.Left + 30, b.Bottom - 2)};
  }
}

TRect BalloonTailGap(const TRect& b, TFmHintCorner corner) {
  switch (corner) {
    case hcLowerRight: return TRect(b.Left + 10, b.Top + 1, b.Left + 31, b.Top + 2);
    case hcLowerLeft: return TRect(b.Right - 30, b.Top + 1, b.Right - 9, b.Top + 2);
    case hcUpperLeft: return TRect(b.Right - 30, b.Bottom - 3, b.Right - 9, b.Bottom - 1);
    default: return TRect(b.Left + 10, b.Bottom - 3, b.Left + 31, b.Bottom - 1);
  }
}

std::array<TRect, 4> BalloonBodyRegion(const TRect& b) {
  return {TRect(b.Left, b.Top + 4, b.Right, b.Bottom - 4), TRect(b.Left + 4, b.Top, b.Right - 4, b.Bottom),
          TRect(b.Left + 2, b.Top + 1, b.Right - 2, b.Bottom - 1), TRect(b.Left + 1, b.Top + 2, b.Right - 1, b.Bottom - 2)};
}

std::array<TPoint, 3> BalloonTailRegion(const TRect& b, const TRect& c, TFmHintCorner corner) {
  std::array<TPoint, 3> t = BalloonTail(b, c, corner);
  switch (corner) {
    case hcLowerRight: t[1].Y -= 1, t[2].X += 1; break;
    case hcLowerLeft: t[0].X += 1, t[1].X += 1, t[1].Y -= 1; break;
    case hcUpperLeft: t[0].X += 1, t[1].X += 1, t[1].Y += 1; break;
    default: t[1].Y += 1, t[2].X += 1; break;
  }
  return t;
}

TFmBalloonBitmapChoice ChooseBalloonBitmap(TFmHintCorner wanted, const std::array<bool, 4>& present) {
  if (wanted == hcNone) wanted = hcLowerRight;
  if (present[wanted]) return {wanted, false, false};
  const TFmHintCorner order[] = {hcUpperRight, hcUpperLeft, hcLowerRight, hcLowerLeft};
  for (TFmHintCorner source : order) {
    if (!present[source]) continue;
    const bool rightWanted = wanted == hcLowerRight || wanted == hcUpperRight;
    const bool rightSource = source == hcLowerRight || source == hcUpperRight;
    return {source, rightWanted != rightSource, IsLower(wanted) != IsLower(source)};
  }
  return {};
}
