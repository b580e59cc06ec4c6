// The mini-HTML drawn through GDI+: LuxMiniHtml lays the text out with runs
// measured by the text-run helper of the graphics, and the result is drawn
// here with named pictures of a container, image-list images and shell
// icons.
#pragma once

#include <commctrl.h>

#include "smooth/GDIPPictureContainer.h"
#include "smooth/LuxGDIPWrappers.h"
#include "smooth/LuxMiniHtml.h"

struct TMiniHtmlRenderResult {
  int Width = 0, Height = 0;
  bool OnAnchor = false;
  String Anchor;
  String PlainText;
};

// Lays out (and unless measureOnly draws) text in rect with font as its
// base. The caller's font is not changed.
TMiniHtmlRenderResult RenderMiniHtml(TGPGraphics& graphics, TFont* font, const String& text, int lineSpacing,
                                     TGDIPPictureContainer* pictures, const TRect& rect, TColor shadowColor,
                                     int shadowOffset, TColor hoverColor, TColor hoverBackground, TColor urlColor,
                                     double imageScale, bool wordWrap, bool measureOnly, int hitX = -1,
                                     int hitY = -1, int hoverAnchor = -1, HIMAGELIST images = nullptr);

// Draws the shell icon of path (an icon index when path is a number) at
// (x, y), or with stretch into its size times scale, and gives its size.
// With draw false it only gives the size.
void DrawSystemIcon(HDC dc, int x, int y, SIZE& size, double scale, bool stretch, bool draw, bool large,
                    const String& path);
