#include "skins/vdSkinsDefaultPainters.h"

#include "foundation/vxLookAndFeels.h"
#include "skins/vdSkinBlack.h"
#include "skins/vdSkinBlue.h"
#include "skins/vdSkinCaramel.h"
#include "skins/vdSkinCoffee.h"
#include "skins/vdSkinDarkRoom.h"
#include "skins/vdSkinDarkSide.h"
#include "skins/vdSkinFoggy.h"
#include "skins/vdSkinGlassOceans.h"
#include "skins/vdSkiniMaginary.h"
#include "skins/vdSkinLilian.h"
#include "skins/vdSkinLiquidSky.h"
#include "skins/vdSkinLondonLiquidSky.h"
#include "skins/vdSkinMcSkin.h"
#include "skins/vdSkinMoneyTwins.h"
#include "skins/vdSkinOffice2007Black.h"
#include "skins/vdSkinOffice2007Blue.h"
#include "skins/vdSkinOffice2007Green.h"
#include "skins/vdSkinOffice2007Pink.h"
#include "skins/vdSkinOffice2007Silver.h"
#include "skins/vdSkinOffice2010Black.h"
#include "skins/vdSkinOffice2010Blue.h"
#include "skins/vdSkinOffice2010Silver.h"
#include "skins/vdSkinPumpkin.h"
#include "skins/vdSkinSeven.h"
#include "skins/vdSkinSharp.h"
#include "skins/vdSkinSilver.h"
#include "skins/vdSkinSpringTime.h"
#include "skins/vdSkinStardust.h"
#include "skins/vdSkinSummer2008.h"
#include "skins/vdSkinValentine.h"
#include "skins/vdSkinXmas2008Blue.h"

void TvdSkinUserLookAndFeelPainterInfo::Refresh() {
  TvdSkinModulePainterInfo::Refresh();
  if (TvxLookAndFeel* root = vxGetLookAndFeelRoot()) root->RefreshAll();
}

const TvdSkinsUserSkinPainter& TvdSkinsUserSkinPainter::Painter() {
  static const TvdSkinsUserSkinPainter painter;
  return painter;
}

std::unique_ptr<TvdSkinLookAndFeelPainterInfo> TvdSkinsUserSkinPainter::CreatePainterData(
    std::unique_ptr<TvdSkin> skin) const {
  return std::make_unique<TvdSkinUserLookAndFeelPainterInfo>(std::move(skin));
}

namespace {

void UserSkinStart() { TvdSkinsUserSkinPainter::Painter().RegisterSkin(); }
void UserSkinStop() { TvdSkinsUserSkinPainter::Painter().UnregisterSkin(); }

}  // namespace

void vdSkinsDefaultPaintersInitialize() { vdSkinModuleInitialize(UserSkinStart, UserSkinStop); }
void vdSkinsDefaultPaintersFinalize() { vdSkinModuleFinalize(UserSkinStop); }

const std::vector<TvxModule>& vdSkinModules() {
  static const std::vector<TvxModule> modules = {
      {"vdSkinsDefaultPainters", vdSkinsDefaultPaintersInitialize, vdSkinsDefaultPaintersFinalize},
      {"vdSkinsLookAndFeelPainter", vdSkinsLookAndFeelPainterInitialize, vdSkinsLookAndFeelPainterFinalize},
      {"vdSkinXmas2008Blue", vdSkinXmas2008BlueInitialize, vdSkinXmas2008BlueFinalize},
      {"vdSkinValentine", vdSkinValentineInitialize, vdSkinValentineFinalize},
      {"vdSkinSummer2008", vdSkinSummer2008Initialize, vdSkinSummer2008Finalize},
      {"vdSkinStardust", vdSkinStardustInitialize, vdSkinStardustFinalize},
      {"vdSkinSpringTime", vdSkinSpringTimeInitialize, vdSkinSpringTimeFinalize},
      {"vdSkinSilver", vdSkinSilverInitialize, vdSkinSilverFinalize},
      {"vdSkinSharp", vdSkinSharpInitialize, vdSkinSharpFinalize},
      {"vdSkinSeven", vdSkinSevenInitialize, vdSkinSevenFinalize},
      {"vdSkinPumpkin", vdSkinPumpkinInitialize, vdSkinPumpkinFinalize},
      {"vdSkinOffice2010Silver", vdSkinOffice2010SilverInitialize, vdSkinOffice2010SilverFinalize},
      {"vdSkinOffice2010Blue", vdSkinOffice2010BlueInitialize, vdSkinOffice2010BlueFinalize},
      {"vdSkinOffice2010Black", vdSkinOffice2010BlackInitialize, vdSkinOffice2010BlackFinalize},
      {"vdSkinOffice2007Silver", vdSkinOffice2007SilverInitialize, vdSkinOffice2007SilverFinalize},
      {"vdSkinOffice2007Pink", vdSkinOffice2007PinkInitialize, vdSkinOffice2007PinkFinalize},
      {"vdSkinOffice2007Green", vdSkinOffice2007GreenInitialize, vdSkinOffice2007GreenFinalize},
      {"vdSkinOffice2007Blue", vdSkinOffice2007BlueInitialize, vdSkinOffice2007BlueFinalize},
      {"vdSkinOffice2007Black", vdSkinOffice2007BlackInitialize, vdSkinOffice2007BlackFinalize},
      {"vdSkinMoneyTwins", vdSkinMoneyTwinsInitialize, vdSkinMoneyTwinsFinalize},
      {"vdSkinMcSkin", vdSkinMcSkinInitialize, vdSkinMcSkinFinalize},
      {"vdSkinLondonLiquidSky", vdSkinLondonLiquidSkyInitialize, vdSkinLondonLiquidSkyFinalize},
      {"vdSkinLiquidSky", vdSkinLiquidSkyInitialize, vdSkinLiquidSkyFinalize},
      {"vdSkinLilian", vdSkinLilianInitialize, vdSkinLilianFinalize},
      {"vdSkiniMaginary", vdSkiniMaginaryInitialize, vdSkiniMaginaryFinalize},
      {"vdSkinGlassOceans", vdSkinGlassOceansInitialize, vdSkinGlassOceansFinalize},
      {"vdSkinFoggy", vdSkinFoggyInitialize, vdSkinFoggyFinalize},
      {"vdSkinDarkSide", vdSkinDarkSideInitialize, vdSkinDarkSideFinalize},
      {"vdSkinDarkRoom", vdSkinDarkRoomInitialize, vdSkinDarkRoomFinalize},
      {"vdSkinCoffee", vdSkinCoffeeInitialize, vdSkinCoffeeFinalize},
      {"vdSkinCaramel", vdSkinCaramelInitialize, vdSkinCaramelFinalize},
      {"vdSkinBlue", vdSkinBlueInitialize, vdSkinBlueFinalize},
      {"vdSkinBlack", vdSkinBlackInitialize, vdSkinBlackFinalize},
  };
  return modules;
}
