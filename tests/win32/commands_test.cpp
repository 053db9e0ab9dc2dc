// The window commands through their buttons: the topmost band without a move, the maker's page
// through the shell once per click, the reset in creation order; and closing the window.

#include "driver.h"

#include "app/controltable.h"
#include "app/win32/messageloop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace windowtest {
namespace {

bool topmost(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

RECT placed(HWND window)
{
    RECT rect {};
    GetWindowRect(window, &rect);
    return rect;
}

bool operator==(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Commands, PinAndReleaseChangeTheBandOnly)
{
    const Driver driver;
    const RECT before = placed(driver.handle());
    driver.click("Command8");
    EXPECT_TRUE(topmost(driver.handle()));
    EXPECT_TRUE(driver.window().model().pinnedOnTop());
    EXPECT_EQ(driver.text("Command8"), L"不置顶");
    EXPECT_TRUE(placed(driver.handle()) == before);
    EXPECT_NE(IsWindowVisible(driver.handle()), FALSE);

    driver.mouseClick("Command8");
    EXPECT_FALSE(topmost(driver.handle()));
    EXPECT_FALSE(driver.window().model().pinnedOnTop());
    EXPECT_EQ(driver.text("Command8"), L"置顶");
    EXPECT_TRUE(placed(driver.handle()) == before);
}

TEST(Commands, VisitOpensTheOnePageOncePerClickAndChangesNothing)
{
    const Driver driver;
    const UrlCatcher catcher;
    driver.typeInto("Text1", L"1000");
    const std::wstring weight = driver.text("Label26");
    driver.click("Command11");
    driver.click("Command11");
    const std::vector<std::wstring> expected(2, L"https://www.tarnwick-steel.example/");
    EXPECT_EQ(catcher.addresses(2), expected);
    EXPECT_EQ(catcher.addresses(3, 500), expected); // and no third
    EXPECT_EQ(driver.text("Label26"), weight);
    EXPECT_EQ(driver.text("Text1"), L"1000");
    EXPECT_FALSE(topmost(driver.handle()));
}

TEST(Commands, ResetEmptiesFieldsInCreationOrderAndKeepsChoices)
{
    const Driver driver;
    for (const char *step :
        { "Text1+1000", "Text2+1000", "Text3+10", "Text11+60", "Text12+50", "Text14+1000",
            "Text4+20", "Text18+1000", "Text25+3", "Text13+   ", "Option2", "Option8", "Command8" })
        perform(driver, step);
    const TextHistory first(driver.control("Text24"));
    driver.click("Command10");
    std::vector<std::string> written;
    for (const std::wstring &text : first.texts())
        written.push_back(narrow(text));
    EXPECT_EQ(written, (std::vector<std::string> { "0", "" }));
    for (const auto &row : tarnwick::controlTable) {
        if (row.kind == tarnwick::Kind::TextField) {
            EXPECT_EQ(driver.text(row.name), L"") << row.name;
        }
    }
    for (const char *label : { "Label26", "Label27", "Label29", "Label30" })
        EXPECT_EQ(driver.text(label), L"0") << label;
    EXPECT_TRUE(driver.checked("Option2"));
    EXPECT_TRUE(driver.checked("Option8"));
    EXPECT_TRUE(topmost(driver.handle()));
    EXPECT_EQ(driver.text("Label32"), L"不能开0次方");
}

TEST(Commands, ClosingTheWindowEndsTheProgram)
{
    const Driver driver;
    HWND window = driver.handle();
    PostMessageW(window, WM_CLOSE, 0, 0);
    MSG message {};
    bool quit = false;
    for (int round = 0; round < 200 && !quit; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message == WM_QUIT)
                quit = true;
            else
                tarnwick::win32::handleMessage(window, &message);
        }
        Sleep(5);
    }
    EXPECT_TRUE(quit);
    EXPECT_EQ(IsWindow(window), FALSE);
}

} // namespace
} // namespace windowtest
