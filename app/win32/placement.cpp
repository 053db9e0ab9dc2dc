#include "app/win32/placement.h"

#include <algorithm>

namespace tarnwick::win32 {

RECT placeInWorkArea(SIZE frame, const RECT &work)
{
    const LONG left = work.left + std::max(0L, (work.right - work.left - frame.cx) / 2);
    const LONG top = work.top + std::max(0L, (work.bottom - work.top - frame.cy) / 2);
    return { left, top, left + frame.cx, top + frame.cy };
}

} // namespace tarnwick::win32
