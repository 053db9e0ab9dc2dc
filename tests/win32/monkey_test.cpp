// A monkey at the window: thousands of random keystrokes, pastes (a long one among them),
// input-method characters, control characters, clicks and keys, each followed by the checks of
// what the window may show: every control shows what the model holds, typed text is never lost,
// weights and results have their shapes, the band follows the pin. The run is fixed by a seed
// that it prints; TARNWICK_MONKEY_SEED and TARNWICK_MONKEY_ACTIONS replay another or lengthen it.

#include "driver.h"

#include "app/controltable.h"
#include "app/windowmodel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace windowtest {
namespace {

using tarnwick::controlTable;
using tarnwick::Kind;

constexpr std::uint64_t defaultSeed = 20261209;
constexpr long defaultActions = 3000;

std::uint64_t fromEnvironment(const char *name, std::uint64_t fallback)
{
    const char *value = std::getenv(name);
    return value != nullptr ? std::strtoull(value, nullptr, 10) : fallback;
}

// A weight at rest: the initial "0.00", a shortest number with up to two decimals, the exponent
// form from 1E+15 on, or the fault.
bool isWeight(const std::string &text)
{
    static const std::regex pattern(
        R"(0\.00|-?(0|[1-9]\d{0,14})(\.\d?[1-9])?|-?[1-9](\.\d{0,13}[1-9])?E\+\d{2,3}|超出范围)");
    return text != "-0" && std::regex_match(text, pattern);
}

bool isResult(const std::string &text)
{
    static const std::regex pattern(
        R"(-?(0|[1-9]\d*)\.\d\d|除数不能为0|不能开0次方|无效运算|超出范围)");
    return text != "-0.00" && std::regex_match(text, pattern);
}

const std::wstring typedSymbols = L"00112233445566778899..--+eeE abxz";
const std::vector<std::wstring> pastedTexts { L"1e400", L"-1e400", L"-0", L"1e-400", L"１２．５",
    L"１２。５", L"－３", L"２０００", L"一二三", L"钢管长度", L"0.005", L"-0.005",
    L"999999999999999.995", L"1e15", L"1.7976931348623157e308", L"NaN", L"inf", L"  12  ", L"1,5",
    L"1 000", L"0x1A", L"\U0001F642", L"１２\U0001F642", L"", L"\u3000", L"７.８５", L"7.85",
    L"2000", L"6", L"-8", L"3", L"0", L"1e300", L"7.85e3",
    L"\xD800"
    L"5" };
const std::vector<std::wstring> committedTexts { L"１２．５", L"２０００", L"１０００。", L"６",
    L"－５", L"ｅ", L"。", L"长度", L"钢板", L"１ｅ５" };
const std::vector<UINT> focusKeys { VK_TAB, VK_TAB, VK_SPACE, VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT,
    VK_RETURN, VK_ESCAPE, VK_HOME, VK_END, VK_DELETE, VK_BACK };

// Stops the run, naming the action, where an action does not return within a minute.
class Watchdog
{
public:
    Watchdog()
        : thread_([this] { watch(); })
    { }
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;
    ~Watchdog()
    {
        stop_ = true;
        thread_.join();
    }

    void arm(long action)
    {
        action_ = action;
        started_ = now();
    }

private:
    static long long now()
    {
        return std::chrono::duration_cast<std::chrono::seconds>(
            std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    void watch() const
    {
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (now() - started_ > 60) {
                std::fprintf(stderr, "action %ld did not return within a minute\n", action_.load());
                std::abort();
            }
        }
    }

    std::atomic<bool> stop_ = false;
    std::atomic<long> action_ = -1;
    std::atomic<long long> started_ = now();
    std::thread thread_;
};

class Monkey
{
public:
    Monkey(const Driver &driver, const UrlCatcher &catcher, std::uint64_t seed)
        : driver_(driver)
        , catcher_(catcher)
        , dice_(seed)
    {
        for (const auto &row : controlTable) {
            if (row.kind == Kind::TextField)
                fields_.emplace_back(row.name);
            else if (row.kind == Kind::PushButton)
                buttons_.emplace_back(row.name);
            else if (row.kind == Kind::OptionButton)
                options_.emplace_back(row.name);
        }
    }

