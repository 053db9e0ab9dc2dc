// What other programs read of the window. A screen reader, through MSAA as a reader asks
// (AccessibleObjectFromWindow): each field's name of its own, the banner's, each result's shown
// text with what it is; each object of the window's own as COM and UI Automation take it. The
// clipboard, through a result's "复制(&C)" menu worked as a user works it: a right click on the
// label, or Shift+F10 on its panel's button or "=", then Down and Return; nothing else changes.
// A copy while another program holds the clipboard.

#include "driver.h"

#include "app/controltable.h"
#include "app/win32/copymenu.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace windowtest {
namespace {

using tarnwick::controlTable;

// Raised for a live region on Windows 8 and later (the Windows 7 headers lack it).
constexpr DWORD liveRegionChanged = 0x8019;

// The control's name and description as a screen reader reads them.
std::array<std::wstring, 2> heard(HWND control)
{
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
            __uuidof(IAccessible), reinterpret_cast<void **>(&object))))
        return { L"(no object)", L"(no object)" };
    VARIANT self {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    std::array<BSTR, 2> read {};
    object->get_accName(self, &read[0]);
    object->get_accDescription(self, &read[1]);
    object->Release();
    std::array<std::wstring, 2> texts;
    for (std::size_t which = 0; which < read.size(); ++which) {
        texts.at(which) = read.at(which) != nullptr ? read.at(which) : L"";
        SysFreeString(read.at(which));
    }
    return texts;
}

// The accessibility events of this process's controls, as a reader receives them; `inMenu` acts
// in each menu as soon as it is there (Windows says a menu started, Wine only makes its window).
struct Events
{
    ~Events()
    {
        UnhookWinEvent(hook);
        seen.clear();
        menus.clear();
        inMenu = nullptr;
    }
    static void CALLBACK record(
        HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD)
    {
        if (object == OBJID_CLIENT)
            seen.emplace_back(event, window);
        std::array<wchar_t, 8> kind {};
        GetClassNameW(window, kind.data(), static_cast<int>(kind.size()));
        if ((event == EVENT_SYSTEM_MENUPOPUPSTART || event == EVENT_OBJECT_CREATE)
            && std::wstring(kind.data()) == L"#32768" && menus.insert(window).second && inMenu)
            inMenu();
    }
    static inline std::vector<std::pair<DWORD, HWND>> seen;
    static inline std::set<HWND> menus;
    static inline std::function<void()> inMenu;
    HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_MIN, EVENT_MAX, nullptr, record, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
};

struct Reading
{
    std::string name;
    std::vector<std::string> before;
    std::string control;
    std::string heardName;
    std::string description;
};

class Readings : public ::testing::TestWithParam<Reading>
{
};

