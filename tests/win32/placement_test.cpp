// Where the window opens: in its monitor's work area, centred where it fits, its title bar
// reachable where it does not. (Layout.AtTheScreenDensity checks the real window's place.)

#include "app/win32/placement.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace windowtest {
namespace {

struct PlaceRow
{
    std::string name;
    SIZE frame;
    RECT work;
    POINT expected; // the frame's top-left
};

void PrintTo(const PlaceRow &row, std::ostream *out)
{
    *out << row.name;
}

class PlaceInWorkArea : public ::testing::TestWithParam<PlaceRow>
{
};

TEST_P(PlaceInWorkArea, KeepsTheTitleBarReachable)
{
    const PlaceRow &row = GetParam();
    const RECT place = tarnwick::win32::placeInWorkArea(row.frame, row.work);
    EXPECT_EQ(place.left, row.expected.x);
    EXPECT_EQ(place.top, row.expected.y);
    EXPECT_EQ(place.right - place.left, row.frame.cx);
    EXPECT_EQ(place.bottom - place.top, row.frame.cy);
}

// Frames about the window's size at 96, 120 and 192 dpi; work areas of small and large screens,
// task bars on every side, a monitor left of and above the main one.
INSTANTIATE_TEST_SUITE_P(WindowPlacement, PlaceInWorkArea,
    ::testing::ValuesIn(std::vector<PlaceRow> {
        { "FullHdCentred", { 574, 489 }, { 0, 0, 1920, 1040 }, { 673, 275 } },
        { "OddRoomRoundsDown", { 574, 489 }, { 0, 0, 1279, 984 }, { 352, 247 } },
        { "Small1024x600At125Percent", { 716, 607 }, { 0, 0, 1024, 560 }, { 154, 0 } },
        { "TaskBarOnTopOfASmallScreen", { 716, 607 }, { 0, 40, 1024, 600 }, { 154, 40 } },
        { "TooWideAndTooTall", { 1142, 962 }, { 0, 0, 1024, 728 }, { 0, 0 } },
        { "TooWideOnly", { 1142, 489 }, { 0, 0, 1024, 728 }, { 0, 119 } },
        { "LeftMonitorTooTall", { 716, 607 }, { -1024, -100, 0, 460 }, { -870, -100 } },
        { "TaskBarOnTheLeft", { 574, 489 }, { 48, 0, 1366, 768 }, { 420, 139 } },
    }),
    [](const auto &info) { return info.param.name; });

} // namespace
} // namespace windowtest
