#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tarnwick {

enum class Kind { Frame, Label, ResultLabel, TextField, PushButton, OptionButton, Picture };

// One control of the window. Positions and sizes are in twips (15 to a pixel at 96 dpi),
// measured from the top-left corner of the container (the window, or the frame's outer corner).
struct ControlRow
{
    std::string_view name;
    Kind kind;
    std::string_view container; // empty: the window itself
    std::string_view text; // caption or initial text, UTF-8; a picture's image resource
    int left;
    int top;
    int width;
    int height;
    int tabIndex; // -1: takes no place in the tab order
    double fontPoints; // 0: no font of its own
    bool selected; // option buttons selected at start
    std::string_view captionedBy; // the control whose caption names this field or result
};

// The window's caption: it states the units of the whole window.
constexpr std::string_view formCaption = "Tarnwick（单位：kg，mm）";

constexpr int formWidthTwips = 8520;
constexpr int formHeightTwips = 6900;
constexpr int twipsPerInch = 1440;
constexpr int standardDpi = 96; // 15 twips a pixel

// Twips in pixels at a screen density, rounded to the nearest pixel, halves away from zero.
constexpr int pixelsAt(int twips, int dpi)
{
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = twipsPerInch / 2;
    return static_cast<int>(
        scaled >= 0 ? (scaled + half) / twipsPerInch : -((-scaled + half) / twipsPerInch));
}

