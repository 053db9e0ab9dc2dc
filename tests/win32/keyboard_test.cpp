// The keyboard as a user meets it: Tab and Shift+Tab walk the table's tab order through the
// window's own loop, an option group is one stop entered at its selected button and the arrow
// keys move within it, Space presses the focused button, Enter and Escape press nothing.

#include "driver.h"

#include "app/controltable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace windowtest {
namespace {

// From Text1 round to Text1 again, as the tab indexes give it; each option group is one stop.
const std::vector<std::string> tabOrder { "Text1", "Text2", "Text3", "Command1", "Text5", "Text6",
    "Command2", "Option1", "Command4", "Text11", "Text12", "Text13", "Text14", "Text24", "Option5",
    "Text25", "Command7", "Text27", "Command8", "Command10", "Command11", "Text18", "Command5",
    "Text4", "Text1" };

std::vector<std::string> walk(const Driver &driver, std::size_t steps, bool backwards)
{
    std::vector<std::string> visited { driver.focused() };
    for (std::size_t step = 0; step < steps; ++step) {
        driver.key(VK_TAB, backwards);
        visited.push_back(driver.focused());
    }
    return visited;
}

// Everything a press could change: every text, every option, the band.
std::map<std::string, std::wstring> everything(const Driver &driver)
{
    std::map<std::string, std::wstring> state;
    for (const auto &row : tarnwick::controlTable) {
        if (row.kind == tarnwick::Kind::Picture)
            continue;
        state[std::string(row.name)]
            = driver.text(row.name) + (driver.checked(row.name) ? L" (selected)" : L"");
    }
    state["band"] = (GetWindowLongPtrW(driver.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0
        ? L"topmost"
        : L"normal";
    return state;
}

TEST(Keyboard, TabWalksTheTabOrder)
{
    const Driver driver;
    EXPECT_EQ(walk(driver, tabOrder.size() - 1, false), tabOrder);
}

TEST(Keyboard, ShiftTabWalksItBackwards)
{
    const Driver driver;
    const std::vector<std::string> backwards(tabOrder.rbegin(), tabOrder.rend());
    EXPECT_EQ(walk(driver, tabOrder.size() - 1, true), backwards);
}

TEST(Keyboard, OptionGroupIsEnteredAtItsSelectedButton)
{
    const Driver driver;
    driver.click("Option2");
    driver.click("Option8");
    driver.focus("Command2");
    EXPECT_EQ(
        walk(driver, 2, false), (std::vector<std::string> { "Command2", "Option2", "Command4" }));
    driver.focus("Text25");
    EXPECT_EQ(walk(driver, 2, true), (std::vector<std::string> { "Text25", "Option8", "Text24" }));
}

TEST(Keyboard, ArrowsMoveWithinTheGroupAndSelect)
{
    const Driver driver;
    driver.focus("Option5");
    driver.key(VK_DOWN);
    EXPECT_EQ(driver.focused(), "Option6");
    EXPECT_TRUE(driver.checked("Option6"));
    EXPECT_FALSE(driver.checked("Option5"));
    EXPECT_TRUE(driver.checked("Option1")); // the other group keeps its choice
    driver.focus("Option3");
    driver.key(VK_UP); // round to the group's last
    EXPECT_EQ(driver.focused(), "Option8");
    EXPECT_TRUE(driver.checked("Option8"));
    // The model took the choice: "根" with a second operand of zero refuses.
    driver.click("Command7");
    EXPECT_EQ(driver.text("Label32"), L"不能开0次方");
}

TEST(Keyboard, SpacePressesTheFocusedButton)
{
    const Driver driver;
    driver.focus("Command8");
    driver.key(VK_SPACE);
    EXPECT_EQ(driver.text("Command8"), L"不置顶");
    EXPECT_NE(GetWindowLongPtrW(driver.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

// The dialog manager makes a push button that Tab reaches the default one (a thick border,
// announced as "default"): none may look or say so, since Enter presses nothing.
TEST(Keyboard, NoPushButtonLooksLikeTheDefault)
{
    const Driver driver;
    for (const bool backwards : { false, true }) {
        for (std::size_t step = 0; step < tabOrder.size(); ++step) {
            driver.key(VK_TAB, backwards);
            const std::string at = driver.focused();
            for (const auto &row : tarnwick::controlTable) {
                if (row.kind != tarnwick::Kind::PushButton)
                    continue;
                HWND button = driver.control(row.name);
                const auto style = static_cast<DWORD>(GetWindowLongPtrW(button, GWL_STYLE));
                EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON))
                    << row.name << " with the focus in " << at;
                EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0)
                    << row.name << " with the focus in " << at;
            }
            EXPECT_NE(HIWORD(SendMessageW(driver.handle(), DM_GETDEFID, 0, 0)), DC_HASDEFID) << at;
        }
    }
}

// No button is the window's default or cancel button, wherever the focus is.
TEST(Keyboard, EnterAndEscapePressNothing)
{
    const Driver driver;
    const UrlCatcher catcher;
    driver.typeInto("Text4", L"20");
    driver.typeInto("Text18", L"1000");
    driver.retype("Text24", L"5");
    const auto before = everything(driver);
    for (const char *name : { "Text1", "Command1", "Command5", "Command7", "Command8", "Command10",
             "Command11", "Option5", "Text24" }) {
        driver.focus(name);
        if (std::string(name).starts_with("Command")) {
            // Reached as the keyboard reaches it, which makes a push button look like the
            // default one.
            driver.key(VK_TAB, true);
            driver.key(VK_TAB);
        }
        for (const UINT key : { VK_RETURN, VK_ESCAPE }) {
            driver.key(key);
            EXPECT_EQ(everything(driver), before) << name << " " << key;
            EXPECT_EQ(driver.focused(), name);
        }
    }
    EXPECT_TRUE(catcher.addresses(1, 1000).empty());
}

} // namespace
} // namespace windowtest