    // Does one random action; returns what went wrong, or nothing.
    std::string step()
    {
        expectedField_.clear();
        // A user who has pasted a long text soon clears it again.
        for (const std::string &field : fields_) {
            if (driver_.text(field).size() > (1U << 12) && below(3) == 0) {
                describe("clear the long text of " + field);
                driver_.clear(field);
                return check();
            }
        }
        const int roll = below(1000);
        if (roll < 300) {
            const std::string &field = pick(fields_);
            std::wstring typed;
            for (int count = between(1, 6); count > 0; --count)
                typed.push_back(typedSymbols[static_cast<std::size_t>(
                    below(static_cast<int>(typedSymbols.size())))]);
            describe("type " + narrow(typed) + " into " + field);
            driver_.focus(field);
            expectedField_ = field;
            expectedText_ = driver_.text(field) + typed;
            driver_.type(typed);
        } else if (roll < 340) {
            const std::string &field = pick(fields_);
            describe("clear " + field);
            driver_.clear(field);
            expectedField_ = field;
            expectedText_.clear();
        } else if (roll < 440) {
            const std::string &field = pick(fields_);
            const std::wstring &text = pick(pastedTexts);
            describe("paste " + narrow(text) + " over " + field);
            driver_.paste(field, text);
            expectedField_ = field;
            expectedText_ = text;
        } else if (roll < 441) {
            const std::string &field = pick(fields_);
            std::wstring text(longPasteSize(), L'0');
            text[static_cast<std::size_t>(below(static_cast<int>(text.size())))] = L'.';
            describe("paste " + std::to_string(text.size()) + " characters over " + field);
            driver_.paste(field, text);
            expectedField_ = field;
            expectedText_ = text;
        } else if (roll < 500) {
            const std::string &field = pick(fields_);
            std::wstring odd;
            odd.push_back(static_cast<wchar_t>(between(1, 31)));
            if (below(2) == 0)
                odd += L"\U0001F642";
            describe("type control characters into " + field);
            driver_.typeInto(field, odd);
        } else if (roll < 540) {
            const std::string &field = pick(fields_);
            const std::wstring &text = pick(committedTexts);
            describe("input method commits " + narrow(text) + " into " + field);
            driver_.commit(field, text);
        } else if (roll < 700) {
            const std::string &button = pick(buttons_);
            describe("click " + button);
            if (button == "Command8")
                ++pinClicks_;
            if (button == "Command11")
                ++visits_;
            if (below(4) == 0)
                driver_.mouseClick(button);
            else
                driver_.click(button);
        } else if (roll < 820) {
            const std::string &option = pick(options_);
            describe("choose " + option);
            driver_.click(option);
            if (!driver_.checked(option))
                return "the chosen option is not selected";
        } else {
            const UINT key = pick(focusKeys);
            const bool shift = below(4) == 0;
            describe("key " + std::to_string(key) + (shift ? " with Shift" : "") + " on "
                + driver_.focused());
            const bool onPin = driver_.focused() == "Command8" && key == VK_SPACE;
            const bool onVisit = driver_.focused() == "Command11" && key == VK_SPACE;
            driver_.key(key, shift);
            pinClicks_ += onPin ? 1 : 0;
            visits_ += onVisit ? 1 : 0;
        }
        return check();
    }

