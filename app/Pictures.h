// The names of the setup program's picture resources (resources/Setup.rc),
// drawn at build time by tools/pictures.
#pragma once

#include "platform/ui/Graphics.h"
#include "smooth/LuxGDIPPicture.h"

namespace pictures {

inline constexpr const char kSideBand[] = "SIDE_BAND";
inline constexpr const char kGlyphNext[] = "GLYPH_NEXT";
inline constexpr const char kGlyphPrevious[] = "GLYPH_PREVIOUS";
inline constexpr const char kGlyphInstall[] = "GLYPH_INSTALL";
inline constexpr const char kGlyphQuit[] = "GLYPH_QUIT";
inline constexpr const char kSplash[] = "SPLASH";
inline constexpr const char kFinishBanner[] = "FINISH_BANNER";
inline constexpr const char kFinishProduct[] = "FINISH_PRODUCT";
inline constexpr const char kFinishPicture[] = "FINISH_PICTURE";
// The splash background and the status pictures are PNG files with alpha
// (RCDATA). The status pictures are "STATUS_" followed by the upper-cased name that
// the splash lines use ("files" is STATUS_FILES).
inline constexpr const char* kStatusNames[] = {"files", "folders", "register", "system", "package", "start"};

// Loads the program's bitmap resource name into bitmap.
void Load(TBitmap* bitmap, const String& name);
// Loads the program's RCDATA resource name (an image file) into picture.
void Load(TLuxGDIPPicture* picture, const String& name);

}  // namespace pictures
