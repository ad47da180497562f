#pragma once

#include <QString>

namespace app {

// Where a line for the user goes: the output a user asked for (the help, the
// version), or what went wrong.
enum class Channel { Output, Error };

// Tells the user `text`, on standard output or standard error. A Windows
// program started without a console or redirected standard handles (from
// Explorer, a shortcut or cmd.exe) has neither: it shows the text in a
// message box titled with the program's name instead, as Qt's own command
// line parser does. One definition per platform, chosen by the build.
void tell(Channel channel, const QString &text);

} // namespace app
