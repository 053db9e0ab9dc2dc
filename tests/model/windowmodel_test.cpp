// The whole window's behaviour without a window: rows of what the user does and what every
// field and label then shows, with the exact texts that one control took on during the last
// action, in order; and what a screen reader is told to speak, and when.

#include "app/controltable.h"
#include "app/windowmodel.h"
#include "panels/text.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {
namespace {

class FakePlatform : public PlatformSeam
{
public:
    std::vector<bool> bands; // true: pinned
    std::vector<std::string> pages;

    void setStayOnTop(bool onTop) override { bands.push_back(onTop); }
    void openWebPage(std::string_view address) override { pages.emplace_back(address); }
};

// Every text set, and the nesting of the change events: "Text1@1 in -" for a change that
// begins at depth 1 inside no other.
class Recorder : public FormObserver
{
public:
    explicit Recorder(const Form &form)
        : form_(form)
    { }

    std::vector<std::pair<std::string, std::string>> sets;
    std::vector<std::string> changes;
    int deepest = 0;

    void textSet(ControlId control, std::u16string_view text) override
    {
        sets.emplace_back(form_.name(control), toUtf8(text));
    }
    void optionSelected(ControlId /*option*/) override { }
    void announceChange(ControlId control, const ChangeEvent &event) override
    {
        const std::string within = open_.empty() ? "-" : std::string(form_.name(open_.back()));
        open_.push_back(control);
        deepest = std::max(deepest, static_cast<int>(open_.size()));
        changes.push_back(std::string(form_.name(control)) + "@" + std::to_string(open_.size())
            + " in " + within);
        event();
        open_.pop_back();
    }

    [[nodiscard]] std::vector<std::string> textsOf(std::string_view control) const
    {
        std::vector<std::string> texts;
        for (const auto &[name, text] : sets) {
            if (name == control)
                texts.push_back(text);
        }
        return texts;
    }

    void clear()
    {
        sets.clear();
        changes.clear();
        deepest = 0;
    }

private:
    const Form &form_;
    std::vector<ControlId> open_;
};

// A window model with its recorder, driven by steps as a user drives the window:
//   "Text1=2000"  the field now holds 2000 (one edit: a paste, or select-all and type)
//   "Text1+2000"  2000 typed one character at a time at the end
//   "Text27-"     Backspace at the end
//   "Command1"    a click; "Option2" a selection
//   "..."         the user pauses: the settling timer, where it runs, runs out
// Each announcement is noted as the label's name and its text then: "Label30 61.65".
class Window : private AnnouncementSeam
{
public:
    Window() { model.form().setObserver(&recorder); }

    void perform(const std::string &step)
    {
        if (step == "...") {
            if (std::exchange(settling_, false))
                model.settled();
            return;
        }
        const Form &form = model.form();
        const std::size_t sign = step.find_first_of("=+-", 1);
        const std::string name = step.substr(0, sign);
        const ControlId id = form.id(name);
        if (sign == std::string::npos) {
            if (controlRow(name).kind == Kind::OptionButton)
                model.selected(id);
            else
                model.pressed(id);
            return;
        }
        const std::u16string text = toUtf16(step.substr(sign + 1));
        switch (step[sign]) {
        case '=':
            model.edited(id, text);
            break;
        case '+':
            for (const char16_t typed : text)
                model.edited(id, form.text(id) + typed);
            break;
        default:
            model.edited(
                id, form.text(id).substr(0, form.text(id).empty() ? 0 : form.text(id).size() - 1));
            break;
        }
    }

    [[nodiscard]] std::string text(std::string_view name) const
    {
        return toUtf8(model.form().text(model.form().id(name)));
    }

    FakePlatform platform;
    WindowModel model { platform, *this };
    Recorder recorder { model.form() };
    std::vector<std::string> spoken;

private:
    void startSettling(std::chrono::milliseconds delay) override
    {
        EXPECT_EQ(delay, Announcements::settlingTime);
        settling_ = true;
    }
    void announce(ControlId label) override
    {
        spoken.push_back(
            std::string(model.form().name(label)) + " " + text(controlTable.at(label).name));
    }

