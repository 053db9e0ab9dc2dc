#!/usr/bin/python3
"""Writes tests/win32/later_functions.txt: the Windows functions that Windows 7 SP1 lacks.

    later-windows-functions.py          rewrite the list
    later-windows-functions.py --check  exit 1 if the committed list differs from a fresh one

The MinGW-w64 headers declare most functions only when _WIN32_WINNT / WINVER / NTDDI_VERSION are
at least the version that brought them. The headers below are compiled twice, for Windows 7 and for
Windows 10, and gcc's -aux-info lists every prototype the compiler saw; the names declared only for
Windows 10 are later ones, and so is everything in a header that is newer than Windows 7. The
headers leave many later functions unguarded; LATER_BY_HAND adds those, with a note in the list.
Needs x86_64-w64-mingw32-gcc and the headers of Debian's mingw-w64-x86-64-dev.
"""
import pathlib
import re
import subprocess
import sys
import tempfile

COMPILER = "x86_64-w64-mingw32-gcc"
OUTPUT = pathlib.Path(__file__).resolve().parents[1] / "tests/win32/later_functions.txt"
HEADER_LINE = ("# Functions Windows 7 SP1 lacks, made by scripts/later-windows-functions.py "
               "from the MinGW-w64 headers; a note marks those added by hand. Do not edit.")

# winsock2.h must come before windows.h.
HEADERS = """
    winsock2.h ws2tcpip.h windows.h
    commctrl.h commdlg.h shellapi.h shlobj.h shlwapi.h shobjidl.h knownfolders.h
    propsys.h propvarutil.h objbase.h ole2.h oleauto.h olectl.h oleacc.h
    uiautomation.h uiautomationcoreapi.h
    wincodec.h uxtheme.h dwmapi.h imm.h mmsystem.h d2d1.h dwrite.h d3d11.h dxgi1_2.h
    processthreadsapi.h synchapi.h sysinfoapi.h fileapi.h libloaderapi.h memoryapi.h heapapi.h
    errhandlingapi.h handleapi.h processenv.h threadpoolapiset.h realtimeapiset.h wow64apiset.h
    ioapiset.h securitybaseapi.h stringapiset.h timezoneapi.h
    psapi.h userenv.h wtsapi32.h bcrypt.h wincrypt.h
    shellscalingapi.h pathcch.h winstring.h roapi.h dxgi1_3.h
""".split()
# Headers that came after Windows 7: all they declare is later.
LATER_HEADERS = {"shellscalingapi.h", "pathcch.h", "winstring.h", "roapi.h", "dxgi1_3.h"}

WINDOWS_7 = ["-D_WIN32_WINNT=0x0601", "-DWINVER=0x0601", "-DNTDDI_VERSION=0x06010000"]
WINDOWS_10 = ["-D_WIN32_WINNT=0x0A00", "-DWINVER=0x0A00", "-DNTDDI_VERSION=0x0A00000C"]

# Later than Windows 7 but declared by the headers whatever version is asked for, or not at all.
LATER_BY_HAND = {
    "AddDllDirectory": "kernel32, Windows 8; Windows 7 only with KB2533623",
    "RemoveDllDirectory": "kernel32, Windows 8; Windows 7 only with KB2533623",
    "SetDefaultDllDirectories": "kernel32, Windows 8; Windows 7 only with KB2533623",
    "CopyFile2": "kernel32, Windows 8",
    "CreateFile2": "kernel32, Windows 8",
    "DeleteSynchronizationBarrier": "kernel32, Windows 8",
    "EnterSynchronizationBarrier": "kernel32, Windows 8",
    "InitializeSynchronizationBarrier": "kernel32, Windows 8",
    "GetCurrentPackageFullName": "kernel32, Windows 8",
    "GetCurrentPackageId": "kernel32, Windows 8",
    "GetOverlappedResultEx": "kernel32, Windows 8",
    "GetSystemTimePreciseAsFileTime": "kernel32, Windows 8",
    "SetThreadpoolTimerEx": "kernel32, Windows 8",
    "SetThreadpoolWaitEx": "kernel32, Windows 8",
    "WaitOnAddress": "api-ms-win-core-synch-l1-2-0, Windows 8",
    "WakeByAddressAll": "api-ms-win-core-synch-l1-2-0, Windows 8",
    "WakeByAddressSingle": "api-ms-win-core-synch-l1-2-0, Windows 8",
    "CreateFileMappingFromApp": "kernel32, Windows 10",
    "MapViewOfFileFromApp": "kernel32, Windows 10",
    "QueryInterruptTime": "kernelbase, Windows 10",
    "QueryInterruptTimePrecise": "kernelbase, Windows 10",
    "QueryUnbiasedInterruptTimePrecise": "kernelbase, Windows 10",
    "GetThreadDescription": "kernel32, Windows 10 1607",
    "SetThreadDescription": "kernel32, Windows 10 1607",
    "GetUserDefaultGeoName": "kernel32, Windows 10 1709",
    "ConvertAuxiliaryCounterToPerformanceCounter": "kernelbase, Windows 10 1809",
    "QueryAuxiliaryCounterFrequency": "kernelbase, Windows 10 1809",
    "CoCreateInstanceFromApp": "combase, Windows 8",
    "UiaDisconnectAllProviders": "uiautomationcore, Windows 8",
    "UiaDisconnectProvider": "uiautomationcore, Windows 8",
    "UiaRaiseNotificationEvent": "uiautomationcore, Windows 10 1709",
    "OpenThemeDataForDpi": "uxtheme, Windows 10 1703",
    "GetAutoRotationState": "user32, Windows 8",
    "GetCIMSSM": "user32, Windows 8",
    "GetCurrentInputMessageSource": "user32, Windows 8",
    "GetDisplayAutoRotationPreferences": "user32, Windows 8",
    "IsImmersiveProcess": "user32, Windows 8",
    "SetCoalescableTimer": "user32, Windows 8",
    "SetDisplayAutoRotationPreferences": "user32, Windows 8",
    "SetProcessRestrictionExemption": "user32, Windows 8",
    "EnableMouseInPointer": "user32, Windows 8",
    "GetPointerInfo": "user32, Windows 8",
    "GetPointerType": "user32, Windows 8",
    "LogicalToPhysicalPointForPerMonitorDPI": "user32, Windows 8.1",
    "PhysicalToLogicalPointForPerMonitorDPI": "user32, Windows 8.1",
    "GetDpiForMonitor": "shcore, Windows 8.1",
    "AdjustWindowRectExForDpi": "user32, Windows 10 1607",
    "EnableNonClientDpiScaling": "user32, Windows 10 1607",
    "GetDpiForSystem": "user32, Windows 10 1607",
    "GetDpiForWindow": "user32, Windows 10 1607",
    "GetSystemMetricsForDpi": "user32, Windows 10 1607",
    "SetThreadDpiAwarenessContext": "user32, Windows 10 1607",
    "SystemParametersInfoForDpi": "user32, Windows 10 1607",
    "GetDialogControlDpiChangeBehavior": "user32, Windows 10 1703",
    "GetDialogDpiChangeBehavior": "user32, Windows 10 1703",
    "SetDialogControlDpiChangeBehavior": "user32, Windows 10 1703",
    "SetDialogDpiChangeBehavior": "user32, Windows 10 1703",
    "SetProcessDpiAwarenessContext": "user32, Windows 10 1703",
}

