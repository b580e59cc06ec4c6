#include "app/Pictures.h"

#include "platform/ui/ResourceStream.h"

namespace pictures {

void Load(TBitmap* bitmap, const String& name) { bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), name); }

void Load(TLuxGDIPPicture* picture, const String& name) {
  TResourceStream stream(GetModuleHandleA(nullptr), name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  picture->LoadFromStream(stream);
}

}  // namespace pictures
