#pragma once

#include <windows.h>

namespace tarnwick::win32 {

// Where a window frame of the size opens in a work area (the monitor less the task bars):
// centred where it fits; where it is wider or taller, at the work area's left or top edge, so
// that its title bar can be grabbed.
RECT placeInWorkArea(SIZE frame, const RECT &work);

} // namespace tarnwick::win32
