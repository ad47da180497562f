#include "forms/lmf2d.h"

#include "runtime/message_box.h"
#include "runtime/program.h"

#include <QAbstractButton>

#include <array>

namespace forms {
namespace {

using namespace runtime;
using enum runtime::ControlKind;

const Window EventDayWindow{
    .caption = "Form1",
    .border = Border::FixedDialog,
    .clientWidth = 7530,
    .clientHeight = 5715,
    .back = Black,
    .describedBy = {"Label1", "Label2"},
};

// clang-format off
const std::array<Control, 3> EventDayControls = {{
    {.kind = Button, .name = "Command1", .caption = "Click This.",
     .left = 6000, .top = 4680, .width = 1215, .height = 375, .tabIndex = 2},
    {.kind = Label, .name = "Label2",
     .caption = "*Also, if this window came up and the program actually worked, that is pretty "
                "good reason to be exited too!",
     .left = 720, .top = 5280, .width = 6135, .height = 375,
     .fore = SystemColour::ButtonFace, .transparent = true, .tabIndex = 1},
    {.kind = Label, .name = "Label1", .caption = "GET FUCKING EXITED LANTERN MOSS FAIR IS TODAY!!!",
     .left = 240, .top = 240, .width = 7335, .height = 4935,
     .back = Black, .fore = Colour::rgb(255, 0, 0), .transparent = true,
     .font = {.face = "LCARS", .points = 72, .weight = 400}, .tabIndex = 0},
}};
// clang-format on

const QString FarewellPrompt = QStringLiteral(
    "This program will not function anymore, delete it and have a great time at the show.");

} // namespace

LMF2D::LMF2D(QWidget *parent)
    : Form(EventDayWindow, EventDayControls, parent)
{
    connect(control<QAbstractButton>("Command1"), &QAbstractButton::clicked, this,
            &LMF2D::command1Click);
}

void LMF2D::showNew()
{
    auto *window = new LMF2D;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void LMF2D::command1Click()
{
    runHandler([] { msgBox(FarewellPrompt, MsgBoxStyle::Exclamation, QStringLiteral("HEY!")); });
}

} // namespace forms