// Every control in creation order: the window creates them in this order and the reset walks it.
// clang-format off
inline constexpr std::array<ControlRow, 51> controlTable { {
    { "Frame5",    Kind::Frame,        "",       "圆钢",     5760,  360, 2535, 2175, 43,  9,     false, "" },
    { "Text4",     Kind::TextField,    "Frame5", "",          960,  360, 1455,  475, 49, 15.75,  false, "Label11" },
    { "Command5",  Kind::PushButton,   "Frame5", "重量：",    120, 1680,  700,  375, 45,  9,     false, "" },
    { "Text18",    Kind::TextField,    "Frame5", "",          960,  960, 1455,  475, 44, 15.75,  false, "Label12" },
    { "Label11",   Kind::Label,        "Frame5", "直径：",    240,  600,  540,  315, 48,  9,     false, "" },
    { "Label12",   Kind::Label,        "Frame5", "长度：",    240, 1100,  540,  315, 47,  9,     false, "" },
    { "Label30",   Kind::ResultLabel,  "Frame5", "0.00",      960, 1680, 1455,  375, 46, 15.75,  false, "Frame5" },
    { "Command11", Kind::PushButton,   "",       "访问官网", 6000, 6250,  945,  375, 38,  9,     false, "" },
    { "Command10", Kind::PushButton,   "",       "重置",     5160, 6250,  700,  375, 37,  9,     false, "" },
    { "Command8",  Kind::PushButton,   "",       "置顶",     4320, 6250,  700,  375, 36,  9,     false, "" },
    { "Text27",    Kind::TextField,    "",       "7.85",     3360, 6250,  855,  435, 35, 15.75,  false, "Label23" },
    { "Command7",  Kind::PushButton,   "",       "=",        6000, 5600,  400,  400, 33,  9,     false, "" },
    { "Text25",    Kind::TextField,    "",       "",         4560, 5600, 1455,  450, 32, 15.75,  false, "" },
    { "Option8",   Kind::OptionButton, "",       "根",       4000, 5800,  450,  300, 31,  9,     false, "" },
    { "Option7",   Kind::OptionButton, "",       "方",       4000, 5500,  450,  300, 30,  9,     false, "" },
    { "Option6",   Kind::OptionButton, "",       "÷",        3500, 5800,  400,  300, 29,  9,     false, "" },
    { "Option5",   Kind::OptionButton, "",       "×",        3500, 5500,  400,  300, 28,  9,     true,  "" },
    { "Option4",   Kind::OptionButton, "",       "-",        3000, 5800,  400,  300, 27,  9,     false, "" },
    { "Option3",   Kind::OptionButton, "",       "+",        3000, 5500,  400,  300, 26,  9,     false, "" },
    { "Text24",    Kind::TextField,    "",       "",         1200, 5600, 1455,  450, 25, 15.75,  false, "Label22" },
    { "Frame4",    Kind::Frame,        "",       "钢管",      240, 2640, 2535, 2775,  2,  9,     false, "" },
    { "Text14",    Kind::TextField,    "Frame4", "",          960, 1760, 1455,  375, 23, 15.75,  false, "Label10" },
    { "Text13",    Kind::TextField,    "Frame4", "",          960, 1310, 1455,  375, 22, 15.75,  false, "Option2" },
    { "Text12",    Kind::TextField,    "Frame4", "",          960,  840, 1455,  375, 21, 15.75,  false, "Option1" },
    { "Text11",    Kind::TextField,    "Frame4", "",          960,  360, 1455,  375, 20, 15.75,  false, "Label9" },
    { "Command4",  Kind::PushButton,   "Frame4", "重量：",    120, 2280,  700,  375, 19,  9,     false, "" },
    { "Option2",   Kind::OptionButton, "Frame4", "壁厚:",     120, 1280,  750,  495, 17,  9,     false, "" },
    { "Option1",   Kind::OptionButton, "Frame4", "内径:",     120,  880,  750,  255, 16,  9,     true,  "" },
    { "Label29",   Kind::ResultLabel,  "Frame4", "0.00",      960, 2280, 1455,  375, 41, 15.75,  false, "Frame4" },
    { "Label10",   Kind::Label,        "Frame4", "长度:",     380, 1880,  500,  255, 18,  9,     false, "" },
    { "Label9",    Kind::Label,        "Frame4", "外径:",     380,  480,  500,  255, 15,  9,     false, "" },
    { "Frame2",    Kind::Frame,        "",       "钢板二",   3000,  360, 2535, 2175,  1,  9,     false, "" },
    { "Command2",  Kind::PushButton,   "Frame2", "重量：",    120, 1680,  700,  375, 14,  9,     false, "" },
    { "Text6",     Kind::TextField,    "Frame2", "",          960,  960, 1455,  475, 13, 18,     false, "Label5" },
    { "Text5",     Kind::TextField,    "Frame2", "",          960,  360, 1455,  475, 12, 18,     false, "Label4" },
    { "Label27",   Kind::ResultLabel,  "Frame2", "0.00",      960, 1680, 1455,  375, 40, 15.75,  false, "Frame2" },
    { "Label5",    Kind::Label,        "Frame2", "厚度：",    240, 1100,  540,  420, 11,  9,     false, "" },
    { "Label4",    Kind::Label,        "Frame2", "面积：",    240,  500,  615,  300, 10,  9,     false, "" },
    { "Frame1",    Kind::Frame,        "",       "钢板一",    240,  360, 2535, 2175,  0,  9,     false, "" },
    { "Command1",  Kind::PushButton,   "Frame1", "重量：",    100, 1680,  700,  375,  9,  9,     false, "" },
    { "Text3",     Kind::TextField,    "Frame1", "",          960, 1200, 1455,  375,  8, 15.75,  false, "Label3" },
    { "Text2",     Kind::TextField,    "Frame1", "",          960,  750, 1455,  375,  7, 15.75,  false, "Label2" },
    { "Text1",     Kind::TextField,    "Frame1", "",          960,  240, 1455,  375,  6, 15.75,  false, "Label1" },
    { "Label26",   Kind::ResultLabel,  "Frame1", "0.00",      960, 1680, 1455,  375, 39, 15.75,  false, "Frame1" },
    { "Label3",    Kind::Label,        "Frame1", "厚：",      350, 1250,  495,  375,  5,  9,     false, "" },
    { "Label2",    Kind::Label,        "Frame1", "宽：",      350,  800,  495,  255,  4,  9,     false, "" },
    { "Label1",    Kind::Label,        "Frame1", "长：",      350,  360,  495,  255,  3,  9,     false, "" },
    { "Image1",    Kind::Picture,      "",       ":/banner.jpg", 3000, 2655, 5250, 2670, -1,  0,     false, "" },
    { "Label32",   Kind::ResultLabel,  "",       "0.00",     6405, 5595, 1815,  375, 42, 15.75,  false, "Label22" },
    { "Label23",   Kind::Label,        "",       "材料密度(t/m3):", 1320, 6350, 1935, 270, 34, 12, false, "" },
    { "Label22",   Kind::Label,        "",       "计算器：",  360, 5700,  750,  300, 24,  9,     false, "" },
} };
// clang-format on

// The row of the named control in the table.
constexpr std::size_t controlIndex(std::string_view name)
{
    for (std::size_t index = 0; index < controlTable.size(); ++index) {
        if (controlTable[index].name == name)
            return index;
    }
    throw "no such control"; // a compile-time error where used in a constant expression
}

// The table's entry for the named control.
constexpr const ControlRow &controlRow(std::string_view name)
{
    return controlTable[controlIndex(name)];
}

} // namespace tarnwick
