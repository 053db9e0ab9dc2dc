// The change rule on a small form of its own: when a text change is an event, how events nest,
// what the observer sees and in which order, and the option groups.

#include "panels/form.h"
#include "panels/text.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

// Writes down what the form tells it: "A=text" for a text set, "(A" and ")" around an
// announced change, "*A" for a selection. `runs` says how often it runs each announced event.
class Log : public FormObserver
{
public:
    std::vector<std::string> lines;
    int runs = 1;
    const Form *form = nullptr;

    void textSet(ControlId control, std::u16string_view text) override
    {
        lines.push_back(std::string(form->name(control)) + "=" + toUtf8(text));
    }
    void optionSelected(ControlId option) override
    {
        lines.push_back(std::string("*").append(form->name(option)));
    }
    void announceChange(ControlId control, const ChangeEvent &event) override
    {
        lines.push_back(std::string("(").append(form->name(control)));
        for (int run = 0; run < runs; ++run)
            event();
        lines.emplace_back(")");
    }
};

// A chain A → B → C: A's change copies A's text into B, B's copies it into C, C's runs nothing
// but is counted; and two option groups.
class FormTest : public ::testing::Test
{
protected:
    FormTest()
    {
        form_.setObserver(&log_);
        log_.form = &form_;
        form_.onChange(a_, [this] { form_.setText(b_, form_.text(a_)); });
        form_.onChange(b_, [this] { form_.setText(c_, form_.text(b_)); });
        form_.onChange(c_, [this] { ++changesOfC_; });
        form_.onClick(button_, [this] { form_.setText(a_, u"pressed"); });
        form_.addOptionGroup(std::array { left_, right_ }, left_);
        form_.addOptionGroup(std::array { up_, down_ }, down_);
    }

    Form form_;
    Log log_;
    ControlId a_ = form_.add("A", u"");
    ControlId b_ = form_.add("B", u"");
    ControlId c_ = form_.add("C", u"start");
    ControlId button_ = form_.add("Button", u"Press");
    ControlId left_ = form_.add("Left", u"left");
    ControlId right_ = form_.add("Right", u"right");
    ControlId up_ = form_.add("Up", u"up");
    ControlId down_ = form_.add("Down", u"down");
    int changesOfC_ = 0;
};

TEST_F(FormTest, ChangesNestInsideTheSettingThatCausedThem)
{
    form_.edited(a_, u"1");
    EXPECT_EQ(log_.lines,
        (std::vector<std::string> { "A=1", "(A", "B=1", "(B", "C=1", "(C", ")", ")", ")" }));
    EXPECT_EQ(form_.text(c_), u"1");
    EXPECT_EQ(changesOfC_, 1);
}

TEST_F(FormTest, TheSameTextIsNoChange)
{
    form_.edited(a_, u"1");
    log_.lines.clear();
    form_.edited(a_, u"1");
    form_.setText(c_, u"1");
    EXPECT_TRUE(log_.lines.empty());
    EXPECT_EQ(changesOfC_, 1);
}

// B already holds what A's change passes on: the chain stops there.
TEST_F(FormTest, ChainEndsWhereATextIsAlreadyHeld)
{
    form_.setText(b_, u"2");
    log_.lines.clear();
    form_.edited(a_, u"2");
    EXPECT_EQ(log_.lines, (std::vector<std::string> { "A=2", "(A", ")" }));
}

// Texts are compared as the controls hold them: unpaired surrogates that the same replacement
// character would stand for in UTF-8 are still different texts.
TEST_F(FormTest, TextsDifferingOnlyInLoneSurrogatesAreDifferent)
{
    form_.edited(a_, u"5\xD800");
    form_.edited(a_, u"5\xD801");
    EXPECT_EQ(form_.text(a_), u"5\xD801");
    EXPECT_EQ(changesOfC_, 2);
}

TEST_F(FormTest, EventRunsOnceHoweverOftenTheObserverCallsIt)
{
    for (const int runs : { 0, 1, 3 }) {
        log_.runs = runs;
        const int before = changesOfC_;
        form_.edited(a_, std::u16string(1, static_cast<char16_t>(u'a' + runs)));
        EXPECT_EQ(changesOfC_, before + 1) << runs << " runs";
    }
}

TEST_F(FormTest, WithoutObserverTheCascadeStillRuns)
{
    form_.setObserver(nullptr);
    form_.pressed(button_);
    EXPECT_EQ(form_.text(c_), u"pressed");
    EXPECT_EQ(changesOfC_, 1);
}

TEST_F(FormTest, SelectingIsConfinedToItsGroupAndRunsNothing)
{
    EXPECT_TRUE(form_.isSelected(left_));
    EXPECT_TRUE(form_.isSelected(down_));
    form_.selected(right_);
    form_.selected(right_);
    EXPECT_EQ(log_.lines, std::vector<std::string> { "*Right" });
    EXPECT_FALSE(form_.isSelected(left_));
    EXPECT_TRUE(form_.isSelected(right_));
    EXPECT_TRUE(form_.isSelected(down_));
    EXPECT_FALSE(form_.isSelected(a_));
    form_.selected(a_); // not an option: nothing
    EXPECT_EQ(log_.lines.size(), 1U);
}

TEST_F(FormTest, FaultsOfConstructionAreReported)
{
    EXPECT_EQ(form_.id("Down"), down_);
    EXPECT_EQ(form_.name(down_), "Down");
    EXPECT_THROW((void)form_.id("Text1"), std::out_of_range);
    EXPECT_THROW(form_.addOptionGroup(std::array { a_ }, b_), std::invalid_argument);
    EXPECT_THROW(form_.setText(form_.size(), u"x"), std::out_of_range);
}

} // namespace
} // namespace tarnwick
