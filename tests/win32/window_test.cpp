// The window's behaviour through its real controls: every kind of trigger once (an input's
// change by typing, pasting and an input method, a button's click by BM_CLICK and by the mouse,
// a result label's forwarding, the round bar's five decimals, the density, the calculator's
// four triggers, an option's choice, the reset), the start state, and bad input.

#include "driver.h"

#include "app/controltable.h"
#include "panels/fields.h"
#include "panels/formulas.h"
#include "panels/numbers.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace windowtest {
namespace {

using tarnwick::controlRow;
using tarnwick::controlTable;
using tarnwick::Kind;

struct Row
{
    std::string name;
    std::vector<std::string> before;
    std::string step;
    std::map<std::string, std::string> shown;
    std::string watched; // the control whose written texts the step is to produce
    std::vector<std::string> history;
};

void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

class Triggers : public ::testing::TestWithParam<Row>
{
};

TEST_P(Triggers, ShowWhatTheModelSays)
{
    const Row &row = GetParam();
    const Driver driver;
    for (const std::string &step : row.before)
        perform(driver, step);
    const TextHistory history(driver.control(row.watched));
    perform(driver, row.step);
    for (const auto &[name, text] : row.shown)
        EXPECT_EQ(narrow(driver.text(name)), text) << name;
    std::vector<std::string> written;
    for (const std::wstring &text : history.texts())
        written.push_back(narrow(text));
    EXPECT_EQ(written, row.history) << row.watched;
}

INSTANTIATE_TEST_SUITE_P(Window, Triggers,
    ::testing::ValuesIn(std::vector<Row> {
        { "TypingReachesCalculator", { "Text25+4", "Text2+1000", "Text3+6" }, "Text1+2000",
            { { "Label26", "94.2" }, { "Text24", "94.2" }, { "Label32", "376.80" } }, "Text24",
            { "0.09", "0.94", "9.42", "94.2" } },
        { "MouseClickWithUpToDateLabelChangesNothing",
            { "Text1+1500", "Text2+1250", "Text3+8", "Text24=5" }, "Command1!",
            { { "Label26", "117.75" }, { "Text24", "5" } }, "Label26", {} },
        { "FirstClickShowsZero", {}, "Command2", { { "Label27", "0" }, { "Text24", "0" } },
            "Label27", { "0" } },
        { "PastedArea", { "Text6+6" }, "Text5~2000000", { { "Label27", "94.2" } }, "Text24",
            { "94.2" } },
        { "InputMethodCommitsFullWidthDigits", { "Text2^１０００。", "Text3^６" }, "Text1^２０００",
            { { "Text1", "２０００" }, { "Label26", "94.2" } }, "Text24",
            { "0.09", "0.94", "9.42", "94.2" } },
        { "RoundBarButtonShowsFiveDecimalsForAMoment", { "Text4+20", "Text18+1000", "Text24=5" },
            "Command5", { { "Label30", "2.47" }, { "Text24", "2.47" } }, "Label30",
            { "2.46616", "2.47" } },
        { "DensityKeystrokeUpdatesBothPlates",
            { "Text1+1000", "Text2+1000", "Text3+10", "Text5+2000000", "Text6+6" }, "Text27-",
            { { "Label26", "78" }, { "Label27", "93.6" } }, "Text24", { "78", "93.6" } },
        { "PipeWallCountsAtNextTrigger", { "Text11+60", "Text12+50", "Text14+1000", "Option2" },
            "Command4", { { "Label29", "0" }, { "Text24", "0" } }, "Text24", { "0" } },
        { "EqualsWithEmptyDivisorRefuses", { "Option6" }, "Command7",
            { { "Label32", "除数不能为0" } }, "Label32", { "除数不能为0" } },
        { "SecondOperandTyped", { "Option7", "Text24+2" }, "Text25+10",
            { { "Label32", "1024.00" } }, "Label32", { "2.00", "1024.00" } },
        { "ResetInStartState", {}, "Command10",
            { { "Text27", "" }, { "Label26", "0" }, { "Label27", "0" }, { "Label32", "0.00" } },
            "Text24", { "0", "" } },
    }),
    [](const auto &info) { return info.param.name; });

// How the window loses the focus and gets it back.
enum class Away {
    Minimised, // the title bar's button, then the task bar's (WM_SYSCOMMAND)
    ShownMinimised, // from outside, as showing the desktop does (ShowWindow)
    Deactivated, // another window comes to the front, then this one again
    HandedTheFocus, // another program gives the window the focus (SetFocus)
};

struct FocusRow
{
    std::string name;
    std::string focused; // where the user put the focus; "" where it stayed from the start
    Away away;
    std::string expected;
};

void PrintTo(const FocusRow &row, std::ostream *out)
{
    *out << row.name;
}

class FocusComesBack : public ::testing::TestWithParam<FocusRow>
{
};

void goAwayAndBack(const Driver &driver, Away away)
{
    HWND window = driver.handle();
    switch (away) {
    case Away::Minimised:
        PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        driver.pump();
        EXPECT_NE(IsIconic(window), FALSE);
        PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
    case Away::ShownMinimised:
        ShowWindow(window, SW_MINIMIZE);
        driver.pump();
        EXPECT_NE(IsIconic(window), FALSE);
        ShowWindow(window, SW_RESTORE);
        break;
    case Away::Deactivated: {
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
            200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(other);
        driver.pump();
        EXPECT_EQ(GetForegroundWindow(), other);
        SetForegroundWindow(window);
        driver.pump();
        DestroyWindow(other);
        break;
    }
    case Away::HandedTheFocus:
        SetFocus(window);
        break;
    }
    driver.pump();
    EXPECT_EQ(IsIconic(window), FALSE);
}

TEST_P(FocusComesBack, ToTheControlThatHadIt)
{
    const FocusRow &row = GetParam();
    const Driver driver;
    const bool field = controlRow(row.expected).kind == Kind::TextField;
    if (!row.focused.empty())
        driver.focus(row.focused);
    const std::wstring before = driver.text(row.expected);
    if (field)
        driver.type(L"12");
    goAwayAndBack(driver, row.away);
    EXPECT_EQ(driver.focused(), row.expected);
    if (field) {
        // With the caret where it was.
        driver.type(L"3");
        EXPECT_EQ(driver.text(row.expected), before + L"123");
    }
}

INSTANTIATE_TEST_SUITE_P(Window, FocusComesBack,
    ::testing::ValuesIn(std::vector<FocusRow> {
        { "Text3Minimised", "Text3", Away::Minimised, "Text3" },
        { "Command4Minimised", "Command4", Away::Minimised, "Command4" },
        { "Option5ShownMinimised", "Option5", Away::ShownMinimised, "Option5" },
        { "Text27ShownMinimised", "Text27", Away::ShownMinimised, "Text27" },
        { "Text13Deactivated", "Text13", Away::Deactivated, "Text13" },
        { "Command11Deactivated", "Command11", Away::Deactivated, "Command11" },
        { "Text25HandedTheFocus", "Text25", Away::HandedTheFocus, "Text25" },
        { "StartMinimised", "", Away::Minimised, "Text1" },
        { "StartHandedTheFocus", "", Away::HandedTheFocus, "Text1" },
    }),
    [](const auto &info) { return info.param.name; });

TEST(Window, StartsAsTheTableSays)
{
    const Driver driver;
    for (const auto &row : controlTable) {
        if (row.kind == Kind::Picture)
            continue;
        EXPECT_EQ(driver.text(row.name), wide(row.text)) << row.name;
        if (row.kind == Kind::OptionButton) {
            EXPECT_EQ(driver.checked(row.name), row.selected) << row.name;
        }
    }
    std::wstring title(64, L'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(driver.handle(), title.data(), 64)));
    EXPECT_EQ(title, L"Tarnwick（单位：kg，mm）");
    EXPECT_EQ(driver.focused(), "Text1");
    EXPECT_FALSE(driver.window().model().pinnedOnTop());

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(driver.handle(), GWL_STYLE));
    EXPECT_EQ(style & WS_THICKFRAME, 0U) << "a sizing border";
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0U) << "a maximise box";
    EXPECT_NE(style & WS_MINIMIZEBOX, 0U);
    EXPECT_EQ(GetWindowLongPtrW(driver.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    // The program file's own icon: the class's, and the window's for title bar and task bar.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(driver.handle(), GCLP_HICON)),
        LoadIconW(instance, L"IDI_ICON1"));
    EXPECT_NE(SendMessageW(driver.handle(), WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_NE(SendMessageW(driver.handle(), WM_GETICON, ICON_BIG, 0), 0);
}

// Where a screen reader looks for a field's name: the caption label just above it among the
// window's children. (The window names the other fields itself: screenreader_test.cpp.)
TEST(Window, CaptionLabelsStandJustAboveTheirFields)
{
    const Driver driver;
    int named = 0;
    for (const auto &row : controlTable) {
        if (row.kind != Kind::TextField || row.captionedBy.empty()
            || tarnwick::controlRow(row.captionedBy).kind != Kind::Label)
            continue;
        EXPECT_EQ(GetWindow(driver.control(row.name), GW_HWNDPREV), driver.control(row.captionedBy))
            << row.name;
        ++named;
    }
    EXPECT_EQ(named, 11);
}

TEST(Window, FieldsHaveNoLengthLimit)
{
    const Driver driver;
    for (const auto &row : controlTable) {
        if (row.kind == Kind::TextField) {
            EXPECT_GE(static_cast<unsigned long>(
                          SendMessageW(driver.control(row.name), EM_GETLIMITTEXT, 0, 0)),
                0x7FFFFFFEUL)
                << row.name;
        }
    }
}

// Pasting over a text the same text is an edit (the edit sends EN_CHANGE) but no change: the
// operation chosen since must not count yet.
TEST(Window, PasteOfTheSameTextRunsNothing)
{
    const Driver driver;
    driver.typeInto("Text24", L"10");
    driver.typeInto("Text25", L"3");
    ASSERT_EQ(driver.text("Label32"), L"30.00");
    driver.click("Option3");
    const TextHistory result(driver.control("Label32"));
    driver.paste("Text25", L"3");
    EXPECT_EQ(driver.text("Text25"), L"3");
    EXPECT_TRUE(result.texts().empty());
    driver.typeInto("Text25", L"0");
    EXPECT_EQ(driver.text("Label32"), L"40.00");
}

struct BadInput
{
    std::string name;
    std::wstring typed;
};

void PrintTo(const BadInput &row, std::ostream *out)
{
    *out << row.name;
}

class BadInputTyped : public ::testing::TestWithParam<BadInput>
{
};

// Whatever the edit control makes of the characters, the model holds the same text and the
// weight is that of the number the text begins with.
TEST_P(BadInputTyped, IsHeldAlikeAndReadAsANumber)
{
    const Driver driver;
    driver.typeInto("Text2", L"1000");
    driver.typeInto("Text3", L"10");
    driver.typeInto("Text1", GetParam().typed);
    const std::wstring held = driver.text("Text1");
    EXPECT_EQ(driver.modelText("Text1"), held);
    const double length = tarnwick::readNumber(narrow(held));
    const auto weight = tarnwick::showWeight(
        tarnwick::plateByDimensions(7.85, length, 1000, 10), tarnwick::twoDecimals);
    const std::u16string shown = tarnwick::displayText(weight);
    EXPECT_EQ(driver.text("Label26"), std::wstring(shown.begin(), shown.end())) << narrow(held);
}

INSTANTIATE_TEST_SUITE_P(Window, BadInputTyped,
    ::testing::ValuesIn(std::vector<BadInput> {
        { "OutsideTheBasicPlane", L"1000\U0001F642" },
        { "LoneSurrogate",
            L"10\xD800"
            L"00" },
        { "CjkAfterTheNumber", L"1000毫米" },
        { "SpacesInside", L"1 0 00" },
        { "ControlCharacters",
            L"1\x01\x02\x1b\x1f"
            L"000\x7f" },
        { "TabInside", L"10\t00" },
    }),
    [](const auto &info) { return info.param.name; });

TEST(Window, LongPasteIsKeptWhole)
{
    const Driver driver;
    driver.typeInto("Text25", L"2");
    std::wstring digits(longPasteSize(), L'0');
    digits.front() = L'5';
    digits[digits.size() / 2] = L'.';
    driver.paste("Text24", digits);
    EXPECT_EQ(driver.text("Text24"), digits);
    EXPECT_EQ(driver.modelText("Text24"), digits);
    EXPECT_EQ(driver.text("Label32"), L"超出范围");
    driver.clear("Text24");
    EXPECT_EQ(driver.text("Text24"), L"");
    EXPECT_EQ(driver.text("Label32"), L"0.00");
}

} // namespace
} // namespace windowtest
