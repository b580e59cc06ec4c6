// The skin elements sheet: elements of four shipped skins drawn by the
// element drawing itself (no painter in between): a push button in each
// state at two sizes, check box and radio button, scroll-bar parts, a group
// panel, a form frame with its caption buttons, and at the bottom the empty
// element and a placeholder of a skin that lacks the element.
#include <map>
#include <memory>

#include "skins/vdSkinInfo.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

TvdSkinInfo& Info(const char* name) {
  static std::map<String, std::unique_ptr<TvdSkinInfo>> infos;
  std::unique_ptr<TvdSkinInfo>& info = infos[name];
  if (!info) {
    auto skin = std::make_unique<TvdSkin>(name);
    skin->LoadFromResource(GetModuleHandleA(nullptr));
    info = std::make_unique<TvdSkinInfo>(std::move(skin));
  }
  return *info;
}

void DrawForm(HDC dc, TvdSkinInfo& info, const TRect& r) {
  const auto& frames = info.FormFrames[1];
  const TRect& sizes = info.FormFrameSizes[1];
  const int captionHeight = frames[1]->GetImageSize().cy;
  frames[1]->Draw(dc, TRect(r.Left, r.Top, r.Right, r.Top + captionHeight), 0, esActive);
  frames[0]->Draw(dc, TRect(r.Left, r.Top + captionHeight, r.Left + sizes.Left, r.Bottom - sizes.Bottom), 0, esActive);
  frames[2]->Draw(dc, TRect(r.Right - sizes.Right, r.Top + captionHeight, r.Right, r.Bottom - sizes.Bottom), 0,
                  esActive);
  frames[3]->Draw(dc, TRect(r.Left, r.Bottom - sizes.Bottom, r.Right, r.Bottom), 0, esActive);
  info.Form.FormContent->Draw(dc, TRect(r.Left + sizes.Left, r.Top + captionHeight, r.Right - sizes.Right,
                                        r.Bottom - sizes.Bottom));
  // Close, maximize and minimize from the right, centred in the caption.
  int right = r.Right - sizes.Right - 2;
  for (int button : {5, 3, 2}) {
    TvdSkinElement* element = info.FormButtons[1][size_t(button)];
    const TSize size = element->GetImageSize();
    const int top = r.Top + (captionHeight - size.cy) / 2;
    element->Draw(dc, TRect(right - size.cx, top, right, top + size.cy), 0, button == 5 ? esHot : esNormal);
    right -= size.cx + 2;
  }
}

void SkinRow(TCanvas* c, TvdSkinInfo& info, int top) {
  HDC dc = c->Handle();
  Caption(c, 0, top, info.Skin()->DisplayName());
  const TvdSkinElementState states[] = {esNormal, esHot, esPressed, esDisabled};
  const char* stateNames[] = {"normal", "hot", "pressed", "disabled"};
  for (int i = 0; i < 4; ++i) {
    const TRect button = Bounds(90 + i * 82, top, 75, 23);
    info.Common.Button->Draw(dc, button, 0, states[i]);
    Caption(c, button.Left + 4, button.Bottom + 2, stateNames[i]);
  }
  info.Common.Button->Draw(dc, Bounds(90, top + 42, 150, 50), 0, esNormal);
  info.Common.Button->Draw(dc, Bounds(250, top + 42, 40, 100), 0, esHot);
  info.Common.Button->Draw(dc, Bounds(300, top + 42, 110, 16), 0, esPressed);
  for (int i = 0; i < 4; ++i) {
    info.Editors.Checkbox->Draw(dc, Bounds(430 + i * 20, top + 2, 16, 16), i % 2 ? 1 : 0, states[i]);
    info.Editors.RadioButton->Draw(dc, Bounds(430 + i * 20, top + 24, 16, 16), i % 2 ? 1 : 0, states[i]);
  }
  // A vertical scroll bar: line up, page area with the thumb, line down.
  const int x = 530;
  info.ScrollInfos[0][vdspLineUp]->DrawPart(dc, Bounds(x, top, 17, 17), esNormal);
  info.ScrollInfos[0][vdspPageUp]->DrawPart(dc, Bounds(x, top + 17, 17, 106), esNormal);
  info.ScrollInfos[0][vdspThumb]->DrawPart(dc, Bounds(x, top + 40, 17, 40), esHot);
  info.ScrollInfos[0][vdspLineDown]->DrawPart(dc, Bounds(x, top + 123, 17, 17), esPressed);
  info.ScrollInfos[1][vdspLineUp]->DrawPart(dc, Bounds(x + 25, top + 123, 17, 17), esNormal);
  info.ScrollInfos[1][vdspPageUp]->DrawPart(dc, Bounds(x + 42, top + 123, 80, 17), esNormal);
  info.ScrollInfos[1][vdspThumb]->DrawPart(dc, Bounds(x + 60, top + 123, 35, 17), esNormal);
  info.ScrollInfos[1][vdspLineDown]->DrawPart(dc, Bounds(x + 122, top + 123, 17, 17), esNormal);
  info.Common.GroupPanel->Draw(dc, Bounds(x + 25, top, 115, 110));
  DrawForm(dc, info, Bounds(700, top, 280, 140));
}

void SkinElements(TForm* page) {
  new TPaintedArea(page, TRect(10, 10, 990, 730), [](TCanvas* c) {
    Caption(c, 0, 0, "TvdSkinElement.Draw: buttons by state and stretched, check boxes, radio buttons, "
                     "scroll parts, group panel, form frame and caption buttons");
    int top = 22;
    for (const char* skin : {"Black", "Blue", "iMaginary", "Office2007Blue"}) {
      SkinRow(c, Info(skin), top);
      top += 160;
    }
    Caption(c, 0, top + 4, "the empty element; a placeholder of a skin without buttons (any state)");
    HDC dc = c->Handle();
    vdSkinElementOrEmpty(nullptr)->Draw(dc, Bounds(90, top + 24, 75, 23));
    static TvdSkinInfo bare(std::make_unique<TvdSkin>("Bare"));
    bare.Common.Button->Draw(dc, Bounds(180, top + 24, 75, 23), 0, esHot);
    bare.Common.Button->Draw(dc, Bounds(270, top + 24, 40, 40), 0, esNormal);
  });
}

const bool registered = gallery::RegisterSheet("skin_elements", SkinElements);

}  // namespace
