#include "SkinFixtures.h"

#include "skins/vdSkinPng.h"

TvdSkinPicture MakePicture(int w, int h, int seed, uint8_t alpha) {
  TvdSkinPixels pixels{w, h, {}};
  for (int i = 0; i < w * h; ++i)
    pixels.Rgba.insert(pixels.Rgba.end(), {uint8_t(i * 7 + seed), uint8_t(i * 3), uint8_t(seed), alpha});
  TvdSkinPicture picture;
  picture.LoadFromBytes(vdSkinPngEncode(pixels));
  return picture;
}

std::unique_ptr<TvdSkin> MakeSmallSkin() {
  auto skin = std::make_unique<TvdSkin>("Small");
  skin->Colors().AddColor("ContentColor", 0x00FFEEDD);
  skin->Properties().Add<TvdSkinWideStringProperty>("DisplayName")->SetValue("Sm\xE9ll");
  skin->Properties().Add<TvdSkinIntegerProperty>("Int")->SetValue(-7);
  skin->Properties().Add<TvdSkinBooleanProperty>("Bool")->SetValue(true);
  skin->Properties().Add<TvdSkinRectProperty>("Rect")->SetValue(TRect(1, 2, 3, 4));
  skin->Properties().Add<TvdSkinSizeProperty>("Size")->SetValue(TSize{5, 6});
  skin->Properties().Add<TvdSkinStringProperty>("Str")->SetValue("text");
  TvdSkinControlGroup* group = skin->AddGroup("Common");
  group->Properties().AddColor("TextColor", 0x102030);
  TvdSkinElement* button = group->AddElement("Button");
  button->SetImageCount(2);
  button->Image().SetStates(vdSkinStates({esNormal, esHot, esPressed}));
  button->Image().SetMargins(TRect(2, 3, 2, 3));
  button->Image().SetPicture(MakePicture(24, 8, 1));
  button->Glyph().SetGradientBeginColor(0x0000FF);
  button->Glyph().SetGradientEndColor(0x00FF00);
  button->Glyph().SetGradient(gmBackwardDiagonal);
  button->Borders()[2].SetColor(0x112233);
  button->Borders()[2].SetThin(2);
  button->SetTextColor(0x445566);
  button->SetMinSize(TSize{10, 12});
  button->SetContentOffset(TRect(1, 1, 1, 1));
  button->SetAlpha(128);
  button->SetColor(0x778899);
  button->Properties().AddColor("TextColorHot", 0x0000AA);
  TvdSkinElement* panel = group->AddElement("Panel");
  panel->Image().SetStates(vdSkinStates({esNormal}));
  panel->Image().SetPicture(MakePicture(6, 6, 2, 100));
  panel->Image().SetStretch(smTile);
  panel->Image().SetImageLayout(ilVertical);
  return skin;
}

std::vector<uint8_t> SaveSkin(const TvdSkin& skin) {
  TMemoryStream stream;
  skin.SaveToStream(stream);
  return stream.Bytes();
}

void LoadSkin(TvdSkin& skin, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  skin.LoadFromStream(stream);
}
