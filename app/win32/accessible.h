#pragma once

#include "app/controltable.h"

#include <windows.h>

#include <span>

namespace tarnwick::win32 {

// What a screen reader reads of the window's controls, through the platform's own accessibility
// objects (MSAA's standard proxies), where the captions (app/captions) say more than a proxy
// does: a field that no caption label just above it names gets its own name, the banner its
// name, a result label the description of what its value is (its name stays the text it shows).
// Such a control answers WM_GETOBJECT with an object of its own that asks the standard proxy
// for every other property; every other control is left to the proxy alone.
//
// `controls` are the window's children by control id, all made.
void answerScreenReaders(std::span<const HWND> controls);

// Makes the result label a polite live region, through the accessibility runtime's annotation of
// its window (IAccPropServices::SetHwndProp with UI Automation's LiveSetting), which UI
// Automation reads on Windows 8 and later. Where the runtime refuses (Windows 7 does not know
// the property), the label is read only where the reader is.
void makeLiveRegion(HWND resultLabel);

// Raises the live-region change of a result label, which readers answer by speaking its name:
// the text it shows. Windows 7 does not know the event and ignores it.
void announce(HWND resultLabel);

} // namespace tarnwick::win32
