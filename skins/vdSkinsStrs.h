// The texts of the skin library's errors.
#pragma once

inline constexpr const char* sdxSkinInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* sdxSkinVersionMismatch =
    "The skin data version is older than the current Skins Library version.\r\n"
    "Skins cannot be loaded due to a version mismatch.";
// A stream cut short or holding sizes that do not fit in what is left.
inline constexpr const char* sdxSkinStreamTruncated =
    "The skin data is cut short or holds a size beyond its end: the stream is damaged.";
inline constexpr const char* sdxSkinNegativeSize = "The skin data holds a negative picture size.";
inline constexpr const char* sdxSkinClassNotFound = "Class %s not found";
inline constexpr const char* sdxSkinInvalidPicture = "The skin data holds a picture that is not a PNG image.";
