#include "forms/main_layout.h"

#include "forms/fields.h"

#include <algorithm>

namespace forms {

using namespace runtime;
using enum runtime::ControlKind;

namespace {
constexpr Colour SentenceBlue = Colour::rgb(128, 128, 255);
constexpr Font BoldSansSerif{.face = "MS Sans Serif", .points = 8.25, .weight = 700};
constexpr Font TitleFont{.face = "Tahoma", .points = 8.25, .weight = 700};
} // namespace

// Everything right of x = 4230 or below y = 2190 lies outside the client area:
// the fields, hidden buttons and notes there work but are never seen.
const Window MainWindow{
    .caption = "Time until Lantern Moss Fair II (April 13, 2012)",
    .border = Border::None,
    .clientWidth = 4230,
    .clientHeight = 2190,
    .back = Black,
    .describedBy = {"Final", "Label12"},
};

namespace {

constexpr auto layout(const MainLook &look)
{
    // clang-format off
    return std::to_array<Control>({
        {.kind = Button, .name = "Command4", .caption = "X",
         .left = 3950, .top = 30, .width = 255, .height = 255, .font = BoldSansSerif, .tabIndex = 31,
         .accessibleName = "Close", .description = "Closes every window and ends the program."},
        {.kind = Button, .name = "Command3", .caption = "About",
         .left = 3300, .top = 30, .width = 645, .height = 255, .tabIndex = 30, .flat = true},
        {.kind = Timer, .name = "Timer2", .interval = 100},
        {.kind = Button, .name = "Command2",
         .caption = "Press this button to manualy calculate the time until LMF.",
         .left = 3960, .top = 4200, .width = 1575, .height = 735, .tabIndex = 12},
        {.kind = Button, .name = "Command1",
         .caption = "Press this button to manualy calculate the current time.",
         .left = 5040, .top = 3360, .width = 1575, .height = 735, .tabIndex = 1},
        {.kind = Timer, .name = "Timer1", .interval = 100},
        {.kind = Line, .name = "Line5", .from = {9240, 5640}, .to = {9480, 240}, .fore = White},
        {.kind = Line, .name = "Line4", .from = {240, 5640}, .to = {9240, 5520}, .fore = White},
        {.kind = Line, .name = "Line3", .from = {0, 300}, .to = {4200, 300},
         .fore = SystemColour::ActiveBorder, .borderWidth = 2},
        {.kind = Shape, .name = "Shape1", .left = 20, .top = 10, .width = 4215, .height = 2175,
         .fore = SystemColour::ActiveBorder, .borderWidth = 2},
        {.kind = Label, .name = "Label2", .caption = " Time until Lantern Moss Fair",
         .left = 30, .top = 30, .width = 4215, .height = 255,
         .back = SystemColour::ActiveTitleBar, .fore = SystemColour::ActiveTitleBarText, .font = TitleFont},
        {.kind = Label, .name = "Final", .caption = "Label2",
         .left = 120, .top = 360, .width = 3975, .height = 1215,
         .fore = SentenceBlue, .transparent = true, .font = look.sentenceFont},
        {.kind = Label, .name = "Label1",
         .caption = R"(This is the same as "EndDays, but without "Days" at the end of it.)",
         .left = 4800, .top = 480, .width = 1815, .height = 615},
        {.kind = Label, .name = "EndDays", .caption = "EndDays",
         .left = 2400, .top = 3120, .width = 975, .height = 255},
        {.kind = Label, .name = "Label20",
         .caption = "THESE BUTTONS HAVE BEEN REPLACED BY THE TIMERS BUT THEY STILL FUNCTION.",
         .left = 4800, .top = 2400, .width = 2175, .height = 855},
        {.kind = Label, .name = "Label19", .caption = "Timer 2 calculate the time to LMM",
         .left = 1800, .top = 4200, .width = 1575, .height = 495},
        {.kind = Label, .name = "Label18", .caption = "Timer 1 calculates the current time.",
         .left = 120, .top = 4200, .width = 1335, .height = 495},
        {.kind = Label, .name = "Label17", .caption = "Current Time:",
         .left = 7200, .top = 360, .width = 1575, .height = 255},
        {.kind = Label, .name = "Label16",
         .caption = "The automation timers are here, but you cant see them when the program runs.",
         .left = 120, .top = 3600, .width = 3375, .height = 495},
        {.kind = Label, .name = "Label15",
         .caption = "Everything this side of those lines are for programing purposes only and are "
                    "basically leftovers from programing. Don't delete anything though, most of it "
                    "does stuff.",
         .left = 120, .top = 2280, .width = 4455, .height = 615},
        {.kind = Line, .name = "Line2", .from = {4200, 2160}, .to = {-120, 2160}, .fore = White},
        {.kind = Line, .name = "Line1", .from = {4200, 0}, .to = {4200, 2040},
         .fore = SystemColour::WindowBackground},
        {.kind = Label, .name = "Label14",
         .caption = "Number of months until LMM (it's next month, so it should be 1 or 0)",
         .left = 6120, .top = 4560, .width = 1695, .height = 615},
        {.kind = Label, .name = "Label13", .caption = "Number of days after after this month is done.",
         .left = 7200, .top = 3480, .width = 1815, .height = 495},
        {.kind = Label, .name = "Label12", .caption = "Until Lantern Moss Fair !!!",
         .left = 120, .top = look.label12Top, .width = 4095, .height = 495,
         .fore = SentenceBlue, .transparent = true, .font = look.sentenceFont},
        {.kind = Label, .name = "EndMon1", .caption = "EndMon1",
         .left = 7920, .top = 4800, .width = 855, .height = 255},
        {.kind = Label, .name = "EndSecond", .caption = "EndSecond",
         .left = 3480, .top = 3120, .width = 975, .height = 255},
        {.kind = Label, .name = "EndMinute", .caption = "EndMinute",
         .left = 1320, .top = 3120, .width = 975, .height = 255},
        {.kind = Label, .name = "EndHour", .caption = "EndHour",
         .left = 240, .top = 3120, .width = 855, .height = 255},
        {.kind = Label, .name = "EndDay", .caption = "EndDay",
         .left = 7800, .top = 4080, .width = 855, .height = 255},
        {.kind = Label, .name = "EndMon", .caption = "EndMon",
         .left = 5280, .top = 1200, .width = 615, .height = 375},
        {.kind = Label, .name = "Label10", .caption = "Month",
         .left = 8040, .top = 720, .width = 735, .height = 255},
        {.kind = Label, .name = "MonNum", .caption = "MonNum",
         .left = 7200, .top = 720, .width = 735, .height = 255},
        {.kind = Label, .name = "Label8", .caption = "Second",
         .left = 8040, .top = 2160, .width = 735, .height = 255},
        {.kind = Label, .name = "Label7", .caption = "Minute",
         .left = 8040, .top = 1800, .width = 735, .height = 255},
        {.kind = Label, .name = "Label6", .caption = "Hour",
         .left = 8040, .top = 1440, .width = 735, .height = 255},
        {.kind = Label, .name = "Label5", .caption = "Day",
         .left = 8040, .top = 1080, .width = 735, .height = 255},
        {.kind = Label, .name = "CurSec", .caption = "CurSec",
         .left = 7200, .top = 2160, .width = 735, .height = 255},
        {.kind = Label, .name = "CurMin", .caption = "CurMin",
         .left = 7200, .top = 1800, .width = 735, .height = 255},
        {.kind = Label, .name = "CurHour", .caption = "CurHour",
         .left = 7200, .top = 1440, .width = 735, .height = 255},
        {.kind = Label, .name = "CurDay", .caption = "CurDay",
         .left = 7200, .top = 1080, .width = 735, .height = 255},
    });
    // clang-format on
}

constexpr bool isLabel(const MainControls &controls, std::string_view name)
{
    return std::any_of(controls.begin(), controls.end(), [name](const Control &control) {
        return control.kind == Label && name == control.name;
    });
}

static_assert(std::all_of(FieldNames.begin(), FieldNames.end(),
                          [](std::string_view name) { return isLabel(layout(MainLook{}), name); }),
              "every display field is a label of the layout table");

} // namespace

MainControls mainControls(const MainLook &look)
{
    return layout(look);
}

} // namespace forms
