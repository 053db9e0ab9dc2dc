#pragma once

#include "app/controltable.h"

#include <windows.h>

namespace tarnwick::win32 {

// What a screen reader reads of the control, through the platform's own accessibility object
// (MSAA's standard proxy), where the captions (app/captions) say more than that proxy does: a
// field that no caption label just above it names gets its own name, the banner its name, a
// result label the description of what its value is (its name stays the text it shows). For
// such a control the window answers WM_GETOBJECT with the standard proxy, overriding just those
// properties, and a result label raises a name change with each text it takes on; every other
// control is left to the proxy alone.
void answerScreenReaders(HWND control, const ControlRow &row);

} // namespace tarnwick::win32
