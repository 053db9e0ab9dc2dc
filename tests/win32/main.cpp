// The window tests' program: win32_tests [--windows=win7|win81] [GoogleTest's flags].

#include "profile.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    const char *profile = argc > 1 ? argv[1] : "";
    if (!windowtest::takeWindowsProfile(profile)) {
        std::fprintf(stderr, "unknown Windows: %s\n", profile);
        return 2;
    }

    // As the program itself starts.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls { sizeof(controls), ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);
    return RUN_ALL_TESTS();
}
