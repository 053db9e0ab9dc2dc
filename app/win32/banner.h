#pragma once

#include <windows.h>

namespace tarnwick::win32 {

// The banner picture as a bitmap of the given size in pixels: at up to 96 dpi from the
// 350 × 178 image, above that from the double-resolution one, scaled where the size differs
// from the image's with a good filter (Fant). Null where it cannot be decoded.
HBITMAP loadBanner(HINSTANCE instance, int width, int height, UINT dpi);

} // namespace tarnwick::win32
