// The window as Windows itself sees it, read back through the Windows API from the real native
// window: the topmost band after "置顶" and "不置顶", the fixed frame, the client size.

#include "windowtest.h"

#include <QPushButton>
#include <QStyle>

#include <windows.h>

using namespace windowtest;

class WindowsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pinMovesTheWindowBetweenBandsInPlace();
    void fixedFrameWithoutSizingBorderOrMaximiseBox();
    void clientAreaIsTheFormSize();
    void nativeStyle();
    void iconFromTheProgramFile();
};

namespace {

HWND nativeWindow(const QWidget *window)
{
    return reinterpret_cast<HWND>(window->winId());
}

LONG_PTR extendedStyle(HWND handle)
{
    return GetWindowLongPtrW(handle, GWL_EXSTYLE);
}

QRect windowRect(HWND handle)
{
    RECT rect {};
    if (GetWindowRect(handle, &rect) == 0)
        qWarning("GetWindowRect failed: %lu", GetLastError());
    return { QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1) };
}

// An icon's colour image: its width, and its pixels for telling two icons apart.
struct IconImage
{
    int width = 0;
    QByteArray pixels;
};

IconImage readIcon(HICON icon)
{
    ICONINFO info {};
    if (icon == nullptr || GetIconInfo(icon, &info) == 0)
        return {};
    BITMAP bitmap {};
    IconImage image;
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) != 0) {
        image.width = bitmap.bmWidth;
        image.pixels.resize(static_cast<qsizetype>(bitmap.bmWidthBytes) * bitmap.bmHeight);
        image.pixels.resize(GetBitmapBits(
            info.hbmColor, static_cast<LONG>(image.pixels.size()), image.pixels.data()));
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return image;
}

} // namespace

void WindowsTest::pinMovesTheWindowBetweenBandsInPlace()
{
    const auto window = openWindow();
    const HWND handle = nativeWindow(window.get());
    QVERIFY(IsWindow(handle));
    QVERIFY((extendedStyle(handle) & WS_EX_TOPMOST) == 0);
    const QRect before = windowRect(handle);
    QVERIFY(!before.isEmpty());

    click(window.get(), "Command8");
    QCOMPARE(find<QPushButton>(window.get(), "Command8")->text(), QStringLiteral("不置顶"));
    QVERIFY((extendedStyle(handle) & WS_EX_TOPMOST) != 0);
    QCOMPARE(nativeWindow(window.get()), handle); // the same native window, not a new one
    QVERIFY(IsWindowVisible(handle));
    QCOMPARE(windowRect(handle), before);

    click(window.get(), "Command8");
    QCOMPARE(find<QPushButton>(window.get(), "Command8")->text(), QStringLiteral("置顶"));
    QVERIFY((extendedStyle(handle) & WS_EX_TOPMOST) == 0);
    QCOMPARE(nativeWindow(window.get()), handle);
    QVERIFY(IsWindowVisible(handle));
    QCOMPARE(windowRect(handle), before);
}

void WindowsTest::fixedFrameWithoutSizingBorderOrMaximiseBox()
{
    const auto window = openWindow();
    const LONG_PTR style = GetWindowLongPtrW(nativeWindow(window.get()), GWL_STYLE);
    QVERIFY((style & WS_THICKFRAME) == 0);
    QVERIFY((style & WS_MAXIMIZEBOX) == 0);
    QVERIFY((style & WS_MINIMIZEBOX) != 0);
    QVERIFY((style & WS_SYSMENU) != 0);
    QVERIFY((style & WS_CAPTION) == WS_CAPTION);
}

void WindowsTest::clientAreaIsTheFormSize()
{
    const auto window = openWindow();
    const HWND handle = nativeWindow(window.get());
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    if (dpi != USER_DEFAULT_SCREEN_DPI)
        QSKIP("the form's pixel size holds at 96 dpi; this screen has another density");
    RECT client {};
    QVERIFY(GetClientRect(handle, &client) != 0);
    QCOMPARE(client.right - client.left, 568);
    QCOMPARE(client.bottom - client.top, 460);
}

void WindowsTest::nativeStyle()
{
    const auto window = openWindow();
    QCOMPARE(window->style()->name(), QStringLiteral("windowsvista"));
}

// The window carries the program file's own icon (this test program carries the same resource
// script), at the sizes Windows asks for, not Windows' generic application icon.
void WindowsTest::iconFromTheProgramFile()
{
    const auto window = openWindow();
    const HWND handle = nativeWindow(window.get());
    const auto large = reinterpret_cast<HICON>(GetClassLongPtrW(handle, GCLP_HICON));
    const auto small = reinterpret_cast<HICON>(GetClassLongPtrW(handle, GCLP_HICONSM));
    QVERIFY(large != nullptr);
    QVERIFY(small != nullptr);
    // No icon of the window's own overrides the class's.
    QCOMPARE(SendMessageW(handle, WM_GETICON, ICON_BIG, 0), LRESULT(0));

    const auto generic = static_cast<HICON>(
        LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    const auto own = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"IDI_ICON1", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    QVERIFY(own != nullptr);
    const QByteArray shown = readIcon(large).pixels;
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown, readIcon(own).pixels);
    QVERIFY(shown != readIcon(generic).pixels);
    DestroyIcon(own);

    QCOMPARE(readIcon(small).width, GetSystemMetrics(SM_CXSMICON));
}

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