    bool settling_ = false;
};

struct CascadeRow
{
    std::string name;
    std::vector<std::string> before; // steps that set the scene
    std::string step; // the action under test
    std::map<std::string, std::string> shown; // texts afterwards
    std::string watched = "Text24";
    std::vector<std::string> history; // the texts `watched` took on during the step
};

void PrintTo(const CascadeRow &row, std::ostream *out)
{
    *out << row.name;
}

class Cascade : public ::testing::TestWithParam<CascadeRow>
{
};

TEST_P(Cascade, ShowsAndForwards)
{
    const CascadeRow &row = GetParam();
    Window window;
    for (const std::string &step : row.before)
        window.perform(step);
    window.recorder.clear();
    window.perform(row.step);
    for (const auto &[control, text] : row.shown)
        EXPECT_EQ(window.text(control), text) << control;
    EXPECT_EQ(window.recorder.textsOf(row.watched), row.history) << row.watched;
    // Field, weight, first operand, result: any deeper and some text did not settle at once.
    EXPECT_LE(window.recorder.deepest, 4);
}

std::string rowName(const ::testing::TestParamInfo<CascadeRow> &info)
{
    return info.param.name;
}

using Steps = std::vector<std::string>;
using Texts = std::vector<std::string>;

const Steps plates { "Text1=1000", "Text2=1000", "Text3=10", "Text5=2000000", "Text6=6" };

INSTANTIATE_TEST_SUITE_P(Plates, Cascade,
    ::testing::ValuesIn(std::vector<CascadeRow> {
        { "KeystrokeReachesCalculator", { "Text25=4", "Text2=1000", "Text3=6" }, "Text1=2000",
            { { "Label26", "94.2" }, { "Text24", "94.2" }, { "Label32", "376.80" } }, "Text24",
            { "94.2" } },
        { "TypedDigitByDigit", { "Text2=1000", "Text3=6" }, "Text1+2000",
            { { "Label26", "94.2" }, { "Label32", "0.00" } }, "Text24",
            { "0.09", "0.94", "9.42", "94.2" } },
        { "ButtonWithUpToDateLabelChangesNothing",
            { "Text1=1500", "Text2=1250", "Text3=8", "Text24=5" }, "Command1",
            { { "Label26", "117.75" }, { "Text24", "5" } }, "Label26", {} },
        { "FirstClickShowsZero", {}, "Command1", { { "Label26", "0" }, { "Text24", "0" } },
            "Text24", { "0" } },
        { "NegativeLength", { "Text2=1000", "Text3=10" }, "Text1=-1000", { { "Label26", "-78.5" } },
            "Text24", { "-78.5" } },
        { "ZeroAgainForwardsNothing", { "Text1=0", "Text2=5" }, "Text3=7",
            { { "Label26", "0" }, { "Text24", "0" } }, "Text24", {} },
        { "AreaTypedDigitByDigit", { "Text6=6" }, "Text5+2000000", { { "Label27", "94.2" } },
            "Text24", { "0.01", "0.09", "0.94", "9.42", "94.2" } },
        { "AreaWithLetters", {}, "Text5=abc", { { "Label27", "0" }, { "Text24", "0" } }, "Label27",
            { "0" } },
        { "FullWidthFromInputMethod", { "Text2=１０００。", "Text3=６" }, "Text1=２０００",
            { { "Label26", "94.2" }, { "Text24", "94.2" } }, "Text24", { "94.2" } },
        { "WeightBeyondRange", { "Text25=2", "Text2=1", "Text3=1" }, "Text1=1e400",
            { { "Label26", "超出范围" }, { "Label32", "0.00" } }, "Text24", { "超出范围" } },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(Density, Cascade,
    ::testing::ValuesIn(std::vector<CascadeRow> {
        { "NewDensityUpdatesBothPlatesInOrder", plates, "Text27=8",
            { { "Label26", "80" }, { "Label27", "96" }, { "Text24", "96" } }, "Text24",
            { "80", "96" } },
        { "EachKeystrokeRecomputes", plates, "Text27-",
            { { "Text27", "7.8" }, { "Label26", "78" }, { "Label27", "93.6" } }, "Text24",
            { "78", "93.6" } },
        { "EmptyDensityZeroesThePlates", plates,
            "Text27=", { { "Label26", "0" }, { "Label27", "0" } }, "Text24", { "0" } },
        { "FirstEditWithEmptyPlatesForwardsZeroOnce", {}, "Text27=8",
            { { "Label26", "0" }, { "Label27", "0" }, { "Label29", "0.00" },
                { "Label30", "0.00" } },
            "Text24", { "0" } },
        { "SameRoundedWeightsChangeNothing", plates, "Text27=7.850001",
            { { "Label26", "78.5" }, { "Label27", "94.2" } }, "Text24", {} },
        { "ComputedRoundBarAndPipeFollow",
            { "Text4=20", "Text18=1000", "Text11=60", "Text12=50", "Text14=1000" }, "Text27=2.7",
            { { "Label30", "0.85" }, { "Label29", "2.33" }, { "Label26", "0" } }, "Text24",
            { "0", "0.85", "2.33" } },
        { "AluminiumPipe", { "Text27=X", "Text27=2.7", "Text11=100", "Text12=80" }, "Text14=1000",
            { { "Label29", "7.63" } }, "Text24", { "7.63" } },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(RoundBar, Cascade,
    ::testing::ValuesIn(std::vector<CascadeRow> {
        { "LastDigitShowsWeight", { "Text4=20" }, "Text18+1000", { { "Label30", "2.47" } },
            "Text24", { "0.02", "0.25", "2.47" } },
        { "ButtonPutsWeightBack", { "Text4=20", "Text18=1000", "Text24=5" }, "Command5",
            { { "Label30", "2.47" }, { "Text24", "2.47" } }, "Label30", { "2.46616", "2.47" } },
        { "ButtonSettlesOnTwoDecimals", { "Text4=100", "Text18=6000", "Text24=1" }, "Command5",
            { { "Label30", "369.92" } }, "Text24", { "369.92" } },
        { "SameValueOtherTextChangesNothing", { "Text4=20", "Text18=1000", "Text24=5" },
            "Text4=20.0", { { "Label30", "2.47" }, { "Text24", "5" } }, "Label30", {} },
        { "ButtonOnZeroChangesNothing", { "Text4=0", "Text18=1000", "Text24=5" }, "Command5",
            { { "Label30", "0" }, { "Text24", "5" } }, "Label30", {} },
        { "FirstClickShowsZero", {}, "Command5", { { "Label30", "0" }, { "Text24", "0" } },
            "Label30", { "0" } },
        { "NegativeLength", { "Text4=20" }, "Text18=-1000", { { "Label30", "-2.47" } }, "Text24",
            { "-2.47" } },
        { "NegativeDiameter", { "Text18=1000" }, "Text4=-20", { { "Label30", "2.47" } }, "Text24",
            { "2.47" } },
    }),
    rowName);

const Steps pipe { "Text11=60", "Text12=50", "Text13=5", "Text14=1000" };

INSTANTIATE_TEST_SUITE_P(Pipe, Cascade,
    ::testing::ValuesIn(std::vector<CascadeRow> {
        { "InnerDiameter", { "Text11=60", "Text12=50" }, "Text14=1000", { { "Label29", "6.78" } },
            "Text24", { "6.78" } },
        { "OptionCountsOnlyAtNextTrigger", { "Text11=60", "Text12=50", "Text14=1000" }, "Option2",
            { { "Label29", "6.78" } }, "Label29", {} },
        { "ButtonAfterOptionWithoutWall", { "Text11=60", "Text12=50", "Text14=1000", "Option2" },
            "Command4", { { "Label29", "0" }, { "Text24", "0" } }, "Text24", { "0" } },
        { "WallGivesSameWeight", { "Option2", "Text11=60", "Text13=5" }, "Text14=1000",
            { { "Label29", "6.78" } }, "Text24", { "6.78" } },
        { "UnusedFieldStillRecomputes", pipe, "Text13=40", { { "Label29", "6.78" } }, "Label29",
            {} },
        { "InnerLargerThanOuter", { "Text11=50", "Text12=60" }, "Text14=1000",
            { { "Label29", "-6.78" } }, "Text24", { "-6.78" } },
        { "WallThickerThanHalf", { "Option2", "Text11=60", "Text13=40" }, "Text14=1000",
            { { "Label29", "19.73" } }, "Text24", { "19.73" } },
        { "WithoutInnerASolidBar", { "Text11=20" }, "Text14=1000", { { "Label29", "2.47" } },
            "Text24", { "2.47" } },
        { "LongPipe", { "Text11=114", "Text12=100" }, "Text14=6000", { { "Label29", "110.83" } },
            "Text24", { "110.83" } },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(Calculator, Cascade,
    ::testing::ValuesIn(std::vector<CascadeRow> {
        { "EqualsAtStartChangesNothing", {}, "Command7", { { "Label32", "0.00" } }, "Label32", {} },
        { "Add", { "Option3", "Text24=10" }, "Text25=3", { { "Label32", "13.00" } }, "Label32",
            { "13.00" } },
        { "Subtract", { "Option4", "Text24=3" }, "Text25=5", { { "Label32", "-2.00" } }, "Label32",
            { "-2.00" } },
        { "Divide", { "Option6", "Text24=2" }, "Text25=3", { { "Label32", "0.67" } }, "Label32",
            { "0.67" } },
        { "Power", { "Option7", "Text24=2" }, "Text25=10", { { "Label32", "1024.00" } }, "Label32",
            { "1024.00" } },
        { "Root", { "Option8", "Text24=16" }, "Text25=-2", { { "Label32", "0.25" } }, "Label32",
            { "0.25" } },
        { "DivideAtStartRefuses", { "Option6" }, "Command7", { { "Label32", "除数不能为0" } },
            "Label32", { "除数不能为0" } },
        { "RootOfDegreeLetters", { "Text24=8", "Text25=2", "Option8" }, "Text25=x1",
            { { "Label32", "不能开0次方" } }, "Label32", { "不能开0次方" } },
        { "PowerOfEmpty", { "Option7" }, "Command7", { { "Label32", "1.00" } }, "Label32",
            { "1.00" } },
        { "ChoosingChangesNothingAtOnce", { "Text24=2", "Text25=3" }, "Option6",
            { { "Label32", "6.00" } }, "Label32", {} },
        { "ChosenCountsAtNextChange", { "Text24=2", "Text25=3", "Option6" }, "Text24=20",
            { { "Label32", "6.67" } }, "Label32", { "6.67" } },
        { "WeightTimesPrice", { "Text25=4", "Text4=20" }, "Text18=1000",
            { { "Text24", "2.47" }, { "Label32", "9.88" } }, "Label32", { "9.88" } },
        { "HalfAwayFromZero", { "Option3", "Text24=0.1" }, "Text25=0.2", { { "Label32", "0.30" } },
            "Label32", { "0.30" } },
        { "EvenRootOfNegative", { "Option8", "Text24=-16" }, "Text25=2",
            { { "Label32", "无效运算" } }, "Label32", { "无效运算" } },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(Commands, Cascade,
    ::testing::ValuesIn(std::vector<CascadeRow> {
        { "ResetInStartState", {}, "Command10",
            { { "Text27", "" }, { "Label26", "0" }, { "Label27", "0" }, { "Label29", "0.00" },
                { "Label30", "0.00" }, { "Label32", "0.00" }, { "Text24", "" } },
            "Text24", { "0", "" } },
        { "ResetInStartStateDividing", { "Option6" }, "Command10", { { "Label32", "除数不能为0" } },
            "Text24", { "0", "" } },
        { "ResetInStartStatePower", { "Option7" }, "Command10", { { "Label32", "1.00" } }, "Text24",
            { "0", "" } },
        { "ResetAfterEveryPanel",
            { "Text1=1000", "Text2=1000", "Text3=10", "Text5=2000000", "Text6=6", "Text11=60",
                "Text12=50", "Text14=1000", "Text4=20", "Text18=1000", "Text25=3" },
            "Command10",
            { { "Label26", "0" }, { "Label27", "0" }, { "Label29", "0" }, { "Label30", "0" },
                { "Label32", "0.00" }, { "Text24", "" }, { "Text1", "" }, { "Text4", "" } },
            "Text24", { "0", "" } },
        // The pipe's weight is beyond range, and stays so at density 0 (0 × ∞): only emptying
        // its outer diameter, after Text24, brings it back, and its 0 lands in Text24.
        { "LabelChangingAfterFirstOperandRefillsIt", { "Text11=1e400", "Text12=50", "Text14=1000" },
            "Command10", { { "Label29", "0" }, { "Text24", "0" } }, "Text24", { "0", "", "0" } },
        { "FieldOfSpacesIsEmptied", { "Text13=   " }, "Command10", { { "Text13", "" } }, "Text13",
            { "" } },
        { "PinShowsRelease", {}, "Command8", { { "Command8", "不置顶" } }, "Command8",
            { "不置顶" } },
        { "ReleaseShowsPin", { "Command8" }, "Command8", { { "Command8", "置顶" } }, "Command8",
            { "置顶" } },
        { "VisitChangesNoText", plates, "Command11", { { "Label26", "78.5" } }, "Text24", {} },
    }),
    rowName);

struct SpeakingRow
{
    std::string name;
    std::vector<std::string> steps;
    std::vector<std::string> spoken; // in order
};

void PrintTo(const SpeakingRow &row, std::ostream *out)
{
    *out << row.name;
}

class Speaking : public ::testing::TestWithParam<SpeakingRow>
{
};

TEST_P(Speaking, TellsTheReaderEachSettledResult)
{
    Window window;
    for (const std::string &step : GetParam().steps)
        window.perform(step);
    EXPECT_EQ(window.spoken, GetParam().spoken);
}

const Steps roundBarTyped { "Text4+100", "Text18+1000" };

INSTANTIATE_TEST_SUITE_P(Results, Speaking,
    ::testing::ValuesIn(std::vector<SpeakingRow> {
        { "TypingSpokenOnceSettled", { "Text4+100", "Text18+1000", "..." }, { "Label30 61.65" } },
        { "NothingWhileTyping", roundBarTyped, {} },
        { "CalculatorFieldsSpeakTheResult", { "Text24+2", "Text25+3", "..." }, { "Label32 6.00" } },
        { "ForwardedWeightSpeaksOnlyThePanel",
            { "Text25=4", "...", "Text4=20", "Text18=1000", "..." },
            { "Label32 0.00", "Label30 2.47" } },
        { "WeightButtonAtOnceInPlaceOfTyping", { "Text4=20", "Text18+1000", "Command5", "..." },
            { "Label30 2.47" } },
        { "EqualsAtOnce", { "Text24=2", "Text25=3", "...", "Option3", "Command7" },
            { "Label32 6.00", "Label32 5.00" } },
        { "SameTextNotAgain",
            { "Text4=20", "Text18=1000", "...", "Text18=1000.0", "...", "Command5" },
            { "Label30 2.47" } },
        { "DensitySpeaksTheLastWeightItRefreshed",
            { "Text11=60", "Text12=50", "Text14=1000", "Text4=20", "Text18=1000", "...",
                "Text27=2.7", "..." },
            { "Label30 2.47", "Label29 2.33" } },
        { "DensityRefreshingNothing",
            { "Text1=1000", "Text2=1000", "Text3=10", "Text5=2000000", "Text6=6", "...",
                "Text27=7.850001", "..." },
            { "Label27 94.2" } },
        { "DensityTypedAfterAField", { "Text5=2000000", "Text6+6", "Text27-", "..." },
            { "Label27 93.6" } },
        { "ResetDropsWhatWasPendingAndForgets",
            { "Text4=20", "Text18=1000", "...", "Text18+0", "Command10", "...", "Text27=7.85",
                "Text4=20", "Text18=1000", "..." },
            { "Label30 2.47", "Label30 2.47" } },
        { "PinVisitAndSelectionSpeakNothing",
            { "Command8", "Command11", "Option2", "Option6", "..." }, {} },
    }),
    [](const auto &info) { return info.param.name; });

TEST(WindowModel, StartsInTheTableState)
{
    Window window;
    const Form &form = window.model.form();
    for (const ControlRow &row : controlTable) {
        const std::string expected = row.kind == Kind::Picture ? "" : std::string(row.text);
        EXPECT_EQ(window.text(row.name), expected) << row.name;
        EXPECT_EQ(form.isSelected(form.id(row.name)), row.selected) << row.name;
    }
    EXPECT_EQ(form.size(), controlTable.size());
    EXPECT_EQ(form.id("Text1"), 42U); // ids are the table's rows
    EXPECT_FALSE(window.model.pinnedOnTop());
}

TEST(WindowModel, OptionGroupsAreApart)
{
    Window window;
    const Form &form = window.model.form();
    window.perform("Option2");
    EXPECT_TRUE(form.isSelected(form.id("Option5")));
    window.perform("Option6");
    EXPECT_TRUE(form.isSelected(form.id("Option2")));
    EXPECT_FALSE(form.isSelected(form.id("Option1")));
    EXPECT_FALSE(form.isSelected(form.id("Option5")));
    EXPECT_TRUE(window.recorder.sets.empty()); // and no text changed
}

TEST(WindowModel, PinAndReleaseAskThePlatformFirst)
{
    Window window;
    window.perform("Command8");
    EXPECT_TRUE(window.model.pinnedOnTop());
    window.perform("Command10");
    EXPECT_TRUE(window.model.pinnedOnTop()); // the reset keeps the band
    window.perform("Command8");
    EXPECT_FALSE(window.model.pinnedOnTop());
    EXPECT_EQ(window.platform.bands, (std::vector<bool> { true, false }));
}

TEST(WindowModel, VisitOpensTheOnePagePerClick)
{
    Window window;
    window.perform("Command11");
    window.perform("Command11");
    EXPECT_EQ(window.platform.pages,
        (std::vector<std::string> {
            "https://www.tarnwick-steel.example/", "https://www.tarnwick-steel.example/" }));
    EXPECT_TRUE(window.recorder.sets.empty());
    EXPECT_TRUE(window.platform.bands.empty());
}

// A keystroke in the first plate's length with nothing else filled in: the field changes,
// within it the weight (now "0"), within that the calculator's first operand.
TEST(WindowModel, ChangesNestFieldWeightOperand)
{
    Window window;
    window.perform("Text1+1");
    EXPECT_EQ(window.recorder.changes,
        (std::vector<std::string> { "Text1@1 in -", "Label26@2 in Text1", "Text24@3 in Label26" }));
}

// A paste that leaves the text as it was is no change: nothing runs, so an operation chosen
// since does not count yet.
TEST(WindowModel, SameTextIsNoEdit)
{
    Window window;
    window.perform("Text24=10");
    window.perform("Text25=3");
    window.perform("Option3");
    window.recorder.clear();
    window.perform("Text25=3");
    EXPECT_TRUE(window.recorder.sets.empty());
    EXPECT_EQ(window.text("Label32"), "30.00");
    window.perform("Text25=30");
    EXPECT_EQ(window.text("Label32"), "40.00");
}

} // namespace
} // namespace tarnwick
