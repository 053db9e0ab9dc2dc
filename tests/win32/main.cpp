// The window tests' program.

#include "driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>

int main(int argc, char **argv)
{
    // As the program itself starts.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls { sizeof(controls), ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);

    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
