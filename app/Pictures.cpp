#include "app/Pictures.h"

namespace pictures {

void Load(TBitmap* bitmap, const String& name) { bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), name); }

}  // namespace pictures
