#pragma once

// The Windows whose paths the program under test takes. By default the running system's; with
// --windows=win7 or --windows=win81 an older one's: every function the program looks up that
// this Windows lacks is refused to it, and Wine is to report the same Windows (its registry value
// HKCU\Software\Wine\Version, set by scripts/build-windows.sh).

#include <windows.h>

#include <set>
#include <string>
#include <string_view>

namespace windowtest {

struct WindowsProfile
{
    std::string_view name; // as Wine's Version value names it; empty: the running system
    DWORD major;
    DWORD minor;
};

// Takes the profile named by a --windows= argument, and puts the test's resolver in place of
// the system's; false for an unknown name.
bool takeWindowsProfile(std::string_view argument);
const WindowsProfile &windowsProfile();

// The functions that the program looked up and that the test's table does not know.
std::set<std::string> unknownLookups();

} // namespace windowtest
