// The window at the screen density it opens at (scripts/build-windows.sh runs these at 96,
// 120, 144 and 192 dpi, naming the one it set in TARNWICK_EXPECT_DPI), and after a move to a
// monitor of another density: every control at its twips for that density, the Song face at its
// points, every caption inside its control, every character shown with a glyph of the font that
// draws it, the banner at its natural size.

#include "driver.h"
#include "profile.h"

#include "app/controltable.h"
#include "panels/fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace windowtest {
namespace {

using tarnwick::ControlRow;
using tarnwick::controlRow;
using tarnwick::controlTable;
using tarnwick::Kind;

// The control's place in the window's client area, in pixels, exactly.
struct Exact
{
    double left;
    double top;
    double right;
    double bottom;
};

Exact exactPlace(const ControlRow &row, UINT dpi)
{
    double left = row.left;
    double top = row.top;
    if (!row.container.empty()) {
        left += controlRow(row.container).left;
        top += controlRow(row.container).top;
    }
    const double scale = dpi / 1440.0;
    return { left * scale, top * scale, (left + row.width) * scale, (top + row.height) * scale };
}

RECT placeInWindow(HWND control)
{
    RECT rect {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

LOGFONTW fontOf(HWND control)
{
    LOGFONTW font {};
    GetObjectW(
        reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

// Measures texts in a control's own font, as the control draws them.
class Measure
{
public:
    explicit Measure(HWND control)
        : control_(control)
        , dc_(GetDC(control))
        , previous_(
              SelectObject(dc_, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0))))
    { }
    Measure(const Measure &) = delete;
    Measure &operator=(const Measure &) = delete;
    ~Measure()
    {
        SelectObject(dc_, previous_);
        ReleaseDC(control_, dc_);
    }

    [[nodiscard]] SIZE extent(const std::wstring &text) const
    {
        SIZE size {};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }

    // How far right of where the text starts its drawn glyphs reach: the advances of all but
    // the last character, then the last one's ink (the space a full-width colon leaves after
    // its dots is no part of the caption that could be cut off).
    [[nodiscard]] int inkRight(const std::wstring &text) const
    {
        if (text.empty())
            return 0;
        const int before = extent(text.substr(0, text.size() - 1)).cx;
        ABC last {};
        if (GetCharABCWidthsW(dc_, text.back(), text.back(), &last) == FALSE)
            return extent(text).cx;
        return before + last.abcA + static_cast<int>(last.abcB);
    }

    // The characters of the text that the font has no glyph for.
    [[nodiscard]] std::wstring missing(const std::wstring &text) const
    {
        std::vector<WORD> glyphs(text.size());
        GetGlyphIndicesW(dc_, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
            GGI_MARK_NONEXISTING_GLYPHS);
        std::wstring absent;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (glyphs[i] == 0xFFFF)
                absent.push_back(text[i]);
        }
        return absent;
    }

    [[nodiscard]] std::wstring face() const
    {
        std::wstring name(LF_FACESIZE, L'\0');
        name.resize(
            static_cast<std::size_t>(std::max(0, GetTextFaceW(dc_, LF_FACESIZE, name.data()) - 1)));
        return name;
    }

private:
    HWND control_;
    HDC dc_;
    HGDIOBJ previous_;
};

int scaled(int pixelsAt96, UINT dpi)
{
    return MulDiv(pixelsAt96, static_cast<int>(dpi), 96);
}

// The width a control leaves its caption: a push button its face inside the edges, an option
// button the room right of its check circle, a frame its top border less the caption's indents.
int roomForCaption(const ControlRow &row, HWND control, UINT dpi)
{
    RECT client {};
    GetClientRect(control, &client);
    switch (row.kind) {
    case Kind::PushButton:
        return client.right - 2 * scaled(3, dpi);
    case Kind::OptionButton:
        return client.right - scaled(13, dpi) - scaled(3, dpi);
    case Kind::Frame:
        return client.right - 2 * scaled(8, dpi);
    default:
        return client.right;
    }
}

void checkLayout(const Driver &driver, UINT dpi)
{
    for (std::size_t index = 0; index < controlTable.size(); ++index) {
        const ControlRow &row = controlTable[index];
        SCOPED_TRACE(std::string(row.name));
        HWND control = driver.control(row.name);
        const RECT place = placeInWindow(control);
        const Exact exact = exactPlace(row, dpi);
        EXPECT_NEAR(place.left, exact.left, 1.0);
        EXPECT_NEAR(place.top, exact.top, 1.0);
        EXPECT_NEAR(place.right, exact.right, 1.0);
        EXPECT_NEAR(place.bottom, exact.bottom, 1.0);

        if (row.kind == Kind::Picture) {
            const auto bitmap
                = reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
            BITMAP image {};
            ASSERT_NE(GetObjectW(bitmap, sizeof(image), &image), 0) << "no banner";
            EXPECT_EQ(image.bmWidth, std::lround(350.0 * dpi / 96));
            EXPECT_EQ(image.bmHeight, std::lround(178.0 * dpi / 96));
            continue;
        }

        const LOGFONTW font = fontOf(control);
        EXPECT_EQ(font.lfHeight, -std::lround(row.fontPoints * dpi / 72));
        EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
        EXPECT_EQ(std::wstring(font.lfFaceName), L"宋体");

        const std::wstring caption = driver.text(row.name);
        if (caption.empty())
            continue;
        const Measure measure(control);
        RECT client {};
        GetClientRect(control, &client);
        EXPECT_LE(measure.inkRight(caption), roomForCaption(row, control, dpi))
            << narrow(measure.face());
        EXPECT_LE(measure.extent(caption).cy, client.bottom);
        EXPECT_EQ(measure.missing(caption), L"") << narrow(measure.face());
    }
}

UINT expectedDpi(const Driver &driver)
{
    const char *named = std::getenv("TARNWICK_EXPECT_DPI");
    return named != nullptr ? static_cast<UINT>(std::atoi(named)) : driver.window().dpi();
}

TEST(Layout, AtTheScreenDensity)
{
    const Driver driver;
    const UINT dpi = driver.window().dpi();
    EXPECT_EQ(dpi, expectedDpi(driver)) << "Wine's LogPixels";
    RecordProperty("dpi", static_cast<int>(dpi));

    RECT client {};
    GetClientRect(driver.handle(), &client);
    EXPECT_EQ(client.right, std::lround(568.0 * dpi / 96));
    EXPECT_EQ(client.bottom, std::lround(460.0 * dpi / 96));

    // Centred on the work area of its monitor where it fits, else at its left or top edge.
    RECT frame {};
    GetWindowRect(driver.handle(), &frame);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(driver.handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &work = monitor.rcWork;
    if (frame.right - frame.left <= work.right - work.left)
        EXPECT_NEAR(frame.left + frame.right, work.left + work.right, 1);
    else
        EXPECT_EQ(frame.left, work.left);
    if (frame.bottom - frame.top <= work.bottom - work.top)
        EXPECT_NEAR(frame.top + frame.bottom, work.top + work.bottom, 1);
    else
        EXPECT_EQ(frame.top, work.top);

    checkLayout(driver, dpi);

    // The program's icon in the title bar and the task bar, at the sizes for the density (from
    // the 128-pixel image, stored as PNG, above 144 dpi).
    for (const auto &[kind, side] : { std::pair { ICON_SMALL, 16 }, std::pair { ICON_BIG, 32 } }) {
        const auto icon
            = reinterpret_cast<HICON>(SendMessageW(driver.handle(), WM_GETICON, kind, 0));
        ICONINFO info {};
        ASSERT_NE(GetIconInfo(icon, &info), FALSE) << side;
        BITMAP image {};
        GetObjectW(info.hbmColor, sizeof(image), &image);
        EXPECT_EQ(image.bmWidth, MulDiv(side, static_cast<int>(dpi), 96)) << side;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

// The texts that only later appear: the released pin's caption, the faults, every digit and
// sign a number is shown with, in the fonts of the controls that show them.
TEST(Layout, LaterTextsHaveGlyphs)
{
    const Driver driver;
    const Measure pin(driver.control("Command8"));
    EXPECT_EQ(pin.missing(L"不置顶"), L"");
    for (const char *name : { "Label26", "Label32", "Text1", "Text5" }) {
        const Measure measure(driver.control(name));
        EXPECT_EQ(measure.missing(L"-0123456789.E+"), L"") << name;
        for (const auto fault : { tarnwick::Fault::OutOfRange, tarnwick::Fault::DivisorZero,
                 tarnwick::Fault::RootDegreeZero, tarnwick::Fault::NoRealResult }) {
            const std::u16string shown = tarnwick::displayText(fault);
            EXPECT_EQ(measure.missing(std::wstring(shown.begin(), shown.end())), L"") << name;
        }
    }
    RecordProperty("face", narrow(pin.face()));
}

class DensityMove : public ::testing::TestWithParam<UINT>
{
};

// Wine does not move windows between monitors of different densities: the message a move
// would bring is sent here directly, with the rectangle Windows suggests: the window's,
// scaled as a whole. Where the title bar keeps the system's density (Windows 8.1 and 10
// before 1607, and Wine), that rectangle holds a client area of another size than the form's.
TEST_P(DensityMove, KeepsTheFormsClientArea)
{
    if (windowsProfile().name == "win7")
        GTEST_SKIP() << "Windows 7 gives every monitor the system's density";
    const Driver driver;
    const UINT before = driver.window().dpi();
    const UINT after = GetParam();
    RECT suggested {};
    GetWindowRect(driver.handle(), &suggested);
    const auto scale = [&](LONG length) {
        return MulDiv(length, static_cast<int>(after), static_cast<int>(before));
    };
    suggested.right = suggested.left + scale(suggested.right - suggested.left);
    suggested.bottom = suggested.top + scale(suggested.bottom - suggested.top);
    SendMessageW(driver.handle(), WM_DPICHANGED, MAKEWPARAM(after, after),
        reinterpret_cast<LPARAM>(&suggested));
    driver.pump();
    EXPECT_EQ(driver.window().dpi(), after);
    RECT frame {};
    GetWindowRect(driver.handle(), &frame);
    EXPECT_EQ(frame.left, suggested.left);
    EXPECT_EQ(frame.top, suggested.top);
    RECT client {};
    GetClientRect(driver.handle(), &client);
    EXPECT_EQ(client.right, std::lround(568.0 * after / 96));
    EXPECT_EQ(client.bottom, std::lround(460.0 * after / 96));
    checkLayout(driver, after);
    // And the window still works.
    driver.typeInto("Text4", L"20");
    driver.typeInto("Text18", L"1000");
    EXPECT_EQ(driver.text("Label30"), L"2.47");
}

INSTANTIATE_TEST_SUITE_P(Layout, DensityMove, ::testing::Values(96U, 120U, 144U, 192U),
    [](const auto &info) { return "To" + std::to_string(info.param); });

} // namespace
} // namespace windowtest