TEST_P(Readings, AreWhatAScreenReaderHears)
{
    const Driver driver;
    for (const std::string &step : GetParam().before)
        perform(driver, step);
    const auto [name, description] = heard(driver.control(GetParam().control));
    EXPECT_EQ(narrow(name), GetParam().heardName);
    EXPECT_EQ(narrow(description), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(Window, Readings,
    ::testing::ValuesIn(std::vector<Reading> {
        { "FieldByItsCaptionLabel", {}, "Text11", "外径:", "" },
        { "PipeInnerDiameterByItsOption", {}, "Text12", "内径:", "" },
        { "PipeWallByItsOption", {}, "Text13", "壁厚:", "" },
        { "SecondOperandByItsOwnName", {}, "Text25", "计算器第二个数", "" },
        { "Banner", {}, "Image1",
            "塔恩威克钢材有限公司，钢板 · 圆钢 · 钢管 · 型材 · 不锈钢，电话：0000-0000000，"
            "手机：000-0000-0000，www.tarnwick-steel.example",
            "" },
        { "RoundBarWeight", { "Text4+100", "Text18+1000" }, "Label30", "61.65", "圆钢重量" },
        { "PlateOutOfRange", { "Text2+1", "Text3+1", "Text1~1e400" }, "Label26", "超出范围",
            "钢板一重量" },
        { "PipeWeight", { "Command4" }, "Label29", "0", "钢管重量" },
        { "CalculatorRefusal", { "Option6", "Command7" }, "Label32", "除数不能为0", "计算器结果" },
        { "WeightButton", {}, "Command5", "重量：", "" },
        { "OptionButton", {}, "Option2", "壁厚:", "" },
        { "Frame", {}, "Frame4", "钢管", "" },
    }),
    [](const auto &info) { return info.param.name; });

// The object a reader gets for the control, through oleacc.
IAccessible *objectOf(HWND control)
{
    IAccessible *object = nullptr;
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
        reinterpret_cast<void **>(&object));
    return object;
}

template <typename Interface>
Interface *queried(IUnknown *object)
{
    Interface *found = nullptr;
    if (object != nullptr)
        object->QueryInterface(__uuidof(Interface), reinterpret_cast<void **>(&found));
    return found;
}

// One property through IDispatch, as a script reads it.
std::wstring invoked(IAccessible *object, DISPID property)
{
    VARIANT self {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    DISPPARAMS parameters { &self, nullptr, 1, 0 };
    VARIANT result {};
    if (FAILED(object->Invoke(property, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
            &parameters, &result, nullptr, nullptr))
        || result.vt != VT_BSTR)
        return L"(failed)";
    std::wstring text = result.bstrVal != nullptr ? result.bstrVal : L"";
    VariantClear(&result);
    return text;
}

// Whether UI Automation takes the object as an MSAA server of its own.
bool wrappedByUiAutomation(IAccessible *object)
{
    using FromAccessible = HRESULT(WINAPI *)(IAccessible *, long, DWORD, IUnknown **);
    HMODULE core = LoadLibraryW(L"uiautomationcore.dll");
    const auto wrap = reinterpret_cast<FromAccessible>( // NOLINT: the documented signature
        reinterpret_cast<void *>(GetProcAddress(core, "UiaProviderFromIAccessible")));
    IUnknown *provider = nullptr;
    const bool wrapped = wrap != nullptr && SUCCEEDED(wrap(object, CHILDID_SELF, 0, &provider));
    if (provider != nullptr)
        provider->Release();
    return wrapped;
}

class OwnObjects : public ::testing::TestWithParam<std::string>
{
};

// Its own identity from every interface it hands out, nothing that says it is the standard
// proxy, its own answers through IDispatch, taken by UI Automation; once the window is gone,
// each call fails without touching the control.
TEST_P(OwnObjects, AreTheirOwnCOMObjects)
{
    auto driver = std::make_unique<Driver>();
    IAccessible *object = objectOf(driver->control(GetParam()));
    ASSERT_NE(object, nullptr);
    IUnknown *identity = queried<IUnknown>(object);
    IOleWindow *window = queried<IOleWindow>(object);
    ASSERT_NE(window, nullptr);
    IUnknown *fromWindow = queried<IUnknown>(window);
    IAccessible *back = queried<IAccessible>(window);
    EXPECT_EQ(fromWindow, identity);
    EXPECT_EQ(back, object);
    HWND reported = nullptr;
    EXPECT_EQ(window->GetWindow(&reported), S_OK);
    EXPECT_EQ(reported, driver->control(GetParam()));
    if (auto *services = queried<IServiceProvider>(object)) {
        IUnknown *proxy = nullptr;
        EXPECT_FALSE(SUCCEEDED(services->QueryService(
            IIS_IsOleaccProxy, __uuidof(IUnknown), reinterpret_cast<void **>(&proxy))));
        if (proxy != nullptr)
            proxy->Release();
        services->Release();
    }
    const auto [name, description] = heard(driver->control(GetParam()));
    EXPECT_EQ(invoked(object, DISPID_ACC_NAME), name);
    EXPECT_EQ(invoked(object, DISPID_ACC_DESCRIPTION), description);
    EXPECT_TRUE(wrappedByUiAutomation(object));

    driver.reset();
    VARIANT self {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR gone = nullptr;
    LONG left = 0;
    EXPECT_EQ(object->get_accName(self, &gone), RPC_E_DISCONNECTED);
    EXPECT_EQ(gone, nullptr);
    EXPECT_EQ(object->accLocation(&left, &left, &left, &left, self), RPC_E_DISCONNECTED);
    EXPECT_EQ(window->GetWindow(&reported), RPC_E_DISCONNECTED);
    for (IUnknown *held : std::initializer_list<IUnknown *> { back, fromWindow, window, identity })
        held->Release();
    object->Release();
}

INSTANTIATE_TEST_SUITE_P(Window, OwnObjects,
    ::testing::Values("Text12", "Text13", "Text25", "Image1", "Label26", "Label27", "Label29",
        "Label30", "Label32"),
    [](const auto &info) { return info.param; });

// Typed as a user types, then a pause: one live-region change from the round bar's weight, which
// a reader then reads as the weight.
TEST(Window, ResultLabelAnnouncesTheSettledWeight)
{
    const Driver driver;
    const Events events;
    const TextHistory history(driver.control("Label30"));
    driver.typeInto("Text4", L"100");
    driver.typeInto("Text18", L"1000");
    driver.pause();
    EXPECT_EQ(history.texts().size(), 5U);
    const std::pair<DWORD, HWND> live { liveRegionChanged, driver.control("Label30") };
    EXPECT_EQ(std::count(Events::seen.begin(), Events::seen.end(), live), 1);
    EXPECT_EQ(std::count_if(Events::seen.begin(), Events::seen.end(),
                  [](const auto &seen) { return seen.first == liveRegionChanged; }),
        1);
    EXPECT_EQ(heard(driver.control("Label30"))[0], L"61.65");
}

std::wstring clipboardText(HWND owner)
{
    for (int attempt = 0; attempt < 100 && OpenClipboard(owner) == FALSE; ++attempt)
        Sleep(10);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto *held = static_cast<const wchar_t *>(data != nullptr ? GlobalLock(data) : nullptr);
    std::wstring text = held != nullptr ? held : L"(no text)";
    if (held != nullptr)
        GlobalUnlock(data);
    CloseClipboard();
    return text;
}

void post(HWND target, UINT message, UINT key)
{
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    PostMessageW(target, message, key, 1 | (scan << 16) | (message == WM_SYSKEYUP ? 3LL << 30 : 0));
}

struct CopyRow
{
    std::string name;
    std::vector<std::string> before;
    std::string opened; // "Label30!" a right click on it; "Command5" Shift+F10 there
    std::vector<UINT> inMenu;
    std::string copied; // empty: the clipboard keeps what it held
    std::size_t menus;
};

class Copying : public ::testing::TestWithParam<CopyRow>
{
};

TEST_P(Copying, PutsTheShownTextOnTheClipboardAndChangesNothing)
{
    const CopyRow &row = GetParam();
    const Driver driver;
    for (const std::string &step : row.before)
        perform(driver, step);
    driver.pause();
    const bool byMouse = row.opened.ends_with('!');
    const std::string name = row.opened.substr(0, row.opened.find('!'));
    HWND opened = driver.control(name);
    if (!byMouse)
        driver.focus(name);
    ASSERT_TRUE(tarnwick::win32::copyText(driver.handle(), L"原有的文字"));
    const std::string focus = driver.focused();
    std::vector<std::wstring> texts;
    std::vector<std::unique_ptr<TextHistory>> histories;
    for (const auto &control : controlTable) {
        texts.push_back(driver.text(control.name));
        histories.push_back(std::make_unique<TextHistory>(driver.control(control.name)));
    }
    const Events events;
    Events::inMenu = [&] {
        if (!byMouse)
            post(GetFocus(), WM_SYSKEYUP, VK_F10); // let go while the menu is open
        for (const UINT key : row.inMenu)
            post(GetFocus(), WM_KEYDOWN, key);
    };
    if (byMouse) {
        RECT place {};
        GetWindowRect(opened, &place);
        SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        std::array<INPUT, 2> click { { { INPUT_MOUSE, {} }, { INPUT_MOUSE, {} } } };
        click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        SendInput(2, click.data(), sizeof(INPUT));
    }
    std::array<BYTE, 256> keys {};
    GetKeyboardState(keys.data());
    std::array<BYTE, 256> saved = keys;
    if (!byMouse) {
        keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
        SetKeyboardState(keys.data());
        post(opened, WM_SYSKEYDOWN, VK_F10); // F10 is a system key
    }
    driver.pump();
    SetKeyboardState(saved.data());

    EXPECT_EQ(Events::menus.size(), row.menus);
    EXPECT_EQ(
        narrow(clipboardText(driver.handle())), row.copied.empty() ? "原有的文字" : row.copied);
    for (std::size_t index = 0; index < controlTable.size(); ++index) {
        EXPECT_EQ(driver.text(controlTable[index].name), texts[index]);
        EXPECT_TRUE(histories[index]->texts().empty()) << controlTable[index].name;
    }
    for (const auto &[event, window] : Events::seen) {
        EXPECT_FALSE(((event >= EVENT_OBJECT_NAMECHANGE && event <= EVENT_OBJECT_VALUECHANGE)
                         || event == liveRegionChanged)
            && GetAncestor(window, GA_ROOT) == driver.handle())
            << std::hex << event;
    }
    EXPECT_EQ(driver.focused(), focus);
}

const std::vector<std::string> roundBar { "Text4+100", "Text18+1000" };
const std::vector<UINT> copy { VK_DOWN, VK_RETURN };

INSTANTIATE_TEST_SUITE_P(Window, Copying,
    ::testing::ValuesIn(std::vector<CopyRow> {
        { "RoundBarByRightClick", roundBar, "Label30!", copy, "61.65", 1 },
        { "RoundBarByItsButton", roundBar, "Command5", copy, "61.65", 1 },
        { "PlateOutOfRangeByRightClick", { "Text2+1", "Text3+1", "Text1~1e400" }, "Label26!", copy,
            "超出范围", 1 },
        { "PlateByAreaByItsButton", { "Text5+2000000", "Text6+6" }, "Command2", copy, "94.2", 1 },
        { "PipeAtStartByRightClick", {}, "Label29!", copy, "0.00", 1 },
        { "CalculatorRefusalByRightClick", { "Option6", "Command7" }, "Label32!", copy,
            "除数不能为0", 1 },
        { "CalculatorResultByEquals", { "Text24+3", "Text25+4" }, "Command7", copy, "12.00", 1 },
        { "EscapeCopiesNothing", roundBar, "Label30!", { VK_ESCAPE }, "", 1 },
        { "AccessKey", roundBar, "Label30!", { 'C' }, "61.65", 1 },
        { "NoMenuOnAnotherButton", {}, "Command8", {}, "", 0 },
        { "NoMenuOnAWeightButtonsClick", {}, "Command5!", {}, "", 0 },
        { "NoMenuOnACaption", {}, "Label11!", {}, "", 0 },
    }),
    [](const auto &info) { return info.param.name; });

struct HeldClipboard
{
    std::string name;
    DWORD heldMs; // by another thread, from before the copy
    bool copied;
};

class ClipboardHeld : public ::testing::TestWithParam<HeldClipboard>
{
};

// A copy while another program has the clipboard open: it waits briefly for it, and where the
// clipboard stays closed, the clipboard keeps what it held (the warning sound that then plays is
// not observed here).
TEST_P(ClipboardHeld, CopiesOrKeepsTheOldText)
{
    const Driver driver;
    ASSERT_TRUE(tarnwick::win32::copyText(driver.handle(), L"原有的文字"));
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        const BOOL open = OpenClipboard(nullptr);
        SetEvent(opened);
        Sleep(GetParam().heldMs);
        if (open != FALSE)
            CloseClipboard();
    });
    WaitForSingleObject(opened, INFINITE);
    EXPECT_EQ(tarnwick::win32::copyText(driver.handle(), L"61.65"), GetParam().copied);
    holder.join();
    CloseHandle(opened);
    EXPECT_EQ(narrow(clipboardText(driver.handle())), GetParam().copied ? "61.65" : "原有的文字");
}

INSTANTIATE_TEST_SUITE_P(Window, ClipboardHeld,
    ::testing::ValuesIn(std::vector<HeldClipboard> {
        { "Briefly", 15, true },
        { "TooLong", 400, false },
    }),
    [](const auto &info) { return info.param.name; });

} // namespace
} // namespace windowtest
