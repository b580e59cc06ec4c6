#include <windows.h>

#include "platform/ui/ResourceStream.h"
#include "skins/vdSkinsCore.h"

void TvdSkin::LoadFromResource(void* module) {
  TResourceStream stream(static_cast<HINSTANCE>(module), Name(), "VDSKINS");
  LoadFromStream(stream);
}