# What a fresh list must and must not hold, or the two passes went wrong.
MUST_HOLD = ["GetDpiForWindow", "GetSystemTimePreciseAsFileTime", "GetDpiForMonitor",
             "GetPointerFrameInfo", "SystemTimeToTzSpecificLocalTimeEx", "PathCchCombine",
             "RoInitialize", "CreateDXGIFactory2"]
MUST_NOT_HOLD = ["CreateWindowExW", "SetWindowPos", "ShellExecuteW", "CoCreateInstance",
                 "InitCommonControlsEx", "LoadIconWithScaleDown", "IsDialogMessageW",
                 "GetTickCount64", "InitializeSRWLock", "CreateDIBSection", "SetProcessDPIAware",
                 "ChangeWindowMessageFilterEx", "DwmExtendFrameIntoClientArea", "TaskDialog",
                 "CreateDXGIFactory1", "D2D1CreateFactory", "DWriteCreateFactory",
                 "SetThreadGroupAffinity", "CopyContext", "SetWaitableTimerEx"]

# "/* include/winuser.h:4211:NC */ extern HWND CreateWindowExW (DWORD, ...);"
# "/* include/signal.h:32:NC */ extern void (*signal (int, void (*) (int))) (int);"
PROTOTYPE = re.compile(r"^/\* (.+?):\d+:\w+ \*/ .*?\b(\w+) \((?!\*)")


def declared(defines, directory):
    """The functions the headers declare with these version macros, each with its header."""
    source = directory / "headers.c"
    source.write_text("".join(f"#include <{h}>\n" for h in HEADERS))
    listing = directory / "prototypes.txt"
    subprocess.run([COMPILER, *defines, "-fsyntax-only", "-aux-info", str(listing), str(source)],
                   check=True)
    functions = {}
    for line in listing.read_text().splitlines():
        if m := PROTOTYPE.match(line):
            functions.setdefault(m.group(2), pathlib.Path(m.group(1)).name)
    return functions


def make_list():
    with tempfile.TemporaryDirectory() as directory:
        directory = pathlib.Path(directory)
        old = declared(WINDOWS_7, directory)
        new = declared(WINDOWS_10, directory)
    guarded = new.keys() - old.keys()
    in_later_headers = {name for name, header in new.items() if header in LATER_HEADERS}
    by_hand = LATER_BY_HAND.keys() - guarded - in_later_headers
    names = guarded | in_later_headers | LATER_BY_HAND.keys()
    lines = [HEADER_LINE]
    for name in sorted(names):
        note = LATER_BY_HAND.get(name)
        lines.append(f"{name}  # {note}" if note else name)
    summary = (f"{len(old)} functions declared for Windows 7; {len(guarded)} more for Windows 10, "
               f"{len(in_later_headers - guarded)} in later headers, {len(by_hand)} by hand: "
               f"{len(names)} later functions")
    return "\n".join(lines) + "\n", names, summary


def main():
    text, names, summary = make_list()
    print(summary)
    wrong = [n for n in MUST_HOLD if n not in names] + [n for n in MUST_NOT_HOLD if n in names]
    if wrong:
        sys.exit(f"the list is wrong about {', '.join(wrong)}")
    if sys.argv[1:] == ["--check"]:
        if not OUTPUT.exists() or OUTPUT.read_text() != text:
            sys.exit(f"{OUTPUT.name} is out of date; run {pathlib.Path(__file__).name}")
        print(f"{OUTPUT.name} is up to date")
    else:
        OUTPUT.write_text(text)


if __name__ == "__main__":
    main()