    [[nodiscard]] const std::string &last() const { return last_; }
    [[nodiscard]] int visits() const { return visits_; }

private:
    int below(int count) { return static_cast<int>(dice_() % static_cast<std::uint64_t>(count)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    template <class List>
    const typename List::value_type &pick(const List &list)
    {
        return list[static_cast<std::size_t>(below(static_cast<int>(list.size())))];
    }
    void describe(std::string action) { last_ = std::move(action); }

    [[nodiscard]] std::string check() const
    {
        const auto &form = driver_.window().model().form();
        for (std::size_t id = 0; id < controlTable.size(); ++id) {
            const auto &row = controlTable[id];
            if (row.kind == Kind::Picture)
                continue;
            const std::string name(row.name);
            if (driver_.text(name) != driver_.modelText(name))
                return name + " shows " + narrow(driver_.text(name).substr(0, 40))
                    + " where the model holds " + narrow(driver_.modelText(name).substr(0, 40));
            if (row.kind == Kind::OptionButton && driver_.checked(name) != form.isSelected(id))
                return name + "'s check differs from the model's selection";
        }
        // A field that changed only by the user's action holds what the user put there, unless
        // the action's own cascade wrote over it (only the calculator's first operand can be).
        if (!expectedField_.empty() && expectedField_ != "Text24"
            && driver_.text(expectedField_) != expectedText_)
            return expectedField_ + " lost text: holds "
                + narrow(driver_.text(expectedField_).substr(0, 40)) + " where "
                + narrow(expectedText_.substr(0, 40)) + " was expected; the focus is on "
                + driver_.focused()
                + (GetForegroundWindow() == driver_.handle() ? "" : ", the window is not in front");
        for (const char *weight : { "Label26", "Label27", "Label29", "Label30" }) {
            if (!isWeight(narrow(driver_.text(weight))))
                return std::string(weight) + " shows " + narrow(driver_.text(weight));
        }
        if (!isResult(narrow(driver_.text("Label32"))))
            return "Label32 shows " + narrow(driver_.text("Label32"));
        const bool pinned = (pinClicks_ % 2) == 1;
        const bool topmost
            = (GetWindowLongPtrW(driver_.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        if (driver_.window().model().pinnedOnTop() != pinned || topmost != pinned)
            return "the band does not follow the pin";
        if (driver_.text("Command8") != (pinned ? L"不置顶" : L"置顶"))
            return "the pin's caption does not follow the pin";
        if (IsWindowVisible(driver_.handle()) == FALSE)
            return "the window is hidden";
        // The page goes to the shell once per click, at the click, and at no other time.
        if (catcher_.handedOver().size() != static_cast<std::size_t>(visits_))
            return std::to_string(catcher_.handedOver().size()) + " pages handed to the shell for "
                + std::to_string(visits_) + " clicks on Command11";
        return {};
    }

    const Driver &driver_;
    const UrlCatcher &catcher_;
    std::mt19937_64 dice_;
    std::vector<std::string> fields_;
    std::vector<std::string> buttons_;
    std::vector<std::string> options_;
    std::string last_;
    std::string expectedField_;
    std::wstring expectedText_;
    int pinClicks_ = 0;
    int visits_ = 0;
};

TEST(Monkey, ThousandsOfRandomActions)
{
    const std::uint64_t seed = fromEnvironment("TARNWICK_MONKEY_SEED", defaultSeed);
    const auto count
        = static_cast<long>(fromEnvironment("TARNWICK_MONKEY_ACTIONS", defaultActions));
    std::printf("monkey: seed %llu, %ld actions\n", static_cast<unsigned long long>(seed), count);
    const Driver driver;
    const UrlCatcher catcher;
    Monkey monkey(driver, catcher, seed);
    Watchdog watchdog;
    const bool verbose = std::getenv("TARNWICK_MONKEY_VERBOSE") != nullptr;
    for (long action = 0; action < count; ++action) {
        watchdog.arm(action);
        const std::string problem = monkey.step();
        if (verbose)
            std::printf("%ld: %s\n", action, monkey.last().c_str());
        ASSERT_TRUE(problem.empty())
            << "seed " << seed << ", action " << action << ": " << monkey.last() << ": " << problem
            << " (replay with TARNWICK_MONKEY_SEED=" << seed
            << " TARNWICK_MONKEY_ACTIONS=" << action + 1 << ")";
    }
    const auto visits = static_cast<std::size_t>(monkey.visits());
    EXPECT_EQ(catcher.handedOver(), std::vector(visits, wide(tarnwick::WindowModel::makerPage)));
    // Nor does a page open past the shell call: the stand-in browser records no more pages than
    // were handed over (fewer where Wine lost the start of one).
    EXPECT_LE(catcher.addresses(visits + 1, 500).size(), visits) << "more pages than clicks";
}

} // namespace
} // namespace windowtest
